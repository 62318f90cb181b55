// anim_bench: what the toolkit costs against raw SDL, measured in one run.
//
//   frame/<program>/toolkit    one frame's draws and updates through the toolkit
//                              (scene_demo's with its movement rules)
//   frame/<program>/baseline   the same SDL_BlitSurface calls on the same
//                              prepared surfaces, with no toolkit in between
//   frame_ladder/<step>        a blink_test frame, over whole cycles, for
//                              ladders of step 1 (255 copies a row) and 255 (1)
//   frame_ladder_fixed/<step>  the same frame state (front 1, first copy) drawn
//                              for both ladders: the row's length costs nothing
//   create/<kind>/toolkit      a creation and its release
//   create/<kind>/raw          the same SDL_LoadBMP, SDL_SetColorKey and
//                              SDL_SetAlpha calls, and the same releases
//   create/complex32/...       the same for blink_test's pictures at 32 bits
//   memory/<program>           bytes held by the program's objects against
//                              their surfaces' pixel bytes (counters only)
//
// Run headless (SDL_VIDEODRIVER=dummy) through tools/bench.sh, which writes
// docs/performance.md from the results.
#include "scene_sets.h"

#include "anim/detail/keyed_image.h"
#include "anim/owned.h"
#include "surface_ledger.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kRunDir = ANIM_RUN_DIR;
// The same pictures, written at 32 bits.
const std::string kRun32Dir = ANIM_RUN_32_DIR;

using MakeSet = std::unique_ptr<bench::SceneSet> (*)(const std::string&);

struct Program {
    MakeSet make;
    int w, h;
};

std::unique_ptr<bench::SceneSet> blink_default(const std::string& dir)
{
    return bench::blink_set(dir);
}

const Program kBlinkTest{blink_default, 100, 50};
const Program kBlinkSpriteTest{bench::blink_sprite_set, 150, 100};
const Program kSceneDemo{bench::scene_set, 256, 256};

// Frames each frame benchmark runs from the objects' creation, so that the
// toolkit and the baseline draw the same frames.
constexpr int kFrameRun = bench::kRunFrames;

// Draws one recorded frame: each blit with the rectangles the toolkit handed
// over, copied as the toolkit copies or writes them.
void draw(const std::vector<bench::Blit>& blits, SDL_Surface* target)
{
    for (const bench::Blit& b : blits) {
        SDL_Rect src = b.src, dst = b.dst;
        SDL_BlitSurface(b.source, b.whole ? nullptr : &src, target, &dst);
    }
}

// A program's objects and a display to draw them on; null members (and the
// benchmark skipped) when they cannot be made.
struct Stage {
    Stage(benchmark::State& state, const Program& program)
        : set(program.make(kRunDir)), target(bench::make_display(program.w, program.h), SDL_FreeSurface)
    {
        if (!set || !target) state.SkipWithError(SDL_GetError());
    }
    explicit operator bool() const { return set && target; }
    std::unique_ptr<bench::SceneSet> set;
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> target;
};

void frame_toolkit(benchmark::State& state, const Program& program)
{
    const Stage stage(state, program);
    if (!stage) return;
    for (auto _ : state) stage.set->frame(stage.target.get());
}

void frame_baseline(benchmark::State& state, const Program& program)
{
    const Stage stage(state, program);
    if (!stage) return;
    std::vector<std::vector<bench::Blit>> frames;
    for (int i = 0; i < stage.set->period(); ++i) {
        frames.push_back(stage.set->blits(stage.target.get()));
        stage.set->advance();
    }
    size_t next = 0;
    for (auto _ : state) {
        draw(frames[next], stage.target.get());
        next = next + 1 == frames.size() ? 0 : next + 1;
    }
}

// blink_test's pictures under `run_dir`.
std::string blink_dir(const std::string& run_dir = kRunDir)
{
    return run_dir + "/blink_test/";
}

// blink_test's front paths under `run_dir`, and their null-terminated list.
struct BlinkFronts {
    explicit BlinkFronts(const std::string& run_dir)
        : paths{blink_dir(run_dir) + "img_devant1.bmp", blink_dir(run_dir) + "img_devant2.bmp",
                blink_dir(run_dir) + "img_devant3.bmp"},
          list{paths[0].c_str(), paths[1].c_str(), paths[2].c_str(), nullptr}
    {
    }
    std::vector<std::string> paths;
    std::vector<const char*> list;
};

void frame_ladder(benchmark::State& state)
{
    const auto set = bench::blink_set(kRunDir, static_cast<int>(state.range(0)));
    SDL_Surface* target = bench::make_display(100, 50);
    if (!set || target == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    for (auto _ : state) set->frame(target);
    state.counters["period"] = set->period();
    SDL_FreeSurface(target);
}

void frame_ladder_fixed(benchmark::State& state)
{
    const BlinkFronts fronts(kRunDir);
    anim::owned_complex_surface fade(create_complex_surface((blink_dir() + "img_fond.bmp").c_str(), fronts.list.data(),
                                                            1, static_cast<int>(state.range(0)), 0, 0, 255, 0, 255));
    SDL_Surface* target = bench::make_display(100, 50);
    if (!fade || target == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    fade->front = 1;
    fade->subframe = 0;
    for (auto _ : state) blit_complex_blinking_surface(fade.get(), target);
    state.counters["copies_a_row"] = fade->max_subframe;
    SDL_FreeSurface(target);
}

// The files and the alpha of each load a creation makes (-1: no alpha).
struct Load {
    std::string path;
    int alpha;
    int r, g, b;
};

void run_raw(benchmark::State& state, const std::vector<Load>& loads)
{
    std::vector<SDL_Surface*> held(loads.size());
    for (auto _ : state) {
        for (size_t i = 0; i < loads.size(); ++i) {
            SDL_Surface* s = SDL_LoadBMP(loads[i].path.c_str());
            SDL_SetColorKey(s, SDL_SRCCOLORKEY,
                            SDL_MapRGB(s->format, static_cast<Uint8>(loads[i].r), static_cast<Uint8>(loads[i].g),
                                       static_cast<Uint8>(loads[i].b)));
            if (loads[i].alpha >= 0) SDL_SetAlpha(s, SDL_SRCALPHA, static_cast<Uint8>(loads[i].alpha));
            held[i] = s;
        }
        for (SDL_Surface* s : held) SDL_FreeSurface(s);
    }
    state.counters["loads"] = static_cast<double>(loads.size());
}

// Runs a creation and its release per iteration, counting its loads.
void run_toolkit(benchmark::State& state, const std::function<bool()>& create_and_free)
{
    const long before = harness::load_count();
    long iterations = 0;
    for (auto _ : state) {
        if (!create_and_free()) {
            state.SkipWithError(SDL_GetError());
            return;
        }
        ++iterations;
    }
    state.counters["loads"] = static_cast<double>(harness::load_count() - before) / static_cast<double>(iterations);
}

std::string scene_dir()
{
    return kRunDir + "/scene_demo/Ressources/";
}

// Complex surfaces: the blink_test pictures under `run_dir` with an alpha step.
void create_complex_toolkit(benchmark::State& state, const std::string& run_dir)
{
    const int step = static_cast<int>(state.range(0));
    const std::string base = blink_dir(run_dir) + "img_fond.bmp";
    const BlinkFronts fronts(run_dir);
    run_toolkit(state, [&] {
        complex_surface* s = create_complex_surface(base.c_str(), fronts.list.data(), 1, step, 0, 0, 255, 0, 255);
        free_complex_surface(s);
        return s != nullptr;
    });
    const int count = 4, rows = anim::detail::complex_row_length(step);
    state.counters["expected_loads"] = 1 + count + count * rows;
    state.counters["count_x_rows"] = count * rows;
}

void create_complex_raw(benchmark::State& state, const std::string& run_dir)
{
    const int step = static_cast<int>(state.range(0));
    const std::string base = blink_dir(run_dir) + "img_fond.bmp";
    std::vector<Load> loads{{base, -1, 255, 0, 255}};
    std::vector<std::string> fronts = BlinkFronts(run_dir).paths;
    fronts.push_back(base);
    for (const std::string& f : fronts) loads.push_back({f, -1, 255, 0, 255});
    for (const std::string& f : fronts)
        for (int j = 0; j < anim::detail::complex_row_length(step); ++j)
            loads.push_back({f, anim::detail::ladder_alpha(step, j), 255, 0, 255});
    run_raw(state, loads);
}

void create_simple_toolkit(benchmark::State& state)
{
    const std::string base = scene_dir() + "background/blink1_1.bmp", blink = scene_dir() + "background/blink1_2.bmp";
    run_toolkit(state, [&] {
        simple_surface* s = create_simple_surface(base.c_str(), blink.c_str(), 1, 20, 78, 116, 0, 0, 0);
        free_simple_surface(s);
        return s != nullptr;
    });
    state.counters["expected_loads"] = 2 + 13;
}

void create_simple_raw(benchmark::State& state)
{
    std::vector<Load> loads{{scene_dir() + "background/blink1_1.bmp", -1, 0, 0, 0},
                            {scene_dir() + "background/blink1_2.bmp", -1, 0, 0, 0}};
    for (int i = 0; i <= 12; ++i)
        loads.push_back({scene_dir() + "background/blink1_2.bmp", std::min(255, 20 * i), 0, 0, 0});
    run_raw(state, loads);
}

void create_sprite_toolkit(benchmark::State& state)
{
    const std::vector<std::string> frames = bench::running_frames(scene_dir() + "x_running/");
    const std::vector<const char*> list = bench::path_list(frames);
    run_toolkit(state, [&] {
        sprite* s = create_sprite(list.data(), 0, 0, 189, 255, 255, 255);
        free_sprite(s);
        return s != nullptr;
    });
    state.counters["expected_loads"] = 10;
}

void create_sprite_raw(benchmark::State& state)
{
    std::vector<Load> loads;
    for (const std::string& f : bench::running_frames(scene_dir() + "x_running/"))
        loads.push_back({f, -1, 255, 255, 255});
    run_raw(state, loads);
}

void create_decor_toolkit(benchmark::State& state)
{
    const std::string path = scene_dir() + "background/plateform.bmp";
    run_toolkit(state, [&] {
        decor* d = create_decor(path.c_str(), 0, 112, 0, 0, 0);
        free_everything_decor(d);
        return d != nullptr;
    });
    state.counters["expected_loads"] = 1;
}

void create_decor_raw(benchmark::State& state)
{
    run_raw(state, {{scene_dir() + "background/plateform.bmp", -1, 0, 0, 0}});
}

// Bytes the program's objects hold against their surfaces' pixel bytes.
void memory(benchmark::State& state, const Program& program)
{
    const size_t before = mallinfo2().uordblks;
    auto set = program.make(kRunDir);
    size_t held = mallinfo2().uordblks - before;  // read by DoNotOptimize, which takes it by reference
    if (!set) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    double pixels = 0;
    const std::vector<const SDL_Surface*> surfaces = set->surfaces();
    for (const SDL_Surface* s : surfaces) pixels += static_cast<double>(s->pitch) * s->h;
    for (auto _ : state) benchmark::DoNotOptimize(held);
    state.counters["held_bytes"] = static_cast<double>(held);
    state.counters["pixel_bytes"] = pixels;
    state.counters["surfaces"] = static_cast<double>(surfaces.size());
    state.counters["overhead_per_surface"] =
        (static_cast<double>(held) - pixels) / static_cast<double>(surfaces.size());
}

}  // namespace

BENCHMARK_CAPTURE(frame_toolkit, blink_test, kBlinkTest)->Name("frame/blink_test/toolkit")->Iterations(kFrameRun);
BENCHMARK_CAPTURE(frame_baseline, blink_test, kBlinkTest)->Name("frame/blink_test/baseline")->Iterations(kFrameRun);
BENCHMARK_CAPTURE(frame_toolkit, blink_sprite_test, kBlinkSpriteTest)
    ->Name("frame/blink_sprite_test/toolkit")
    ->Iterations(kFrameRun);
BENCHMARK_CAPTURE(frame_baseline, blink_sprite_test, kBlinkSpriteTest)
    ->Name("frame/blink_sprite_test/baseline")
    ->Iterations(kFrameRun);
BENCHMARK_CAPTURE(frame_toolkit, scene_demo, kSceneDemo)->Name("frame/scene_demo/toolkit")->Iterations(kFrameRun);
BENCHMARK_CAPTURE(frame_baseline, scene_demo, kSceneDemo)->Name("frame/scene_demo/baseline")->Iterations(kFrameRun);
BENCHMARK(frame_ladder)->Name("frame_ladder")->Arg(1)->Arg(255);
BENCHMARK(frame_ladder_fixed)->Name("frame_ladder_fixed")->Arg(1)->Arg(255);
BENCHMARK_CAPTURE(create_complex_toolkit, at_24_bits, kRunDir)
    ->Name("create/complex/toolkit")
    ->Arg(1)
    ->Arg(10)
    ->Arg(20)
    ->Arg(50)
    ->Arg(255);
BENCHMARK_CAPTURE(create_complex_raw, at_24_bits, kRunDir)
    ->Name("create/complex/raw")
    ->Arg(1)
    ->Arg(10)
    ->Arg(20)
    ->Arg(50)
    ->Arg(255);
BENCHMARK_CAPTURE(create_complex_toolkit, at_32_bits, kRun32Dir)->Name("create/complex32/toolkit")->Arg(10);
BENCHMARK_CAPTURE(create_complex_raw, at_32_bits, kRun32Dir)->Name("create/complex32/raw")->Arg(10);
BENCHMARK(create_simple_toolkit)->Name("create/simple/toolkit");
BENCHMARK(create_simple_raw)->Name("create/simple/raw");
BENCHMARK(create_sprite_toolkit)->Name("create/sprite/toolkit");
BENCHMARK(create_sprite_raw)->Name("create/sprite/raw");
BENCHMARK(create_decor_toolkit)->Name("create/decor/toolkit");
BENCHMARK(create_decor_raw)->Name("create/decor/raw");
BENCHMARK_CAPTURE(memory, blink_test, kBlinkTest)->Name("memory/blink_test")->Iterations(1);
BENCHMARK_CAPTURE(memory, blink_sprite_test, kBlinkSpriteTest)->Name("memory/blink_sprite_test")->Iterations(1);
BENCHMARK_CAPTURE(memory, scene_demo, kSceneDemo)->Name("memory/scene_demo")->Iterations(1);

BENCHMARK_MAIN();
