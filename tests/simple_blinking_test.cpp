// The blinking surface: ladder sizes, the fade pattern, drawing and release.
#include "anim/lib_simple_blinking.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

constexpr int kW = 20;
constexpr int kH = 10;
constexpr int kBlendTolerance = 2;

class SimpleBlinkingTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        write_solid_bmp(dir.file("base.bmp"), kW, kH, kRed);
        write_solid_bmp(dir.file("blink.bmp"), kW, kH, kGreen);
        target = make_target(40, 20, kBlack);
    }
    void TearDown() override
    {
        free_simple_surface(surface);
        SDL_FreeSurface(target);
        LedgerTest::TearDown();
    }

    simple_surface* create(Uint8 enable, int step, int x = 0, int y = 0)
    {
        return create_simple_surface(dir.file("base.bmp").c_str(), dir.file("blink.bmp").c_str(), enable, step, x, y,
                                     255, 0, 255);
    }

    // The ladder index shown by each of `frames` draw-then-update frames.
    std::vector<int> shown_indices(int frames)
    {
        std::vector<int> shown;
        for (int i = 0; i < frames; ++i) {
            shown.push_back(surface->index);
            update_simple_blinking(surface);
        }
        return shown;
    }

    simple_surface* surface = nullptr;
    SDL_Surface* target = nullptr;
};

TEST_F(SimpleBlinkingTest, LadderSizeAndTopAlphaFollowTheStep)
{
    struct Row {
        int step, count, top_alpha;
    };
    const Row table[] = {{0, 5, 250},   {1, 255, 255}, {10, 25, 250}, {20, 12, 240}, {51, 5, 255}, {85, 3, 255},
                         {100, 2, 200}, {128, 1, 128}, {255, 1, 255}, {256, 0, 0},   {5000, 0, 0}};
    for (const Row& row : table) {
        const long loads_before = harness::load_count();
        simple_surface* s = create(1, row.step);
        ASSERT_NE(s, nullptr) << "step " << row.step << ": " << SDL_GetError();
        EXPECT_EQ(s->count, row.count) << "step " << row.step;
        EXPECT_EQ(harness::load_count() - loads_before, 2 + row.count + 1) << "step " << row.step;
        EXPECT_EQ(s->ladder[s->count]->format->alpha, row.top_alpha) << "step " << row.step;
        EXPECT_EQ(s->ladder[0]->format->alpha, 0) << "step " << row.step;
        free_simple_surface(s);
    }
}

TEST_F(SimpleBlinkingTest, NewSurfaceStartsAtTheBottomRising)
{
    surface = create(1, 20, -4, 70000);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    EXPECT_EQ(surface->index, 0);
    EXPECT_EQ(surface->falling, 0);
    EXPECT_EQ(surface->enabled, 1);
    EXPECT_EQ(surface->step, 20);
    EXPECT_EQ(surface->pos.x, -4);
    EXPECT_EQ(surface->pos.y, static_cast<Sint16>(70000));
    EXPECT_EQ(surface->w, kW);
    EXPECT_EQ(surface->h, kH);
    EXPECT_EQ(pixel_at(surface->blink, 0, 0), kGreen);
}

TEST_F(SimpleBlinkingTest, EachEndIsShownTwiceAndThePatternRepeats)
{
    surface = create(1, 85);  // count 3
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    const std::vector<int> expected{0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3, 3, 2, 1, 0};
    EXPECT_EQ(shown_indices(16), expected);
}

TEST_F(SimpleBlinkingTest, StepTwentyRepeatsEvery26Frames)
{
    surface = create(1, 20);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    const std::vector<int> shown = shown_indices(78);
    for (size_t i = 0; i + 26 < shown.size(); ++i) ASSERT_EQ(shown[i], shown[i + 26]) << "frame " << i;
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 12);
}

TEST_F(SimpleBlinkingTest, Step255TurnsTheOverlayOnAndOffTwoFramesEach)
{
    surface = create(1, 255);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    const Rgb seen[] = {kRed, kGreen, kGreen, kRed, kRed, kGreen, kGreen, kRed};
    for (const Rgb& colour : seen) {
        blit_simple_blinking_surface(surface, target);
        EXPECT_EQ(pixel_at(target, 3, 3), colour) << "index " << surface->index;
        update_simple_blinking(surface);
    }
}

TEST_F(SimpleBlinkingTest, StepAbove255NeverShowsTheOverlay)
{
    surface = create(1, 256);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    for (int i = 0; i < 4; ++i) {
        blit_simple_blinking_surface(surface, target);
        EXPECT_EQ(pixel_at(target, 3, 3), kRed);
        EXPECT_EQ(surface->falling, i % 2) << "the direction flips on every update";
        update_simple_blinking(surface);
        EXPECT_EQ(surface->index, 0);
    }
}

TEST_F(SimpleBlinkingTest, StepZeroFadesLikeStepFifty)
{
    surface = create(1, 0);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    for (int j = 0; j <= 5; ++j) {
        blit_simple_blinking_surface(surface, target);
        const Rgb expected = blend(kGreen, kRed, 50 * j);
        EXPECT_TRUE(near(pixel_at(target, 3, 3), expected, kBlendTolerance))
            << "index " << j << ": expected " << expected << ", got " << pixel_at(target, 3, 3);
        update_simple_blinking(surface);
    }
}

TEST_F(SimpleBlinkingTest, BlinkingOffLoadsTwoImagesAndNeverMoves)
{
    const long loads_before = harness::load_count();
    surface = create(0, 20);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    EXPECT_EQ(harness::load_count() - loads_before, 2);
    EXPECT_EQ(surface->ladder, nullptr);
    EXPECT_EQ(surface->count, 0);
    EXPECT_EQ(surface->enabled, 0);
    for (int i = 0; i < 7; ++i) update_simple_blinking(surface);
    EXPECT_EQ(surface->index, 0);
    EXPECT_EQ(surface->falling, 0);
    blit_simple_blinking_surface(surface, target);
    EXPECT_EQ(pixel_at(target, 3, 3), kRed) << "only the base is drawn";
}

TEST_F(SimpleBlinkingTest, DrawFormsAndWhatClippingWritesBack)
{
    surface = create(1, 255, -5, 2);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    blit_simple_blinking_surface(surface, target);
    EXPECT_EQ(surface->pos.x, 0) << "SDL's clipping is written back into pos";
    EXPECT_EQ(pixel_at(target, kW - 6, 2), kRed);
    EXPECT_EQ(pixel_at(target, kW - 5, 2), kBlack);

    surface->pos = SDL_Rect{1, 1, 0, 0};
    blit_simple_blinking_surface_from(surface, target, SDL_Rect{0, 0, 3, 2});
    EXPECT_EQ(surface->pos.w, 3);
    EXPECT_EQ(surface->pos.h, 2);

    update_simple_blinking(surface);  // the overlay fully on
    blit_simple_blinking_surface_from_to(surface, target, SDL_Rect{0, 0, 4, 4}, SDL_Rect{-2, 15, 0, 0});
    // The base loses two columns to the clipping, which moves the shared
    // destination to column 0; the overlay is then drawn whole from there.
    EXPECT_EQ(pixel_at(target, 0, 15), kGreen);
    EXPECT_EQ(pixel_at(target, 3, 15), kGreen);
    EXPECT_EQ(pixel_at(target, 4, 15), kBlack);
    EXPECT_EQ(surface->pos.x, 1);
    EXPECT_EQ(surface->pos.w, 3) << "pos is untouched by the _from_to form";
}

TEST_F(SimpleBlinkingTest, FailedCreationsLeaveNothingBehind)
{
    const std::string base = dir.file("base.bmp");
    const std::string blink = dir.file("blink.bmp");
    const std::string missing = dir.file("missing.bmp");
    SDL_ClearError();
    EXPECT_EQ(create_simple_surface(missing.c_str(), blink.c_str(), 1, 20, 0, 0, 0, 0, 0), nullptr);
    EXPECT_STRNE(SDL_GetError(), "");
    EXPECT_EQ(create_simple_surface(base.c_str(), missing.c_str(), 1, 20, 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(create_simple_surface(base.c_str(), nullptr, 1, 20, 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(live_now(), 0);

    harness::fail_load(2 + 7);  // a copy in the middle of the 13-copy ladder
    EXPECT_EQ(create(1, 20), nullptr);
    EXPECT_EQ(live_now(), 0);

    const long loads_before = harness::load_count();
    EXPECT_EQ(create(1, -20), nullptr);
    EXPECT_EQ(harness::load_count(), loads_before) << "a negative step is refused before loading";
}

}  // namespace
