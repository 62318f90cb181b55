// ledger_test: the base of toolkit tests, which must leave no loaded surface
// behind and no load, conversion or allocation refusal pending, with the
// pictures they share.
#ifndef ANIM_TESTS_LEDGER_TEST_H
#define ANIM_TESTS_LEDGER_TEST_H

#include "support/allocation_failer.h"
#include "support/test_images.h"
#include "surface_ledger.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace test_support {

// Column x of columns.bmp.
inline Rgb column(int x)
{
    return {static_cast<Uint8>(10 + 10 * x), 100, 50};
}

class LedgerTest : public ::testing::Test {
protected:
    // Writes 20 x 10 solid red.bmp, green.bmp, blue.bmp and yellow.bmp, a
    // 20 x 10 columns.bmp whose column x has the colour column(x), and 6 x 8
    // solid magenta.bmp and black.bmp; makes a white 40 x 30 target.
    void SetUp() override
    {
        live_before = harness::live_surfaces();
        for (const auto& [name, colour] :
             {std::pair{"red", kRed}, {"green", kGreen}, {"blue", kBlue}, {"yellow", kYellow}})
            write_bmp(path(name), 20, 10, solid(colour));
        write_bmp(path("columns"), 20, 10, [](int x, int) { return column(x); });
        write_bmp(path("magenta"), 6, 8, solid(kMagenta));
        write_bmp(path("black"), 6, 8, solid(kBlack));
        target = make_target(40, 30, kWhite);
    }
    void TearDown() override
    {
        SDL_FreeSurface(target);
        harness::fail_load(0);
        harness::fail_conversion(0);
        fail_allocation(0);
        EXPECT_EQ(harness::live_surfaces(), live_before) << "the test left loaded surfaces behind";
    }

    // Loaded surfaces alive now that were not before the test.
    long live_now() const { return harness::live_surfaces() - live_before; }
    // Path of the picture `name`.bmp of the test's folder.
    std::string path(const std::string& name) const { return dir.file(name + ".bmp"); }
    // A null-terminated list of those pictures' paths, kept until the test ends.
    const char* const* pictures(const std::vector<std::string>& names)
    {
        std::vector<const char*>& list = lists.emplace_back();
        for (const std::string& name : names) list.push_back(paths.emplace_back(path(name)).c_str());
        list.push_back(nullptr);
        return list.data();
    }
    // The target's pixel (x, y).
    Rgb at(int x, int y) const { return pixel_at(target, x, y); }

    TempDir dir;
    std::deque<std::string> paths;
    std::deque<std::vector<const char*>> lists;
    SDL_Surface* target = nullptr;
    long live_before = 0;
};

}  // namespace test_support

#endif
