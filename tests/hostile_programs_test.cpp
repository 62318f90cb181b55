// The programs with a hostile file in place of one of their pictures: each
// ends with its documented status, without a signal, every image it loaded
// released.
#include "support/hostile_bmps.h"
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace test_support;

namespace {

struct Target {
    const char* binary;
    const char* picture;  // relative to the program's folder
    int status;
};

class HostileProgramsTest : public ::testing::TestWithParam<Target> {};

TEST_P(HostileProgramsTest, EndsCleanlyWhateverStandsAtThePicturesPath)
{
    const Target target = GetParam();
    TempDir corpus, run;
    copy_run_folder(target.binary, run.path());
    const std::string picture = run.path() + "/" + target.picture;
    for (const std::string& entry : write_hostile_corpus(corpus.path())) {
        SCOPED_TRACE(entry);
        place_hostile(entry, picture);
        const RunResult r = run_program(target.binary, run.path(), RunOptions().quit(3));
        EXPECT_TRUE(r.exited) << "signal " << r.signal;
        EXPECT_EQ(r.status, target.status) << r.error_output;
        EXPECT_TRUE(r.frames.empty());
        EXPECT_EQ(r.live, 0);
        EXPECT_NE(r.error_output.find(target.picture), std::string::npos) << r.error_output;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, HostileProgramsTest,
                         ::testing::Values(Target{BLINK_TEST_PATH, "img_fond.bmp", 42},
                                           Target{BLINK_SPRITE_TEST_PATH, "x05.bmp", 2},
                                           Target{SCENE_DEMO_PATH, "Ressources/background/icepeak.bmp", 1}),
                         [](const ::testing::TestParamInfo<Target>& param) {
                             return std::filesystem::path(param.param.binary).filename().string();
                         });

}  // namespace
