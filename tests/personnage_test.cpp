// Personnages: creation, switching sprites, drawing, updating and release.
#include "anim/lib_personnage.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace test_support;

namespace {

class PersonnageTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        running = write_frames("run", {kRed, kGreen, kBlue, kYellow}, 10, 12);
        waiting = write_frames("wait", {kMagenta, kBlack}, 6, 8);
        target = make_target(40, 30, kWhite);
    }
    void TearDown() override
    {
        SDL_FreeSurface(target);
        LedgerTest::TearDown();
    }

    // A personnage of a four-frame 10 x 12 sprite and a two-frame 6 x 8
    // sprite, white keyed out.
    personnage* create(int x, int y)
    {
        const PathList run(dir, running);
        const PathList wait(dir, waiting);
        return tool_create_personnage_from_char(x, y, 255, 255, 255, 2, run.get(), wait.get());
    }

    std::vector<std::string> running, waiting;
    SDL_Surface* target = nullptr;
};

TEST_F(PersonnageTest, NewPersonnageShowsItsFirstSpriteHidden)
{
    personnage* p = create(100, 60);
    ASSERT_NE(p, nullptr) << SDL_GetError();
    EXPECT_EQ(p->sprite_count, 2);
    EXPECT_EQ(p->current, 0);
    EXPECT_EQ(p->hidden, 1);
    EXPECT_EQ(p->dst.x, 100);
    EXPECT_EQ(p->dst.y, 60);
    EXPECT_EQ(p->x, 100);
    EXPECT_EQ(p->y, 60);
    EXPECT_EQ(p->src.x, 0);
    EXPECT_EQ(p->src.y, 0);
    EXPECT_EQ(p->src.w, 10);
    EXPECT_EQ(p->src.h, 12);
    EXPECT_EQ(p->sprites[2], nullptr) << "the array made here is null-terminated";
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(p->sprites[i]->frame, 0);
        EXPECT_EQ(p->sprites[i]->frozen, 0);
        EXPECT_EQ(p->sprites[i]->pos.x, 100);
        EXPECT_EQ(p->sprites[i]->pos.y, 60);
    }
    free_everything_personnage(p);
}

TEST_F(PersonnageTest, ChangingSpriteRestartsItAndSizesTheSource)
{
    personnage* p = create(0, 0);
    ASSERT_NE(p, nullptr) << SDL_GetError();
    p->sprites[1]->frame = 1;
    p->src.x = 3;

    EXPECT_EQ(change_sprite_personnage(p, 2), -1);
    EXPECT_EQ(change_sprite_personnage(p, -1), -1);
    EXPECT_EQ(p->current, 0);
    EXPECT_EQ(p->src.w, 10);
    EXPECT_EQ(p->sprites[1]->frame, 1) << "a refused index changes nothing";

    EXPECT_EQ(change_sprite_personnage(p, 1), 0);
    EXPECT_EQ(p->current, 1);
    EXPECT_EQ(p->sprites[1]->frame, 0);
    EXPECT_EQ(p->src.w, 6);
    EXPECT_EQ(p->src.h, 8);
    EXPECT_EQ(p->src.x, 3) << "the window's position stays";

    update_personnage(p);
    ASSERT_EQ(p->sprites[1]->frame, 1);
    EXPECT_EQ(change_sprite_personnage(p, 1), 0);
    EXPECT_EQ(p->sprites[1]->frame, 0) << "choosing the current sprite restarts it";
    free_everything_personnage(p);
}

TEST_F(PersonnageTest, UpdateAdvancesOnlyTheCurrentSpriteHiddenOrNot)
{
    personnage* p = create(0, 0);
    ASSERT_NE(p, nullptr) << SDL_GetError();
    p->sprites[1]->frame = 1;
    for (int i = 0; i < 3; ++i) update_personnage(p);
    EXPECT_EQ(p->hidden, 1);
    EXPECT_EQ(p->sprites[0]->frame, 3);
    EXPECT_EQ(p->sprites[1]->frame, 1);
    free_everything_personnage(p);
}

TEST_F(PersonnageTest, DrawShowsTheCurrentFrameCutToTheSourceAndKeepsDst)
{
    personnage* p = create(-5, 2);
    ASSERT_NE(p, nullptr) << SDL_GetError();
    blit_personnage(p, target);
    EXPECT_EQ(pixel_at(target, 0, 2), kWhite) << "hidden";
    p->hidden = 0;
    update_personnage(p);
    blit_personnage(p, target);
    EXPECT_EQ(pixel_at(target, 0, 2), kGreen);
    EXPECT_EQ(pixel_at(target, 4, 13), kGreen);
    EXPECT_EQ(pixel_at(target, 5, 2), kWhite);
    EXPECT_EQ(p->dst.x, -5);
    EXPECT_EQ(p->sprites[0]->pos.x, -5) << "the sprite's pos plays no part";

    p->src.w = 7;  // the source window cuts the frame
    p->dst.x = 20;
    blit_personnage(p, target);
    EXPECT_EQ(pixel_at(target, 26, 2), kGreen);
    EXPECT_EQ(pixel_at(target, 27, 2), kWhite);
    free_everything_personnage(p);
}

TEST_F(PersonnageTest, FailedMakingReleasesTheSpritesMadeSoFar)
{
    const PathList run(dir, running);
    const PathList broken(dir, {waiting[0], "missing.bmp"});
    SDL_ClearError();
    EXPECT_EQ(tool_create_personnage_from_char(0, 0, 0, 0, 0, 2, run.get(), broken.get()), nullptr);
    EXPECT_NE(std::string(SDL_GetError()).find("missing.bmp"), std::string::npos) << SDL_GetError();
    EXPECT_EQ(live_now(), 0);
    EXPECT_EQ(tool_create_personnage_from_char(0, 0, 0, 0, 0, 0), nullptr);
}

TEST_F(PersonnageTest, RefusedArraysStayTheCallers)
{
    const PathList run(dir, running);
    sprite** sprites = make_sprite_array(1, create_sprite(run.get(), 0, 0, 0, 0, 0, 0));
    ASSERT_NE(sprites, nullptr);
    EXPECT_EQ(create_personnage(nullptr, 1, 0, 0), nullptr);
    EXPECT_EQ(create_personnage(sprites, 0, 0, 0), nullptr);
    EXPECT_EQ(create_personnage(sprites, 2, 0, 0), nullptr) << "the second entry is the terminator";
    EXPECT_EQ(live_now(), 4);
    free_sprite_array(sprites);
}

TEST_F(PersonnageTest, FreeStructureHandsBackTheSprites)
{
    personnage* p = create(0, 0);
    ASSERT_NE(p, nullptr) << SDL_GetError();
    sprite** sprites = free_structure_personnage(p);
    ASSERT_NE(sprites, nullptr);
    blit_sprite(sprites[1], target);
    EXPECT_EQ(pixel_at(target, 0, 0), kMagenta);
    update_sprite(sprites[1]);
    blit_sprite(sprites[1], target);
    EXPECT_EQ(pixel_at(target, 0, 0), kBlack);
    free_sprite_array(sprites);
    EXPECT_EQ(free_structure_personnage(nullptr), nullptr);
}

}  // namespace
