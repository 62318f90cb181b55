// The programs, run as real binaries under the harness on the pictures the
// build drew: how each fails to start (each object's first and last image
// load refused, a hostile file at a picture's path, a window that cannot
// open), each ending with its status and one line naming what failed,
// without a signal, before any frame, every image it loaded released; its
// frames against its object set drawn in-process, and on classic SDL 1.2.15
// against the compatibility library; and its quit.
#include "blink_sprite_test.h"
#include "scene_demo.h"
#include "scene_sets.h"
#include "support/hostile_bmps.h"
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using namespace test_support;
using namespace scene_sets;

// Every malloc, calloc and realloc of the process, SDL's included, is
// counted (not in the sanitizer build, whose allocator may not be replaced).
#ifndef __SANITIZE_ADDRESS__
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);

namespace {
std::atomic<long> allocations{0};
}  // namespace

extern "C" void* malloc(size_t size)
{
    ++allocations;
    return __libc_malloc(size);
}

// The parameters keep the C library's names.
extern "C" void* calloc(size_t nmemb, size_t size)
{
    ++allocations;
    return __libc_calloc(nmemb, size);
}

extern "C" void* realloc(void* ptr, size_t size)
{
    ++allocations;
    return __libc_realloc(ptr, size);
}
#endif

namespace {

struct Program {
    const char* binary;
    int w, h;              // its window
    Colour fill;           // the colour its window is filled with once
    const char* backdrop;  // the picture drawn first, keyed by `key`, in its folder
    Colour key;
    int first_status;        // its status when its first object cannot be made
    int later_status;        // and when a later one cannot
    const char* hostile_at;  // a picture's path, relative to the program's folder
    std::function<std::unique_ptr<SceneSet>(const std::string& run_dir)> objects;  // as the program makes them
};

// Each program's facts, from its own header. blink_sprite_test draws
// blink_test's cross-fade first.
namespace blink = blink_test;
namespace runner = blink_sprite_test;
namespace scene = scene_demo;
const Program kPrograms[] = {
    {BLINK_TEST_PATH, blink::kWidth, blink::kHeight, blink::kFill, blink::kBackdrop, blink::kKey,
     blink::kFadeFailureStatus, blink::kFadeFailureStatus, blink::kBackdrop, [](auto& dir) { return blink_set(dir); }},
    {BLINK_SPRITE_TEST_PATH, runner::kWidth, runner::kHeight, runner::kFill, blink::kBackdrop, blink::kKey,
     blink::kFadeFailureStatus, runner::kRunnerFailureStatus, runner::kRunner[3], blink_sprite_set},
    {SCENE_DEMO_PATH, scene::kViewWidth, scene::kViewHeight, scene::kFill, scene::pictures::kBackground,
     scene::kDecorKey, scene::kSceneFailureStatus, scene::kSceneFailureStatus, scene::pictures::kIcePeak, scene_set}};

// The program's file name, which also names its test cases.
void PrintTo(const Program& program, std::ostream* out)
{
    *out << std::filesystem::path(program.binary).filename().string();
}

class ProgramsTest : public ::testing::TestWithParam<Program> {
protected:
    // The program's folder is copied into a folder of its own name, where
    // the tests may change its pictures and its object set finds them.
    void SetUp() override
    {
        std::filesystem::create_directory(folder);
        copy_run_folder(GetParam().binary, folder);
    }

    void expect_clean_failure(const RunResult& r, int status)
    {
        // Exited, not signalled, with `status`, before any frame, every surface freed.
        EXPECT_EQ(std::make_tuple(r.exited, r.signal, r.status, r.frames.size(), r.live),
                  std::make_tuple(true, 0, status, size_t{0}, 0L))
            << r.error_output;
        EXPECT_EQ(r.error_output.rfind(name() + ": cannot ", 0), 0u) << r.error_output;
    }
    std::string name() const { return ::testing::PrintToString(GetParam()); }

    TempDir runs;
    const std::string folder = runs.path + "/" + name();
};

// The loads refused are each object's first and last (the objects as the
// program makes them, each holding one surface a load); one past the last
// refuses nothing.
TEST_P(ProgramsTest, RefusedLoadsEndTheProgramNamingThePicture)
{
    const Program program = GetParam();
    std::map<long, int> refused;  // load, and the status its refusal ends with
    long loads = 0;
    {
        const auto set = program.objects(runs.path);
        ASSERT_NE(set, nullptr) << SDL_GetError();
        for (const long object : set->object_loads) {
            const int status = loads == 0 ? program.first_status : program.later_status;
            refused[loads + 1] = status;
            loads += object;
            refused[loads] = status;
        }
    }
    for (const auto& [k, status] : refused) {
        SCOPED_TRACE("load " + std::to_string(k));
        const RunResult r = run_program(program.binary, folder, RunOptions().quit(3).refuse_load(k));
        expect_clean_failure(r, status);
        const size_t at = r.error_output.find("cannot load ");
        ASSERT_NE(at, std::string::npos) << r.error_output;
        const size_t from = at + 12;  // after "cannot load "
        const std::string picture = r.error_output.substr(from, r.error_output.find(':', from) - from);
        EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/" + picture)) << r.error_output;
    }

    const RunResult past_the_last =
        run_program(program.binary, folder, RunOptions().quit(3).refuse_load(loads + 1).save("1"));
    EXPECT_EQ(std::make_tuple(past_the_last.status, past_the_last.loads, past_the_last.frames.size()),
              std::make_tuple(0, loads, size_t{3}))
        << past_the_last.error_output;
    SDL_Surface* frame = load_saved_frame(folder, 1);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(std::make_pair(frame->w, frame->h), std::make_pair(program.w, program.h)) << "the window's size";
    SDL_FreeSurface(frame);
}

// A window that cannot open, and a hostile file at a picture's path (the
// creations' own tests refuse each of the set; the program passes on their
// refusal).
TEST_P(ProgramsTest, NoWindowOrAHostilePictureEndsTheProgram)
{
    const Program program = GetParam();
    const RunResult no_window = run_program(program.binary, folder, RunOptions().quit(3).driver("no-such-driver"));
    expect_clean_failure(no_window, kWindowFailureStatus);
    EXPECT_NE(no_window.error_output.find(": cannot start SDL: "), std::string::npos) << no_window.error_output;
    std::ofstream(folder + "/" + program.hostile_at, std::ios::binary) << hostile_bmps().front().bytes;
    const RunResult hostile = run_program(program.binary, folder, RunOptions().quit(3));
    expect_clean_failure(hostile, program.later_status);
    EXPECT_NE(hostile.error_output.find(program.hostile_at), std::string::npos) << hostile.error_output;
}

// The program draws, frame for frame, what its object set (the benchmarks'
// model of it) draws in-process on the same pictures: the same objects, in
// the same places and order, advanced the same way, on a window filled once
// (which shows through a keyed hole made in the picture drawn first). Where
// the test's environment loads classic SDL (the "classic" test preset sets
// ANIM_CLASSIC_SDL and LD_LIBRARY_PATH), the program runs on the
// compatibility library instead, on its own pictures, and the two SDL
// implementations' frames may differ by the rounding of alpha blends
// (measured: one level at most; through the hole, blends over blends would
// add up their roundings).
TEST_P(ProgramsTest, DrawsWhatItsObjectSetDraws)
{
    const Program program = GetParam();
    const bool classic = std::getenv("ANIM_CLASSIC_SDL") != nullptr;
    if (!classic) {
        SDL_Surface* backdrop = SDL_LoadBMP((folder + "/" + program.backdrop).c_str());
        ASSERT_NE(backdrop, nullptr) << SDL_GetError();
        SDL_Rect hole{0, 0, 10, 10};
        SDL_FillRect(backdrop, &hole, SDL_MapRGB(backdrop->format, program.key.r, program.key.g, program.key.b));
        SDL_SaveBMP(backdrop, (folder + "/" + program.backdrop).c_str());
        SDL_FreeSurface(backdrop);
    }
    const auto set = program.objects(runs.path);
    ASSERT_NE(set, nullptr) << SDL_GetError();
    const long compared = set->period;
    const RunResult r =
        run_program(program.binary, folder, RunOptions().quit(compared).save("all").without("LD_LIBRARY_PATH"));
    ASSERT_EQ(r.frames.size(), static_cast<size_t>(compared)) << r.error_output;
    const Rgb fill{program.fill.r, program.fill.g, program.fill.b};
    SDL_Surface* display = make_target(program.w, program.h, fill);
    int largest = 0;
    for (long k = 1; k <= compared; ++k) {
        set->frame(display);
        SDL_Surface* drawn = load_saved_frame(folder, k);
        largest = std::max(largest, largest_difference(drawn, display));
        SDL_FreeSurface(drawn);
        ASSERT_LE(largest, classic ? 1 : 0) << "frame " << k;
        ASSERT_TRUE(classic || k > 1 || pixel_at(display, 0, 0) == fill) << "the hole shows the fill";
    }
    SDL_FreeSurface(display);
    std::printf("%s: largest channel difference %d\n", name().c_str(), largest);
}

// No frame allocates: the program's objects, drawn onto a real (headless)
// display, flipped and advanced, with the event poll of a frame, make no
// allocation once their first frames have set up SDL's blit mappings.
TEST_P(ProgramsTest, FramesMakeNoAllocation)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers' allocator cannot be counted";
#else
    const Program program = GetParam();
    SDL_Surface* display = SDL_SetVideoMode(program.w, program.h, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    ASSERT_NE(display, nullptr) << SDL_GetError();
    const long at_start = allocations.load();
    const auto set = program.objects(runs.path);
    ASSERT_NE(set, nullptr) << SDL_GetError();
    ASSERT_GT(allocations.load() - at_start, 0) << "the counters must see the loads' allocations";
    SDL_Event event;
    long before = 0;
    for (int i = 0; i < 4 * set->period; ++i) {
        if (i == 2 * set->period) before = allocations.load();
        SDL_PollEvent(&event);
        set->frame(display);
        SDL_Flip(display);
    }
    EXPECT_EQ(allocations.load() - before, 0) << "allocations in " << 2 * set->period << " frames";
#endif
}

// A quit ends the program after its frame has run to the end, pause
// included; one event is taken a frame, so a quit behind three others comes
// three frames later, and the input changes nothing.
TEST_P(ProgramsTest, QuitEndsItsFrameAndEventsBeforeItDelayItOnly)
{
    const RunResult plain = run_program(GetParam().binary, folder, RunOptions().quit(8));
    ASSERT_EQ(plain.frames.size(), 8u) << plain.error_output;
    EXPECT_EQ(std::make_tuple(plain.exited, plain.status, plain.live), std::make_tuple(true, 0, 0L));
    // SDL's own threads may pause too (classic SDL's timer thread does).
    const auto is_frame = [](const std::string& line) { return line.rfind("frame ", 0) == 0; };
    const std::vector<std::string> tail(std::find_if(plain.log.rbegin(), plain.log.rend(), is_frame).base(),
                                        plain.log.end());
    ASSERT_FALSE(tail.empty());
    const std::string pause = "pause " + std::to_string(kFramePauseMs);
    EXPECT_NE(std::find(tail.begin(), tail.end(), pause), tail.end()) << "the last frame ran to its pause";
    EXPECT_EQ(tail.back().rfind("exit ", 0), 0u);
    const RunResult after_input =
        run_program(GetParam().binary, folder, RunOptions().quit(5).queue("motion,key,keyup"));
    EXPECT_EQ(after_input.frames, plain.frames);
}

// The guide's scrolling example, headless: it ends when asked with every
// picture freed, and its ground slides left under the view while the view
// scrolls (the bottom rows of a frame are those of a frame before, moved
// left by a few columns), then stands still once the view has reached the
// valley's end. It moves by its clock, which the harness keeps: two runs
// flip the same frames, and in frames of 32 ms frame N is frame 2N - 1 of
// the run in frames of 16 ms, its own.
TEST(ScrollingExampleTest, SlidesItsValleyAtTheViewsPaceThenStopsOnItsClock)
{
    TempDir dir;
    copy_run_folder(SCROLLING_EXAMPLE_PATH, dir.path);
    constexpr long kFrames = 820;
    const RunResult r =
        run_program(SCROLLING_EXAMPLE_PATH, dir.path, RunOptions().quit(kFrames).save("400,410,800,810"));
    EXPECT_EQ(std::make_tuple(r.status, r.frames.size(), r.live), std::make_tuple(0, size_t{kFrames}, 0L))
        << r.error_output;
    // How far the bottom rows moved left from frame `before` to 10 frames
    // later; -1 when no move of up to 16 columns explains them.
    const auto moved = [&](long before) {
        SDL_Surface* a = load_saved_frame(dir.path, before);
        SDL_Surface* b = load_saved_frame(dir.path, before + 10);
        int found = -1;
        for (int d = 0; found < 0 && a != nullptr && b != nullptr && d <= 16; ++d) {
            bool same = true;
            for (int y = 240; same && y < 256; ++y)
                for (int x = 0; same && x + d < 256; ++x) same = pixel_at(b, x, y) == pixel_at(a, x + d, y);
            if (same) found = d;
        }
        SDL_FreeSurface(a);
        SDL_FreeSurface(b);
        return found;
    };
    const int scrolling = moved(400), still = moved(800);
    EXPECT_GT(scrolling, 0) << "frame 410 against 400";
    EXPECT_EQ(still, 0) << "frame 810 against 800";
    EXPECT_EQ(run_program(SCROLLING_EXAMPLE_PATH, dir.path, RunOptions().quit(kFrames)).frames, r.frames);
    const RunResult coarse =
        run_program(SCROLLING_EXAMPLE_PATH, dir.path, RunOptions().option("--frame-ms", "32").quit(kFrames / 2));
    ASSERT_EQ(coarse.frames.size(), size_t{kFrames / 2});
    int differing = 0;
    for (size_t n = 1; n <= coarse.frames.size(); ++n) differing += coarse.frames[n - 1] != r.frames[2 * n - 2];
    EXPECT_EQ(differing, 0) << "frames of 32 ms unlike those of 16 ms at the same time";
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramsTest, ::testing::ValuesIn(kPrograms), ::testing::PrintToStringParamName());

}  // namespace
