// Each program run for 100,000 frames headless on the pictures the build
// drew: it ends normally, its resident memory stays flat after start-up, and
// its last frame is still the frame its cycles say it must be.
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace test_support;

namespace {

constexpr long kFrames = 100000;
constexpr long kRssEvery = 10000;
// A leak of a single byte a frame would add 90,000 bytes between the first
// reading and the last; paging noise stays well below this.
constexpr long kRssSlackKb = 64;

struct Soak {
    const char* binary;
    long period;         // frames after which the picture repeats
    long settled_after;  // frames after which it is periodic
};

class SoakTest : public ::testing::TestWithParam<Soak> {};

TEST_P(SoakTest, RunsOneHundredThousandFramesWithFlatMemory)
{
    const Soak soak = GetParam();
    TempDir dir;
    copy_run_folder(soak.binary, dir.path());
    RunOptions options = RunOptions().quit(kFrames);
    options.rss_every = kRssEvery;
    const RunResult r = run_program(soak.binary, dir.path(), options);
    ASSERT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.status, 0) << r.error_output;
    ASSERT_EQ(r.frames.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(r.live, 0);

    long first_kb = -1, last_kb = -1, readings = 0;
    for (const std::string& line : r.log) {
        long frame = 0, kb = 0;
        if (std::sscanf(line.c_str(), "rss %ld %ld", &frame, &kb) != 2) continue;
        if (first_kb < 0) first_kb = kb;
        last_kb = kb;
        ++readings;
    }
    ASSERT_EQ(readings, kFrames / kRssEvery);
    std::printf("resident memory: %ld KB at frame %ld, %ld KB at frame %ld\n", first_kb, kRssEvery, last_kb, kFrames);
    EXPECT_LE(last_kb - first_kb, kRssSlackKb);

    // The last frame equals the earliest settled frame of the same phase.
    const long early = soak.settled_after + (kFrames - soak.settled_after) % soak.period;
    EXPECT_EQ(r.frames[static_cast<size_t>(kFrames - 1)], r.frames[static_cast<size_t>(early - 1)])
        << "frame " << kFrames << " against frame " << early;
}

// blink_test repeats every 104 frames from the start; blink_sprite_test every
// 520 (104 and the runner's 10); scene_demo, once the child waits at the
// world's end (frame 494 with the build's pictures), every 130 (the blinking
// decors' 26 and the waiting animation's 5), the risen balloon being off the
// window for good.
INSTANTIATE_TEST_SUITE_P(Programs, SoakTest,
                         ::testing::Values(Soak{BLINK_TEST_PATH, 104, 0}, Soak{BLINK_SPRITE_TEST_PATH, 520, 0},
                                           Soak{SCENE_DEMO_PATH, 130, 600}),
                         [](const ::testing::TestParamInfo<Soak>& param) {
                             return std::filesystem::path(param.param.binary).filename().string();
                         });

}  // namespace
