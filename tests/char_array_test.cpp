// scene_demo's string lists: the form of a path list.
#include "char_array.h"

#include "anim/lib_sprite.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace test_support;

namespace {

class CharArrayTest : public LedgerTest {};

TEST_F(CharArrayTest, ListOfLiteralsIsAPathList)
{
    const std::vector<std::string> names = write_frames("f", {kRed, kGreen, kBlue}, 4, 4);
    const std::string a = dir.file(names[0]), b = dir.file(names[1]), c = dir.file(names[2]);
    char** list = make_char_array(3, a.c_str(), b.c_str(), c.c_str());
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list[1], b.c_str());
    EXPECT_EQ(list[3], nullptr);
    sprite* s = create_sprite(list, 0, 0, 0, 0, 0, 0);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    EXPECT_EQ(s->frame_count, 3);
    free_sprite(s);
    free_structure_char_array(list);
}

TEST_F(CharArrayTest, ListOfAllocatedStringsIsFreedWithThem)
{
    char** list = make_char_array(2, strdup("one"), strdup("two"));
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list[0], "one");
    // LeakSanitizer, in the sanitizer build, checks that both strings go.
    free_everything_char_array(list);
    free_everything_char_array(make_char_array(0));
}

TEST_F(CharArrayTest, NullStringGivesNull)
{
    char* kept = strdup("kept");
    EXPECT_EQ(make_char_array(2, kept, static_cast<char*>(nullptr)), nullptr);
    EXPECT_STREQ(kept, "kept") << "the string stays the caller's";
    free(kept);
    EXPECT_EQ(make_char_array(-1), nullptr);
}

}  // namespace
