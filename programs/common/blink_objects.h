// blink_objects: the objects of the two test programs, in one place for the
// programs, the benchmarks and the tests.
//
//   create_cross_fade  blink_test's cross-fade, which blink_sprite_test draws too
//   create_runner      blink_sprite_test's running character
#ifndef ANIM_BLINK_OBJECTS_H
#define ANIM_BLINK_OBJECTS_H

#include "anim/lib_complex_blinking.h"
#include "anim/lib_sprite.h"

#include <string>

// The cross-fade of the pictures in `folder` (a path ending in "/", or ""
// for the working folder): the backdrop with its three fronts fading in one
// after the other, magenta transparent, at (0, 0); the alpha step is the
// programs' unless `step` is given. The caller owns the result; null, with
// the reason in SDL_GetError(), when a picture cannot be loaded.
complex_surface* create_cross_fade(const std::string& folder, int step = -1);

// The running character of the pictures in `folder`: ten frames in a cycle,
// magenta transparent, at its place in blink_sprite_test's window. The caller
// owns the result; null, with the reason in SDL_GetError(), on failure.
sprite* create_runner(const std::string& folder);

#endif
