// lib_sprite: an animated sequence of keyed frame images, one drawn at a time.
//
//   create_sprite        load the frames of a path list
//   create_sprite_from_sheet  load the frames as cells of one picture
//   open_sprite_sheet    read a sheet once, laid out with margin and spacing
//   create_sprite_from_cells, create_sprite_from_row
//                        cut a sprite's frames from an open sheet
//   close_sprite_sheet   release an open sheet
//   free_sprite          release the frames and the record
//   blit_sprite          draw the whole current frame at pos
//   blit_sprite_from     draw a source window of the current frame at pos
//   blit_sprite_from_to  draw a source window at a given place
//   update_sprite        show the next frame, wrapping to the first
//   set_sprite_frame_time, set_sprite_frame_durations
//                        how long each frame shows under advance_sprite
//   advance_sprite       show the frame due after some milliseconds
//   make_sprite_array, make_sprite_array_from, free_sprite_array,
//   free_structure_sprite_array
//                        null-terminated lists of sprites, from arguments
//                        or from an array
//
// Errors: creations, open_sprite_sheet and the list builders return null, releasing everything
// they had built, and leave the reason in SDL_GetError(); list members are
// counted from 0 in the reasons, as the lists index them. A creation that
// succeeds leaves SDL_GetError() as it found it. No other function fails.
#ifndef ANIM_LIB_SPRITE_H
#define ANIM_LIB_SPRITE_H

#include "anim/pace.h"

#include <SDL.h>

// An animated sprite. Callers may read and write the fields directly.
struct sprite {
    SDL_Surface** frames;  // frame_count keyed images in path-list order; owned
    SDL_Rect pos;          // where blit_sprite and blit_sprite_from draw; SDL's clipping writes back into it
    int frame;             // index of the frame shown, 0 .. frame_count-1
    int frame_count;       // number of frames, at least 1
    int frozen;            // non-zero: update_sprite keeps the current frame
    int w;                 // width of the first frame
    int h;                 // height of the first frame
    anim_pace pace;        // the frame time and the time the current frame has shown (advance_sprite)
    int* durations;  // frame_count times in ms, one per frame, that replace the frame time; owned; null at creation
};

// Loads one keyed frame per entry of the null-terminated `paths` list (colour
// key r, g, b, low 8 bits of each used) and places the sprite at (x, y),
// narrowed to 16 bits. `frozen` is stored as given. The paths are only read
// during the call. The caller owns the result and releases it with
// free_sprite. Returns null when a frame cannot be loaded, when the list is
// null or empty, or when memory runs out; nothing is left allocated then.
sprite* create_sprite(const char* const* paths, int frozen, int x, int y, int r, int g, int b);

// Loads the first `count` cells of the sheet at `path`, a picture cut into
// frame_w x frame_h cells from its top left corner, left to right and then
// top to bottom (a part of a cell left over at the right or bottom edge is
// no cell), as the frames of a sprite, one keyed frame per cell, exactly as
// create_sprite loads the same frames from files of their own. A BMP sheet
// must be uncompressed, at 8 bits a pixel or more; any PNG is one. The
// caller owns the result and releases it with free_sprite. Returns null,
// with nothing left allocated, when `frame_w`, `frame_h` or `count` is not
// positive, the sheet cannot be loaded or cut, it holds fewer than `count`
// cells, or memory runs out. It reads the sheet for this sprite alone and
// takes any leftover strip for padding: a sheet with a margin or spacing,
// cells further on or many sprites to cut is open_sprite_sheet's.
sprite* create_sprite_from_sheet(const char* path, int frame_w, int frame_h, int count, int frozen, int x, int y, int r,
                                 int g, int b);

// A sprite sheet read and decoded once, to cut the frames of many sprites
// from. Its cells lie as sheet editors lay them out: a grid of columns x
// rows cells of cell_w x cell_h, cell (c, r) with its top left corner at
// (margin + c * (cell_w + spacing), margin + r * (cell_h + spacing)),
// numbered from 0 left to right, then top to bottom. Callers may read the
// fields; only open_sprite_sheet sets them.
struct sprite_sheet {
    int columns;                           // cells in a row
    int rows;                              // rows of cells
    int cell_w;                            // width of a cell
    int cell_h;                            // height of a cell
    int margin;                            // pixels before the first column and above the first row
    int spacing;                           // pixels between two neighbouring cells
    struct sprite_sheet_picture* picture;  // the decoded picture and its key colour; owned, internal to the toolkit
};

// Reads and decodes the sheet at `path` once, laid out in cells of
// cell_w x cell_h with `margin` and `spacing`, keyed with (r, g, b) (low 8
// bits of each used); every sprite cut from it then costs only its cells.
// The grid must fill the sheet: after the last column, and below the last
// row, there may be no more pixels than the larger of the margin and the
// spacing (editors write the margin on all four sides or only before the
// first cell, and some a gap after every cell too). A wider strip means
// cells of another size or layout, and the sheet is refused with its size,
// what the cells take and a margin and spacing that would fit it. A BMP
// sheet must be uncompressed, at 8 bits a pixel or more; any PNG is one.
// The caller owns the result and releases it with close_sprite_sheet; the
// sprites cut from it own their frames and outlive it. Returns null, with
// nothing left allocated, when a cell size is not positive, the margin or
// the spacing is negative, the path is null, the sheet cannot be read or
// cut, the grid does not fill it, or memory runs out.
sprite_sheet* open_sprite_sheet(const char* path, int cell_w, int cell_h, int margin, int spacing, int r, int g, int b);

// Cuts `count` cells of `sheet` from cell `first` on, in cell order, as the
// frames of a sprite placed at (x, y), exactly as create_sprite loads the
// same frames from files of their own. The caller owns the result and
// releases it with free_sprite. Returns null, with nothing left allocated,
// when the sheet is null, `first` is negative, `count` is not positive, the
// cells run past the sheet's last, or memory runs out.
sprite* create_sprite_from_cells(const sprite_sheet* sheet, int first, int count, int frozen, int x, int y);

// create_sprite_from_cells of the whole row `row` (0 .. rows-1) of `sheet`:
// the form of a character sheet, one row per animation. Null when the row is
// not on the sheet, or as create_sprite_from_cells fails.
sprite* create_sprite_from_row(const sprite_sheet* sheet, int row, int frozen, int x, int y);

// Releases the sheet and its picture; the sprites cut from it keep their
// frames. A null sheet is ignored.
void close_sprite_sheet(sprite_sheet* sheet);

// Releases every frame, the frames array and the record. A null sprite is
// ignored.
void free_sprite(sprite* s);

// Draws the whole current frame onto `target` at pos. SDL stores the drawn
// rectangle back into pos (clipped position and size; w and h are 0 when
// nothing was visible).
void blit_sprite(sprite* s, SDL_Surface* target);

// Draws the `src` window of the current frame at pos, which receives the
// drawn rectangle as with blit_sprite.
void blit_sprite_from(sprite* s, SDL_Surface* target, SDL_Rect src);

// Draws the `src` window of the current frame at `dst`; pos is neither read
// nor changed.
void blit_sprite_from_to(sprite* s, SDL_Surface* target, SDL_Rect src, SDL_Rect dst);

// Moves to the next frame, and from the last frame back to frame 0. Does
// nothing while frozen is non-zero.
void update_sprite(sprite* s);

// Sets how long each frame shows under advance_sprite, `ms` milliseconds
// (ANIM_DEFAULT_STEP_MS at creation; 0 or less keeps the sprite still), and
// starts the current frame's time anew. Frames with durations of their own
// keep them.
void set_sprite_frame_time(sprite* s, int ms);

// Gives frame i a time of its own, durations[i] milliseconds, for each of
// the sprite's frame_count frames (copied; the array is only read during
// the call), and starts the current frame's time anew; a null array gives
// every frame the frame time again. Returns 0, or -1 with nothing changed
// and the reason in SDL_GetError() when a duration is not positive or
// memory runs out.
int set_sprite_frame_durations(sprite* s, const int* durations);

// Advances the sprite by `ms` milliseconds (nothing when not positive):
// each time the current frame has shown for its time, shows the next one,
// wrapping as update_sprite does. Does nothing while frozen is non-zero, or
// when durations written into the record by hand add up to no time.
void advance_sprite(sprite* s, int ms);

// Builds a null-terminated list of `count` sprites passed as further
// arguments, in order: the form of a personnage's sprite array. The list owns
// nothing until it is handed to free_sprite_array (or to a personnage).
// Returns null when `count` is negative, a member is null (no member is
// touched; the ones after it are not read) or memory runs out.
sprite** make_sprite_array(int count, ...);

// make_sprite_array of the first `count` entries of `members`, which is only
// read during the call: a list built from an array of any length. Returns
// null when `count` is negative, `members` is null with a positive `count`,
// a member is null or memory runs out.
sprite** make_sprite_array_from(int count, sprite* const* members);

// Releases every sprite of the list with free_sprite, then the list. A null
// list is ignored.
void free_sprite_array(sprite** list);

// Releases the list alone; its sprites stay alive and the caller's. A null
// list is ignored.
void free_structure_sprite_array(sprite** list);

#endif
