// scene: scene_demo's scene, in one place for the program, its benchmarks
// and its tests. A snowy valley in a view onto a world twice its width (the
// sizes are in scene_demo.h): a child runs from the world's left
// end to its right end while the view scrolls after it and the scenery
// slides and crops, a lantern and ice crystals blink, and a balloon bobs
// until the child reaches it, then opens and rises.
//
//   create_view_and_world  the view and the world records
//   assemble_scene         load every picture and build the scene's objects
//   draw_scene             one frame's draws, back to front
//   update_scene           one frame's updates and movement rules
//   release_scene          free everything in the teardown order
#ifndef ANIM_SCENE_DEMO_SCENE_H
#define ANIM_SCENE_DEMO_SCENE_H

#include "anim/owned.h"

namespace scene_demo {

// The world's members that the frame moves; the world owns them.
struct Cast {
    decor* platform = nullptr;
    decor* ice_peak = nullptr;
    sblink_decor* lantern = nullptr;
    sblink_decor* crystals = nullptr;
    personnage* hero = nullptr;
    personnage* balloon = nullptr;
};

// The closed balloon's bobbing: its offset from the start and its direction.
struct Bob {
    int offset = 0;
    int step = 1;
};

// Everything the scene owns, released in the reverse order of the members:
// the background (in no list), the world with all it holds, the view.
struct Scene {
    anim::owned_screen view;  // the view; its surface is SDL's display
    anim::owned_world world;  // the decors, blinking decors, balloon and hero
    anim::owned_decor background;
    Cast cast;  // pointers into the world
    Bob bob;
};

// Makes the view (the program's window, at the world's left end) and the
// world. Returns false when either cannot be made.
bool create_view_and_world(Scene& scene);

// Loads the pictures of scene_demo.h (relative to the working folder)
// and builds every object into the world, in the order the pictures are
// read. Needs create_view_and_world first. Returns false with the reason in
// SDL_GetError() when a picture cannot be loaded or memory runs out; what
// was built is then held by the scene or already released.
bool assemble_scene(Scene& scene);

// Draws the scene onto `display`, back to front; the ice peak stands in
// front of the hero.
void draw_scene(const Scene& scene, SDL_Surface* display);

// Advances the scene one frame: the blinking, the scenery's cropping, the
// hero's run, the balloon, then the view following the hero.
void update_scene(Scene& scene);

// Frees the background, the world's decors and characters, the world and the
// view, in that order.
void release_scene(Scene& scene);

}  // namespace scene_demo

#endif
