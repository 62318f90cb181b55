// The keyed load, the alpha ladders' rules and copies, and the rollback.
#include "anim/detail/keyed_image.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace anim::detail;
using namespace test_support;

namespace {

class KeyedImageTest : public LedgerTest {
protected:
    // `image` blitted onto a red 4 x 1 target: its pixel x.
    static Rgb over_red(SDL_Surface* image, int x)
    {
        SDL_Surface* red = make_target(4, 1, kRed);
        SDL_BlitSurface(image, nullptr, red, nullptr);
        const Rgb c = pixel_at(red, x, 0);
        SDL_FreeSurface(red);
        return c;
    }
    // Black in columns 0 and 1, magenta in 2 and 3.
    std::string halves()
    {
        write_bmp(path("halves"), 4, 1, [](int x, int) { return x < 2 ? kBlack : kMagenta; });
        return path("halves");
    }
};

TEST_F(KeyedImageTest, KeyTakesTheLowEightBitsAndTheFileKeepsItsFormat)
{
    SDL_Surface* black_keyed = load_keyed_image(halves().c_str(), 256, 256, 256);
    SDL_Surface* magenta_keyed = load_keyed_image(halves().c_str(), 511, 256, -1);
    ASSERT_TRUE(black_keyed != nullptr && magenta_keyed != nullptr) << SDL_GetError();
    EXPECT_EQ(black_keyed->format->BitsPerPixel, 24);
    EXPECT_EQ(black_keyed->flags & (SDL_SRCCOLORKEY | SDL_RLEACCEL), static_cast<Uint32>(SDL_SRCCOLORKEY));
    EXPECT_EQ(over_red(black_keyed, 0), kRed) << "black is transparent";
    EXPECT_EQ(over_red(black_keyed, 3), kMagenta);
    EXPECT_EQ(over_red(magenta_keyed, 0), kBlack);
    EXPECT_EQ(over_red(magenta_keyed, 3), kRed) << "magenta is transparent";
    SDL_FreeSurface(black_keyed);
    SDL_FreeSurface(magenta_keyed);
}

TEST_F(KeyedImageTest, ReasonNamesTheFileAndWhatIsWrong)
{
    std::filesystem::resize_file(path("red"), 0);
    EXPECT_EQ(load_keyed_image(path("red").c_str(), 0, 0, 0), nullptr);
    EXPECT_NE(std::string(SDL_GetError()).find(path("red") + ": empty file"), std::string::npos) << SDL_GetError();
    EXPECT_EQ(load_keyed_image(path("missing").c_str(), 0, 0, 0), nullptr);
    EXPECT_NE(std::string(SDL_GetError()).find(path("missing") + ": No such file"), std::string::npos);
}

TEST_F(KeyedImageTest, LadderAlphasAndLengthsFollowTheStep)
{
    struct Row {
        int step, complex_row, simple_top, top_alpha;  // top_alpha: of the simple ladder's top copy
    };
    const Row table[] = {{0, 6, 5, 250},   {1, 255, 255, 255}, {10, 26, 25, 250}, {20, 13, 12, 240}, {50, 6, 5, 250},
                         {51, 5, 5, 255},  {85, 3, 3, 255},    {100, 3, 2, 200},  {128, 2, 1, 128},  {254, 2, 1, 254},
                         {255, 1, 1, 255}, {256, 1, 0, 0},     {1000, 1, 0, 0},   {1 << 30, 1, 0, 0}};
    for (const Row& row : table) {
        SCOPED_TRACE("step " + std::to_string(row.step));
        EXPECT_EQ(complex_row_length(row.step), row.complex_row);
        EXPECT_EQ(simple_ladder_top(row.step), row.simple_top);
        EXPECT_EQ(ladder_alpha(row.step, row.simple_top), row.top_alpha);
        EXPECT_EQ(ladder_alpha(row.step, 0), 0);
        EXPECT_LT(ladder_alpha(row.step, row.complex_row - 1), 255) << "a row stops short of opaque";
        EXPECT_EQ(ladder_alpha(row.step, row.complex_row), 255) << "one copy more would be opaque";
    }
    EXPECT_EQ(ladder_alpha(0, 3), 150) << "step 0 counts as 50";
}

TEST_F(KeyedImageTest, LadderCopiesAreSeparateKeyedImagesWithRisingAlpha)
{
    SDL_Surface** ladder = load_alpha_ladder(halves().c_str(), 255, 0, 255, 0, 6);
    ASSERT_NE(ladder, nullptr) << SDL_GetError();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ladder[i]->format->alpha, 50 * i);
    EXPECT_NE(ladder[4], ladder[5]);
    EXPECT_EQ(over_red(ladder[0], 0), kRed) << "copy 0 is invisible";
    EXPECT_TRUE(near(over_red(ladder[5], 0), blend(kBlack, kRed, 250), 2)) << over_red(ladder[5], 0);
    EXPECT_EQ(over_red(ladder[5], 3), kRed) << "the key still holds under alpha";
    urgent_free(ladder, 6);
    EXPECT_EQ(load_alpha_ladder(halves().c_str(), 0, 0, 0, 10, 0), nullptr) << "a ladder of no copies";
}

TEST_F(KeyedImageTest, UrgentFreeReleasesNewestFirstThenTheArray)
{
    auto* images = static_cast<SDL_Surface**>(calloc(3, sizeof(SDL_Surface*)));
    ASSERT_NE(images, nullptr);
    for (int i = 0; i < 3; ++i) images[i] = load_keyed_image(path("red").c_str(), 0, 0, 0);
    const std::vector<const SDL_Surface*> expected{images[2], images[1], images[0]};
    urgent_free(images, 3);
    EXPECT_EQ(harness::take_free_log(), expected);
    // With n = 0 only the array goes (LeakSanitizer and valgrind watch it).
    urgent_free(static_cast<SDL_Surface**>(calloc(2, sizeof(SDL_Surface*))), 0);
    EXPECT_TRUE(harness::take_free_log().empty());
}

}  // namespace
