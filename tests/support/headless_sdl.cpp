// SDL runs headless for the whole test executable (linked with gtest_main).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class HeadlessSdl : public ::testing::Environment {
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << "cannot start SDL: " << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};

const ::testing::Environment* const kHeadlessSdl = ::testing::AddGlobalTestEnvironment(new HeadlessSdl);

}  // namespace
