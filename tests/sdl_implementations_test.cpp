// The programs on the two SDL 1.2 implementations: the compatibility library
// over SDL2 and classic SDL 1.2.15. Runs where the test's environment loads
// classic SDL (the "classic" test preset sets ANIM_CLASSIC_SDL and
// LD_LIBRARY_PATH); each program then runs once as it is and once with
// LD_LIBRARY_PATH removed, on the pictures the build drew, and the frames of
// the two runs are compared pixel by pixel.
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace test_support;

namespace {

// The largest per-channel difference allowed between the two: their
// blitters round alpha blends differently (measured: one level at most).
constexpr int kBlendRounding = 1;

struct Program {
    const char* binary;
    long frames;
};

// Largest per-channel difference between two pictures of one size.
int largest_difference(SDL_Surface* a, SDL_Surface* b)
{
    int largest = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x) {
            const Rgb p = pixel_at(a, x, y), q = pixel_at(b, x, y);
            largest = std::max({largest, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
        }
    return largest;
}

class SdlImplementationsTest : public ::testing::TestWithParam<Program> {};

TEST_P(SdlImplementationsTest, FramesMatchWithinBlendRounding)
{
    if (std::getenv("ANIM_CLASSIC_SDL") == nullptr) GTEST_SKIP() << "classic SDL is not loaded in this run";
    namespace fs = std::filesystem;
    const fs::path binary = GetParam().binary;
    const long frames = GetParam().frames;
    TempDir classic, compat;
    copy_run_folder(binary.string(), classic.path());
    copy_run_folder(binary.string(), compat.path());
    const RunOptions options = RunOptions().quit(frames).save_frames("all");
    const RunResult on_classic = run_program(binary.string(), classic.path(), options);
    const RunResult on_compat =
        run_program(binary.string(), compat.path(), RunOptions(options).without("LD_LIBRARY_PATH"));
    ASSERT_EQ(on_classic.status, 0) << on_classic.error_output;
    ASSERT_EQ(on_compat.status, 0) << on_compat.error_output;
    ASSERT_EQ(on_classic.frames.size(), static_cast<size_t>(frames));
    ASSERT_EQ(on_compat.frames.size(), static_cast<size_t>(frames));

    int largest = 0;
    long equal = 0;
    for (long n = 1; n <= frames; ++n) {
        SDL_Surface* a = SDL_LoadBMP(saved_frame(classic.path(), n).c_str());
        SDL_Surface* b = SDL_LoadBMP(saved_frame(compat.path(), n).c_str());
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        const int difference = largest_difference(a, b);
        largest = std::max(largest, difference);
        equal += difference == 0 ? 1 : 0;
        SDL_FreeSurface(a);
        SDL_FreeSurface(b);
    }
    RecordProperty("largest_channel_difference", largest);
    std::printf("%s: %ld of %ld frames equal, largest channel difference %d\n", binary.filename().c_str(), equal,
                frames, largest);
    EXPECT_LE(largest, kBlendRounding);
}

INSTANTIATE_TEST_SUITE_P(Programs, SdlImplementationsTest,
                         ::testing::Values(Program{BLINK_TEST_PATH, 104}, Program{BLINK_SPRITE_TEST_PATH, 104},
                                           Program{SCENE_DEMO_PATH, 520}),
                         [](const ::testing::TestParamInfo<Program>& param) {
                             return std::filesystem::path(param.param.binary).filename().string();
                         });

}  // namespace
