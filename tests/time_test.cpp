// The timed advances: one step for each step time passed, whatever frames
// the time comes in, as the same object moved by its update_* function.
#include "anim/owned.h"

#include "support/ledger_test.h"
#include "support/objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

using namespace test_support;

namespace {

class TimeTest : public LedgerTest {};

template <typename T>
using Owned = std::unique_ptr<T, void (*)(T*)>;

// Moves three copies of an object through the same time: in frames of 16
// ms, of 33 ms, and in one advance from each checkpoint to the next, the
// last after a pause of a thousand seconds; and a twin by one update per
// step time passed. All four are in the same state at every checkpoint.
template <typename T, typename Make, typename Advance, typename Update, typename State>
void expect_steps_by_time(const char* name, int step_ms, Make make, void (*release)(T*), Advance advance, Update update,
                          State state)
{
    SCOPED_TRACE(name);
    constexpr long long kFrames[] = {16, 33, 1LL << 40};
    std::vector<Owned<T>> driven;
    driven.reserve(std::size(kFrames));
    for (size_t d = 0; d < std::size(kFrames); ++d) driven.emplace_back(make(), release);
    const Owned<T> twin(make(), release);
    ASSERT_TRUE(twin && driven[0] && driven[1] && driven[2]) << SDL_GetError();
    long long done[std::size(kFrames)] = {}, updated = 0;
    for (long long checkpoint : {528LL, 1056LL, 1584LL, 2112LL, 3168LL, 3168LL + 1000003LL}) {
        for (size_t d = 0; d < std::size(kFrames); ++d)
            for (; done[d] < checkpoint; done[d] += std::min(kFrames[d], checkpoint - done[d]))
                advance(driven[d].get(), static_cast<int>(std::min(kFrames[d], checkpoint - done[d])));
        for (; updated < checkpoint / step_ms; ++updated) update(twin.get());
        for (size_t d = 0; d < std::size(kFrames); ++d)
            EXPECT_EQ(state(driven[d].get()), state(twin.get())) << "at " << checkpoint << " ms, drive " << d;
    }
}

// The sprite, the complex surface and the simple surface at step times of
// their own; the blinking decor and the personnage at the step time of
// every new object.
TEST_F(TimeTest, EachObjectStepsOncePerStepTimeInFramesOfAnyLength)
{
    const std::string red = path("red"), green = path("green"), blue = path("blue");
    const char* const fronts[] = {green.c_str(), blue.c_str(), nullptr};
    const auto paced = [](auto* made, void (*set)(decltype(made), int), int ms) {
        if (made != nullptr) set(made, ms);
        return made;
    };
    const auto simple_state = [](const simple_surface* s) { return std::vector<int>{s->index, s->falling}; };
    const auto sprite_at_40 = [&] {
        sprite* s = create_sprite(pictures({"red", "green", "blue"}), 0, 0, 0, 0, 0, 0);
        return paced(s, set_sprite_frame_time, 40);
    };
    const auto frame_of = [](const sprite* s) { return s->frame; };
    expect_steps_by_time("sprite", 40, sprite_at_40, free_sprite, advance_sprite, update_sprite, frame_of);
    const auto complex_at_25 = [&] {
        complex_surface* s = create_complex_surface(red.c_str(), fronts, 1, 85, 0, 0, 0, 0, 0);
        return paced(s, set_complex_blinking_step_time, 25);
    };
    const auto complex_state = [](const complex_surface* s) { return std::vector<int>{s->front, s->subframe}; };
    expect_steps_by_time("complex surface", 25, complex_at_25, free_complex_surface, advance_complex_blinking,
                         update_complex_blinking, complex_state);
    using Advance = void (*)(simple_surface*, int);
    using Update = void (*)(simple_surface*);
    const std::tuple<const char*, Advance, Update, bool> kMoves[] = {
        {"blink", advance_simple_blinking, update_simple_blinking, false},
        {"fade in", advance_fade_in_simple_blinking, fade_in_simple_blinking, false},
        {"fade out", advance_fade_out_simple_blinking, fade_out_simple_blinking, true}};
    for (const auto& [name, advance, update, at_top] : kMoves) {
        const bool top = at_top;
        const auto make = [&] {
            simple_surface* s = create_simple_surface(red.c_str(), green.c_str(), 1, 85, 0, 0, 0, 0, 0);
            if (s != nullptr && top) s->index = s->count;
            return paced(s, set_simple_blinking_step_time, 30);
        };
        expect_steps_by_time(name, 30, make, free_simple_surface, advance, update, simple_state);
    }
    const auto decor_of = [&] { return blinking_decor(red.c_str(), green.c_str(), 85, 0, 0, 0); };
    const auto decor_state = [&](const sblink_decor* d) { return simple_state(d->surface); };
    expect_steps_by_time("blinking decor", ANIM_DEFAULT_STEP_MS, decor_of, free_everything_sblink_decor,
                         advance_sblink_decor, update_sblink_decor, decor_state);
    const auto child_of = [&] {
        return tool_create_personnage_from_char(0, 0, 0, 0, 0, 2, pictures({"red", "green", "blue"}), fronts);
    };
    const auto frames_of = [](const personnage* p) {
        return std::vector<int>{p->sprites[0]->frame, p->sprites[1]->frame};
    };
    expect_steps_by_time("personnage", ANIM_DEFAULT_STEP_MS, child_of, free_everything_personnage, advance_personnage,
                         update_personnage, frames_of);
}

// Frames with durations of their own each show for theirs; refused
// durations change nothing; a frozen sprite, a step time of 0, durations
// written by hand that add up to nothing and a time that is not positive
// keep a sprite still; changing a personnage's sprite
// starts its frame's time anew.
TEST_F(TimeTest, FramesShowForTheirOwnDurations)
{
    const anim::owned_sprite s(create_sprite(pictures({"red", "green", "blue"}), 0, 0, 0, 0, 0, 0));
    ASSERT_TRUE(s) << SDL_GetError();
    const int durations[] = {30, 70, 10}, refused[] = {30, 0, 10};
    ASSERT_EQ(set_sprite_frame_durations(s.get(), durations), 0);
    EXPECT_EQ(set_sprite_frame_durations(s.get(), refused), -1);
    EXPECT_STREQ(SDL_GetError(), "frame 1 of a sprite cannot show for 0 ms");
    const std::pair<int, int> kTimeline[] = {
        {29, 0}, {1, 1}, {69, 1}, {1, 2}, {-50, 2}, {9, 2}, {1, 0}, {110 * 9000 + 30, 1}, {2147483647, 1}, {3, 2}};
    for (const auto& [ms, frame] : kTimeline) {
        advance_sprite(s.get(), ms);
        EXPECT_EQ(s->frame, frame) << "after " << ms << " ms more";
    }
    ASSERT_EQ(set_sprite_frame_durations(s.get(), nullptr), 0);
    advance_sprite(s.get(), 49);
    EXPECT_EQ(s->frame, 2) << "the frame time, 50 ms at creation, from 0 ms";
    advance_sprite(s.get(), 1);
    EXPECT_EQ(s->frame, 0);
    s->frozen = 1;
    advance_sprite(s.get(), 1000);
    s->frozen = 0;
    set_sprite_frame_time(s.get(), 0);
    advance_sprite(s.get(), 1000);
    EXPECT_EQ(s->frame, 0) << "frozen, then no step time";
    ASSERT_EQ(set_sprite_frame_durations(s.get(), durations), 0);
    std::fill_n(s->durations, 3, 0);
    advance_sprite(s.get(), 1000);
    EXPECT_EQ(s->frame, 0) << "durations written by hand that add up to no time";

    const anim::owned_personnage p(tool_create_personnage_from_char(0, 0, 0, 0, 0, 1, pictures({"red", "green"})));
    ASSERT_TRUE(p) << SDL_GetError();
    advance_personnage(p.get(), 30);
    change_sprite_personnage(p.get(), 0);
    advance_personnage(p.get(), 30);
    EXPECT_EQ(p->sprites[0]->frame, 0) << "30 ms of a 50 ms frame since the change";
}

}  // namespace
