// The null-terminated lists of sprites, decors, blinking decors and
// personnages.
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

class ObjectListTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        frames = write_frames("f", {kRed, kGreen}, 4, 4);
        write_solid_bmp(dir.file("image.bmp"), 4, 4, kBlue);
    }

    decor* new_decor() { return create_decor(dir.file("image.bmp").c_str(), 0, 0, 0, 0, 0); }
    sprite* new_sprite() { return create_sprite(PathList(dir, frames).get(), 0, 0, 0, 0, 0, 0); }
    personnage* new_personnage() { return create_personnage(make_sprite_array(1, new_sprite()), 1, 0, 0); }
    sblink_decor* new_sblink_decor()
    {
        const std::string image = dir.file("image.bmp");
        return create_sblink_decor(create_simple_surface(image.c_str(), image.c_str(), 1, 100, 0, 0, 0, 0, 0), 0, 0);
    }

    std::vector<std::string> frames;
};

TEST_F(ObjectListTest, EmptyListsHoldOnlyTheTerminator)
{
    sprite** sprites = make_sprite_array(0);
    decor** decors = make_decor_array(0);
    sblink_decor** sblinks = make_sblink_decor_array(0);
    personnage** peoples = make_personnage_array(0);
    ASSERT_NE(sprites, nullptr);
    ASSERT_NE(decors, nullptr);
    ASSERT_NE(sblinks, nullptr);
    ASSERT_NE(peoples, nullptr);
    EXPECT_EQ(sprites[0], nullptr);
    EXPECT_EQ(decors[0], nullptr);
    EXPECT_EQ(sblinks[0], nullptr);
    EXPECT_EQ(peoples[0], nullptr);
    free_sprite_array(sprites);
    free_everything_decor_array(decors);
    free_everything_sblink_decor_array(sblinks);
    free_everything_personnage_array(peoples);
    free_structure_sprite_array(make_sprite_array(0));
}

TEST_F(ObjectListTest, MembersKeepTheirArgumentOrder)
{
    decor* a = new_decor();
    decor* b = new_decor();
    decor* c = new_decor();
    decor** list = make_decor_array(3, a, b, c);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[0], a);
    EXPECT_EQ(list[1], b);
    EXPECT_EQ(list[2], c);
    EXPECT_EQ(list[3], nullptr);
    EXPECT_EQ(live_now(), 3);
    free_everything_decor_array(list);
    EXPECT_EQ(live_now(), 0) << "the list releases each member once";
}

TEST_F(ObjectListTest, NullMemberGivesNullAndLeavesEveryMemberTheCallers)
{
    SDL_Surface* target = make_target(8, 8, kWhite);
    decor* first = new_decor();
    decor* third = new_decor();
    SDL_ClearError();
    EXPECT_EQ(make_decor_array(3, first, static_cast<decor*>(nullptr), third), nullptr);
    EXPECT_STRNE(SDL_GetError(), "");
    first->hidden = 0;
    blit_decor(first, target);
    EXPECT_EQ(pixel_at(target, 0, 0), kBlue) << "the first decor is unharmed";
    free_everything_decor(first);
    free_everything_decor(third);

    sprite* s = new_sprite();
    EXPECT_EQ(make_sprite_array(2, s, static_cast<sprite*>(nullptr)), nullptr);
    free_sprite(s);
    personnage* p = new_personnage();
    EXPECT_EQ(make_personnage_array(2, static_cast<personnage*>(nullptr), p), nullptr);
    free_everything_personnage(p);
    sblink_decor* d = new_sblink_decor();
    EXPECT_EQ(make_sblink_decor_array(2, d, static_cast<sblink_decor*>(nullptr)), nullptr);
    free_everything_sblink_decor(d);
    SDL_FreeSurface(target);
}

TEST_F(ObjectListTest, NegativeCountIsRefused)
{
    EXPECT_EQ(make_decor_array(-1), nullptr);
    EXPECT_EQ(make_sprite_array(-3), nullptr);
}

TEST_F(ObjectListTest, DestroyersReleaseEveryMemberWithAllItHolds)
{
    free_everything_personnage_array(make_personnage_array(2, new_personnage(), new_personnage()));
    free_everything_sblink_decor_array(make_sblink_decor_array(2, new_sblink_decor(), new_sblink_decor()));
    free_sprite_array(make_sprite_array(2, new_sprite(), new_sprite()));
    EXPECT_EQ(live_now(), 0);
    free_everything_decor_array(nullptr);
    free_sprite_array(nullptr);
}

TEST_F(ObjectListTest, StructureDestroyerLeavesTheSpritesUsable)
{
    sprite* a = new_sprite();
    sprite* b = new_sprite();
    free_structure_sprite_array(make_sprite_array(2, a, b));
    EXPECT_EQ(live_now(), 4);
    update_sprite(a);
    EXPECT_EQ(a->frame, 1);
    // A list of the same sprites can make a personnage that owns them.
    personnage* p = create_personnage(make_sprite_array(2, a, b), 2, 0, 0);
    ASSERT_NE(p, nullptr) << SDL_GetError();
    free_everything_personnage(p);
}

}  // namespace
