// gestion_monde: the world record, a scene's container.
//
// The world holds the scene's objects (its blinking decors, decors, other
// characters and its hero) and its width, the right end for the view and the
// hero. From the moment the caller stores them, the world owns the objects
// and their lists, and frees them in two calls.
//
//   create_world           an empty world
//   free_peoples_in_world  release the hero and the peoples list with its members
//   free_decors_in_world   release both decor lists with their members
//   free_world             release the record alone
//
// Errors: create_world returns null when memory runs out. No other function
// fails.
#ifndef ANIM_GESTION_MONDE_H
#define ANIM_GESTION_MONDE_H

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
// free_peoples_in_world, then the record with free_world. Returns null when
// memory runs out.
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

#endif
