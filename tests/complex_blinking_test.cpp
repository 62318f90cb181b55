// The cross-fading surface: creation, counts, the cycle, drawing and release.
#include "anim/lib_complex_blinking.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

constexpr int kW = 20;
constexpr int kH = 10;
// Blitters may round a blend differently by a level or two.
constexpr int kBlendTolerance = 2;

class ComplexBlinkingTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        write_solid_bmp(dir.file("base.bmp"), kW, kH, kRed);
        write_solid_bmp(dir.file("a1.bmp"), kW, kH, kGreen);
        write_solid_bmp(dir.file("a2.bmp"), kW, kH, kBlue);
        write_solid_bmp(dir.file("a3.bmp"), kW, kH, kYellow);
        target = make_target(40, 20, kBlack);
    }
    void TearDown() override
    {
        free_complex_surface(surface);
        SDL_FreeSurface(target);
        LedgerTest::TearDown();
    }

    // Creates the surface under test from `fronts` (file names in dir).
    complex_surface* create(const std::vector<std::string>& fronts, Uint8 enable, int step, int x = 0, int y = 0)
    {
        const PathList list(dir, fronts);
        return create_complex_surface(dir.file("base.bmp").c_str(), list.get(), enable, step, x, y, 255, 0, 255);
    }

    Rgb drawn() { return pixel_at(target, 5, 5); }

    complex_surface* surface = nullptr;
    SDL_Surface* target = nullptr;
};

TEST_F(ComplexBlinkingTest, ThreeFrontsAtStepTenHoldFourRowsOf26Copies)
{
    const long loads_before = harness::load_count();
    surface = create({"a1.bmp", "a2.bmp", "a3.bmp"}, 1, 10, 7, -3);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    EXPECT_EQ(harness::load_count() - loads_before, 109);
    EXPECT_EQ(surface->count, 4);
    EXPECT_EQ(surface->max_subframe, 26);
    EXPECT_EQ(surface->enabled, 1);
    EXPECT_EQ(surface->step, 10);
    EXPECT_EQ(surface->front, 0);
    EXPECT_EQ(surface->subframe, 0);
    EXPECT_EQ(surface->pos.x, 7);
    EXPECT_EQ(surface->pos.y, -3);
    EXPECT_EQ(surface->w, kW);
    EXPECT_EQ(surface->h, kH);
    // The last front is the base loaded a second time, not the base itself.
    EXPECT_NE(surface->fronts[3], surface->base);
    EXPECT_EQ(pixel_at(surface->fronts[3], 0, 0), kRed);
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 26; ++j) ASSERT_EQ(surface->front_tab[k][j]->format->alpha, 10 * j) << k << "," << j;
}

TEST_F(ComplexBlinkingTest, RowLengthFollowsTheStep)
{
    const std::vector<std::pair<int, int>> table{{0, 6},   {1, 255}, {10, 26}, {20, 13}, {50, 6},  {51, 5},  {85, 3},
                                                 {100, 3}, {128, 2}, {254, 2}, {255, 1}, {256, 1}, {1000, 1}};
    for (const auto& [step, length] : table) {
        const long loads_before = harness::load_count();
        complex_surface* s = create({"a1.bmp"}, 1, step);
        ASSERT_NE(s, nullptr) << "step " << step << ": " << SDL_GetError();
        EXPECT_EQ(s->max_subframe, length) << "step " << step;
        EXPECT_EQ(harness::load_count() - loads_before, 1 + 2 + 2 * length) << "step " << step;
        EXPECT_EQ(s->front_tab[1][length - 1]->format->alpha, std::min(255, (step == 0 ? 50 : step) * (length - 1)));
        free_complex_surface(s);
    }
}

TEST_F(ComplexBlinkingTest, CycleWalksEveryRowInOrderAndWraps)
{
    surface = create({"a1.bmp"}, 1, 128);  // two fronts of two copies
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    const std::vector<std::pair<int, int>> expected{{0, 1}, {1, 0}, {1, 1}, {0, 0}, {0, 1}};
    for (const auto& [front, subframe] : expected) {
        update_complex_blinking(surface);
        EXPECT_EQ(surface->front, front);
        EXPECT_EQ(surface->subframe, subframe);
    }
}

TEST_F(ComplexBlinkingTest, FullCycleOfThreeFrontsAtStepTenTakes104Updates)
{
    surface = create({"a1.bmp", "a2.bmp", "a3.bmp"}, 1, 10);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    for (int i = 1; i < 104; ++i) {
        update_complex_blinking(surface);
        ASSERT_FALSE(surface->front == 0 && surface->subframe == 0) << "back to the start after " << i;
        ASSERT_LT(surface->front, 4);
        ASSERT_LT(surface->subframe, 26);
    }
    update_complex_blinking(surface);
    EXPECT_EQ(surface->front, 0);
    EXPECT_EQ(surface->subframe, 0);
}

TEST_F(ComplexBlinkingTest, StepOf255GivesHardCutsThroughTheFronts)
{
    surface = create({"a1.bmp", "a2.bmp"}, 1, 255);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    const Rgb seen[] = {kRed, kGreen, kBlue, kRed, kGreen};
    for (const Rgb& colour : seen) {
        blit_complex_blinking_surface(surface, target);
        EXPECT_EQ(drawn(), colour) << "front " << surface->front;
        update_complex_blinking(surface);
    }
}

TEST_F(ComplexBlinkingTest, DrawShowsBaseThenPreviousFrontThenTheFadingOne)
{
    surface = create({"a1.bmp", "a2.bmp"}, 1, 10);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    struct Expectation {
        int front, subframe;
        Rgb colour;
    };
    const Expectation expectations[] = {
        {0, 0, kRed},                        // the base alone
        {0, 13, blend(kGreen, kRed, 130)},   // A1 fading in over the base
        {1, 0, kGreen},                      // A1 opaque, A2 at alpha 0
        {1, 25, blend(kBlue, kGreen, 250)},  // A2 fading in over A1
        {2, 20, blend(kRed, kBlue, 200)},    // the base fading back in over A2
    };
    for (const Expectation& e : expectations) {
        surface->front = e.front;
        surface->subframe = e.subframe;
        blit_complex_blinking_surface(surface, target);
        EXPECT_TRUE(near(drawn(), e.colour, kBlendTolerance))
            << "front " << e.front << " subframe " << e.subframe << ": expected " << e.colour << ", got " << drawn();
    }
}

TEST_F(ComplexBlinkingTest, StepZeroFadesInSixSteps)
{
    surface = create({"a1.bmp"}, 1, 0);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    for (int j = 0; j < 6; ++j) {
        blit_complex_blinking_surface(surface, target);
        EXPECT_TRUE(near(drawn(), blend(kGreen, kRed, 50 * j), kBlendTolerance)) << "copy " << j << ": " << drawn();
        update_complex_blinking(surface);
    }
    EXPECT_EQ(surface->front, 1);
}

TEST_F(ComplexBlinkingTest, BlinkingOffNeverMovesAndDrawsWithoutALadder)
{
    const long loads_before = harness::load_count();
    surface = create({"a1.bmp", "a2.bmp"}, 0, 10);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    EXPECT_EQ(harness::load_count() - loads_before, 4) << "base and fronts only";
    EXPECT_EQ(surface->enabled, 0);
    EXPECT_EQ(surface->max_subframe, 0);
    EXPECT_EQ(surface->front_tab, nullptr);
    for (int i = 0; i < 50; ++i) update_complex_blinking(surface);
    EXPECT_EQ(surface->front, 0);
    EXPECT_EQ(surface->subframe, 0);
    blit_complex_blinking_surface(surface, target);
    EXPECT_EQ(drawn(), kRed);
}

TEST_F(ComplexBlinkingTest, EnableByteIsStoredAsOneOrZero)
{
    surface = create({"a1.bmp"}, 7, 100);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    EXPECT_EQ(surface->enabled, 1);
}

TEST_F(ComplexBlinkingTest, PlainDrawWritesSdlsClippingBackIntoPos)
{
    surface = create({"a1.bmp"}, 1, 10, -10, 0);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    blit_complex_blinking_surface(surface, target);
    EXPECT_EQ(surface->pos.x, 0);
    // The ladder layer, placed at column 0 by the base's clipping, is drawn
    // whole and leaves its own rectangle.
    EXPECT_EQ(surface->pos.w, kW);
    EXPECT_EQ(surface->pos.h, kH);
    EXPECT_EQ(pixel_at(target, kW - 10 - 1, 0), kRed);
    EXPECT_EQ(pixel_at(target, kW - 10, 0), kBlack);
}

TEST_F(ComplexBlinkingTest, LaterLayersArePlacedWhereTheEarlierClippingLeftPos)
{
    // A1 has a distinct colour in its first ten columns; at front 1 it is
    // drawn opaque after the base, with the destination the base's clipping
    // has moved to column 0.
    write_bmp(dir.file("striped.bmp"), kW, kH, [](int x, int) { return x < 10 ? kYellow : kGreen; });
    surface = create({"striped.bmp"}, 1, 255, -10, 0);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    surface->front = 1;
    blit_complex_blinking_surface(surface, target);
    EXPECT_EQ(pixel_at(target, 0, 0), kYellow);
    EXPECT_EQ(surface->pos.x, 0);
}

TEST_F(ComplexBlinkingTest, FromDrawsTheSourceWindowAtPos)
{
    write_bmp(dir.file("base.bmp"), kW, kH, [](int x, int) { return x < 5 ? kBlue : kRed; });
    surface = create({"a1.bmp"}, 1, 10, 2, 3);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    SDL_Rect src{3, 0, 4, 2};
    blit_complex_blinking_surface_from(surface, target, src);
    EXPECT_EQ(pixel_at(target, 2, 3), kBlue);
    EXPECT_EQ(pixel_at(target, 4, 3), kRed);
    EXPECT_EQ(pixel_at(target, 6, 3), kBlack) << "only four columns are drawn";
    EXPECT_EQ(pixel_at(target, 2, 5), kBlack) << "only two rows are drawn";
    EXPECT_EQ(surface->pos.w, 4);
    EXPECT_EQ(surface->pos.h, 2);
}

TEST_F(ComplexBlinkingTest, FromToDrawsAtTheGivenPlaceAndLeavesPosAlone)
{
    surface = create({"a1.bmp"}, 1, 10, -10, 4);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    const SDL_Rect pos_before = surface->pos;
    blit_complex_blinking_surface_from_to(surface, target, SDL_Rect{0, 0, 5, 5}, SDL_Rect{30, 12, 0, 0});
    EXPECT_EQ(pixel_at(target, 30, 12), kRed);
    EXPECT_EQ(pixel_at(target, 34, 16), kRed);
    EXPECT_EQ(pixel_at(target, 35, 12), kBlack);
    EXPECT_EQ(pixel_at(target, 0, 4), kBlack) << "pos is not used";
    EXPECT_EQ(surface->pos.x, pos_before.x);
    EXPECT_EQ(surface->pos.y, pos_before.y);
    EXPECT_EQ(surface->pos.w, pos_before.w);
    EXPECT_EQ(surface->pos.h, pos_before.h);
}

TEST_F(ComplexBlinkingTest, KeyColourIsTransparentInEveryLayer)
{
    write_bmp(dir.file("base.bmp"), kW, kH, [](int x, int) { return x < 10 ? kMagenta : kRed; });
    write_bmp(dir.file("a1.bmp"), kW, kH, [](int x, int) { return x < 10 ? kMagenta : kGreen; });
    surface = create({"a1.bmp"}, 1, 255);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    surface->front = 1;
    blit_complex_blinking_surface(surface, target);
    EXPECT_EQ(pixel_at(target, 3, 3), kBlack);
    EXPECT_EQ(pixel_at(target, 13, 3), kGreen);
}

TEST_F(ComplexBlinkingTest, EveryFailedCreationLeavesNothingBehind)
{
    const std::string base = dir.file("base.bmp");
    const std::string first = dir.file("a1.bmp");
    const std::string missing = dir.file("nope.bmp");
    const char* const empty[] = {nullptr};
    const char* const missing_second[] = {first.c_str(), missing.c_str(), nullptr};

    SDL_ClearError();
    EXPECT_EQ(create_complex_surface(missing.c_str(), missing_second, 1, 10, 0, 0, 0, 0, 0), nullptr);
    EXPECT_STRNE(SDL_GetError(), "") << "missing base";
    SDL_ClearError();
    EXPECT_EQ(create_complex_surface(base.c_str(), missing_second, 1, 10, 0, 0, 0, 0, 0), nullptr);
    EXPECT_STRNE(SDL_GetError(), "") << "missing list image";
    SDL_ClearError();
    EXPECT_EQ(create_complex_surface(base.c_str(), empty, 1, 10, 0, 0, 0, 0, 0), nullptr);
    EXPECT_STRNE(SDL_GetError(), "") << "empty list";
    EXPECT_EQ(create_complex_surface(base.c_str(), nullptr, 1, 10, 0, 0, 0, 0, 0), nullptr) << "absent list";
    EXPECT_EQ(harness::live_surfaces(), live_before);

    // Loads are base, fronts (A1, A2, base again), then ladders: refuse the
    // second load of the base, then a copy in the middle of the last row.
    for (long k : {4L, 4L + 2L * 26 + 10L}) {
        harness::fail_load(k);
        SDL_ClearError();
        EXPECT_EQ(create({"a1.bmp", "a2.bmp"}, 1, 10), nullptr) << "load " << k;
        EXPECT_STRNE(SDL_GetError(), "");
        EXPECT_EQ(harness::live_surfaces(), live_before) << "load " << k;
    }
}

TEST_F(ComplexBlinkingTest, NegativeStepIsRefusedBeforeLoadingAnything)
{
    const long loads_before = harness::load_count();
    for (int step : {-1, -255, -1000}) EXPECT_EQ(create({"a1.bmp"}, 1, step), nullptr) << "step " << step;
    EXPECT_EQ(harness::load_count(), loads_before);
}

}  // namespace
