// scene_sets: each program's objects, made as the program makes them from
// the pictures the build drew, for the tests and the benchmarks. Each set
// draws and advances one frame through the toolkit, as its program does.
#ifndef ANIM_SCENE_SETS_H
#define ANIM_SCENE_SETS_H

#include "anim/lib_complex_blinking.h"
#include "scene.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

namespace scene_sets {

// The frames of a headless run: scene_demo's until its child waits at the
// world's end, a whole number of the other programs' cycles.
constexpr int kRunFrames = ANIM_RUN_FRAMES;

class SceneSet {
public:
    virtual ~SceneSet() = default;
    // Draws the set's objects as the program draws them in a frame.
    virtual void draw(SDL_Surface* target) = 0;
    // Advances the state as the program's frame does, without drawing.
    virtual void advance() = 0;
    // Frames after which the set's state repeats (scene_demo: kRunFrames,
    // its run until the child waits).
    virtual int period() const = 0;
    // Every surface the set holds.
    virtual std::vector<const SDL_Surface*> surfaces() const = 0;
    // How many of those each object holds, in the order the program makes
    // the objects: each is one image load of its creation (by default, one
    // object holds them all).
    virtual std::vector<long> object_loads() const;

    // One frame through the toolkit: every draw, then every update.
    void frame(SDL_Surface* target);
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

// A 32-bit target of the given size in the display's layout.
SDL_Surface* make_display(int w, int h);

}  // namespace scene_sets

#endif
