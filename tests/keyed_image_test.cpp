// Keyed loading, alpha ladders, rollback and path counting.
#include "anim/detail/keyed_image.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace anim::detail;
using namespace test_support;

namespace {

class KeyedImageTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        write_bmp(dir.file("keyed.bmp"), 4, 1, [](int x, int) { return x < 2 ? kBlack : kMagenta; });
    }
    // Blits `image` onto a red target and reads back its pixel x.
    static Rgb blitted_pixel(SDL_Surface* image, int x)
    {
        SDL_Surface* target = make_target(image->w, image->h, kRed);
        SDL_BlitSurface(image, nullptr, target, nullptr);
        const Rgb c = pixel_at(target, x, 0);
        SDL_FreeSurface(target);
        return c;
    }
};

TEST_F(KeyedImageTest, CountsPathLists)
{
    const char* const empty[] = {nullptr};
    const char* const one[] = {"a.bmp", nullptr};
    const char* const three[] = {"a.bmp", "b.bmp", "c.bmp", nullptr};
    EXPECT_EQ(count_paths(nullptr), 0);
    EXPECT_EQ(count_paths(empty), 0);
    EXPECT_EQ(count_paths(one), 1);
    EXPECT_EQ(count_paths(three), 3);
}

TEST_F(KeyedImageTest, KeyUsesTheLowEightBitsOfEachComponent)
{
    // (256, 256, 256) keys as black, (511, 256, -1) as magenta.
    SDL_Surface* black_keyed = load_keyed_image(dir.file("keyed.bmp").c_str(), 256, 256, 256);
    SDL_Surface* magenta_keyed = load_keyed_image(dir.file("keyed.bmp").c_str(), 511, 256, -1);
    ASSERT_NE(black_keyed, nullptr) << SDL_GetError();
    ASSERT_NE(magenta_keyed, nullptr) << SDL_GetError();

    EXPECT_EQ(black_keyed->flags & (SDL_SRCCOLORKEY | SDL_RLEACCEL), static_cast<Uint32>(SDL_SRCCOLORKEY));
    EXPECT_EQ(blitted_pixel(black_keyed, 0), kRed) << "black must be transparent";
    EXPECT_EQ(blitted_pixel(black_keyed, 3), kMagenta);
    EXPECT_EQ(blitted_pixel(magenta_keyed, 0), kBlack);
    EXPECT_EQ(blitted_pixel(magenta_keyed, 3), kRed) << "magenta must be transparent";

    SDL_FreeSurface(black_keyed);
    SDL_FreeSurface(magenta_keyed);
}

TEST_F(KeyedImageTest, ImagesKeepThePixelFormatOfTheirFile)
{
    SDL_Surface* image = load_keyed_image(dir.file("keyed.bmp").c_str(), 0, 0, 0);
    ASSERT_NE(image, nullptr) << SDL_GetError();
    EXPECT_EQ(image->format->BitsPerPixel, 24);
    SDL_FreeSurface(image);
}

TEST_F(KeyedImageTest, MissingOrAbsentPathGivesNullWithAReason)
{
    SDL_ClearError();
    EXPECT_EQ(load_keyed_image(dir.file("missing.bmp").c_str(), 0, 0, 0), nullptr);
    EXPECT_NE(std::string(SDL_GetError()).find("missing.bmp"), std::string::npos) << SDL_GetError();
    SDL_ClearError();
    EXPECT_EQ(load_keyed_image(nullptr, 0, 0, 0), nullptr);
    EXPECT_STRNE(SDL_GetError(), "");
}

TEST_F(KeyedImageTest, LadderAlphasRiseByTheStepAndStopAt255)
{
    const int step0[] = {0, 50, 100, 150, 200, 250};
    const int step51[] = {0, 51, 102, 153, 204, 255};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ladder_alpha(0, i), step0[i]) << "step 0, copy " << i;
        EXPECT_EQ(ladder_alpha(51, i), step51[i]) << "step 51, copy " << i;
    }
    EXPECT_EQ(ladder_alpha(10, 25), 250);
    EXPECT_EQ(ladder_alpha(20, 12), 240);
    EXPECT_EQ(ladder_alpha(100, 3), 255);
    EXPECT_EQ(ladder_alpha(1 << 30, 1000), 255) << "large products must not overflow";
    EXPECT_EQ(ladder_alpha(255, 0), 0);
}

TEST_F(KeyedImageTest, LadderCopiesAreSeparateKeyedImagesWithRisingAlpha)
{
    const long loads_before = harness::load_count();
    SDL_Surface** ladder = load_alpha_ladder(dir.file("keyed.bmp").c_str(), 255, 0, 255, 0, 6);
    ASSERT_NE(ladder, nullptr) << SDL_GetError();
    EXPECT_EQ(harness::load_count() - loads_before, 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ladder[i]->format->alpha, 50 * i);
        EXPECT_TRUE(ladder[i]->flags & SDL_SRCALPHA);
        EXPECT_TRUE(ladder[i]->flags & SDL_SRCCOLORKEY);
        for (int j = 0; j < i; ++j) EXPECT_NE(ladder[i], ladder[j]);
    }
    EXPECT_EQ(blitted_pixel(ladder[0], 0), kRed) << "copy 0 is invisible";
    EXPECT_TRUE(near(blitted_pixel(ladder[5], 0), blend(kBlack, kRed, 250), 2)) << blitted_pixel(ladder[5], 0);
    EXPECT_EQ(blitted_pixel(ladder[5], 3), kRed) << "the key still holds under alpha";
    urgent_free(ladder, 6);
}

TEST_F(KeyedImageTest, LadderWithAFailingCopyReleasesTheCopiesBeforeIt)
{
    harness::fail_load(4);
    SDL_ClearError();
    EXPECT_EQ(load_alpha_ladder(dir.file("keyed.bmp").c_str(), 0, 0, 0, 10, 6), nullptr);
    EXPECT_STRNE(SDL_GetError(), "");
    EXPECT_EQ(harness::take_free_log().size(), 3u);
}

TEST_F(KeyedImageTest, LadderOfNoCopiesIsRefused)
{
    const long loads_before = harness::load_count();
    EXPECT_EQ(load_alpha_ladder(dir.file("keyed.bmp").c_str(), 0, 0, 0, 10, 0), nullptr);
    EXPECT_EQ(harness::load_count(), loads_before);
}

TEST_F(KeyedImageTest, UrgentFreeReleasesNewestFirstThenTheArray)
{
    auto* images = static_cast<SDL_Surface**>(calloc(3, sizeof(SDL_Surface*)));
    if (images == nullptr) GTEST_FAIL() << "out of memory";
    for (int i = 0; i < 3; ++i) images[i] = load_keyed_image(dir.file("keyed.bmp").c_str(), 0, 0, 0);
    const std::vector<const SDL_Surface*> expected{images[2], images[1], images[0]};
    urgent_free(images, 3);
    EXPECT_EQ(harness::take_free_log(), expected);

    // With n = 0 only the array goes (LeakSanitizer and valgrind watch it).
    urgent_free(static_cast<SDL_Surface**>(calloc(2, sizeof(SDL_Surface*))), 0);
    EXPECT_TRUE(harness::take_free_log().empty());
    EXPECT_TRUE(harness::take_free_log().empty());
}

}  // namespace
