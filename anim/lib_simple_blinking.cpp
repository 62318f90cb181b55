// lib_simple_blinking: an overlay fading in and out over a base image.
#include "anim/lib_simple_blinking.h"

#include "anim/detail/keyed_image.h"
#include "anim/detail/pace_steps.h"

#include <algorithm>  // Required for: std::min()
#include <cstdlib>    // Required for: calloc(), free()

// The shared loaders and drawing helpers of the toolkit.
using namespace anim::detail;

namespace {

// Draws the base and the current ladder copy through the given rectangles.
void draw_layers(const simple_surface* surface, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst)
{
    SDL_Surface* const layers[] = {
        surface->base,
        surface->ladder != nullptr ? surface->ladder[surface->index] : nullptr,
    };
    blit_layers(layers, 2, target, src, dst);
}

// Advances a fade by `ms`, one call of fade() a step. Steps past count + 1
// change nothing: the first sets the direction, and count reach the end
// from anywhere.
void advance_fade(simple_surface* surface, int ms, void (*fade)(simple_surface*))
{
    const long long steps = std::min(due_steps(surface->pace, ms), surface->count + 1LL);
    take_steps(steps, 0, [surface, fade] { fade(surface); });
}

}  // namespace

simple_surface* create_simple_surface(const char* base_path, const char* blink_path, Uint8 enable, int step, int x,
                                      int y, int r, int g, int b)
{
    // A negative step would climb a ladder of negative length.
    if (step < 0) {
        SDL_SetError("a simple blinking surface needs a non-negative alpha step, got %d", step);
        return nullptr;
    }
    auto* surface = static_cast<simple_surface*>(calloc(1, sizeof(simple_surface)));
    if (surface == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    PictureFiles files;
    surface->base = load_keyed_image(files, base_path, r, g, b);
    if (surface->base != nullptr) surface->blink = load_keyed_image(files, blink_path, r, g, b);
    if (surface->blink == nullptr) {
        free_simple_surface(surface);
        return nullptr;
    }
    surface->step = step;
    surface->pace.step_ms = ANIM_DEFAULT_STEP_MS;
    surface->pos.x = static_cast<Sint16>(x);
    surface->pos.y = static_cast<Sint16>(y);
    surface->index = 0;
    surface->falling = 0;
    surface->enabled = enable != 0 ? 1 : 0;
    if (surface->enabled != 0) {
        surface->count = simple_ladder_top(step);
        surface->ladder = load_alpha_ladder(files, blink_path, r, g, b, step, surface->count + 1);
        if (surface->ladder == nullptr) {
            free_simple_surface(surface);
            return nullptr;
        }
    }
    surface->w = surface->base->w;
    surface->h = surface->base->h;
    return surface;
}

void free_simple_surface(simple_surface* surface)
{
    if (surface == nullptr) return;
    SDL_FreeSurface(surface->base);
    SDL_FreeSurface(surface->blink);
    if (surface->ladder != nullptr) urgent_free(surface->ladder, surface->count + 1);
    free(surface);
}

void blit_simple_blinking_surface(simple_surface* surface, SDL_Surface* target)
{
    draw_layers(surface, target, nullptr, &surface->pos);
}

void blit_simple_blinking_surface_from(simple_surface* surface, SDL_Surface* target, SDL_Rect src)
{
    draw_layers(surface, target, &src, &surface->pos);
}

void blit_simple_blinking_surface_from_to(simple_surface* surface, SDL_Surface* target, SDL_Rect src, SDL_Rect dst)
{
    draw_layers(surface, target, &src, &dst);
}

void update_simple_blinking(simple_surface* surface)
{
    if (surface->enabled == 0) return;
    // The update that reaches an end only turns, so each end is drawn twice.
    if (surface->falling == 0) {
        if (surface->index == surface->count)
            surface->falling = 1;
        else
            ++surface->index;
    } else {
        if (surface->index == 0)
            surface->falling = 0;
        else
            --surface->index;
    }
}

void fade_in_simple_blinking(simple_surface* surface)
{
    if (surface->enabled == 0) return;
    surface->falling = 0;
    if (surface->index < surface->count) ++surface->index;
}

void fade_out_simple_blinking(simple_surface* surface)
{
    if (surface->enabled == 0) return;
    surface->falling = 1;
    if (surface->index > 0) --surface->index;
}

void set_simple_blinking_step_time(simple_surface* surface, int ms)
{
    surface->pace = anim_pace{ms, 0};
}

void advance_simple_blinking(simple_surface* surface, int ms)
{
    // Up through count + 1 copies and down again, each end shown twice.
    const long long cycle = 2 * (static_cast<long long>(surface->count) + 1);
    take_steps(due_steps(surface->pace, ms), cycle, [surface] { update_simple_blinking(surface); });
}

void advance_fade_in_simple_blinking(simple_surface* surface, int ms)
{
    advance_fade(surface, ms, fade_in_simple_blinking);
}

void advance_fade_out_simple_blinking(simple_surface* surface, int ms)
{
    advance_fade(surface, ms, fade_out_simple_blinking);
}
