// Hostile images at the path of a real picture: every creation answers null,
// without a crash and without leaving anything behind.
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"

#include "support/hostile_bmps.h"
#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace test_support;

namespace {

class HostileImagesTest : public LedgerTest {};

TEST_F(HostileImagesTest, EveryCreationRefusesEveryHostileFile)
{
    write_solid_bmp(dir.file("good.bmp"), 4, 3, kRed);
    const std::string good = dir.file("good.bmp");
    const std::vector<std::string> corpus = write_hostile_corpus(dir.path());
    for (const std::string& path : corpus) {
        SCOPED_TRACE(path);
        const char* hostile = path.c_str();
        const char* const alone[] = {hostile, nullptr};
        const char* const after_good[] = {good.c_str(), hostile, nullptr};
        EXPECT_EQ(create_decor(hostile, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(create_sprite(alone, 0, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(create_sprite(after_good, 0, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(create_simple_surface(hostile, good.c_str(), 1, 85, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(create_simple_surface(good.c_str(), hostile, 1, 85, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(create_complex_surface(hostile, after_good, 1, 85, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(create_complex_surface(good.c_str(), after_good, 1, 85, 0, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(tool_create_personnage_from_char(0, 0, 0, 0, 0, 2, after_good, alone), nullptr);
        EXPECT_EQ(live_now(), 0);
    }
}

TEST_F(HostileImagesTest, WellFormedUnusualFilesStillLoad)
{
    for (const HostileBmp& file : unusual_bmps()) {
        std::ofstream(dir.file(file.name), std::ios::binary) << file.bytes;
        decor* d = create_decor(dir.file(file.name).c_str(), 0, 0, 0, 0, 0);
        ASSERT_NE(d, nullptr) << file.name << ": " << SDL_GetError();
        EXPECT_EQ(d->image->w, 4) << file.name;
        EXPECT_EQ(d->image->h, 3) << file.name;
        free_everything_decor(d);
    }
}

}  // namespace
