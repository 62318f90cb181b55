// blink_test and blink_sprite_test, run as real binaries under the harness.
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace test_support;

namespace {

const std::string kBlinkTest = BLINK_TEST_PATH;
const std::string kBlinkSpriteTest = BLINK_SPRITE_TEST_PATH;

const Rgb kRunnerColours[10] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {250, 250, 20},  {20, 250, 250},
                                {120, 60, 0},  {0, 120, 60},  {60, 0, 120},  {128, 128, 128}, {250, 128, 0}};

class TestProgramsTest : public ::testing::Test {
protected:
    // The cross-fade pictures: a red base and green, blue and yellow fronts,
    // 100 x 50 like the window of blink_test.
    void write_cross_fade(Rgb base = kRed)
    {
        write_solid_bmp(dir.file("img_fond.bmp"), 100, 50, base);
        write_solid_bmp(dir.file("img_devant1.bmp"), 100, 50, kGreen);
        write_solid_bmp(dir.file("img_devant2.bmp"), 100, 50, kBlue);
        write_solid_bmp(dir.file("img_devant3.bmp"), 100, 50, kYellow);
    }

    // Ten 20 x 20 runner frames, frame i of colour kRunnerColours[i].
    void write_runner()
    {
        for (int i = 0; i < 10; ++i) write_solid_bmp(runner_frame(i), 20, 20, kRunnerColours[i]);
    }

    std::string runner_frame(int i) const
    {
        return dir.file("x" + std::string(i + 2 < 10 ? "0" : "") + std::to_string(i + 2) + ".bmp");
    }

    RunResult run(const std::string& binary, const RunOptions& options)
    {
        return run_program(binary, dir.path(), options);
    }

    // Pixel (x, y) of a frame the harness saved.
    Rgb frame_pixel(long frame, int x, int y)
    {
        SDL_Surface* image = SDL_LoadBMP(saved_frame(dir.path(), frame).c_str());
        if (image == nullptr) {
            ADD_FAILURE() << "frame " << frame << " was not saved: " << SDL_GetError();
            return {};
        }
        const Rgb c = pixel_at(image, x, y);
        SDL_FreeSurface(image);
        return c;
    }

    static void expect_clean_end(const RunResult& r, int status)
    {
        EXPECT_TRUE(r.exited) << "ended by signal " << r.signal;
        EXPECT_EQ(r.status, status) << r.error_output;
        EXPECT_EQ(r.live, 0) << "loaded surfaces left at exit";
    }

    TempDir dir;
};

TEST_F(TestProgramsTest, BlinkTestFirstFrameShowsTheBaseAlone)
{
    write_cross_fade();
    const RunResult r = run(kBlinkTest, RunOptions().quit(1).save_frames("1"));
    expect_clean_end(r, 0);
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.loads, 109) << "1 + 4 fronts + 4 rows of 26 copies";
    EXPECT_EQ(frame_pixel(1, 0, 0), kRed);
    EXPECT_EQ(frame_pixel(1, 99, 49), kRed);
}

TEST_F(TestProgramsTest, BlinkTestCrossFadeRepeatsEvery104Frames)
{
    write_cross_fade();
    const RunResult r = run(kBlinkTest, RunOptions().quit(230).save_frames("27,53,79,105"));
    expect_clean_end(r, 0);
    ASSERT_EQ(r.frames.size(), 230u);
    for (size_t k = 0; k + 104 < r.frames.size(); ++k) ASSERT_EQ(r.frames[k], r.frames[k + 104]) << "frame " << k + 1;
    const std::set<std::string> distinct(r.frames.begin(), r.frames.begin() + 104);
    EXPECT_EQ(distinct.size(), 104u) << "every frame of a cycle differs from the others";
    // Each front starts opaque where the one before it finished fading in.
    EXPECT_EQ(frame_pixel(27, 10, 10), kGreen);
    EXPECT_EQ(frame_pixel(53, 10, 10), kBlue);
    EXPECT_EQ(frame_pixel(79, 10, 10), kYellow);
    EXPECT_EQ(frame_pixel(105, 10, 10), kRed);
}

TEST_F(TestProgramsTest, QuitLetsItsFrameRunToTheEnd)
{
    write_cross_fade();
    const RunResult r = run(kBlinkTest, RunOptions().quit(5));
    expect_clean_end(r, 0);
    EXPECT_EQ(r.frames.size(), 5u);
    // After the last frame: its pause, then the exit (SDL may pause too).
    const std::vector<std::string> tail = lines_after_last_frame(r);
    ASSERT_GE(tail.size(), 2u);
    EXPECT_EQ(tail.front(), "pause 50");
    EXPECT_EQ(tail.back().rfind("exit ", 0), 0u);
}

TEST_F(TestProgramsTest, QuitBehindThreeEventsActsThreeFramesLaterAndInputChangesNothing)
{
    write_cross_fade();
    const RunResult with_input = run(kBlinkTest, RunOptions().quit(5).queue_events("motion,key,keyup"));
    expect_clean_end(with_input, 0);
    EXPECT_EQ(with_input.frames.size(), 8u);
    const RunResult without_input = run(kBlinkTest, RunOptions().quit(8));
    EXPECT_EQ(with_input.frames, without_input.frames);
}

TEST_F(TestProgramsTest, DisplayIsFilledOnlyOnce)
{
    // The base is transparent in its left ten columns: there the black fill
    // shows in frame 1, and later whatever the fronts left behind.
    write_cross_fade();
    write_bmp(dir.file("img_fond.bmp"), 100, 50, [](int x, int) { return x < 10 ? kMagenta : kRed; });
    const RunResult r = run(kBlinkTest, RunOptions().quit(105).save_frames("1,104,105"));
    expect_clean_end(r, 0);
    EXPECT_EQ(frame_pixel(1, 5, 5), kBlack);
    EXPECT_EQ(frame_pixel(104, 5, 5), kYellow) << "the last front is opaque under the fading base";
    EXPECT_EQ(frame_pixel(105, 5, 5), kYellow) << "the hole keeps what the frame before left";
    EXPECT_EQ(frame_pixel(105, 50, 5), kRed);
}

TEST_F(TestProgramsTest, BlinkTestWithoutItsBaseEndsWith42BeforeAnyFrame)
{
    write_cross_fade();
    std::remove(dir.file("img_fond.bmp").c_str());
    const RunResult r = run(kBlinkTest, RunOptions().quit(3));
    expect_clean_end(r, 42);
    EXPECT_TRUE(r.frames.empty());
    EXPECT_NE(r.error_output.find("blink_test: cannot make the cross-fade"), std::string::npos) << r.error_output;
}

TEST_F(TestProgramsTest, EveryFailedImageLoadEndsWithTheDocumentedStatus)
{
    write_cross_fade();
    write_runner();
    struct Case {
        const std::string& program;
        long loads;       // images the program loads
        long fade_loads;  // of which the cross-fade's, loaded first
    };
    const Case cases[] = {{kBlinkTest, 109, 109}, {kBlinkSpriteTest, 119, 109}};
    for (const Case& c : cases) {
        for (long k = 1; k <= c.loads; ++k) {
            const RunResult r = run(c.program, RunOptions().quit(3).refuse_load(k));
            SCOPED_TRACE(c.program + ", load " + std::to_string(k));
            // The cross-fade failing gives 42, the runner failing 2.
            expect_clean_end(r, k <= c.fade_loads ? 42 : 2);
            EXPECT_TRUE(r.frames.empty());
            EXPECT_NE(r.error_output.find("refused by the test harness"), std::string::npos) << r.error_output;
        }
        const RunResult past_the_last = run(c.program, RunOptions().quit(3).refuse_load(c.loads + 1));
        expect_clean_end(past_the_last, 0);
        EXPECT_EQ(past_the_last.loads, c.loads);
    }
}

TEST_F(TestProgramsTest, WindowThatCannotOpenIsReported)
{
    write_cross_fade();
    for (const std::string& program : {kBlinkTest, kBlinkSpriteTest}) {
        const RunResult r = run(program, RunOptions().quit(3).driver("no-such-driver"));
        EXPECT_TRUE(r.exited);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.status, 42);
        EXPECT_TRUE(r.frames.empty());
        EXPECT_NE(r.error_output.find("cannot start SDL"), std::string::npos) << r.error_output;
    }
}

TEST_F(TestProgramsTest, RunnerCyclesItsTenFramesOverTheCrossFade)
{
    write_cross_fade();
    write_runner();
    const RunResult r = run(kBlinkSpriteTest, RunOptions().quit(21).save_frames("1-21"));
    expect_clean_end(r, 0);
    ASSERT_EQ(r.frames.size(), 21u);
    EXPECT_EQ(r.loads, 119);
    for (int k = 1; k <= 21; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        EXPECT_EQ(frame_pixel(k, 55, 5), kRunnerColours[(k - 1) % 10]);
        EXPECT_EQ(frame_pixel(k, 120, 80), kWhite);
    }
    EXPECT_EQ(frame_pixel(1, 10, 10), kRed) << "the cross-fade lies under the runner";
}

TEST_F(TestProgramsTest, RunnerPeriodIsTenFramesOverAStillCrossFade)
{
    // Fronts that equal the base leave the cross-fade unchanging.
    write_cross_fade();
    for (const char* name : {"img_devant1.bmp", "img_devant2.bmp", "img_devant3.bmp"})
        write_solid_bmp(dir.file(name), 100, 50, kRed);
    write_runner();
    const RunResult r = run(kBlinkSpriteTest, RunOptions().quit(40));
    expect_clean_end(r, 0);
    ASSERT_EQ(r.frames.size(), 40u);
    for (size_t k = 0; k + 10 < r.frames.size(); ++k) EXPECT_EQ(r.frames[k], r.frames[k + 10]) << "frame " << k + 1;
    EXPECT_EQ(std::set<std::string>(r.frames.begin(), r.frames.begin() + 10).size(), 10u);
}

TEST_F(TestProgramsTest, RunnerLeavesWhatEarlierFramesDrewUnderItsTransparentPixels)
{
    // Frames 70 pixels high reach below the cross-fade onto the white fill;
    // only the first is opaque there.
    write_cross_fade();
    write_runner();
    for (int i = 1; i < 10; ++i)
        write_bmp(runner_frame(i), 20, 70, [i](int, int y) { return y < 50 ? kRunnerColours[i] : kMagenta; });
    write_solid_bmp(runner_frame(0), 20, 70, kRunnerColours[0]);
    const RunResult r = run(kBlinkSpriteTest, RunOptions().quit(3).save_frames("3"));
    expect_clean_end(r, 0);
    EXPECT_EQ(frame_pixel(3, 55, 60), kRunnerColours[0]);
    EXPECT_EQ(frame_pixel(3, 55, 5), kRunnerColours[2]);
    EXPECT_EQ(frame_pixel(3, 75, 60), kWhite);
}

TEST_F(TestProgramsTest, BlinkSpriteTestWithoutItsBaseEndsWith42WhateverTheRunner)
{
    write_cross_fade();
    write_runner();
    std::remove(dir.file("img_fond.bmp").c_str());
    const RunResult runner_present = run(kBlinkSpriteTest, RunOptions().quit(3));
    expect_clean_end(runner_present, 42);
    EXPECT_TRUE(runner_present.frames.empty());

    std::remove(runner_frame(3).c_str());
    const RunResult runner_missing = run(kBlinkSpriteTest, RunOptions().quit(3));
    expect_clean_end(runner_missing, 42);
    EXPECT_TRUE(runner_missing.frames.empty());
}

TEST_F(TestProgramsTest, BlinkSpriteTestWithoutARunnerFrameStopsWithAMessage)
{
    write_cross_fade();
    write_runner();
    std::remove(runner_frame(3).c_str());
    const RunResult r = run(kBlinkSpriteTest, RunOptions().quit(3));
    expect_clean_end(r, 2);
    EXPECT_TRUE(r.frames.empty());
    EXPECT_NE(r.error_output.find("cannot make the runner"), std::string::npos) << r.error_output;
    EXPECT_NE(r.error_output.find("x05.bmp"), std::string::npos) << r.error_output;
}

}  // namespace
