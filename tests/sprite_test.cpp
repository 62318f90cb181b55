// Sprites: creation, the frame cycle, freezing, drawing and release.
#include "anim/lib_sprite.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace test_support;

namespace {

class SpriteTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        write_solid_bmp(dir.file("f0.bmp"), 20, 10, kRed);
        write_solid_bmp(dir.file("f1.bmp"), 20, 10, kGreen);
        write_solid_bmp(dir.file("f2.bmp"), 20, 10, kBlue);
        write_solid_bmp(dir.file("big.bmp"), 30, 25, kYellow);
        target = make_target(40, 30, kBlack);
    }
    void TearDown() override
    {
        free_sprite(subject);
        SDL_FreeSurface(target);
        LedgerTest::TearDown();
    }

    sprite* create(const std::vector<std::string>& names, int frozen = 0, int x = 0, int y = 0)
    {
        const PathList list(dir, names);
        return create_sprite(list.get(), frozen, x, y, 255, 0, 255);
    }

    sprite* subject = nullptr;
    SDL_Surface* target = nullptr;
};

TEST_F(SpriteTest, ThreeFramesCycleZeroOneTwoZero)
{
    subject = create({"f0.bmp", "f1.bmp", "f2.bmp"}, 0, 70000, -5);
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    EXPECT_EQ(subject->frame_count, 3);
    EXPECT_EQ(subject->frame, 0);
    EXPECT_EQ(subject->pos.x, static_cast<Sint16>(70000)) << "x is narrowed to 16 bits";
    EXPECT_EQ(subject->pos.y, -5);
    const int expected[] = {1, 2, 0, 1, 2, 0};
    for (int frame : expected) {
        update_sprite(subject);
        EXPECT_EQ(subject->frame, frame);
    }
}

TEST_F(SpriteTest, OneFrameSpriteStaysOnFrameZero)
{
    subject = create({"f1.bmp"});
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    for (int i = 0; i < 5; ++i) update_sprite(subject);
    EXPECT_EQ(subject->frame, 0);
}

TEST_F(SpriteTest, FrozenSpriteKeepsItsFrameAndIsStillDrawn)
{
    subject = create({"f0.bmp", "f1.bmp", "f2.bmp"}, 1);
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    EXPECT_EQ(subject->frozen, 1);
    for (int i = 0; i < 4; ++i) update_sprite(subject);
    EXPECT_EQ(subject->frame, 0);

    subject->frozen = 0;
    update_sprite(subject);
    subject->frozen = 5;
    update_sprite(subject);
    EXPECT_EQ(subject->frame, 1);
    blit_sprite(subject, target);
    EXPECT_EQ(pixel_at(target, 1, 1), kGreen);
}

TEST_F(SpriteTest, DrawShowsTheCurrentFrameWithItsKeyTransparent)
{
    write_bmp(dir.file("keyed.bmp"), 20, 10, [](int x, int) { return x < 10 ? kMagenta : kBlue; });
    subject = create({"f0.bmp", "keyed.bmp"}, 0, 3, 4);
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    blit_sprite(subject, target);
    EXPECT_EQ(pixel_at(target, 3, 4), kRed);
    update_sprite(subject);
    blit_sprite(subject, target);
    EXPECT_EQ(pixel_at(target, 3, 4), kRed) << "magenta is transparent: the earlier draw shows";
    EXPECT_EQ(pixel_at(target, 13, 4), kBlue);
}

TEST_F(SpriteTest, SizeComesFromTheFirstFrameOnly)
{
    subject = create({"f0.bmp", "big.bmp"});
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    EXPECT_EQ(subject->w, 20);
    EXPECT_EQ(subject->h, 10);
    update_sprite(subject);
    blit_sprite(subject, target);
    EXPECT_EQ(subject->pos.w, 30) << "later frames are drawn whole at their own size";
    EXPECT_EQ(subject->pos.h, 25);
}

TEST_F(SpriteTest, PlainDrawWritesSdlsClippingBackIntoPos)
{
    subject = create({"f0.bmp"}, 0, -10, 2);
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    blit_sprite(subject, target);
    EXPECT_EQ(subject->pos.x, 0);
    EXPECT_EQ(subject->pos.w, 10);
    EXPECT_EQ(subject->pos.h, 10);
    EXPECT_EQ(pixel_at(target, 9, 2), kRed);
    EXPECT_EQ(pixel_at(target, 10, 2), kBlack);

    // Entirely outside the target: nothing drawn, an empty rectangle stored.
    subject->pos = SDL_Rect{100, 100, 0, 0};
    blit_sprite(subject, target);
    EXPECT_EQ(subject->pos.w, 0);
    EXPECT_EQ(subject->pos.h, 0);
}

TEST_F(SpriteTest, FromDrawsTheSourceWindowAtPos)
{
    write_bmp(dir.file("halves.bmp"), 20, 10, [](int x, int) { return x < 10 ? kGreen : kBlue; });
    subject = create({"halves.bmp"}, 0, 5, 5);
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    blit_sprite_from(subject, target, SDL_Rect{8, 0, 4, 3});
    EXPECT_EQ(pixel_at(target, 5, 5), kGreen);
    EXPECT_EQ(pixel_at(target, 7, 5), kBlue);
    EXPECT_EQ(pixel_at(target, 9, 5), kBlack);
    EXPECT_EQ(subject->pos.w, 4);
    EXPECT_EQ(subject->pos.h, 3);
}

TEST_F(SpriteTest, FromToDrawsAtTheGivenPlaceAndLeavesPosAlone)
{
    subject = create({"f0.bmp"}, 0, -10, 7);
    ASSERT_NE(subject, nullptr) << SDL_GetError();
    blit_sprite_from_to(subject, target, SDL_Rect{0, 0, 20, 10}, SDL_Rect{-5, 20, 0, 0});
    EXPECT_EQ(subject->pos.x, -10);
    EXPECT_EQ(subject->pos.y, 7);
    EXPECT_EQ(subject->pos.w, 0);
    EXPECT_EQ(subject->pos.h, 0);
    EXPECT_EQ(pixel_at(target, 14, 20), kRed);
    EXPECT_EQ(pixel_at(target, 15, 20), kBlack);
}

TEST_F(SpriteTest, FailedCreationsLeaveNothingBehind)
{
    SDL_ClearError();
    EXPECT_EQ(create({"f0.bmp", "missing.bmp", "f2.bmp"}), nullptr);
    EXPECT_STRNE(SDL_GetError(), "");
    EXPECT_EQ(harness::take_free_log().size(), 1u) << "the first frame is released";

    const char* const empty[] = {nullptr};
    EXPECT_EQ(create_sprite(empty, 0, 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(create_sprite(nullptr, 0, 0, 0, 0, 0, 0), nullptr);

    harness::fail_load(3);
    EXPECT_EQ(create({"f0.bmp", "f1.bmp", "f2.bmp"}), nullptr);
}

TEST_F(SpriteTest, FreeReleasesEveryFrame)
{
    sprite* s = create({"f0.bmp", "f1.bmp", "f1.bmp"});
    ASSERT_NE(s, nullptr) << SDL_GetError();
    EXPECT_EQ(harness::live_surfaces(), live_before + 3) << "a repeated path is loaded again";
    free_sprite(s);
    EXPECT_EQ(harness::live_surfaces(), live_before);
    free_sprite(nullptr);
}

}  // namespace
