// lib_personnage: a character made of several sprites, one shown at a time.
//
// The current sprite is drawn and animated; change_sprite_personnage picks
// another one and restarts it. A personnage is created hidden and drawn once
// the caller sets hidden to 0; its x and y are world coordinates for the
// caller's scene logic, never read here.
//
//   create_personnage                 wrap an array of sprites
//   tool_create_personnage_from_char  make the sprites from path lists too
//   free_everything_personnage        release the sprites, the array and the record
//   free_structure_personnage         release the record, hand back the array
//   blit_personnage                   draw the current sprite at dst
//   update_personnage                 advance the current sprite one frame
//   advance_personnage                advance the current sprite by some milliseconds
//   change_sprite_personnage          switch to another sprite, from its frame 0
//   find_sprite_personnage            the index of the sprite of a name
//   make_personnage_array, make_personnage_array_from,
//   free_everything_personnage_array
//                                     null-terminated lists of personnages,
//                                     from arguments or from an array
//
// Errors: creations and the list builder return null and leave the reason in
// SDL_GetError(); change_sprite_personnage returns -1 for an index out of
// range, with its reason there too. Sprites and list members are counted from
// 0 in the reasons, as their arrays index them. A creation that succeeds
// leaves SDL_GetError() as it found it. No other function fails.
#ifndef ANIM_LIB_PERSONNAGE_H
#define ANIM_LIB_PERSONNAGE_H

#include "anim/lib_sprite.h"

#include <SDL.h>

// A character. Callers may read and write the fields directly.
struct personnage {
    sprite** sprites;  // sprite_count sprites (a null entry may follow); owned, the array included
    SDL_Rect src;      // the window of the current frame drawn; x, y 0 and the current sprite's size
    SDL_Rect dst;      // where it is drawn; never changed by drawing
    int sprite_count;  // number of sprites, at least 1
    int current;       // index of the sprite shown and animated
    int x;             // world position, dst.x at creation; not read by this module
    int y;             // world position, dst.y at creation; not read by this module
    int hidden;        // non-zero: blit_personnage draws nothing; 1 at creation
    int keep_feet;     // non-zero: change_sprite_personnage keeps the middle of the bottom edge in place; 0 at creation
    char** names;      // sprite_count names, one per sprite (malloc'ed strings), or null; owned
};

// Makes a hidden personnage at (x, y) of the first `sprite_count` sprites of
// `sprites` (a malloc'ed array, as make_sprite_array builds), showing sprite
// 0 cut to the size of its first frame. On success the personnage owns the
// array and its sprites; the caller releases it with
// free_everything_personnage. Returns null when the array is null,
// `sprite_count` is not positive, one of the first `sprite_count` entries is
// null or memory runs out; the array and sprites then stay the caller's.
personnage* create_personnage(sprite** sprites, int sprite_count, int x, int y);

// Makes a hidden personnage at (x, y) of `count` sprites, one per path list
// passed as a further argument (const char* const*), each animated, at
// (x, y), keyed with (r, g, b). The caller owns the result and releases it
// with free_everything_personnage. Returns null when `count` is not
// positive, a sprite cannot be made (the lists after it are not read) or
// memory runs out; nothing is left allocated then.
personnage* tool_create_personnage_from_char(int x, int y, int r, int g, int b, int count, ...);

// Releases every sprite (free_sprite), the sprite array and the record. A
// null personnage is ignored.
void free_everything_personnage(personnage* p);

// Releases the record (with its names) alone and hands its sprite array,
// with the sprites, to the caller. Returns null for a null personnage.
sprite** free_structure_personnage(personnage* p);

// Draws the current frame of the current sprite, cut to src, at dst, unless
// hidden. Neither dst nor the sprite's pos changes.
void blit_personnage(personnage* p, SDL_Surface* target);

// Advances the current sprite one frame, hidden or not; the other sprites
// keep theirs.
void update_personnage(personnage* p);

// advance_sprite of the current sprite, at its own frame times; the other
// sprites keep theirs.
void advance_personnage(personnage* p, int ms);

// Makes sprite `index` the current one, puts it on frame 0 (also when it was
// current already) with its frame's time started anew, and sizes src to it.
// With keep_feet set, the character stands where it stood: dst and x, y
// move by the difference in size, so that the middle of the bottom edge
// (its feet, on sprites drawn standing on their bottom row) stays in place;
// half a pixel of an odd difference in width is dropped, the same way each
// way, so switching back and forth never drifts. Returns 0, or -1 with nothing
// changed and the reason in SDL_GetError() when `index` is negative or not
// below sprite_count.
int change_sprite_personnage(personnage* p, int index);

// The index of the first sprite named `name` (names, as an Aseprite export
// gives them, one per tag). Returns -1, with the reason in SDL_GetError(),
// when the personnage has no names or none is `name`.
int find_sprite_personnage(const personnage* p, const char* name);

// Builds a null-terminated list of `count` personnages passed as further
// arguments, in order. The list owns nothing until it is handed to
// free_everything_personnage_array. Returns null when `count` is negative, a
// member is null (no member is touched; the ones after it are not read) or
// memory runs out.
personnage** make_personnage_array(int count, ...);

// make_personnage_array of the first `count` entries of `members`, which is only read
// during the call. Returns null as make_personnage_array does, and when `members` is null
// with a positive `count`.
personnage** make_personnage_array_from(int count, personnage* const* members);

// Releases every personnage of the list with free_everything_personnage,
// then the list. A null list is ignored.
void free_everything_personnage_array(personnage** list);

#endif
