// The C++ owners of anim/owned.h release their records, with all they hold,
// when they go out of scope, and let go of what they hand on.
#include "anim/owned.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

class OwnedTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        frames = write_frames("f", {kRed, kGreen}, 4, 4);
    }
    anim::owned_sprite sprite_of_frames()
    {
        return anim::owned_sprite(create_sprite(PathList(dir, frames).get(), 0, 0, 0, 0, 0, 0));
    }
    std::vector<std::string> frames;
};

TEST_F(OwnedTest, OwnersReleaseWhatTheyHoldOnLeavingScope)
{
    {
        const std::string a = dir.file(frames[0]), b = dir.file(frames[1]);
        const anim::owned_sprite s = sprite_of_frames();
        const anim::owned_decor d(create_decor(a.c_str(), 0, 0, 0, 0, 0));
        const anim::owned_simple_surface blinking(create_simple_surface(a.c_str(), b.c_str(), 1, 128, 0, 0, 0, 0, 0));
        const anim::owned_complex_surface fading(
            create_complex_surface(a.c_str(), PathList(dir, frames).get(), 1, 128, 0, 0, 0, 0, 0));
        ASSERT_TRUE(s && d && blinking && fading) << SDL_GetError();
        EXPECT_EQ(live_now(), 2 + 1 + (2 + 2) + (1 + 3 + 3 * 2));
    }
    EXPECT_EQ(live_now(), 0);
}

TEST_F(OwnedTest, HandingOnMovesOwnershipToTheNewOwner)
{
    anim::owned_sprite running = sprite_of_frames();
    anim::owned_sprite waiting = sprite_of_frames();
    anim::owned_sprite_array sprites(make_sprite_array(2, running.get(), waiting.get()));
    ASSERT_TRUE(sprites);
    anim::hand_over(running);
    anim::hand_over(waiting);
    anim::owned_world world(create_world(0, 0, 100, 100));
    world->hero = create_personnage(sprites.get(), 2, 0, 0);
    ASSERT_NE(world->hero, nullptr);
    anim::hand_over(sprites);
    EXPECT_EQ(live_now(), 4);
    world.reset();  // frees the hero with its sprites, then the world
    EXPECT_EQ(live_now(), 0);
}

}  // namespace
