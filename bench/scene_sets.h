// scene_sets: each program's objects, made from the pictures the build drew,
// for the benchmarks and the allocation test. Each set draws and advances
// one frame through the toolkit, and records the blits such a frame makes,
// for the baseline that makes them without the toolkit.
#ifndef ANIM_BENCH_SCENE_SETS_H
#define ANIM_BENCH_SCENE_SETS_H

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

namespace bench {

// One SDL_BlitSurface call: the source, its window (or none), and the
// destination rectangle as it was handed over.
struct Blit {
    SDL_Surface* source;
    SDL_Rect src;
    bool whole;  // no source window
    SDL_Rect dst;
};

class SceneSet {
public:
    virtual ~SceneSet() = default;
    // Draws the set's objects as the program draws them in a frame.
    virtual void draw(SDL_Surface* target) = 0;
    // Advances the state as the program's frame does, without drawing.
    virtual void advance() = 0;
    // Frames after which the set's state repeats (scene_demo: its whole run
    // until the child waits).
    virtual int period() const = 0;
    // Every surface the set holds.
    virtual std::vector<const SDL_Surface*> surfaces() const = 0;

    // One frame through the toolkit: every draw, then every update.
    void frame(SDL_Surface* target);
    // The blits the next frame() would make, recorded by drawing onto
    // `scratch` (a surface of the program's window size).
    std::vector<Blit> blits(SDL_Surface* scratch);
};

// Frames of scene_demo from its start until the child stands waiting at the
// world's end: also a whole number of the other programs' periods, so that
// every program's frames from its objects' creation repeat after it.
constexpr int kRunFrames = 520;

// The objects of blink_test, blink_sprite_test and scene_demo, from the
// pictures in `run_dir` (the build's run/ folder); `step` is the cross-fade's
// alpha step (10 in the programs). Null with SDL's reason on failure.
std::unique_ptr<SceneSet> blink_set(const std::string& run_dir, int step = 10);
std::unique_ptr<SceneSet> blink_sprite_set(const std::string& run_dir);
std::unique_ptr<SceneSet> scene_set(const std::string& run_dir);

// The ten running frames x02.bmp to x11.bmp of `dir` (blink_sprite_test's
// runner and scene_demo's running child are named so).
std::vector<std::string> running_frames(const std::string& dir);

// A null-terminated path list pointing into `paths`, which must outlive it.
std::vector<const char*> path_list(const std::vector<std::string>& paths);

// A 32-bit target of the given size in the display's layout.
SDL_Surface* make_display(int w, int h);

}  // namespace bench

#endif
