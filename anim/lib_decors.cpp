// lib_decors: still images and blinking surfaces placed in a scene.
#include "anim/lib_decors.h"

#include "anim/detail/keyed_image.h"
#include "anim/object_list.h"

#include <cstdlib>  // Required for: calloc(), free()

// The shared loaders and drawing helpers of the toolkit.
using namespace anim::detail;

namespace {

// Allocates a hidden placed record of type T at world (x, y), showing the
// w x h window at the origin; null when memory runs out.
template <typename T>
T* create_placed(int x, int y, int w, int h)
{
    auto* placed = static_cast<T*>(calloc(1, sizeof(T)));
    if (placed == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    placed->x = x;
    placed->y = y;
    placed->dst.x = static_cast<Sint16>(x);
    placed->dst.y = static_cast<Sint16>(y);
    placed->src = SDL_Rect{0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    placed->hidden = 1;
    return placed;
}

}  // namespace

decor* create_decor(const char* path, int x, int y, int r, int g, int b)
{
    PictureFiles files;
    SDL_Surface* image = load_keyed_image(files, path, r, g, b);
    if (image == nullptr) return nullptr;
    auto* d = create_placed<decor>(x, y, image->w, image->h);
    if (d == nullptr) {
        SDL_FreeSurface(image);
        return nullptr;
    }
    d->image = image;
    return d;
}

void free_everything_decor(decor* d)
{
    SDL_FreeSurface(free_structure_decor(d));
}

SDL_Surface* free_structure_decor(decor* d)
{
    if (d == nullptr) return nullptr;
    SDL_Surface* image = d->image;
    free(d);
    return image;
}

void blit_decor(decor* d, SDL_Surface* target)
{
    if (d->hidden != 0) return;
    blit_image(d->image, &d->src, target, &d->dst);
}

sblink_decor* create_sblink_decor(simple_surface* surface, int x, int y)
{
    if (surface == nullptr) {
        SDL_SetError("a blinking decor needs a surface");
        return nullptr;
    }
    auto* d = create_placed<sblink_decor>(x, y, surface->w, surface->h);
    if (d == nullptr) return nullptr;
    d->surface = surface;
    return d;
}

void free_everything_sblink_decor(sblink_decor* d)
{
    free_simple_surface(free_structure_sblink_decor(d));
}

simple_surface* free_structure_sblink_decor(sblink_decor* d)
{
    if (d == nullptr) return nullptr;
    simple_surface* surface = d->surface;
    free(d);
    return surface;
}

void blit_sblink_decor(sblink_decor* d, SDL_Surface* target)
{
    if (d->hidden != 0) return;
    blit_simple_blinking_surface_from_to(d->surface, target, d->src, d->dst);
}

void update_sblink_decor(sblink_decor* d)
{
    update_simple_blinking(d->surface);
}

void advance_sblink_decor(sblink_decor* d, int ms)
{
    advance_simple_blinking(d->surface, ms);
}

ANIM_DEFINE_LIST_BUILDER(make_decor_array, decor)

decor** make_decor_array_from(int count, decor* const* members)
{
    return anim::copy_object_list(count, members);
}

void free_everything_decor_array(decor** list)
{
    anim::free_object_list(list, free_everything_decor);
}

ANIM_DEFINE_LIST_BUILDER(make_sblink_decor_array, sblink_decor)

sblink_decor** make_sblink_decor_array_from(int count, sblink_decor* const* members)
{
    return anim::copy_object_list(count, members);
}

void free_everything_sblink_decor_array(sblink_decor** list)
{
    anim::free_object_list(list, free_everything_sblink_decor);
}
