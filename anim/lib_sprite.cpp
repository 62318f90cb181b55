// lib_sprite: animated sequences of keyed frames.
#include "anim/lib_sprite.h"

#include "anim/detail/keyed_image.h"
#include "anim/detail/sprite_frames.h"
#include "anim/object_list.h"

#include <cstdio>   // Required for: snprintf()
#include <cstdlib>  // Required for: calloc(), free()

// The shared loaders and drawing helpers of the toolkit.
using namespace anim::detail;

namespace {

// The one blit of every draw form: the current frame through the given
// rectangles.
void draw_frame(const sprite* s, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst)
{
    blit_image(s->frames[s->frame], src, target, dst);
}

// A sprite at (x, y) of `frames`, frame_count images; null, with the frames
// released, when memory runs out.
sprite* make_sprite(SDL_Surface** frames, int frame_count, int frozen, int x, int y)
{
    auto* s = static_cast<sprite*>(calloc(1, sizeof(sprite)));
    if (s == nullptr) {
        SDL_OutOfMemory();
        urgent_free(frames, frame_count);
        return nullptr;
    }
    s->frames = frames;
    s->frozen = frozen;
    s->pos.x = static_cast<Sint16>(x);
    s->pos.y = static_cast<Sint16>(y);
    s->frame = 0;
    s->frame_count = frame_count;
    s->w = frames[0]->w;
    s->h = frames[0]->h;
    return s;
}

}  // namespace

sprite* anim::detail::create_sprite_from_files(PictureFiles& files, const char* const* paths, int frozen, int x, int y,
                                               int r, int g, int b)
{
    const int frame_count = count_paths(paths);
    if (frame_count == 0) {
        SDL_SetError("a sprite needs at least one frame path");
        return nullptr;
    }
    const auto path = [paths](int i) { return paths[i]; };
    SDL_Surface** frames = load_keyed_images(files, frame_count, path, r, g, b);
    return frames != nullptr ? make_sprite(frames, frame_count, frozen, x, y) : nullptr;
}

sprite* create_sprite_from_sheet(const char* path, int frame_w, int frame_h, int count, int frozen, int x, int y, int r,
                                 int g, int b)
{
    if (frame_w <= 0 || frame_h <= 0 || count <= 0) {
        SDL_SetError("a sheet needs cells of a positive size and a positive count, not %d cells of %d x %d", count,
                     frame_w, frame_h);
        return nullptr;
    }
    if (path == nullptr) {
        SDL_SetError("no sheet path given");
        return nullptr;
    }
    PictureFiles files;
    int width = 0, height = 0;
    if (!files.size_of(path, key_colour(r, g, b), &width, &height)) return nullptr;
    const int columns = width / frame_w;
    if (static_cast<long long>(columns) * (height / frame_h) < count) {
        // Classic SDL's error formatting takes five values at most.
        char sizes[96];
        snprintf(sizes, sizeof sizes, "of %d x %d holds fewer than %d cells of %d x %d", width, height, count, frame_w,
                 frame_h);
        SDL_SetError("sheet %s %s", path, sizes);
        return nullptr;
    }
    SDL_Surface** frames = load_image_array(count, [&](int i) {
        const SDL_Rect cell{static_cast<Sint16>(i % columns * frame_w), static_cast<Sint16>(i / columns * frame_h),
                            static_cast<Uint16>(frame_w), static_cast<Uint16>(frame_h)};
        return load_keyed_image(files, path, r, g, b, SDL_ALPHA_OPAQUE, &cell);
    });
    return frames != nullptr ? make_sprite(frames, count, frozen, x, y) : nullptr;
}

sprite* create_sprite(const char* const* paths, int frozen, int x, int y, int r, int g, int b)
{
    PictureFiles files;
    return create_sprite_from_files(files, paths, frozen, x, y, r, g, b);
}

void free_sprite(sprite* s)
{
    if (s == nullptr) return;
    urgent_free(s->frames, s->frame_count);
    free(s);
}

void blit_sprite(sprite* s, SDL_Surface* target)
{
    draw_frame(s, target, nullptr, &s->pos);
}

void blit_sprite_from(sprite* s, SDL_Surface* target, SDL_Rect src)
{
    draw_frame(s, target, &src, &s->pos);
}

void blit_sprite_from_to(sprite* s, SDL_Surface* target, SDL_Rect src, SDL_Rect dst)
{
    draw_frame(s, target, &src, &dst);
}

void update_sprite(sprite* s)
{
    if (s->frozen != 0) return;
    // An equality test against the last index: a one-frame sprite stays on 0.
    s->frame = s->frame == s->frame_count - 1 ? 0 : s->frame + 1;
}

ANIM_DEFINE_LIST_BUILDER(make_sprite_array, sprite)

void free_sprite_array(sprite** list)
{
    anim::free_object_list(list, free_sprite);
}

void free_structure_sprite_array(sprite** list)
{
    anim::free_object_list<sprite>(list, nullptr);
}
