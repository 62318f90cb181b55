// Every allocation of every creation and list builder failing in turn (the
// records, the arrays, and the buffer each image file is read into): the
// call returns null, leaves the reason in SDL_GetError() and nothing behind
// (the surface ledger counts images; LeakSanitizer, in the sanitizer build,
// counts memory).
#include "anim/gestion_ecran.h"
#include "anim/gestion_monde.h"
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"

#include "support/allocation_failer.h"
#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace test_support;

namespace {

class AllocationFailureTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        frames = write_frames("f", {kRed, kGreen}, 4, 4);
        a = dir.file(frames[0]);
        b = dir.file(frames[1]);
    }
    void TearDown() override
    {
        fail_allocation(0);
        LedgerTest::TearDown();
    }

    // Calls `create` with its k-th allocation failing, for k = 1, 2, ...
    // until a call makes fewer than k allocations; each failed call must
    // give null and leave nothing behind. `release` frees a success.
    // Returns how many allocations the call makes.
    template <typename T>
    int fail_each_allocation(const std::function<T*()>& create, const std::function<void(T*)>& release)
    {
        for (int k = 1; k < 100; ++k) {
            fail_allocation(k);
            SDL_ClearError();
            T* made = create();
            const bool failed = allocation_failed();
            fail_allocation(0);
            if (!failed) {
                EXPECT_NE(made, nullptr);
                release(made);
                return k - 1;
            }
            EXPECT_EQ(made, nullptr) << "allocation " << k;
            EXPECT_STRNE(SDL_GetError(), "") << "allocation " << k;
            EXPECT_EQ(live_now(), 0) << "allocation " << k;
            if (made != nullptr) release(made);
        }
        ADD_FAILURE() << "the call never succeeded";
        return -1;
    }

    std::vector<std::string> frames;
    std::string a, b;
};

TEST_F(AllocationFailureTest, SurfacesAndSprites)
{
    const PathList list(dir, frames);
    EXPECT_EQ(
        fail_each_allocation<complex_surface>(
            [&] { return create_complex_surface(a.c_str(), list.get(), 1, 85, 0, 0, 0, 0, 0); }, free_complex_surface),
        (1 + 1 + 1 + 3) + 13)  // record, fronts, ladder table, a row per front; a file buffer per load
        << "complex surface";
    EXPECT_EQ(
        fail_each_allocation<simple_surface>(
            [&] { return create_simple_surface(a.c_str(), b.c_str(), 1, 85, 0, 0, 0, 0, 0); }, free_simple_surface),
        2 + 6)  // record, ladder; a file buffer per load
        << "simple surface";
    EXPECT_EQ(fail_each_allocation<sprite>([&] { return create_sprite(list.get(), 0, 0, 0, 0, 0, 0); }, free_sprite),
              2 + 2)  // frames, record; a file buffer per load
        << "sprite";
}

TEST_F(AllocationFailureTest, DecorsAndPersonnages)
{
    const PathList list(dir, frames);
    EXPECT_EQ(
        fail_each_allocation<decor>([&] { return create_decor(a.c_str(), 0, 0, 0, 0, 0); }, free_everything_decor),
        1 + 1);  // record; the file buffer
    simple_surface* surface = create_simple_surface(a.c_str(), b.c_str(), 0, 0, 0, 0, 0, 0, 0);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    fail_allocation(1);
    EXPECT_EQ(create_sblink_decor(surface, 0, 0), nullptr);
    EXPECT_EQ(live_now(), 2) << "the surface stays the caller's";
    free_simple_surface(surface);

    EXPECT_EQ(fail_each_allocation<personnage>(
                  [&] { return tool_create_personnage_from_char(0, 0, 0, 0, 0, 2, list.get(), list.get()); },
                  free_everything_personnage),
              1 + 2 * (2 + 2) + 1)  // sprite array, two sprites of two frames, record
        << "personnage";
}

TEST_F(AllocationFailureTest, ListsScreenAndWorld)
{
    const PathList list(dir, frames);
    sprite* s = create_sprite(list.get(), 0, 0, 0, 0, 0, 0);
    fail_allocation(1);
    EXPECT_EQ(make_sprite_array(1, s), nullptr);
    fail_allocation(1);
    EXPECT_EQ(make_decor_array(0), nullptr);
    fail_allocation(1);
    EXPECT_EQ(make_personnage_array(0), nullptr);
    fail_allocation(1);
    EXPECT_EQ(make_sblink_decor_array(0), nullptr);
    fail_allocation(1);
    EXPECT_EQ(create_screen(1, 1, 0, 0), nullptr);
    fail_allocation(1);
    EXPECT_EQ(create_world(0, 0, 1, 1), nullptr);
    fail_allocation(0);
    EXPECT_EQ(live_now(), 2);
    free_sprite(s);
}

}  // namespace
