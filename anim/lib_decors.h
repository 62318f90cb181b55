// lib_decors: the still parts of a scene.
//
// A decor is one keyed image of which a window (src) is drawn at a place
// (dst); a blinking decor (sblink_decor) places a simple blinking surface the
// same way. Both are created hidden and drawn once the caller sets hidden to
// 0; their x and y are world coordinates for the caller's scene logic, never
// read here.
//
//   create_decor                  load a picture as a hidden decor
//   free_everything_decor         release the image and the record
//   free_structure_decor          release the record, hand back the image
//   blit_decor                    draw the window src at dst
//   create_sblink_decor           place a simple blinking surface
//   free_everything_sblink_decor  release the surface and the record
//   free_structure_sblink_decor   release the record, hand back the surface
//   blit_sblink_decor             draw the surface at its place
//   update_sblink_decor           advance its fade one step
//   advance_sblink_decor          advance its fade by some milliseconds
//   make_decor_array, make_decor_array_from, free_everything_decor_array,
//   make_sblink_decor_array, make_sblink_decor_array_from,
//   free_everything_sblink_decor_array
//                                 null-terminated lists of each, from
//                                 arguments or from an array
//
// Errors: creations and list builders return null and leave the reason in
// SDL_GetError(); list members are counted from 0 in the reasons, as the
// lists index them. A creation that succeeds leaves SDL_GetError() as it
// found it. No other function fails.
#ifndef ANIM_LIB_DECORS_H
#define ANIM_LIB_DECORS_H

#include "anim/lib_simple_blinking.h"

#include <SDL.h>

// A still image in a scene. Callers may read and write the fields directly.
struct decor {
    SDL_Surface* image;  // the keyed image; owned
    SDL_Rect src;        // the window of the image drawn; the whole image at creation
    SDL_Rect dst;        // where it is drawn; SDL's clipping writes the drawn rectangle back at every draw
    int x;               // world position, dst.x at creation; not read by this module
    int y;               // world position, dst.y at creation; not read by this module
    int hidden;          // non-zero: blit_decor draws nothing; 1 at creation
};

// A blinking surface placed in a scene. Callers may read and write the
// fields directly.
struct sblink_decor {
    simple_surface* surface;  // the blinking surface shown; owned
    SDL_Rect src;             // the window of the surface drawn; (0, 0, surface w, surface h) at creation
    SDL_Rect dst;             // where it is drawn; never changed by drawing
    int x;                    // world position, dst.x at creation; not read by this module
    int y;                    // world position, dst.y at creation; not read by this module
    int hidden;               // non-zero: blit_sblink_decor draws nothing; 1 at creation
};

// Loads the picture at `path` keyed with (r, g, b) (low 8 bits of each used) as
// a hidden decor at (x, y) showing the whole image. The caller owns the
// result and releases it with free_everything_decor. Returns null when the
// path is null, the image does not load or memory runs out; nothing is left
// allocated then.
decor* create_decor(const char* path, int x, int y, int r, int g, int b);

// Releases the decor's image and the record. A null decor is ignored.
void free_everything_decor(decor* d);

// Releases the record alone and hands its image to the caller, who then
// owns it. Returns null for a null decor.
SDL_Surface* free_structure_decor(decor* d);

// Draws the src window of the image at dst, unless hidden. SDL stores the
// drawn rectangle in dst: a dst.x left of the target's clipping rectangle
// comes back at its edge, and dst.w and dst.h hold the drawn size.
void blit_decor(decor* d, SDL_Surface* target);

// Places `surface` in a hidden blinking decor at (x, y) showing the window
// of the surface's w x h, the base's size: an overlay larger than its base
// is cut at the base's right and bottom edges (widen src to show all of
// it). The decor owns the surface from then on. The caller owns the
// result and releases it with free_everything_sblink_decor. Returns null when
// the surface is null or memory runs out; the surface then stays the
// caller's.
sblink_decor* create_sblink_decor(simple_surface* surface, int x, int y);

// Releases the surface (free_simple_surface) and the record. A null decor
// is ignored.
void free_everything_sblink_decor(sblink_decor* d);

// Releases the record alone and hands its surface to the caller, who then
// owns it. Returns null for a null decor.
simple_surface* free_structure_sblink_decor(sblink_decor* d);

// Draws the src window of the surface at dst, unless hidden, through copies
// of both rectangles: drawing never changes them.
void blit_sblink_decor(sblink_decor* d, SDL_Surface* target);

// One blinking step of the surface, hidden or not.
void update_sblink_decor(sblink_decor* d);

// advance_simple_blinking of its surface, at the surface's own pace
// (set_simple_blinking_step_time).
void advance_sblink_decor(sblink_decor* d, int ms);

// Builds a null-terminated list of `count` decors passed as further
// arguments, in order. The list owns nothing until it is handed to
// free_everything_decor_array. Returns null when `count` is negative, a
// member is null (no member is touched; the ones after it are not read) or
// memory runs out.
decor** make_decor_array(int count, ...);

// make_decor_array of the first `count` entries of `members`, which is only read
// during the call. Returns null as make_decor_array does, and when `members` is null
// with a positive `count`.
decor** make_decor_array_from(int count, decor* const* members);

// Releases every decor of the list with free_everything_decor, then the
// list. A null list is ignored.
void free_everything_decor_array(decor** list);

// As make_decor_array, for blinking decors.
sblink_decor** make_sblink_decor_array(int count, ...);

// make_sblink_decor_array of the first `count` entries of `members`, which is only read
// during the call. Returns null as make_sblink_decor_array does, and when `members` is null
// with a positive `count`.
sblink_decor** make_sblink_decor_array_from(int count, sblink_decor* const* members);

// Releases every blinking decor of the list with
// free_everything_sblink_decor, then the list. A null list is ignored.
void free_everything_sblink_decor_array(sblink_decor** list);

#endif
