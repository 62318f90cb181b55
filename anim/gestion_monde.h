// gestion_monde: the world record, a scene's container.
//
// The world holds the scene's objects (its blinking decors, decors, other
// characters and its hero) and its width, the right end for the view and the
// hero. From the moment the caller stores them, the world owns the objects
// and their lists, and frees them in two calls.
//
// A world wider than its view scrolls: each object keeps its world position
// in x and y and its place in the window in dst, which is its world x less
// the view's x (a screen, gestion_ecran.h). A frame of a scrolling scene:
// blit_world, SDL_Flip, the updates and moves of its objects,
// follow_personnage (which scrolls with scroll_world), then crop_world.
//
//   create_world           an empty world
//   free_peoples_in_world  release the hero and the peoples list with its members
//   free_decors_in_world   release both decor lists with their members
//   free_world             release the record alone
//   blit_world             draw every shown object, back to front
//   scroll_world           move the view along the world, and the listed objects the other way
//   follow_personnage      scroll to keep a character a margin from the view's edges
//   place_personnage       put a character in the window where its world position falls
//   crop_world             hide the scenery that has left the view, replace the clipped decors
//
// Errors: create_world returns null, with the reason in SDL_GetError(), when
// memory runs out. No other function fails, and none allocates.
#ifndef ANIM_GESTION_MONDE_H
#define ANIM_GESTION_MONDE_H

#include "anim/gestion_ecran.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"

// A scene's container. Callers may read and write the fields directly.
struct world {
    personnage** peoples;          // null-terminated list of characters other than the hero; owned; null at creation
    personnage* hero;              // the main character, in no list; owned; null at creation
    sblink_decor** sblink_decors;  // null-terminated list of blinking decors; owned; null at creation
    decor** decors;                // null-terminated list of decors; owned; null at creation
    int x;                         // the world's horizontal position; stored only
    int y;                         // the world's vertical position; stored only
    int w;                         // the world's width in pixels: its right end
    int h;                         // the world's height in pixels; stored only
};

// An empty world of w x h at (x, y): no hero and no lists. The caller owns
// the result: free its contents with free_decors_in_world and
// free_peoples_in_world, then the record with free_world. The sizes are
// stored as given. Returns null when memory runs out.
world* create_world(int x, int y, int w, int h);

// Releases the hero (free_everything_personnage), then the peoples list with
// every member, and sets both fields to null. Null fields are skipped; a
// null world is ignored.
void free_peoples_in_world(world* w);

// Releases the decors list, then the blinking decors list, each with every
// member, and sets both fields to null. Null fields are skipped; a null
// world is ignored.
void free_decors_in_world(world* w);

// Frees the record alone: objects its fields still hold are not touched.
// A null world is ignored.
void free_world(world* w);

// Draws the shown objects of `w` onto `target`, back to front: the decors in
// their list's order, then the blinking decors, then the peoples, then the
// hero (hidden objects draw nothing; null lists and hero are skipped). Each
// is drawn as its own blit function draws it: a decor's dst takes the
// clipped rectangle back.
void blit_world(world* w, SDL_Surface* target);

// Scrolls the view `pixels` to the right along the world (to the left for a
// negative count): the view's x goes up by `pixels`, and the dst.x of every
// decor, blinking decor and personnage of the lists goes down by as many, in
// 16 bits. The hero, in no list, keeps its place in the window. The view
// is not held inside the world: follow_personnage does that.
void scroll_world(screen* view, world* w, int pixels);

// Keeps `p` (usually the world's hero) at least `margin` pixels inside the
// view's left and right edges, taking its width from the sprite it shows:
// when it comes closer, scroll_world scrolls by the difference, but never
// past the world's ends (0 and w->w; a view wider than the world stays at
// 0). Then places p in the window: its dst.x becomes its x less the view's
// x. `margin` should be less than half the view's width.
void follow_personnage(screen* view, world* w, personnage* p, int margin);

// Puts `p` in the window where its world position falls in the view: its
// dst.x becomes its x less the view's x, its dst.y its y less the view's y
// (each kept to 16 bits, as SDL 1.2 keeps a rectangle's coordinates, so
// that every SDL draws the same). To move a character other than the one
// follow_personnage places, change its x and y, then call this.
void place_personnage(const screen* view, personnage* p);

// After a scroll: hides, for good, every decor and blinking decor of the
// lists whose right edge (its x plus its image's width) is left of the
// view's left edge; and places every decor at its world x less the view's
// x, which undoes what a draw's clipping wrote back into its dst.x, so that
// a decor crossing the view's left edge slides out at the view's pace.
// Blinking decors are drawn through copies: their dst.x stays where
// scroll_world put it.
void crop_world(const screen* view, world* w);

#endif
