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
//   create/complex_png/toolkit the same from its pictures as PNG files (RGB,
//                              palette, RGBA), against the BMPs
//   frame/soft/toolkit, frame/soft/baseline
//                              a frame of soft-edged PNG pictures (the guide
//                              example's fir tree and child, from its sheet)
//                              over the sky, against raw SDL blits of them
//   create/crowd/each_read, create/crowd/one_read
//                              200 sprites of a row of the example child's
//                              sheet, each reading the sheet, or all cut from
//                              one read of it
//   memory/<program>           bytes held by the program's objects against
//                              their surfaces' pixel bytes (counters only)
//
// Run headless (SDL_VIDEODRIVER=dummy) through tools/bench.sh, which writes
// docs/performance.md from the results.
#include "anim/detail/keyed_image.h"
#include "anim/owned.h"
#include "blink_sprite_test.h"
#include "path_list.h"
#include "scene_demo.h"
#include "scene_sets.h"
#include "surface_ledger.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <functional>
#include <string>
#include <vector>

using scene_sets::create_cross_fade;
using scene_sets::program_dir;
using scene_sets::SceneSet;

namespace {

// One SDL_BlitSurface call: the source, its window (or none), and the
// destination rectangle as it was handed over.
struct Blit {
    SDL_Surface* source;
    SDL_Rect src;
    bool whole;  // no source window
    SDL_Rect dst;
};

// While set, every SDL_BlitSurface call is written down here.
std::vector<Blit>* recording = nullptr;

}  // namespace

// Every SDL_BlitSurface call of the process comes here (the benchmarks link
// with --wrap=SDL_UpperBlit).
extern "C" int __real_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect);
extern "C" int __wrap_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect)
{
    if (recording != nullptr)
        recording->push_back({src, srcrect != nullptr ? *srcrect : SDL_Rect{}, srcrect == nullptr,
                              dstrect != nullptr ? *dstrect : SDL_Rect{}});
    return __real_SDL_UpperBlit(src, srcrect, dst, dstrect);
}

namespace {

const std::string kRunDir = ANIM_RUN_DIR;
// The same pictures, written at 32 bits, and as PNG files.
const std::string kRun32Dir = ANIM_RUN_32_DIR;
const std::string kRunPngDir = ANIM_RUN_PNG_DIR;

using MakeSet = std::unique_ptr<SceneSet> (*)(const std::string&);

struct Program {
    MakeSet make;
    int w, h;
};

std::unique_ptr<SceneSet> blink_default(const std::string& dir)
{
    return scene_sets::blink_set(dir);
}

const Program kBlinkTest{blink_default, blink_test::kWidth, blink_test::kHeight};
const Program kBlinkSpriteTest{scene_sets::blink_sprite_set, blink_sprite_test::kWidth, blink_sprite_test::kHeight};
const Program kSceneDemo{scene_sets::scene_set, scene_demo::kViewWidth, scene_demo::kViewHeight};

// A cell of the guide example's child sheets.
constexpr int kChildW = 32, kChildH = 35;

// Soft-edged pictures: scene_demo's sky, and the guide's scrolling example's
// fir tree and running child (10 cells of its sheet), in the view.
std::unique_ptr<SceneSet> soft_set(const std::string& run_dir)
{
    const std::string dir = program_dir(run_dir, scene_demo::kName);
    const std::shared_ptr<decor> sky(
        create_decor((dir + "Ressources/background/background.bmp").c_str(), 0, 0, 0, 0, 0), free_everything_decor);
    const std::shared_ptr<decor> fir(create_decor((dir + "Ressources/background/fir.png").c_str(), 100, 164, 0, 0, 0),
                                     free_everything_decor);
    const std::shared_ptr<sprite> child(create_sprite_from_sheet((dir + "Ressources/child/running.png").c_str(),
                                                                 kChildW, kChildH, 10, 0, 110, 189, 255, 255, 255),
                                        free_sprite);
    if (!sky || !fir || !child) return nullptr;
    sky->hidden = fir->hidden = 0;
    auto set = std::make_unique<SceneSet>();
    set->objects = {sky, fir, child};
    set->draw = [sky, fir, child](SDL_Surface* target) {
        blit_decor(sky.get(), target);
        blit_decor(fir.get(), target);
        blit_sprite(child.get(), target);
    };
    set->advance = [child] { update_sprite(child.get()); };
    set->period = child->frame_count;
    set->surfaces = {sky->image, fir->image};
    set->surfaces.insert(set->surfaces.end(), child->frames, child->frames + child->frame_count);
    return set;
}

const Program kSoft{soft_set, scene_demo::kViewWidth, scene_demo::kViewHeight};

// A 32-bit target of the given size in the display's layout.
SDL_Surface* make_display(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
}

// Frames each frame benchmark runs from the objects' creation, so that the
// toolkit and the baseline draw the same frames.
constexpr int kFrameRun = scene_sets::kRunFrames;

// The blits the next draw of `set` makes, recorded by drawing onto `scratch`.
std::vector<Blit> record_blits(SceneSet& set, SDL_Surface* scratch)
{
    std::vector<Blit> blits;
    recording = &blits;
    set.draw(scratch);
    recording = nullptr;
    return blits;
}

// Draws one recorded frame: each blit with the rectangles the toolkit handed
// over, copied as the toolkit copies or writes them.
void draw(const std::vector<Blit>& blits, SDL_Surface* target)
{
    for (const Blit& b : blits) {
        SDL_Rect src = b.src, dst = b.dst;
        SDL_BlitSurface(b.source, b.whole ? nullptr : &src, target, &dst);
    }
}

// A program's objects and a display to draw them on; null members (and the
// benchmark skipped) when they cannot be made.
struct Stage {
    Stage(benchmark::State& state, const Program& program)
        : set(program.make(kRunDir)), target(make_display(program.w, program.h), SDL_FreeSurface)
    {
        if (!set || !target) state.SkipWithError(SDL_GetError());
    }
    explicit operator bool() const { return set && target; }
    std::unique_ptr<SceneSet> set;
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
    std::vector<std::vector<Blit>> frames;
    for (int i = 0; i < stage.set->period; ++i) {
        frames.push_back(record_blits(*stage.set, stage.target.get()));
        stage.set->advance();
    }
    size_t next = 0;
    for (auto _ : state) {
        draw(frames[next], stage.target.get());
        next = next + 1 == frames.size() ? 0 : next + 1;
    }
}

void frame_ladder(benchmark::State& state)
{
    const auto set = scene_sets::blink_set(kRunDir, static_cast<int>(state.range(0)));
    SDL_Surface* target = make_display(kBlinkTest.w, kBlinkTest.h);
    if (!set || target == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    for (auto _ : state) set->frame(target);
    SDL_FreeSurface(target);
}

void frame_ladder_fixed(benchmark::State& state)
{
    anim::owned_complex_surface fade(
        create_cross_fade(program_dir(kRunDir, blink_test::kName), static_cast<int>(state.range(0))));
    SDL_Surface* target = make_display(kBlinkTest.w, kBlinkTest.h);
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

// A scene_demo picture of scene_demo.h, in the program's run folder.
std::string scene_picture(const char* path)
{
    return program_dir(kRunDir, scene_demo::kName) + path;
}

// Complex surfaces: blink_test's cross-fade from the pictures under
// `run_dir`, with an alpha step.
void create_complex_toolkit(benchmark::State& state, const std::string& run_dir)
{
    const int step = static_cast<int>(state.range(0));
    const std::string dir = program_dir(run_dir, blink_test::kName);
    run_toolkit(state, [&] {
        complex_surface* s = create_cross_fade(dir, step);
        free_complex_surface(s);
        return s != nullptr;
    });
    // The fronts, and the backdrop fading back in.
    const int count = anim::detail::count_paths(blink_test::kFronts) + 1;
    const int rows = anim::detail::complex_row_length(step);
    state.counters["expected_loads"] = 1 + count + count * rows;
    state.counters["count_x_rows"] = count * rows;
}

void create_complex_raw(benchmark::State& state, const std::string& run_dir)
{
    namespace fade = blink_test;
    const Colour key = fade::kKey;
    const int step = static_cast<int>(state.range(0));
    const std::string dir = program_dir(run_dir, blink_test::kName);
    std::vector<std::string> fronts = in_folder(dir, fade::kFronts);
    fronts.push_back(dir + fade::kBackdrop);
    std::vector<Load> loads{{fronts.back(), -1, key.r, key.g, key.b}};
    for (const std::string& f : fronts) loads.push_back({f, -1, key.r, key.g, key.b});
    for (const std::string& f : fronts)
        for (int j = 0; j < anim::detail::complex_row_length(step); ++j)
            loads.push_back({f, anim::detail::ladder_alpha(step, j), key.r, key.g, key.b});
    run_raw(state, loads);
}

// Simple surfaces: scene_demo's lantern, step 20.
constexpr int kLanternStep = 20;

void create_simple_toolkit(benchmark::State& state)
{
    const std::string base = scene_picture(scene_demo::pictures::kLantern);
    const std::string blink = scene_picture(scene_demo::pictures::kLanternGlow);
    run_toolkit(state, [&] {
        simple_surface* s = create_simple_surface(base.c_str(), blink.c_str(), 1, kLanternStep, 0, 0, 0, 0, 0);
        free_simple_surface(s);
        return s != nullptr;
    });
    state.counters["expected_loads"] = 2 + anim::detail::simple_ladder_top(kLanternStep) + 1;
}

void create_simple_raw(benchmark::State& state)
{
    const std::string blink = scene_picture(scene_demo::pictures::kLanternGlow);
    std::vector<Load> loads{{scene_picture(scene_demo::pictures::kLantern), -1, 0, 0, 0}, {blink, -1, 0, 0, 0}};
    for (int i = 0; i <= anim::detail::simple_ladder_top(kLanternStep); ++i)
        loads.push_back({blink, anim::detail::ladder_alpha(kLanternStep, i), 0, 0, 0});
    run_raw(state, loads);
}

// Sprites: scene_demo's running child.
std::vector<std::string> running_frames()
{
    std::vector<std::string> paths;
    for (const char* frame : scene_demo::pictures::kRunning) paths.push_back(scene_picture(frame));
    return paths;
}

void create_sprite_toolkit(benchmark::State& state)
{
    const std::vector<std::string> frames = running_frames();
    const std::vector<const char*> list = path_list(frames);
    run_toolkit(state, [&] {
        const Colour key = scene_demo::kSpriteKey;
        sprite* s = create_sprite(list.data(), 0, 0, 0, key.r, key.g, key.b);
        free_sprite(s);
        return s != nullptr;
    });
    state.counters["expected_loads"] = static_cast<double>(frames.size());
}

void create_sprite_raw(benchmark::State& state)
{
    std::vector<Load> loads;
    const Colour key = scene_demo::kSpriteKey;
    for (const std::string& f : running_frames()) loads.push_back({f, -1, key.r, key.g, key.b});
    run_raw(state, loads);
}

// Decors: scene_demo's platform.
void create_decor_toolkit(benchmark::State& state)
{
    const std::string path = scene_picture(scene_demo::pictures::kPlatform);
    run_toolkit(state, [&] {
        decor* d = create_decor(path.c_str(), 0, 0, 0, 0, 0);
        free_everything_decor(d);
        return d != nullptr;
    });
    state.counters["expected_loads"] = 1;
}

void create_decor_raw(benchmark::State& state)
{
    run_raw(state, {{scene_picture(scene_demo::pictures::kPlatform), -1, 0, 0, 0}});
}

// A crowd: `state.range(0)` sprites of the first row of the guide example's
// running child (5 cells of its PNG sheet), made and released together,
// each reading and decoding the sheet itself (create_sprite_from_sheet) or
// all of them cut from the sheet read once (open_sprite_sheet).
constexpr int kCrowdRow = 5;

void create_crowd(benchmark::State& state, bool read_once)
{
    const std::string sheet_path = scene_picture("Ressources/child/running.png");
    const char* path = sheet_path.c_str();
    const Colour key = scene_demo::kSpriteKey;
    std::vector<sprite*> crowd(static_cast<size_t>(state.range(0)));
    run_toolkit(state, [&] {
        sprite_sheet* sheet =
            read_once ? open_sprite_sheet(path, kChildW, kChildH, 0, 0, key.r, key.g, key.b) : nullptr;
        bool made = !read_once || sheet != nullptr;
        for (sprite*& s : crowd) {
            s = read_once ? create_sprite_from_row(sheet, 0, 0, 0, 0)
                          : create_sprite_from_sheet(path, kChildW, kChildH, kCrowdRow, 0, 0, 0, key.r, key.g, key.b);
            made = made && s != nullptr;
        }
        close_sprite_sheet(sheet);
        for (sprite* s : crowd) free_sprite(s);
        return made;
    });
    state.counters["sprites"] = static_cast<double>(crowd.size());
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
    const std::vector<const SDL_Surface*> surfaces = set->surfaces;
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
// The alpha steps the growth of a creation with its ladders' length is
// measured at.
const std::vector<int64_t> kGrowthSteps{1, 10, 20, 50, 255};
BENCHMARK_CAPTURE(frame_toolkit, soft, kSoft)->Name("frame/soft/toolkit")->Iterations(kFrameRun);
BENCHMARK_CAPTURE(frame_baseline, soft, kSoft)->Name("frame/soft/baseline")->Iterations(kFrameRun);
BENCHMARK(frame_ladder)->Name("frame_ladder")->Arg(1)->Arg(255);
BENCHMARK(frame_ladder_fixed)->Name("frame_ladder_fixed")->Arg(1)->Arg(255);
BENCHMARK_CAPTURE(create_complex_toolkit, at_24_bits, kRunDir)
    ->Name("create/complex/toolkit")
    ->ArgsProduct({kGrowthSteps});
BENCHMARK_CAPTURE(create_complex_raw, at_24_bits, kRunDir)->Name("create/complex/raw")->ArgsProduct({kGrowthSteps});
BENCHMARK_CAPTURE(create_complex_toolkit, at_32_bits, kRun32Dir)
    ->Name("create/complex32/toolkit")
    ->ArgsProduct({kGrowthSteps});
BENCHMARK_CAPTURE(create_complex_raw, at_32_bits, kRun32Dir)->Name("create/complex32/raw")->ArgsProduct({kGrowthSteps});
BENCHMARK_CAPTURE(create_complex_toolkit, from_png, kRunPngDir)
    ->Name("create/complex_png/toolkit")
    ->ArgsProduct({kGrowthSteps});
BENCHMARK(create_simple_toolkit)->Name("create/simple/toolkit");
BENCHMARK(create_simple_raw)->Name("create/simple/raw");
BENCHMARK(create_sprite_toolkit)->Name("create/sprite/toolkit");
BENCHMARK(create_sprite_raw)->Name("create/sprite/raw");
BENCHMARK(create_decor_toolkit)->Name("create/decor/toolkit");
BENCHMARK(create_decor_raw)->Name("create/decor/raw");
BENCHMARK_CAPTURE(create_crowd, each_read, false)
    ->Name("create/crowd/each_read")
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(create_crowd, one_read, true)->Name("create/crowd/one_read")->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(memory, blink_test, kBlinkTest)->Name("memory/blink_test")->Iterations(1);
BENCHMARK_CAPTURE(memory, blink_sprite_test, kBlinkSpriteTest)->Name("memory/blink_sprite_test")->Iterations(1);
BENCHMARK_CAPTURE(memory, scene_demo, kSceneDemo)->Name("memory/scene_demo")->Iterations(1);

BENCHMARK_MAIN();
