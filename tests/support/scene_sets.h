// scene_sets: each program's objects, made as the program makes them from
// the pictures the build drew, for the tests and the benchmarks. Each set
// draws and advances one frame through the toolkit, as its program does.
#ifndef ANIM_SCENE_SETS_H
#define ANIM_SCENE_SETS_H

#include "anim/lib_complex_blinking.h"
#include "scene.h"

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace scene_sets {

// The frames of a headless run: scene_demo's until its child waits at the
// world's end, a whole number of the other programs' cycles.
constexpr int kRunFrames = ANIM_RUN_FRAMES;

struct SceneSet {
    std::vector<std::shared_ptr<void>> objects;  // what the set owns, released with it
    std::function<void(SDL_Surface*)> draw;      // the program's draws of a frame
    std::function<void()> advance;               // its updates, without drawing
    int period = 0;  // frames after which the state repeats (scene_demo: kRunFrames, its run until the child waits)
    std::vector<const SDL_Surface*> surfaces;  // every surface the set holds, one image load each
    std::vector<long> object_loads;  // how many of them each object holds, in the order the program makes them

    // One frame through the toolkit: every draw, then every update.
    void frame(SDL_Surface* target)
    {
        draw(target);
        advance();
    }
};

// blink_test's cross-fade of the pictures in `folder` (a path ending in "/",
// or "" for the working folder); the alpha step is the program's unless
// `step` is given. The caller owns the result; null with SDL's reason.
complex_surface* create_cross_fade(const std::string& folder, int step = -1);

// The objects of blink_test, blink_sprite_test and scene_demo, from the
// pictures in `run_dir`'s folder of each program (the build's run/ folder);
// `step` is the cross-fade's alpha step (the programs' when not given). Null
// with SDL's reason on failure.
std::unique_ptr<SceneSet> blink_set(const std::string& run_dir, int step = -1);
std::unique_ptr<SceneSet> blink_sprite_set(const std::string& run_dir);
std::unique_ptr<SceneSet> scene_set(const std::string& run_dir);

// Every surface scene_demo's assembled scene holds.
std::vector<const SDL_Surface*> scene_surfaces(const scene_demo::Scene& scene);

// The folder of `program` under `run_dir`, ending in "/".
std::string program_dir(const std::string& run_dir, const char* program);

}  // namespace scene_sets

#endif
