// The screen (the view) and the world (the scene's container).
#include "anim/gestion_ecran.h"
#include "anim/gestion_monde.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

class ScreenWorldTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        frames = write_frames("f", {kRed, kGreen}, 4, 4);
    }

    personnage* new_personnage()
    {
        return tool_create_personnage_from_char(0, 0, 0, 0, 0, 1, PathList(dir, frames).get());
    }
    decor* new_decor() { return create_decor(dir.file(frames[0]).c_str(), 0, 0, 0, 0, 0); }
    sblink_decor* new_sblink_decor()
    {
        const std::string a = dir.file(frames[0]);
        const std::string b = dir.file(frames[1]);
        return create_sblink_decor(create_simple_surface(a.c_str(), b.c_str(), 1, 20, 0, 0, 0, 0, 0), 0, 0);
    }

    // A world holding a hero, one other personnage and two decors of each kind.
    world* filled_world()
    {
        world* w = create_world(0, 189, 512, 256);
        w->hero = new_personnage();
        w->peoples = make_personnage_array(1, new_personnage());
        w->decors = make_decor_array(2, new_decor(), new_decor());
        w->sblink_decors = make_sblink_decor_array(2, new_sblink_decor(), new_sblink_decor());
        return w;
    }

    std::vector<std::string> frames;
};

TEST_F(ScreenWorldTest, NewScreenHasNoSurfaceAndRemembersItsStart)
{
    screen* s = create_screen(256, 256, 3, 4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->surface, nullptr);
    EXPECT_EQ(s->w, 256);
    EXPECT_EQ(s->h, 256);
    EXPECT_EQ(s->x, 3);
    EXPECT_EQ(s->y, 4);
    EXPECT_EQ(s->old_x, 3);
    EXPECT_EQ(s->old_y, 4);
    free_screen(s);
}

TEST_F(ScreenWorldTest, EveryPositionUpdateRemembersBothCoordinates)
{
    screen* s = create_screen(10, 10, 1, 2);
    update_screen_x(s, 5);
    EXPECT_EQ(s->old_x, 1);
    EXPECT_EQ(s->old_y, 2);
    EXPECT_EQ(s->x, 5);
    EXPECT_EQ(s->y, 2);
    update_screen_y(s, 7);
    EXPECT_EQ(s->old_x, 5);
    EXPECT_EQ(s->old_y, 2);
    EXPECT_EQ(s->x, 5);
    EXPECT_EQ(s->y, 7);
    update_screen_xy(s, 8, 9);
    EXPECT_EQ(s->old_x, 5);
    EXPECT_EQ(s->old_y, 7);
    EXPECT_EQ(s->x, 8);
    EXPECT_EQ(s->y, 9);
    free_screen(s);
}

TEST_F(ScreenWorldTest, FreeingTheScreenLeavesTheDisplayToSdl)
{
    SDL_Surface* display = SDL_SetVideoMode(32, 32, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    ASSERT_NE(display, nullptr) << SDL_GetError();
    screen* s = create_screen(32, 32, 0, 0);
    s->surface = display;
    free_screen(s);
    ASSERT_EQ(SDL_GetVideoSurface(), display);
    EXPECT_EQ(SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, 1, 2, 3)), 0);
    EXPECT_EQ(pixel_at(display, 31, 31), (Rgb{1, 2, 3})) << "the display is still usable";
}

TEST_F(ScreenWorldTest, NewWorldIsEmpty)
{
    world* w = create_world(0, 189, 512, 256);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->peoples, nullptr);
    EXPECT_EQ(w->hero, nullptr);
    EXPECT_EQ(w->sblink_decors, nullptr);
    EXPECT_EQ(w->decors, nullptr);
    EXPECT_EQ(w->x, 0);
    EXPECT_EQ(w->y, 189);
    EXPECT_EQ(w->w, 512);
    EXPECT_EQ(w->h, 256);
    free_decors_in_world(w);
    free_peoples_in_world(w);
    free_world(w);
}

TEST_F(ScreenWorldTest, WorldFreesEverythingItHoldsInTwoCalls)
{
    world* w = filled_world();
    EXPECT_GT(live_now(), 0);
    free_decors_in_world(w);
    EXPECT_EQ(w->decors, nullptr);
    EXPECT_EQ(w->sblink_decors, nullptr);
    EXPECT_NE(w->hero, nullptr) << "the characters are freed separately";
    free_peoples_in_world(w);
    EXPECT_EQ(w->hero, nullptr);
    EXPECT_EQ(w->peoples, nullptr);
    EXPECT_EQ(live_now(), 0);
    free_world(w);
}

TEST_F(ScreenWorldTest, FreeWorldTouchesNoObject)
{
    world* w = filled_world();
    const long held = live_now();
    personnage* hero = w->hero;
    personnage** peoples = w->peoples;
    decor** decors = w->decors;
    sblink_decor** sblinks = w->sblink_decors;
    free_world(w);
    EXPECT_EQ(live_now(), held);
    update_personnage(hero);
    EXPECT_EQ(hero->sprites[0]->frame, 1) << "the hero is still alive";
    free_everything_personnage(hero);
    free_everything_personnage_array(peoples);
    free_everything_decor_array(decors);
    free_everything_sblink_decor_array(sblinks);
}

}  // namespace
