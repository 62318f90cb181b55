// lib_simple_blinking: a base image with one overlay that fades in and out.
//
// The overlay (the blink image) rises through an alpha ladder prepared at
// creation up to its highest alpha and falls back, over and over; each end is
// shown on two frames in a row. Or it fades in once and stays, or out once
// and stays gone. A draw is two blits of prepared images and an update moves
// one counter.
//
//   create_simple_surface                  load the base, the blink image and its ladder
//   free_simple_surface                    release the surface and everything it holds
//   blit_simple_blinking_surface           draw the whole surface at pos
//   blit_simple_blinking_surface_from      draw a source window of it at pos
//   blit_simple_blinking_surface_from_to   draw a source window at a given place
//   update_simple_blinking                 move the overlay one step up or down
//   fade_in_simple_blinking                move the overlay one step up, staying at the top
//   fade_out_simple_blinking               move the overlay one step down, staying at the bottom
//   set_simple_blinking_step_time          how long a step takes under the advances
//   advance_simple_blinking, advance_fade_in_simple_blinking, advance_fade_out_simple_blinking
//                                          the three moves, taken as often as the time passed holds
//
// Errors: creation returns null, releasing everything it had built, and
// leaves the reason in SDL_GetError(); when it succeeds it leaves
// SDL_GetError() as it found it. No other function fails.
#ifndef ANIM_LIB_SIMPLE_BLINKING_H
#define ANIM_LIB_SIMPLE_BLINKING_H

#include "anim/pace.h"

#include <SDL.h>

// A blinking surface. Callers may read and write the fields directly.
struct simple_surface {
    SDL_Surface* base;   // the base image, keyed; owned
    SDL_Surface* blink;  // the blink image, keyed, opaque; owned, never drawn
    SDL_Surface**
        ladder;      // count + 1 copies of the blink image, copy i at alpha i * step; owned; null when blinking is off
    SDL_Rect pos;    // where the plain and _from draws place the surface; SDL's clipping writes back into it
    Uint8 enabled;   // 1 when blinking is on
    int index;       // the ladder copy drawn now, 0 .. count
    int falling;     // 0 while index rises, 1 while it falls
    int count;       // highest ladder index: 255 / step (5 for step 0); 0 when blinking is off
    int step;        // alpha step given at creation (0 means 50)
    int w;           // width of the base image
    int h;           // height of the base image
    anim_pace pace;  // the step time and the time since the last step (the advances)
};

// Loads `base_path` and `blink_path`, keyed with (r, g, b) (low 8 bits of
// each used), and places the surface at (x, y). With `enable` non-zero it
// also loads the blink image count + 1 more times as the ladder, with alphas
// 0, step, 2 * step, ... capped at 255 (`step` 0 means 50), where count is
// 255 / step (5 for step 0). A step of 256 or more makes count 0: one copy
// at alpha 0, so the overlay never shows and each update only turns
// `falling`. The two images may differ in size: the overlay is drawn from
// the same corner as the base, and w and h are the base's. The paths are
// only read during the call. The caller owns the result and releases it
// with free_simple_surface. Returns null when `step` is negative, when a
// path is null, when an image (a ladder copy included) cannot be read or
// loaded, or when memory runs out; nothing is left allocated then.
simple_surface* create_simple_surface(const char* base_path, const char* blink_path, Uint8 enable, int step, int x,
                                      int y, int r, int g, int b);

// Releases the base, the blink image, the ladder and the record. A null
// surface is ignored.
void free_simple_surface(simple_surface* surface);

// Draws the base and then the current ladder copy onto `target` at pos. Both
// layers share pos as their destination, so the overlay is placed where
// SDL's clipping of the base left it, and pos keeps what SDL stored last.
// With blinking off only the base is drawn.
void blit_simple_blinking_surface(simple_surface* surface, SDL_Surface* target);

// As blit_simple_blinking_surface, drawing only the `src` window of both
// layers.
void blit_simple_blinking_surface_from(simple_surface* surface, SDL_Surface* target, SDL_Rect src);

// As blit_simple_blinking_surface_from, placed at `dst` instead of pos; pos
// is neither read nor changed.
void blit_simple_blinking_surface_from_to(simple_surface* surface, SDL_Surface* target, SDL_Rect src, SDL_Rect dst);

// Moves the overlay one copy up while rising and down while falling; at the
// top or the bottom it turns instead, so each end shows twice. Does nothing
// with blinking off.
void update_simple_blinking(simple_surface* surface);

// A fade that plays once: call one of these every frame in place of
// update_simple_blinking. fade_in_simple_blinking moves the overlay one copy
// up and stays on the top copy (count, alpha count * step: opaque when the
// step divides 255), so from a new surface (copy 0, invisible) the overlay
// is fully in after count calls; fade_out_simple_blinking moves it one copy
// down and stays on copy 0, gone. Each leaves `falling` as the direction it
// went (0 in, 1 out), so update_simple_blinking afterwards turns at that end
// and blinks on. They do nothing with blinking off.
void fade_in_simple_blinking(simple_surface* surface);
void fade_out_simple_blinking(simple_surface* surface);

// Sets how long one step of the overlay takes under the three advances,
// `ms` milliseconds (ANIM_DEFAULT_STEP_MS at creation; 0 or less keeps the
// surface still), and starts the step's time anew.
void set_simple_blinking_step_time(simple_surface* surface, int ms);

// Advance the overlay by `ms` milliseconds (nothing when not positive): one
// update_simple_blinking, fade_in_simple_blinking or
// fade_out_simple_blinking for each step time passed.
void advance_simple_blinking(simple_surface* surface, int ms);
void advance_fade_in_simple_blinking(simple_surface* surface, int ms);
void advance_fade_out_simple_blinking(simple_surface* surface, int ms);

#endif
