// lib_aseprite: personnages from Aseprite's sprite sheet exports.
#include "anim/lib_aseprite.h"

#include "anim/detail/aseprite_json.h"
#include "anim/detail/keyed_image.h"
#include "anim/detail/sprite_frames.h"

#include <cstdlib>  // Required for: calloc(), malloc(), free()
#include <cstring>  // Required for: memcpy()
#include <memory>   // Required for: std::unique_ptr
#include <new>      // Required for: std::bad_alloc
#include <string>   // Required for: std::string
#include <vector>   // Required for: std::vector

using namespace anim::detail;

namespace {

// A copy of `text` in a malloc'ed string; null when memory runs out.
char* copy_text(const std::string& text)
{
    auto* copy = static_cast<char*>(malloc(text.size() + 1));
    if (copy != nullptr) memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// The tags of `e` as sprites at (x, y), cut from its sheet read through
// `files`, with their frames' durations, in a null-terminated array; the
// tags' names in `names`. Null, with `names` left to the caller to release,
// when a sprite cannot be made or memory runs out.
sprite** cut_tags(PictureFiles& files, const AsepriteExport& e, char** names, int x, int y, int r, int g, int b)
{
    const int count = static_cast<int>(e.tags.size());
    // An array of pointers, with room for the terminator.
    std::unique_ptr<sprite*, void (*)(sprite**)> sprites(
        static_cast<sprite**>(
            calloc(static_cast<size_t>(count) + 1, sizeof(sprite*))),  // NOLINT(bugprone-sizeof-expression)
        free_sprite_array);
    if (sprites == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    for (int t = 0; t < count; ++t) {
        const std::vector<int>& played = e.tags[static_cast<size_t>(t)].frames;
        const auto frame = [&](int i) { return e.frames[static_cast<size_t>(played[static_cast<size_t>(i)])]; };
        sprite* s = cut_sprite(
            files, e.image.c_str(), static_cast<int>(played.size()), [&](int i) { return frame(i).rect; }, r, g, b, 0,
            x, y);
        if (s == nullptr) return nullptr;
        sprites.get()[t] = s;
        std::vector<int> durations;
        durations.reserve(played.size());
        for (size_t i = 0; i < played.size(); ++i) durations.push_back(frame(static_cast<int>(i)).duration_ms);
        names[t] = copy_text(e.tags[static_cast<size_t>(t)].name);
        if (set_sprite_frame_durations(s, durations.data()) != 0) return nullptr;
        if (names[t] == nullptr) {
            SDL_OutOfMemory();
            return nullptr;
        }
    }
    return sprites.release();
}

// create_personnage_from_aseprite, which may throw std::bad_alloc.
personnage* create_from_export(const char* json_path, int x, int y, int r, int g, int b)
{
    AsepriteExport e;
    if (!read_aseprite(json_path, e)) return nullptr;
    PictureFiles files;
    int width = 0, height = 0;
    if (!files.size_of(e.image.c_str(), key_colour(r, g, b), &width, &height) ||
        !frames_fit(json_path, e, width, height))
        return nullptr;
    const int count = static_cast<int>(e.tags.size());
    const auto free_names = [count](char** names) {
        for (int i = 0; names != nullptr && i < count; ++i) free(names[i]);
        free(names);
    };
    std::unique_ptr<char*, decltype(free_names)> names(
        static_cast<char**>(calloc(static_cast<size_t>(count), sizeof(char*))), free_names);
    if (names == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    sprite** sprites = cut_tags(files, e, names.get(), x, y, r, g, b);
    personnage* p = sprites != nullptr ? create_personnage(sprites, count, x, y) : nullptr;
    if (p == nullptr) {
        free_sprite_array(sprites);
        return nullptr;
    }
    p->names = names.release();
    return p;
}

}  // namespace

personnage* create_personnage_from_aseprite(const char* json_path, int x, int y, int r, int g, int b)
{
    if (json_path == nullptr) {
        SDL_SetError("no sprite sheet export path given");
        return nullptr;
    }
    // The export's frames, tags and names are held in containers while the
    // sprites are cut; running out of operator new's memory fails the
    // creation as running out of malloc's does.
    try {
        return create_from_export(json_path, x, y, r, g, b);
    } catch (const std::bad_alloc&) {
        SDL_OutOfMemory();
        return nullptr;
    }
}
