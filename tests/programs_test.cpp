// The programs, run as real binaries under the harness. On the pictures the
// build drew: every way each can fail to start (each image load refused in
// turn, a hostile file at a picture's path, a window that cannot open), each
// ending with its documented status and one line naming what failed, without
// a signal, before any frame, every image it loaded released; its frames on
// classic SDL 1.2.15 against those on the compatibility library; and a soak
// of 100,000 frames. On solid-coloured pictures: what blink_test and
// blink_sprite_test draw where.
#include "support/hostile_bmps.h"
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace test_support;

namespace {

struct Program {
    const char* binary;
    long loads;              // image loads of a whole start-up
    long fade_loads;         // of which the cross-fade's, made first (42 when one fails)
    int status;              // when a later load fails
    const char* hostile_at;  // a later picture's path, relative to the program's folder
    int w, h;                // its window
    long compared;           // frames compared on the two SDL implementations
    long cycle, settled;     // its frames repeat every `cycle` after the first `settled`
};

class ProgramsTest : public ::testing::TestWithParam<Program> {
protected:
    void SetUp() override { copy_run_folder(GetParam().binary, dir.path()); }

    void expect_clean_failure(const RunResult& r, int status)
    {
        EXPECT_TRUE(r.exited) << "signal " << r.signal;
        EXPECT_EQ(r.status, status) << r.error_output;
        EXPECT_TRUE(r.frames.empty());
        EXPECT_EQ(r.live, 0) << "loaded surfaces left at exit";
        EXPECT_EQ(r.error_output.rfind(name() + ": cannot ", 0), 0u) << r.error_output;
    }
    std::string name() const { return std::filesystem::path(GetParam().binary).filename().string(); }

    TempDir dir;
};

TEST_P(ProgramsTest, EveryRefusedLoadEndsTheProgramNamingItsPicture)
{
    const Program program = GetParam();
    std::set<std::string> named, pictures;
    for (long k = 1; k <= program.loads; ++k) {
        SCOPED_TRACE("load " + std::to_string(k));
        const RunResult r = run_program(program.binary, dir.path(), RunOptions().quit(3).refuse_load(k));
        expect_clean_failure(r, k <= program.fade_loads ? 42 : program.status);
        const size_t at = r.error_output.find("cannot load ");
        ASSERT_NE(at, std::string::npos) << r.error_output;
        const size_t from = at + 12;  // after "cannot load "
        named.insert(
            std::filesystem::path(r.error_output.substr(from, r.error_output.find(':', from) - from)).filename());
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
        if (entry.path().extension() == ".bmp") pictures.insert(entry.path().filename());
    EXPECT_EQ(named, pictures) << "every picture is loaded, and named when its load fails";

    const RunResult past_the_last =
        run_program(program.binary, dir.path(), RunOptions().quit(3).refuse_load(program.loads + 1).save("1"));
    EXPECT_EQ(past_the_last.status, 0) << past_the_last.error_output;
    EXPECT_EQ(past_the_last.loads, program.loads);
    EXPECT_EQ(past_the_last.frames.size(), 3u);
    SDL_Surface* frame = load_saved_frame(dir.path(), 1);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(std::make_pair(frame->w, frame->h), std::make_pair(program.w, program.h)) << "the window's size";
    SDL_FreeSurface(frame);
}

TEST_P(ProgramsTest, EveryHostileFileAtAPicturesPathEndsTheProgram)
{
    const Program program = GetParam();
    TempDir corpus;
    for (const std::string& entry : write_hostile_corpus(corpus.path())) {
        SCOPED_TRACE(entry);
        place_hostile(entry, dir.path() + "/" + program.hostile_at);
        const RunResult r = run_program(program.binary, dir.path(), RunOptions().quit(3));
        expect_clean_failure(r, program.status);
        EXPECT_NE(r.error_output.find(program.hostile_at), std::string::npos) << r.error_output;
    }
}

TEST_P(ProgramsTest, WindowThatCannotOpenEndsWithStatusOne)
{
    const RunResult r = run_program(GetParam().binary, dir.path(), RunOptions().quit(3).driver("no-such-driver"));
    expect_clean_failure(r, 1);
    EXPECT_NE(r.error_output.find(": cannot start SDL: "), std::string::npos) << r.error_output;
}

// Runs where the test's environment loads classic SDL (the "classic" test
// preset sets ANIM_CLASSIC_SDL and LD_LIBRARY_PATH): the program runs once as
// it is and once with LD_LIBRARY_PATH removed, and their frames may differ by
// the blitters' rounding of alpha blends only (measured: one level at most).
TEST_P(ProgramsTest, FramesMatchOnBothSdlImplementations)
{
    if (std::getenv("ANIM_CLASSIC_SDL") == nullptr) GTEST_SKIP() << "classic SDL is not loaded in this run";
    const Program program = GetParam();
    TempDir compat;
    copy_run_folder(program.binary, compat.path());
    const RunOptions options = RunOptions().quit(program.compared).save("all");
    const RunResult on_classic = run_program(program.binary, dir.path(), options);
    const RunResult on_compat =
        run_program(program.binary, compat.path(), RunOptions(options).without("LD_LIBRARY_PATH"));
    ASSERT_EQ(on_classic.frames.size(), static_cast<size_t>(program.compared)) << on_classic.error_output;
    ASSERT_EQ(on_compat.frames.size(), static_cast<size_t>(program.compared)) << on_compat.error_output;
    int largest = 0;
    long equal = 0;
    for (long n = 1; n <= program.compared; ++n) {
        SDL_Surface* a = load_saved_frame(dir.path(), n);
        SDL_Surface* b = load_saved_frame(compat.path(), n);
        ASSERT_TRUE(a != nullptr && b != nullptr);
        int difference = 0;
        for (int y = 0; y < a->h; ++y)
            for (int x = 0; x < a->w; ++x) {
                const Rgb p = pixel_at(a, x, y), q = pixel_at(b, x, y);
                difference = std::max({difference, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
            }
        largest = std::max(largest, difference);
        equal += difference == 0 ? 1 : 0;
        SDL_FreeSurface(a);
        SDL_FreeSurface(b);
    }
    std::printf("%s: %ld of %ld frames equal, largest channel difference %d\n", name().c_str(), equal, program.compared,
                largest);
    EXPECT_LE(largest, 1);
}

// 100,000 frames: the program ends normally, its resident memory stays flat
// after start-up (a leak of one byte a frame would add 90 KB between the
// first reading and the last; paging noise stays well below 64), and its
// last frame is still the one its cycles give.
TEST_P(ProgramsTest, SoakOfOneHundredThousandFramesWithFlatMemory)
{
    constexpr long kFrames = 100000, kRssEvery = 10000;
    const Program program = GetParam();
    const RunResult r = run_program(program.binary, dir.path(), RunOptions().quit(kFrames).log_rss(kRssEvery));
    EXPECT_EQ(r.status, 0) << r.error_output;
    ASSERT_EQ(r.frames.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(r.live, 0);
    std::vector<long> kb;
    for (const std::string& line : r.log) {
        long frame = 0, reading = 0;
        if (std::sscanf(line.c_str(), "rss %ld %ld", &frame, &reading) == 2) kb.push_back(reading);
    }
    ASSERT_EQ(kb.size(), static_cast<size_t>(kFrames / kRssEvery));
    std::printf("resident memory: %ld KB at frame %ld, %ld KB at frame %ld\n", kb.front(), kRssEvery, kb.back(),
                kFrames);
    EXPECT_LE(kb.back() - kb.front(), 64);
    const long early = program.settled + (kFrames - program.settled) % program.cycle;
    EXPECT_EQ(r.frames.back(), r.frames[static_cast<size_t>(early - 1)]) << "frame " << kFrames << " against " << early;
}

// blink_test repeats every 104 frames from the start; blink_sprite_test every
// 520 (104 and the runner's 10); scene_demo, once the child waits at the
// world's end (frame 494 with the build's pictures), every 130 (the blinking
// decors' 26 and the waiting animation's 5), the risen balloon being off the
// window for good.
INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramsTest,
    ::testing::Values(Program{BLINK_TEST_PATH, 109, 109, 42, "img_fond.bmp", 100, 50, 104, 104, 0},
                      Program{BLINK_SPRITE_TEST_PATH, 119, 109, 2, "x05.bmp", 150, 100, 104, 520, 0},
                      Program{SCENE_DEMO_PATH, 54, 0, 1, "Ressources/background/icepeak.bmp", 256, 256, 520, 130, 600}),
    [](const ::testing::TestParamInfo<Program>& param) {
        return std::filesystem::path(param.param.binary).filename().string();
    });

const std::string kBlinkTest = BLINK_TEST_PATH;
const std::string kBlinkSpriteTest = BLINK_SPRITE_TEST_PATH;

const Rgb kRunnerColours[10] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {250, 250, 20},  {20, 250, 250},
                                {120, 60, 0},  {0, 120, 60},  {60, 0, 120},  {128, 128, 128}, {250, 128, 0}};

class TestProgramsTest : public ::testing::Test {
protected:
    // A red base whose left ten columns are transparent, green, blue and
    // yellow fronts, 100 x 50 like blink_test's window; ten 20 x 70 runner
    // frames, frame i of colour kRunnerColours[i] in its top 50 rows and,
    // but for frame 0, transparent below.
    void SetUp() override
    {
        write_bmp(dir.file("img_fond.bmp"), 100, 50, [](int x, int) { return x < 10 ? kMagenta : kRed; });
        write_solid_bmp(dir.file("img_devant1.bmp"), 100, 50, kGreen);
        write_solid_bmp(dir.file("img_devant2.bmp"), 100, 50, kBlue);
        write_solid_bmp(dir.file("img_devant3.bmp"), 100, 50, kYellow);
        for (int i = 0; i < 10; ++i)
            write_bmp(dir.file("x" + std::string(i < 8 ? "0" : "") + std::to_string(i + 2) + ".bmp"), 20, 70,
                      [i](int, int y) { return y < 50 || i == 0 ? kRunnerColours[i] : kMagenta; });
    }

    // Runs `binary` to the quit at frame `frames`, saving the frames `save`;
    // it must end with status 0 and every image released.
    RunResult run(const std::string& binary, long frames, const std::string& save = "", const std::string& events = "")
    {
        RunResult r = run_program(binary, dir.path(), RunOptions().quit(frames).save(save).queue(events));
        EXPECT_TRUE(r.exited) << "ended by signal " << r.signal;
        EXPECT_EQ(r.status, 0) << r.error_output;
        EXPECT_EQ(r.live, 0) << "loaded surfaces left at exit";
        return r;
    }
    Rgb pixel(long frame, int x, int y) { return saved_pixel(dir.path(), frame, x, y); }

    TempDir dir;
};

TEST_F(TestProgramsTest, CrossFadeStartsOnTheBaseRepeatsEvery104FramesAndIsNeverCleared)
{
    const RunResult r = run(kBlinkTest, 320, "1,27,53,79,104,105");
    ASSERT_EQ(r.frames.size(), 320u);
    EXPECT_EQ(r.loads, 109) << "1 + 4 fronts + 4 rows of 26 copies";
    EXPECT_EQ(pixel(1, 10, 10), kRed) << "the base alone";
    EXPECT_EQ(pixel(1, 99, 49), kRed);
    EXPECT_EQ(pixel(1, 5, 5), kBlack) << "the fill, through the base's hole";
    // From the second cycle on, once the hole holds what the cycle leaves in it.
    for (size_t k = 104; k + 104 < r.frames.size(); ++k) ASSERT_EQ(r.frames[k], r.frames[k + 104]) << "frame " << k + 1;
    EXPECT_EQ(std::set<std::string>(r.frames.begin() + 104, r.frames.begin() + 208).size(), 104u)
        << "every frame of a cycle differs from the others";
    // Each front starts opaque where the one before it finished fading in.
    const Rgb opaque[] = {kGreen, kBlue, kYellow, kRed};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(pixel(27 + 26 * k, 10, 10), opaque[k]) << "front " << k + 1;
    EXPECT_EQ(pixel(104, 5, 5), kYellow) << "the last front is opaque under the fading base";
    EXPECT_EQ(pixel(105, 5, 5), kYellow) << "the hole keeps what the frame before left";
}

TEST_F(TestProgramsTest, QuitEndsItsFrameAndEventsBeforeItDelayItOnly)
{
    const RunResult plain = run(kBlinkTest, 8);
    ASSERT_EQ(plain.frames.size(), 8u);
    // After the last frame: its pause, then the exit (SDL may pause too).
    const std::vector<std::string> tail = lines_after_last_frame(plain);
    ASSERT_GE(tail.size(), 2u);
    EXPECT_EQ(tail.front(), "pause 50");
    EXPECT_EQ(tail.back().rfind("exit ", 0), 0u);
    // One event is taken a frame: a quit behind three others comes three
    // frames later, and the input changes nothing.
    EXPECT_EQ(run(kBlinkTest, 5, "", "motion,key,keyup").frames, plain.frames);
}

TEST_F(TestProgramsTest, RunnerCyclesItsTenFramesOverTheCrossFade)
{
    const RunResult r = run(kBlinkSpriteTest, 21, "1-21");
    ASSERT_EQ(r.frames.size(), 21u);
    EXPECT_EQ(r.loads, 119);
    for (int k = 1; k <= 21; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        EXPECT_EQ(pixel(k, 50, 0), kRunnerColours[(k - 1) % 10]);
        EXPECT_EQ(pixel(k, 69, 49), kRunnerColours[(k - 1) % 10]);
        EXPECT_EQ(pixel(k, 120, 80), kWhite);
    }
    EXPECT_EQ(pixel(1, 10, 0), kRed) << "the cross-fade lies under the runner, from (0, 0)";
    EXPECT_EQ(pixel(1, 99, 49), kRed);
    EXPECT_EQ(pixel(1, 100, 0), kWhite);
    // Below the cross-fade only the first frame is opaque: it stays.
    EXPECT_EQ(pixel(3, 55, 60), kRunnerColours[0]);
    EXPECT_EQ(pixel(3, 75, 60), kWhite);
}

}  // namespace
