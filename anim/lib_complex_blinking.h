// lib_complex_blinking: a base image with a cycle of front images that
// cross-fade one into the next.
//
// Each front image fades in over the one before it; the last step fades the
// base image back in, and the cycle starts again. Every fade is an alpha
// ladder prepared at creation, so a draw is at most three blits of prepared
// images and an update moves two counters.
//
//   create_complex_surface                  load the base, the fronts and their ladders
//   free_complex_surface                    release the surface and everything it holds
//   blit_complex_blinking_surface           draw the whole surface at pos
//   blit_complex_blinking_surface_from      draw a source window of it at pos
//   blit_complex_blinking_surface_from_to   draw a source window at a given place
//   update_complex_blinking                 advance the cycle by one step
//   set_complex_blinking_step_time          how long a step takes under advance_complex_blinking
//   advance_complex_blinking                take the steps due after some milliseconds
//
// Errors: creation returns null, releasing everything it had built, and
// leaves the reason in SDL_GetError(); when it succeeds it leaves
// SDL_GetError() as it found it. No other function fails.
#ifndef ANIM_LIB_COMPLEX_BLINKING_H
#define ANIM_LIB_COMPLEX_BLINKING_H

#include "anim/pace.h"

#include <SDL.h>

// A cross-fading surface. Callers may read and write the fields directly.
struct complex_surface {
    SDL_Surface* base;         // the base image, keyed; owned
    SDL_Surface** fronts;      // count images, owned: the front list's images in order, then the base loaded again
    SDL_Surface*** front_tab;  // count rows of max_subframe ladder copies (row k fades fronts[k] in), owned; null when
                               // blinking is off
    SDL_Rect pos;              // where the plain and _from draws place the surface; SDL's clipping writes back into it
    Uint8 enabled;             // 1 when blinking is on
    int subframe;              // place in the current ladder row, 0 .. max_subframe-1
    int front;                 // current front, 0 .. count-1
    int count;                 // number of fronts: front list entries + 1
    int max_subframe;          // length of every ladder row; 0 when blinking is off
    int step;                  // alpha step given at creation (0 means 50)
    int w;                     // width of the base image
    int h;                     // height of the base image
    anim_pace pace;            // the step time and the time since the last step (advance_complex_blinking)
};

// Loads `base_path` and the images of the null-terminated `front_paths`
// list, all keyed with (r, g, b) (low 8 bits of each used), and places the
// surface at (x, y). With `enable` non-zero it also builds the alpha ladders,
// with alphas 0, step, 2 * step, ... capped at 255 (`step` 0 means 50); a row
// holds 255 / step copies rounded up (6 for step 0), and creation loads
// 1 + count + count * max_subframe images. The paths are only read during
// the call. The caller owns the result and releases it with
// free_complex_surface. Returns null when an image (a ladder copy included)
// cannot be loaded, when `front_paths` is null or empty, when `step` is
// negative, or when memory runs out; nothing is left allocated then. A step
// of 255 or more makes rows of one copy: each front cuts in.
complex_surface* create_complex_surface(const char* base_path, const char* const* front_paths, Uint8 enable, int step,
                                        int x, int y, int r, int g, int b);

// Releases every image and array the surface holds, then the record.
// A null surface is ignored.
void free_complex_surface(complex_surface* surface);

// Draws the surface onto `target` at pos: the base, then (past the first
// front) the previous front opaque, then the current ladder copy. All layers
// share pos as their destination, so each layer is placed where SDL's
// clipping of the layer before left it, and pos keeps what SDL stored last.
// With blinking off the ladder layer is skipped.
void blit_complex_blinking_surface(complex_surface* surface, SDL_Surface* target);

// As blit_complex_blinking_surface, drawing only the `src` window of every
// layer.
void blit_complex_blinking_surface_from(complex_surface* surface, SDL_Surface* target, SDL_Rect src);

// As blit_complex_blinking_surface_from, placed at `dst` instead of pos;
// pos is neither read nor changed.
void blit_complex_blinking_surface_from_to(complex_surface* surface, SDL_Surface* target, SDL_Rect src, SDL_Rect dst);

// Advances the cycle by one step: the next ladder copy, the next front at the
// end of a row, front 0 after the last row. Does nothing with blinking off.
void update_complex_blinking(complex_surface* surface);

// Sets how long one step of the cycle takes under advance_complex_blinking,
// `ms` milliseconds (ANIM_DEFAULT_STEP_MS at creation; 0 or less keeps the
// surface still), and starts the step's time anew.
void set_complex_blinking_step_time(complex_surface* surface, int ms);

// Advances the cycle by `ms` milliseconds (nothing when not positive): one
// update_complex_blinking for each step time passed.
void advance_complex_blinking(complex_surface* surface, int ms);

#endif
