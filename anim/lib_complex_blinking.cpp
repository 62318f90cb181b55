// lib_complex_blinking: cross-fading cycle of front images over a base image.
#include "anim/lib_complex_blinking.h"

#include "anim/detail/keyed_image.h"
#include "anim/detail/pace_steps.h"

#include <cstdlib>  // Required for: calloc(), free()

// The shared loaders and drawing helpers of the toolkit.
using namespace anim::detail;

namespace {

// Number of fronts for a front list: its entries plus one, since the base
// image takes the place of the terminator. An empty or null list gives 0.
int get_tab_len(const char* const* front_paths)
{
    const int entries = count_paths(front_paths);
    return entries == 0 ? 0 : entries + 1;
}

// Path of the image that fills front place `k`: the list's images, then the
// base image in the last place.
const char* front_path(const char* base_path, const char* const* front_paths, int count, int k)
{
    return k < count - 1 ? front_paths[k] : base_path;
}

// Loads the count fronts: the list's images in order, then the base image
// again. Returns a malloc'ed array, or null after releasing what it loaded.
SDL_Surface** put_sdl_surface(PictureFiles& files, const char* base_path, const char* const* front_paths, int count,
                              int r, int g, int b)
{
    const auto path = [=](int i) { return front_path(base_path, front_paths, count, i); };
    return load_keyed_images(files, count, path, r, g, b);
}

// Builds one ladder row per front. On failure the rows built so far stay in
// surface->front_tab for free_complex_surface to release; returns false.
bool create_front_tab(PictureFiles& files, complex_surface* surface, const char* base_path,
                      const char* const* front_paths, int r, int g, int b)
{
    surface->max_subframe = complex_row_length(surface->step);
    surface->front_tab =
        static_cast<SDL_Surface***>(calloc(static_cast<size_t>(surface->count), sizeof(SDL_Surface**)));
    if (surface->front_tab == nullptr) {
        SDL_OutOfMemory();
        return false;
    }
    for (int k = 0; k < surface->count; ++k) {
        surface->front_tab[k] = load_alpha_ladder(files, front_path(base_path, front_paths, surface->count, k), r, g, b,
                                                  surface->step, surface->max_subframe);
        if (surface->front_tab[k] == nullptr) return false;
    }
    return true;
}

// Draws the layers of the current front: the base, the previous front
// opaque, the current ladder copy. A surface made with blinking off has no
// ladder to draw from.
void draw_layers(const complex_surface* surface, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst)
{
    const int f = surface->front;
    SDL_Surface* const layers[] = {
        surface->base,
        f > 0 ? surface->fronts[f - 1] : nullptr,
        surface->front_tab != nullptr ? surface->front_tab[f][surface->subframe] : nullptr,
    };
    blit_layers(layers, 3, target, src, dst);
}

}  // namespace

complex_surface* create_complex_surface(const char* base_path, const char* const* front_paths, Uint8 enable, int step,
                                        int x, int y, int r, int g, int b)
{
    if (step < 0) {
        SDL_SetError("a complex blinking surface needs a non-negative alpha step, got %d", step);
        return nullptr;
    }
    auto* surface = static_cast<complex_surface*>(calloc(1, sizeof(complex_surface)));
    if (surface == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    PictureFiles files;
    surface->base = load_keyed_image(files, base_path, r, g, b);
    if (surface->base == nullptr) {
        free_complex_surface(surface);
        return nullptr;
    }
    const int count = get_tab_len(front_paths);
    if (count == 0) {
        SDL_SetError("a complex blinking surface needs at least one front image");
        free_complex_surface(surface);
        return nullptr;
    }
    surface->fronts = put_sdl_surface(files, base_path, front_paths, count, r, g, b);
    if (surface->fronts == nullptr) {
        free_complex_surface(surface);
        return nullptr;
    }
    surface->count = count;
    surface->step = step;
    surface->pace.step_ms = ANIM_DEFAULT_STEP_MS;
    surface->pos.x = static_cast<Sint16>(x);
    surface->pos.y = static_cast<Sint16>(y);
    surface->subframe = 0;
    surface->front = 0;
    surface->enabled = enable != 0 ? 1 : 0;
    if (surface->enabled != 0 && !create_front_tab(files, surface, base_path, front_paths, r, g, b)) {
        free_complex_surface(surface);
        return nullptr;
    }
    surface->w = surface->base->w;
    surface->h = surface->base->h;
    return surface;
}

void free_complex_surface(complex_surface* surface)
{
    if (surface == nullptr) return;
    SDL_FreeSurface(surface->base);
    urgent_free(surface->fronts, surface->count);
    if (surface->front_tab != nullptr) {
        for (int k = 0; k < surface->count; ++k) urgent_free(surface->front_tab[k], surface->max_subframe);
        free(surface->front_tab);
    }
    free(surface);
}

void blit_complex_blinking_surface(complex_surface* surface, SDL_Surface* target)
{
    draw_layers(surface, target, nullptr, &surface->pos);
}

void blit_complex_blinking_surface_from(complex_surface* surface, SDL_Surface* target, SDL_Rect src)
{
    draw_layers(surface, target, &src, &surface->pos);
}

void blit_complex_blinking_surface_from_to(complex_surface* surface, SDL_Surface* target, SDL_Rect src, SDL_Rect dst)
{
    draw_layers(surface, target, &src, &dst);
}

void update_complex_blinking(complex_surface* surface)
{
    if (surface->enabled == 0) return;
    const bool last_front = surface->front == surface->count - 1;
    const bool last_subframe = surface->subframe == surface->max_subframe - 1;
    if (!last_subframe) {
        ++surface->subframe;
    } else if (last_front) {
        surface->front = 0;
        surface->subframe = 0;
    } else {
        ++surface->front;
        surface->subframe = 0;
    }
}

void set_complex_blinking_step_time(complex_surface* surface, int ms)
{
    surface->pace = anim_pace{ms, 0};
}

void advance_complex_blinking(complex_surface* surface, int ms)
{
    // Every state comes back after a row of each front.
    const long long cycle = static_cast<long long>(surface->count) * surface->max_subframe;
    take_steps(due_steps(surface->pace, ms), cycle, [surface] { update_complex_blinking(surface); });
}
