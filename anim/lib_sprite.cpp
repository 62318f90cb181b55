// lib_sprite: animated sequences of keyed frames.
#include "anim/lib_sprite.h"

#include "anim/detail/keyed_image.h"
#include "anim/detail/sprite_frames.h"
#include "anim/object_list.h"

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
    if (frames == nullptr) return nullptr;
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
