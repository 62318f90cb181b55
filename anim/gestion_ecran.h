// gestion_ecran: the screen record, a scene's view onto its world.
//
// The screen holds the display surface, the view's size and its position in
// world pixels, with the position it had before the last move.
//
//   create_screen     a new view
//   free_screen       release the view
//   update_screen_xy  move the view, remembering where it was
//   update_screen_x   move the view horizontally, remembering where it was
//   update_screen_y   move the view vertically, remembering where it was
//
// Errors: create_screen returns null, with the reason in SDL_GetError(),
// when memory runs out. No other function fails.
#ifndef ANIM_GESTION_ECRAN_H
#define ANIM_GESTION_ECRAN_H

#include <SDL.h>

// A view. Callers may read and write the fields directly.
struct screen {
    SDL_Surface* surface;  // the surface the view is drawn on (the display's); null until the caller stores it
    int w;                 // the view's width in pixels
    int h;                 // the view's height in pixels
    int x;                 // the view's left edge in world pixels
    int y;                 // the view's top edge in world pixels
    int old_x;             // x before the last position update; x at creation
    int old_y;             // y before the last position update; y at creation
};

// A w x h view at world (x, y) with no surface yet. The caller owns the
// result and releases it with free_screen. The sizes are stored as given.
// Returns null when memory runs out.
screen* create_screen(int w, int h, int x, int y);

// Hands surface (when set) to SDL_FreeSurface, which leaves SDL's display
// surface alone (SDL_Quit releases that one), then frees the record. A null
// screen is ignored.
void free_screen(screen* s);

// Remembers the current position in old_x and old_y, then moves to (x, y).
void update_screen_xy(screen* s, int x, int y);

// Remembers the current position in old_x and old_y, then sets x.
void update_screen_x(screen* s, int x);

// Remembers the current position in old_x and old_y, then sets y.
void update_screen_y(screen* s, int y);

#endif
