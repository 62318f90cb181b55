// Decors and blinking decors: placement, hiding, drawing and release.
#include "anim/lib_decors.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <string>

using namespace test_support;

namespace {

class DecorsTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        // Columns 0-9 red, 10-19 green, 20-29 blue; black is the key.
        write_bmp(dir.file("bands.bmp"), 30, 10, [](int x, int y) {
            if (y == 9) return kBlack;
            return x < 10 ? kRed : x < 20 ? kGreen : kBlue;
        });
        write_solid_bmp(dir.file("base.bmp"), 12, 8, kYellow);
        write_solid_bmp(dir.file("blink.bmp"), 12, 8, kBlue);
        target = make_target(64, 48, kWhite);
    }
    void TearDown() override
    {
        SDL_FreeSurface(target);
        LedgerTest::TearDown();
    }

    decor* bands(int x, int y) { return create_decor(dir.file("bands.bmp").c_str(), x, y, 0, 0, 0); }

    simple_surface* blinking(int step = 255)
    {
        return create_simple_surface(dir.file("base.bmp").c_str(), dir.file("blink.bmp").c_str(), 1, step, 0, 0, 0, 0,
                                     0);
    }

    SDL_Surface* target = nullptr;
};

TEST_F(DecorsTest, NewDecorShowsItsWholeImageHidden)
{
    write_solid_bmp(dir.file("platform.bmp"), 256, 80, kGreen);
    decor* d = create_decor(dir.file("platform.bmp").c_str(), 0, 112, 0, 0, 0);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    EXPECT_EQ(d->src.x, 0);
    EXPECT_EQ(d->src.y, 0);
    EXPECT_EQ(d->src.w, 256);
    EXPECT_EQ(d->src.h, 80);
    EXPECT_EQ(d->dst.x, 0);
    EXPECT_EQ(d->dst.y, 112);
    EXPECT_EQ(d->x, 0);
    EXPECT_EQ(d->y, 112);
    EXPECT_EQ(d->hidden, 1);
    free_everything_decor(d);
}

TEST_F(DecorsTest, DecorIsDrawnOnlyOnceShownWithItsKeyTransparent)
{
    decor* d = bands(2, 3);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    blit_decor(d, target);
    EXPECT_EQ(pixel_at(target, 2, 3), kWhite) << "a hidden decor draws nothing";
    d->hidden = 0;
    blit_decor(d, target);
    EXPECT_EQ(pixel_at(target, 2, 3), kRed);
    EXPECT_EQ(pixel_at(target, 2, 12), kWhite) << "black is the key";
    free_everything_decor(d);
}

TEST_F(DecorsTest, DecorLeftOfTheTargetComesBackAtItsEdge)
{
    decor* d = bands(-5, 0);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    d->hidden = 0;
    blit_decor(d, target);
    EXPECT_EQ(d->dst.x, 0);
    EXPECT_EQ(d->dst.w, 25);
    EXPECT_EQ(d->dst.h, 10);
    EXPECT_EQ(pixel_at(target, 0, 0), kRed) << "column 5 of the image";
    EXPECT_EQ(pixel_at(target, 5, 0), kGreen);
    EXPECT_EQ(d->src.w, 30) << "drawing never changes src";
    free_everything_decor(d);
}

TEST_F(DecorsTest, NarrowedSourceWindowScrollsThroughTheImage)
{
    decor* d = bands(0, 0);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    d->hidden = 0;
    d->src = SDL_Rect{8, 0, 4, 5};
    blit_decor(d, target);
    EXPECT_EQ(pixel_at(target, 1, 0), kRed);
    EXPECT_EQ(pixel_at(target, 2, 0), kGreen);
    EXPECT_EQ(pixel_at(target, 4, 0), kWhite) << "only the window is drawn";
    EXPECT_EQ(pixel_at(target, 0, 5), kWhite);
    ++d->src.x;
    blit_decor(d, target);
    EXPECT_EQ(pixel_at(target, 0, 0), kRed);
    EXPECT_EQ(pixel_at(target, 1, 0), kGreen) << "one more column of green after the shift";
    free_everything_decor(d);
}

TEST_F(DecorsTest, DecorCreationFailuresGiveNull)
{
    SDL_ClearError();
    EXPECT_EQ(create_decor(nullptr, 0, 0, 0, 0, 0), nullptr);
    EXPECT_STRNE(SDL_GetError(), "");
    EXPECT_EQ(create_decor(dir.file("missing.bmp").c_str(), 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(live_now(), 0);
}

TEST_F(DecorsTest, FreeStructureDecorHandsBackAUsableImage)
{
    decor* d = bands(0, 0);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    SDL_Surface* image = free_structure_decor(d);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(live_now(), 1);
    SDL_BlitSurface(image, nullptr, target, nullptr);
    EXPECT_EQ(pixel_at(target, 25, 0), kBlue);
    SDL_FreeSurface(image);
    EXPECT_EQ(free_structure_decor(nullptr), nullptr);
}

TEST_F(DecorsTest, BlinkingDecorTakesItsWindowFromTheSurface)
{
    simple_surface* s = blinking();
    ASSERT_NE(s, nullptr) << SDL_GetError();
    s->pos = SDL_Rect{40, 40, 0, 0};
    sblink_decor* d = create_sblink_decor(s, 78, 116);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    EXPECT_EQ(d->surface, s);
    EXPECT_EQ(d->src.w, 12);
    EXPECT_EQ(d->src.h, 8);
    EXPECT_EQ(d->dst.x, 78);
    EXPECT_EQ(d->dst.y, 116);
    EXPECT_EQ(d->x, 78);
    EXPECT_EQ(d->y, 116);
    EXPECT_EQ(d->hidden, 1);
    EXPECT_EQ(s->pos.x, 40) << "the surface itself is not touched";
    free_everything_sblink_decor(d);
    EXPECT_EQ(live_now(), 0);

    EXPECT_EQ(create_sblink_decor(nullptr, 0, 0), nullptr);
}

TEST_F(DecorsTest, BlinkingDecorDrawsThroughCopiesOfItsRectangles)
{
    sblink_decor* d = create_sblink_decor(blinking(), -5, 4);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    blit_sblink_decor(d, target);
    EXPECT_EQ(pixel_at(target, 0, 4), kWhite) << "hidden";
    d->hidden = 0;
    blit_sblink_decor(d, target);
    EXPECT_EQ(pixel_at(target, 0, 4), kYellow);
    EXPECT_EQ(pixel_at(target, 7, 4), kWhite) << "12 columns from -5 end at column 6";
    EXPECT_EQ(d->dst.x, -5);
    EXPECT_EQ(d->dst.w, 0);
    EXPECT_EQ(d->surface->pos.x, 0) << "the surface's pos plays no part";
    free_everything_sblink_decor(d);
}

TEST_F(DecorsTest, HiddenBlinkingDecorKeepsBlinking)
{
    sblink_decor* hidden = create_sblink_decor(blinking(85), 0, 0);
    sblink_decor* shown = create_sblink_decor(blinking(85), 20, 0);
    ASSERT_NE(hidden, nullptr) << SDL_GetError();
    ASSERT_NE(shown, nullptr) << SDL_GetError();
    shown->hidden = 0;
    for (int i = 0; i < 5; ++i) {
        blit_sblink_decor(hidden, target);
        blit_sblink_decor(shown, target);
        update_sblink_decor(hidden);
        update_sblink_decor(shown);
    }
    EXPECT_EQ(hidden->surface->index, shown->surface->index);
    EXPECT_EQ(hidden->surface->falling, shown->surface->falling);
    hidden->hidden = 0;
    blit_sblink_decor(hidden, target);
    blit_sblink_decor(shown, target);
    EXPECT_EQ(pixel_at(target, 0, 0), pixel_at(target, 20, 0));
    free_everything_sblink_decor(hidden);
    free_everything_sblink_decor(shown);
}

TEST_F(DecorsTest, FreeStructureBlinkingDecorHandsBackAUsableSurface)
{
    simple_surface* s = blinking();
    sblink_decor* d = create_sblink_decor(s, 0, 0);
    ASSERT_NE(d, nullptr) << SDL_GetError();
    EXPECT_EQ(free_structure_sblink_decor(d), s);
    update_simple_blinking(s);
    blit_simple_blinking_surface(s, target);
    EXPECT_EQ(pixel_at(target, 1, 1), kBlue);
    free_simple_surface(s);
    EXPECT_EQ(free_structure_sblink_decor(nullptr), nullptr);
}

}  // namespace
