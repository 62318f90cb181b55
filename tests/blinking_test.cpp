// The two blinking surfaces: their ladders, the order they walk them in, and
// what each step draws.
#include "anim/lib_complex_blinking.h"
#include "anim/lib_simple_blinking.h"
#include "anim/owned.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

// Blitters may round a blend differently by a level or two.
constexpr int kBlendTolerance = 2;

class BlinkingTest : public LedgerTest {
protected:
    // A cross-fade over red.bmp through `fronts`, magenta keyed.
    anim::owned_complex_surface cross_fade(const std::vector<std::string>& fronts, Uint8 enable, int step, int x = 0)
    {
        std::vector<std::string> paths;
        for (const std::string& name : fronts) paths.push_back(path(name));
        anim::owned_complex_surface s(
            create_complex_surface(path("red").c_str(), PathList(paths).get(), enable, step, x, 0, 255, 0, 255));
        EXPECT_TRUE(s) << SDL_GetError();
        return s;
    }
    // green.bmp blinking over red.bmp.
    anim::owned_simple_surface blinking(Uint8 enable, int step)
    {
        anim::owned_simple_surface s(
            create_simple_surface(path("red").c_str(), path("green").c_str(), enable, step, 0, 0, 255, 0, 255));
        EXPECT_TRUE(s) << SDL_GetError();
        return s;
    }
    // What a draw shows at (5, 5).
    Rgb drawn(complex_surface* s)
    {
        blit_complex_blinking_surface(s, target);
        return at(5, 5);
    }
    Rgb drawn(simple_surface* s)
    {
        blit_simple_blinking_surface(s, target);
        return at(5, 5);
    }
    // The ladder index shown by each of `frames` draw-then-update frames.
    static std::vector<int> shown_indices(simple_surface* s, int frames)
    {
        std::vector<int> shown;
        for (int i = 0; i < frames; ++i, update_simple_blinking(s)) shown.push_back(s->index);
        return shown;
    }
};

TEST_F(BlinkingTest, CrossFadeWalksEveryRowInOrderAndWraps)
{
    const auto two = cross_fade({"green"}, 1, 128);  // two fronts (green, then red again) of two copies
    ASSERT_TRUE(two);
    EXPECT_EQ(std::make_pair(two->count, two->max_subframe), std::make_pair(2, 2));
    for (const auto& expected : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, 1}, {0, 0}, {0, 1}}) {
        update_complex_blinking(two.get());
        EXPECT_EQ(std::make_pair(two->front, two->subframe), expected);
    }
    const auto four = cross_fade({"green", "blue", "yellow"}, 1, 10);
    for (int i = 1; i < 104; ++i) {
        update_complex_blinking(four.get());
        ASSERT_FALSE(four->front == 0 && four->subframe == 0) << "back to the start after " << i;
    }
    update_complex_blinking(four.get());
    EXPECT_EQ(std::make_pair(four->front, four->subframe), std::make_pair(0, 0)) << "after 104 updates";
}

TEST_F(BlinkingTest, CrossFadeDrawsBaseThenPreviousFrontThenTheFadingOne)
{
    const auto s = cross_fade({"green", "blue"}, 1, 10);
    ASSERT_TRUE(s);
    struct Expectation {
        int front, subframe;
        Rgb colour;
    };
    const Expectation expectations[] = {
        {0, 0, kRed},                        // the base alone
        {0, 13, blend(kGreen, kRed, 130)},   // the first front fading in over the base
        {1, 0, kGreen},                      // it is opaque, the second at alpha 0
        {1, 25, blend(kBlue, kGreen, 250)},  // the second fading in over the first
        {2, 20, blend(kRed, kBlue, 200)},    // the base fading back in over the second
    };
    for (const Expectation& e : expectations) {
        s->front = e.front;
        s->subframe = e.subframe;
        const Rgb seen = drawn(s.get());
        EXPECT_TRUE(near(seen, e.colour, kBlendTolerance))
            << "front " << e.front << " subframe " << e.subframe << ": expected " << e.colour << ", got " << seen;
    }
}

TEST_F(BlinkingTest, CrossFadeStepsOfZeroAnd255)
{
    const auto six = cross_fade({"green"}, 1, 0);  // as step 50: six copies
    ASSERT_TRUE(six);
    for (int j = 0; j < 6; ++j, update_complex_blinking(six.get()))
        EXPECT_TRUE(near(drawn(six.get()), blend(kGreen, kRed, 50 * j), kBlendTolerance)) << "copy " << j;
    EXPECT_EQ(six->front, 1);
    const auto cuts = cross_fade({"green", "blue"}, 1, 255);
    for (const Rgb& colour : {kRed, kGreen, kBlue, kRed, kGreen}) {
        EXPECT_EQ(drawn(cuts.get()), colour) << "front " << cuts->front;
        update_complex_blinking(cuts.get());
    }
}

TEST_F(BlinkingTest, LaterLayersArePlacedWhereTheEarlierClippingLeftPos)
{
    // At front 1 the front is drawn opaque after the base, through the
    // rectangle the base's clipping moved to column 0; the key holds in it.
    write_bmp(path("front"), 20, 10, [](int x, int) { return x < 5 ? kMagenta : x < 10 ? kYellow : kGreen; });
    const auto s = cross_fade({"front"}, 1, 255, -10);
    ASSERT_TRUE(s);
    s->front = 1;
    blit_complex_blinking_surface(s.get(), target);
    EXPECT_EQ(at(0, 0), kRed) << "keyed out: the base shows";
    EXPECT_EQ(at(5, 0), kYellow);
    EXPECT_EQ(at(10, 0), kGreen) << "the layer is drawn whole from column 0";
}

TEST_F(BlinkingTest, BlinkingOffLoadsNoLadderNeverMovesAndDrawsTheBase)
{
    const long loads_before = harness::load_count();
    const auto fade = cross_fade({"green", "blue"}, 0, 10);
    const auto blink = blinking(0, 20);
    ASSERT_TRUE(fade && blink);
    EXPECT_EQ(harness::load_count() - loads_before, 4 + 2) << "base and fronts, base and overlay";
    EXPECT_TRUE(fade->front_tab == nullptr && blink->ladder == nullptr);
    EXPECT_EQ(fade->enabled + blink->enabled, 0);
    for (int i = 0; i < 50; ++i) {
        update_complex_blinking(fade.get());
        update_simple_blinking(blink.get());
    }
    EXPECT_EQ(std::make_pair(fade->front, fade->subframe), std::make_pair(0, 0));
    EXPECT_EQ(std::make_pair(blink->index, blink->falling), std::make_pair(0, 0));
    EXPECT_EQ(drawn(fade.get()), kRed);
    EXPECT_EQ(drawn(blink.get()), kRed);
    EXPECT_EQ(cross_fade({"green"}, 7, 100)->enabled, 1) << "any byte but 0 switches blinking on";
    EXPECT_EQ(blinking(200, 100)->enabled, 1);
}

TEST_F(BlinkingTest, OverlayRisesAndFallsShowingEachEndTwice)
{
    const auto three = blinking(1, 85);  // copies 0 to 3
    ASSERT_TRUE(three);
    EXPECT_EQ(three->count, 3);
    EXPECT_EQ(shown_indices(three.get(), 16), (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3, 3, 2, 1, 0}));
    const auto twelve = blinking(1, 20);  // copies 0 to 12: a period of 26 frames
    const std::vector<int> shown = shown_indices(twelve.get(), 78);
    for (size_t i = 0; i + 26 < shown.size(); ++i) ASSERT_EQ(shown[i], shown[i + 26]) << "frame " << i;
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 12);
}

TEST_F(BlinkingTest, OverlayStepsOfZero255AndAbove)
{
    const auto fifty = blinking(1, 0);  // as step 50
    ASSERT_TRUE(fifty);
    for (int j = 0; j <= 5; ++j, update_simple_blinking(fifty.get()))
        EXPECT_TRUE(near(drawn(fifty.get()), blend(kGreen, kRed, 50 * j), kBlendTolerance)) << "index " << j;
    const auto on_off = blinking(1, 255);  // the overlay on and off, two frames each
    for (const Rgb& colour : {kRed, kGreen, kGreen, kRed, kRed, kGreen, kGreen, kRed}) {
        EXPECT_EQ(drawn(on_off.get()), colour) << "index " << on_off->index;
        update_simple_blinking(on_off.get());
    }
    const auto never = blinking(1, 256);  // never shown; the direction still flips each update
    for (int i = 0; i < 4; ++i, update_simple_blinking(never.get())) {
        EXPECT_EQ(drawn(never.get()), kRed);
        EXPECT_EQ(std::make_pair(never->index, never->falling), std::make_pair(0, i % 2));
    }
}

}  // namespace
