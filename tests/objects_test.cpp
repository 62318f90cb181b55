// Sprites, decors, personnages, their lists, the screen and the world: how
// each moves, shows and hides, and who releases what; and every draw form of
// every module on one table: what each takes of the image (the whole, or a
// source window), where it draws, and whether SDL's clipping is written back
// into the record's own rectangle.
#include "anim/display_format.h"
#include "anim/gestion_ecran.h"
#include "anim/gestion_monde.h"
#include "anim/owned.h"
#include "char_array.h"

#include "support/hostile_bmps.h"
#include "support/ledger_test.h"
#include "support/objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace test_support;

namespace {

class SceneObjectsTest : public LedgerTest {
protected:
    sprite* new_sprite(const std::vector<std::string>& names, int frozen = 0)
    {
        return create_sprite(pictures(names), frozen, 0, 0, 255, 255, 255);
    }
    // A running sprite of four 20 x 10 frames and a waiting one of two 6 x 8.
    personnage* new_personnage(int x = 0, int y = 0)
    {
        return tool_create_personnage_from_char(x, y, 255, 255, 255, 2, pictures({"red", "green", "blue", "yellow"}),
                                                pictures({"magenta", "black"}));
    }
    decor* new_decor(int x = 0, int y = 0) { return create_decor(path("red").c_str(), x, y, 0, 0, 0); }
    // Green blinking over red, keyed black.
    sblink_decor* new_sblink_decor(int step = 85)
    {
        return blinking_decor(path("red").c_str(), path("green").c_str(), step, 0, 0, 0);
    }
};

TEST_F(SceneObjectsTest, SpriteCyclesItsFramesUnlessFrozenAndTakesItsSizeFromTheFirst)
{
    const std::pair<std::vector<std::string>, std::vector<int>> cases[] = {{{"black", "green", "red"}, {1, 2, 0, 1}},
                                                                           {{"green"}, {0, 0}}};
    for (const auto& [frames, expected] : cases) {
        const anim::owned_sprite s(new_sprite(frames));
        ASSERT_TRUE(s) << SDL_GetError();
        for (int frame : expected) {
            update_sprite(s.get());
            EXPECT_EQ(s->frame, frame) << frames.size() << " frames";
        }
        EXPECT_EQ(s->w, frames.size() == 3 ? 6 : 20) << "the first frame's width";
    }
    const anim::owned_sprite frozen(new_sprite({"black", "red"}, 5));
    for (int i = 0; i < 4; ++i) update_sprite(frozen.get());
    EXPECT_EQ(frozen->frame, 0) << "any non-zero frozen flag holds the frame";
    frozen->frozen = 0;
    update_sprite(frozen.get());
    blit_sprite(frozen.get(), target);
    EXPECT_EQ(at(19, 9), kRed);
    EXPECT_EQ(frozen->pos.w, 20) << "later frames are drawn whole at their own size";
}

TEST_F(SceneObjectsTest, ChangingSpriteRestartsItAndSizesTheSourceWindow)
{
    const anim::owned_personnage p(new_personnage());
    ASSERT_TRUE(p) << SDL_GetError();
    p->sprites[1]->frame = 1;
    p->src.x = 3;
    for (int refused : {2, 3, -1}) {
        SDL_ClearError();
        EXPECT_EQ(change_sprite_personnage(p.get(), refused), -1) << refused;
        EXPECT_EQ(std::string(SDL_GetError()), "no sprite " + std::to_string(refused) + " in a personnage of 2");
    }
    EXPECT_EQ(std::make_tuple(p->current, p->sprites[1]->frame, p->src.w), std::make_tuple(0, 1, Uint16{20}));
    EXPECT_EQ(change_sprite_personnage(p.get(), 1), 0);
    EXPECT_EQ(std::make_tuple(p->current, p->sprites[1]->frame, p->src.w, p->src.h),
              std::make_tuple(1, 0, Uint16{6}, Uint16{8}));
    EXPECT_EQ(p->src.x, 3) << "the window's position stays";
    update_personnage(p.get());
    EXPECT_EQ(p->sprites[1]->frame, 1) << "its sprites are made animated";
    EXPECT_EQ(change_sprite_personnage(p.get(), 1), 0);
    EXPECT_EQ(p->sprites[1]->frame, 0) << "choosing the current sprite restarts it";
    // Standing on its feet: the 6 x 8 sprite below the middle of the 20 x 10.
    const anim::owned_personnage standing(new_personnage(10, 20));
    standing->keep_feet = 1;
    for (const auto& [index, x, y] : {std::tuple{1, 17, 22}, {1, 17, 22}, {0, 10, 20}}) {
        change_sprite_personnage(standing.get(), index);
        EXPECT_EQ(std::make_tuple(standing->x, standing->y, standing->dst.x, standing->dst.y),
                  std::make_tuple(x, y, Sint16(x), Sint16(y)))
            << "sprite " << index;
    }
}

TEST_F(SceneObjectsTest, FreeStructureHandsBackWhatTheRecordHeld)
{
    sblink_decor* blinking = new_sblink_decor(255);
    personnage* p = new_personnage();
    ASSERT_TRUE(blinking != nullptr && p != nullptr) << SDL_GetError();
    simple_surface* blinking_surface = blinking->surface;
    sprite* waiting = p->sprites[1];
    const long held = live_now();
    SDL_Surface* image = free_structure_decor(new_decor());
    const anim::owned_simple_surface surface(free_structure_sblink_decor(blinking));
    const anim::owned_sprite_array sprites(free_structure_personnage(p));
    EXPECT_EQ(std::make_pair(surface.get(), sprites.get()[1]), std::make_pair(blinking_surface, waiting));
    EXPECT_EQ(live_now(), held + 1) << "only the records go";
    SDL_BlitSurface(image, nullptr, target, nullptr);
    EXPECT_EQ(at(0, 0), kRed);
    SDL_FreeSurface(image);
}

TEST_F(SceneObjectsTest, ListsKeepTheirOrderAndTheDestroyersReleaseEveryMember)
{
    decor* a = new_decor();
    decor* b = new_decor();
    decor* const ab[] = {a, b};
    decor** variadic = make_decor_array(2, a, b);
    decor** decors = make_decor_array_from(2, ab);
    ASSERT_TRUE(variadic && decors);
    EXPECT_TRUE(variadic[0] == a && variadic[1] == b && variadic[2] == nullptr);
    EXPECT_TRUE(decors[0] == a && decors[1] == b && decors[2] == nullptr);
    free(variadic);
    free_everything_decor_array(decors);
    sblink_decor* const blinking[] = {new_sblink_decor(), new_sblink_decor()};
    free_everything_sblink_decor_array(make_sblink_decor_array_from(2, blinking));
    personnage* const people[] = {new_personnage(), new_personnage()};
    free_everything_personnage_array(make_personnage_array_from(2, people));
    free_everything_sblink_decor_array(make_sblink_decor_array(1, new_sblink_decor()));
    free_everything_personnage_array(make_personnage_array(1, new_personnage()));
    free_sprite_array(make_sprite_array(1, new_sprite({"red"})));
    EXPECT_EQ(live_now(), 0);
    const anim::owned_sprite kept(new_sprite({"red", "green"}));
    free_structure_sprite_array(make_sprite_array(1, kept.get()));
    EXPECT_EQ(live_now(), 2) << "the structure destroyer leaves the sprites";
    // LeakSanitizer, in the sanitizer build, checks that both strings go.
    free_everything_char_array(make_char_array(2, strdup("one"), strdup("two")));
}

TEST_F(SceneObjectsTest, WorldFreesItsDecorsThenItsCharactersAndNothingElse)
{
    world* w = create_world(0, 189, 512, 256);
    ASSERT_NE(w, nullptr);
    free_decors_in_world(w);  // an empty world is freed as well
    free_peoples_in_world(w);
    w->hero = new_personnage();
    w->peoples = make_personnage_array(1, new_personnage());
    w->decors = make_decor_array(1, new_decor());
    w->sblink_decors = make_sblink_decor_array(1, new_sblink_decor());
    free_decors_in_world(w);
    EXPECT_TRUE(w->decors == nullptr && w->sblink_decors == nullptr);
    EXPECT_EQ(live_now(), 2 * (4 + 2)) << "the characters are freed apart";
    free_peoples_in_world(w);
    EXPECT_TRUE(w->hero == nullptr && w->peoples == nullptr);
    EXPECT_EQ(live_now(), 0);
    const anim::owned_personnage hero(w->hero = new_personnage());
    free_world(w);
    EXPECT_EQ(live_now(), 6) << "the world record alone goes";
}

// A world of one decor (yellow) and one blinking decor (blue) at x 0, a
// personnage in the peoples list (showing magenta) and a hero (red), all
// shown, owned by an anim::owned_world.
// Writes a picture of the painted pixels at a path in one form.
using SheetWriter = std::function<void(const std::string&, int, int, const std::function<Rgba(int, int)>&)>;

// Writes an SDL surface of `bits` a pixel (8: a palette of the four colours
// the sheets use) painted with `paint` as a BMP, as SDL saves it.
void save_surface_bmp(const std::string& path, int w, int h, int bits, const std::function<Rgba(int, int)>& paint)
{
    SDL_Surface* s = bits == 8 ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0)
                               : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0xff000000);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    SDL_Color colours[] = {{200, 30, 30, 0}, {30, 180, 60, 0}, {40, 60, 210, 0}, {230, 200, 40, 0}};
    if (bits == 8) SDL_SetColors(s, colours, 0, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = paint(x, y);
            SDL_Rect pixel{static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(s, &pixel, SDL_MapRGBA(s->format, c.rgb.r, c.rgb.g, c.rgb.b, c.a));
        }
    EXPECT_EQ(SDL_SaveBMP(s, path.c_str()), 0) << SDL_GetError();
    SDL_FreeSurface(s);
}

// A sheet of 3 x 2 cells of 5 x 4 pixels in each form a sheet can take:
// laid out from its corner with a strip left over at its right and bottom
// edges, its first five cells make the very sprite their own files make,
// frame for frame; laid out with a margin of 2 and a spacing of 1 (in the
// gaps' own colour), so do a row and a run of cells across rows.
TEST_F(SceneObjectsTest, SheetCellsMakeTheSpriteOfTheirOwnFiles)
{
    const Rgb kColours[] = {kRed, kGreen, kBlue, kYellow};
    const auto paint = [&](int x, int y) { return Rgba{kColours[(x * 3 + y) % 4], Uint8((x * 37 + y * 11) % 256)}; };
    const std::pair<const char*, SheetWriter> kForms[] = {
        {"24-bit BMP", [](const auto& path, int w, int h,
                          const auto& p) { write_bmp(path, w, h, [&](int x, int y) { return p(x, y).rgb; }); }},
        {"8-bit BMP", [](const auto& path, int w, int h, const auto& p) { save_surface_bmp(path, w, h, 8, p); }},
        {"32-bit BMP with alpha",
         [](const auto& path, int w, int h, const auto& p) { save_surface_bmp(path, w, h, 32, p); }},
        {"RGBA PNG", [](const auto& path, int w, int h, const auto& p) { write_png(path, w, h, p); }},
    };
    constexpr int kCellW = 5, kCellH = 4, kCells = 6, kMargin = 2, kSpacing = 1;
    // Where a cell's pixel lies on the spaced sheet: the cell and the place
    // within it, or -1 in a gap.
    const auto spaced = [&](int x, int y) {
        const int c = (x - kMargin) / (kCellW + kSpacing), r = (y - kMargin) / (kCellH + kSpacing);
        const int cx = (x - kMargin) % (kCellW + kSpacing), cy = (y - kMargin) % (kCellH + kSpacing);
        const bool inside = x >= kMargin && y >= kMargin && c < 3 && r < 2 && cx < kCellW && cy < kCellH;
        return inside ? paint(c * kCellW + cx, r * kCellH + cy) : Rgba{kWhite, 255};
    };
    for (const auto& [form, write] : kForms) {
        SCOPED_TRACE(form);
        const std::string corner = dir.file("corner"), margins = dir.file("margins");
        write(corner, 3 * kCellW + 2, 2 * kCellH + 1, paint);
        write(margins, 2 * kMargin + 3 * kCellW + 2 * kSpacing, 2 * kMargin + 2 * kCellH + kSpacing, spaced);
        std::vector<std::string> cells;
        for (int k = 0; k < kCells; ++k) {
            cells.push_back("cell" + std::to_string(k));
            const int left = k % 3 * kCellW, top = k / 3 * kCellH;
            write(path(cells.back()), kCellW, kCellH, [&](int x, int y) { return paint(left + x, top + y); });
        }
        sprite_sheet* sheet = open_sprite_sheet(margins.c_str(), kCellW, kCellH, kMargin, kSpacing, 1, 2, 3);
        ASSERT_NE(sheet, nullptr) << SDL_GetError();
        EXPECT_EQ(std::make_tuple(sheet->columns, sheet->rows), std::make_tuple(3, 2));
        const struct {
            sprite* cut;
            int first, count;
        } kCuts[] = {
            {create_sprite_from_sheet(corner.c_str(), kCellW, kCellH, 5, 0, 0, 0, 1, 2, 3), 0, 5},
            {create_sprite_from_row(sheet, 1, 0, 0, 0), 3, 3},
            {create_sprite_from_cells(sheet, 2, 3, 0, 0, 0), 2, 3},
        };
        close_sprite_sheet(sheet);
        for (const auto& [cut, first, count] : kCuts) {
            const anim::owned_sprite from_sheet(cut);
            const std::vector<std::string> own(cells.begin() + first, cells.begin() + first + count);
            const anim::owned_sprite from_files(create_sprite(pictures(own), 0, 0, 0, 1, 2, 3));
            ASSERT_TRUE(from_files && from_sheet) << SDL_GetError();
            EXPECT_EQ(std::make_tuple(from_sheet->frame_count, from_sheet->w, from_sheet->h),
                      std::make_tuple(count, kCellW, kCellH));
            for (int k = 0; k < count; ++k) {
                SDL_Surface* drawn[2] = {make_target(kCellW, kCellH, kWhite), make_target(kCellW, kCellH, kWhite)};
                blit_sprite(from_files.get(), drawn[0]);
                blit_sprite(from_sheet.get(), drawn[1]);
                EXPECT_EQ(largest_difference(drawn[1], drawn[0]), 0) << "cell " << first + k;
                SDL_FreeSurface(drawn[0]);
                SDL_FreeSurface(drawn[1]);
                update_sprite(from_files.get());
                update_sprite(from_sheet.get());
            }
        }
    }
}

// Which sheets a grid fills: the pixels after the last cell of a row or
// column may number up to the larger of the margin and the spacing.
TEST_F(SceneObjectsTest, SheetGridsFillTheirSheetUpToTheirPadding)
{
    const struct {
        int w, h, cell, margin, spacing;
        int columns, rows;  // 0: refused
    } kGrids[] = {
        {199, 199, 48, 2, 1, 4, 4},  // the margin on all four sides
        {197, 100, 48, 2, 1, 4, 2},  // before the first cell only
        {196, 98, 48, 0, 1, 4, 2},   // a gap after every cell
        {200, 99, 48, 0, 2, 4, 2},   // a gap after every cell, wider than the margin
        {192, 48, 48, 0, 0, 4, 1},   // a strip of cells and nothing else
        {199, 199, 48, 0, 0, 0, 0},  // 7 pixels over
        {200, 99, 48, 2, 1, 0, 0},   // 3 over, with a margin of 2
        {192, 48, 40, 0, 0, 0, 0},   // 32 x 8 over
        {47, 47, 48, 0, 0, 0, 0},    // not one cell
    };
    for (const auto& [w, h, cell, margin, spacing, columns, rows] : kGrids) {
        SCOPED_TRACE(testing::Message() << w << " x " << h << " in " << cell << " with " << margin << ", " << spacing);
        write_bmp(path("sheet"), w, h, [](int, int) { return kGreen; });
        sprite_sheet* sheet = open_sprite_sheet(path("sheet").c_str(), cell, cell, margin, spacing, 0, 0, 0);
        EXPECT_EQ(sheet != nullptr ? std::make_tuple(sheet->columns, sheet->rows) : std::make_tuple(0, 0),
                  std::make_tuple(columns, rows));
        close_sprite_sheet(sheet);
        EXPECT_EQ(live_now(), 0);
    }
}

// A sheet that cannot give the cells asked of it is refused with its
// reason, leaving nothing; sheet sprites make a personnage.
TEST_F(SceneObjectsTest, SheetsRefuseWhatTheyCannotCutAndMakePersonnages)
{
    std::ofstream(dir.file("run_length.bmp"), std::ios::binary) << run_length_bmp(20, 10);
    write_bmp(path("hero"), 199, 199, [](int, int) { return kGreen; });
    const std::string red = path("red"), hero = path("hero"), run_length = dir.file("run_length.bmp");
    using Cut = std::function<sprite*()>;
    // The sheet of red, 20 x 10 in cells of 10 x 5, open while a cut runs.
    const auto red_cut = [&](const std::function<sprite*(const sprite_sheet*)>& cut) {
        return [&, cut] {
            sprite_sheet* sheet = open_sprite_sheet(red.c_str(), 10, 5, 0, 0, 0, 0, 0);
            sprite* s = cut(sheet);
            close_sprite_sheet(sheet);
            return s;
        };
    };
    const auto legacy = [](const std::string& file, int w, int h, int count) {
        return [=] { return create_sprite_from_sheet(file.c_str(), w, h, count, 0, 0, 0, 0, 0, 0); };
    };
    const auto open = [](const std::string& file, int cell, int margin, int spacing) {
        return [=]() -> sprite* {
            const char* at = file.empty() ? nullptr : file.c_str();
            close_sprite_sheet(open_sprite_sheet(at, cell, cell, margin, spacing, 0, 0, 0));
            return nullptr;
        };
    };
    const std::pair<Cut, std::string> kRefused[] = {
        {legacy(red, 10, 5, 5), " has 4 cells (2 x 2 of 10 x 5), not 5 from cell 0 on"},
        {legacy(red, 21, 1, 1), " has 0 cells (0 x 10 of 21 x 1), not 1 from cell 0 on"},
        {legacy(red, 0, 5, 1),
         "a sheet needs cells of a positive size and no negative margin or spacing, not cells "
         "of 0 x 5 with margin 0 and spacing 0"},
        {legacy(red, 10, 5, 0), "a sheet needs a positive count of cells, not 0"},
        {[] { return create_sprite_from_sheet(nullptr, 10, 5, 1, 0, 0, 0, 0, 0, 0); }, "no sheet path given"},
        {legacy(run_length, 10, 5, 1), "a sheet is cut from a PNG, or a BMP uncompressed at 8 bits a pixel or more"},
        {open(run_length, 5, 0, 0), "a sheet is cut from a PNG, or a BMP uncompressed at 8 bits a pixel or more"},
        {open(hero, 48, 0, 0),
         "hero.bmp is 199 x 199, which cells of 48 x 48 with margin 0 and spacing 0 do "
         "not fill: 4 x 4 of them take 192 x 192; margin 2 and spacing 1 fit it"},
        {open(hero, 200, 0, 0),
         "cells of 200 x 200 with margin 0 and spacing 0 do not fill: 0 x 0 of them "
         "take 0 x 0; no margin and spacing up to 16 fit it"},
        {open(red, 5, -1, 0), "not cells of 5 x 5 with margin -1 and spacing 0"},
        {open(red, 5, 0, -2), "with margin 0 and spacing -2"},
        {open("", 5, 0, 0), "no sheet path given"},
        {open(dir.file("none.png"), 5, 0, 0), "none.png: No such file or directory"},
        {red_cut([](auto sheet) { return create_sprite_from_cells(sheet, 2, 3, 0, 0, 0); }),
         "red.bmp has 4 cells (2 x 2 of 10 x 5), not 3 from cell 2 on"},
        {red_cut([](auto sheet) { return create_sprite_from_cells(sheet, -1, 1, 0, 0, 0); }), "not 1 from cell -1 on"},
        {red_cut([](auto sheet) { return create_sprite_from_cells(sheet, 0, 0, 0, 0, 0); }), "not 0 from cell 0 on"},
        {red_cut([](auto sheet) { return create_sprite_from_row(sheet, 2, 0, 0, 0); }),
         "red.bmp has 2 rows, not row 2"},
        {[] { return create_sprite_from_cells(nullptr, 0, 1, 0, 0, 0); }, "no sprite sheet given"},
    };
    for (const auto& [cut, reason] : kRefused) {
        SDL_ClearError();
        EXPECT_EQ(cut(), nullptr) << reason;
        EXPECT_NE(std::string(SDL_GetError()).find(reason), std::string::npos) << SDL_GetError();
        EXPECT_EQ(live_now(), 0) << reason;
    }
    sprite** sprites =
        make_sprite_array(2, create_sprite_from_sheet(path("columns").c_str(), 10, 10, 2, 0, 0, 0, 1, 2, 3),
                          create_sprite_from_sheet(path("columns").c_str(), 5, 5, 8, 0, 0, 0, 1, 2, 3));
    ASSERT_NE(sprites, nullptr) << SDL_GetError();
    const anim::owned_personnage p(create_personnage(sprites, 2, 0, 0));
    ASSERT_TRUE(p) << SDL_GetError();
    p->hidden = 0;
    update_personnage(p.get());
    blit_personnage(p.get(), target);
    EXPECT_EQ(std::make_tuple(at(0, 0), at(9, 9), at(10, 0)), std::make_tuple(column(10), column(19), kWhite));
}

class WorldTest : public SceneObjectsTest {
protected:
    void SetUp() override
    {
        SceneObjectsTest::SetUp();
        w->decors = make_decor_array(1, create_decor(path("yellow").c_str(), 0, 0, 0, 0, 0));
        w->sblink_decors =
            make_sblink_decor_array(1, blinking_decor(path("blue").c_str(), path("green").c_str(), 85, 0, 0, 0));
        w->peoples = make_personnage_array(1, new_personnage());
        w->hero = new_personnage();
        ASSERT_TRUE(w->decors && w->sblink_decors && w->peoples && w->hero) << SDL_GetError();
        change_sprite_personnage(w->peoples[0], 1);
        w->decors[0]->hidden = w->sblink_decors[0]->hidden = w->peoples[0]->hidden = w->hero->hidden = 0;
    }
    void TearDown() override
    {
        w.reset();
        SceneObjectsTest::TearDown();
    }
    decor* d() const { return w->decors[0]; }
    sblink_decor* blinking() const { return w->sblink_decors[0]; }

    anim::owned_world w{create_world(0, 0, 100, 30)};
    const anim::owned_screen view{create_screen(40, 30, 0, 0)};
};

TEST_F(WorldTest, DrawsItsShownObjectsDecorsFirstAndTheHeroLast)
{
    const std::pair<int*, Rgb> shown_after_hiding[] = {{nullptr, kRed},
                                                       {&w->hero->hidden, kMagenta},
                                                       {&w->peoples[0]->hidden, kBlue},
                                                       {&blinking()->hidden, kYellow},
                                                       {&d()->hidden, kWhite}};
    for (const auto& [hidden, colour] : shown_after_hiding) {
        if (hidden != nullptr) *hidden = 1;
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 255, 255, 255));
        blit_world(w.get(), target);
        EXPECT_EQ(at(0, 0), colour);
    }
    const anim::owned_world empty(create_world(0, 0, 100, 30));
    blit_world(empty.get(), target);  // no lists, no hero: nothing to draw
}

TEST_F(WorldTest, ScrollMovesTheViewAlongAndTheListedObjectsBack)
{
    w->hero->dst.x = 7;
    d()->dst.x = 32767;
    scroll_world(view.get(), w.get(), -2);
    EXPECT_EQ(std::make_tuple(view->x, d()->dst.x, blinking()->dst.x, w->peoples[0]->dst.x, w->hero->dst.x),
              std::make_tuple(-2, Sint16{-32767}, Sint16{2}, Sint16{2}, Sint16{7}))
        << "the decor wraps at 16 bits; the hero keeps its place";
    scroll_world(view.get(), w.get(), 5);
    EXPECT_EQ(std::make_tuple(view->x, blinking()->dst.x), std::make_tuple(3, Sint16{-3}));
}

// Each move of the view keeps where it was before, whichever coordinate moves.
TEST_F(WorldTest, ViewMovesRememberWhereTheViewWas)
{
    const auto place = [&] { return std::make_tuple(view->x, view->y, view->old_x, view->old_y); };
    update_screen_xy(view.get(), 3, 4);
    update_screen_x(view.get(), 10);
    EXPECT_EQ(place(), std::make_tuple(10, 4, 3, 4));
    update_screen_y(view.get(), 20);
    EXPECT_EQ(place(), std::make_tuple(10, 20, 10, 4));
}

// The hero is 20 wide (its running sprite), the view 40, the margin 5.
TEST_F(WorldTest, FollowKeepsTheCharacterItsMarginInsideTheViewAndTheWorld)
{
    struct Row {
        int world_w, view_x, hero_x;
        int view_after, dst_after;
    };
    const Row rows[] = {
        {100, 10, 20, 10, 10},  // 10 from the left, 10 from the right: the view stays
        {100, 10, 30, 15, 15},  // 0 from the right: the view scrolls 5
        {100, 10, 12, 7, 5},    // 2 from the left: the view scrolls back 3
        {100, 55, 80, 60, 20},  // the view stops at the world's end (100 - 40)
        {100, 2, 1, 0, 1},      // and at its start
        {30, 0, 15, 0, 15},     // a world narrower than the view: the view stays at 0
        {-10, 0, 15, 0, 15},    // and one of a negative width, which a world may be given
    };
    for (const Row& row : rows) {
        w->w = row.world_w;
        view->x = row.view_x;
        w->hero->x = row.hero_x;
        d()->dst.x = 0;
        follow_personnage(view.get(), w.get(), w->hero, 5);
        EXPECT_EQ(std::make_tuple(view->x, w->hero->dst.x, d()->dst.x),
                  std::make_tuple(row.view_after, Sint16(row.dst_after), Sint16(row.view_x - row.view_after)))
            << "view " << row.view_x << ", hero " << row.hero_x;
    }
}

// A character is placed where its world position falls in the view, each
// coordinate kept to 16 bits as SDL 1.2 keeps them.
TEST_F(WorldTest, PlaceSetsTheWindowPositionFromTheWorldPosition)
{
    personnage* balloon = w->peoples[0];
    const struct {
        int x, y, view_x, view_y;
        Sint16 dst_x, dst_y;
    } kRows[] = {{30, 12, 10, 2, 20, 10}, {5, -3, 10, 0, -5, -3}, {0, -40000, 0, 0, 0, 25536}};
    for (const auto& row : kRows) {
        balloon->x = row.x;
        balloon->y = row.y;
        view->x = row.view_x;
        view->y = row.view_y;
        place_personnage(view.get(), balloon);
        EXPECT_EQ(std::make_pair(balloon->dst.x, balloon->dst.y), std::make_pair(row.dst_x, row.dst_y)) << row.y;
    }
}

// Both decors are 20 wide at x 0; a draw has written the decor's dst.x back.
TEST_F(WorldTest, CropHidesWhatLeftTheViewAndReplacesTheClippedDecor)
{
    const std::tuple<int, int, Sint16> rows[] = {{5, 0, -5}, {20, 0, -20}, {21, 1, -21}};
    for (const auto& [view_x, hidden, dst_x] : rows) {
        view->x = view_x;
        d()->dst.x = 0;
        blinking()->dst.x = 4;
        crop_world(view.get(), w.get());
        EXPECT_EQ(std::make_tuple(d()->hidden, blinking()->hidden, d()->dst.x, blinking()->dst.x),
                  std::make_tuple(hidden, hidden, dst_x, Sint16{4}))
            << "view " << view_x;
    }
    view->x = 0;
    crop_world(view.get(), w.get());
    EXPECT_EQ(d()->hidden, 1) << "hidden for good";
}

constexpr int kW = 20;
constexpr int kH = 10;

// A record's rectangle before and after a draw.
struct RectChange {
    SDL_Rect before, after;
};

// Sets `rect` to `start`, draws, and tells what became of the rectangle.
template <typename Draw>
RectChange drawn(SDL_Rect& rect, SDL_Rect start, Draw draw)
{
    rect = start;
    draw();
    return {start, rect};
}

// The record's rectangle is set to a mark that the forms taking a
// destination must leave alone.
constexpr SDL_Rect kMark{77, 77, 0, 0};

// A draw form: draws with the source window `src` at `dst` (through the
// record's own fields where the form takes no argument for them).
struct Form {
    std::string name;
    bool uses_src;     // false: the form draws the whole image
    bool writes_back;  // true: SDL's clipping is written into the record
    bool layered;      // a base and a ladder copy through one rectangle: the copy, drawn where
                       // the base's clipping left it, leaves its own unclipped size
    std::function<RectChange(Objects&, SDL_Surface*, SDL_Rect, SDL_Rect)> draw;
};

void PrintTo(const Form& form, std::ostream* out)
{
    *out << form.name;
}

// A member of Objects that owns a T.
template <typename T, typename D>
using Owner = std::unique_ptr<T, D> Objects::*;

// The plain, _from and _from_to forms of the Objects member `object`, which
// draws at its own `pos`.
template <typename T, typename D>
void add_forms(std::vector<Form>& forms, const std::string& name, Owner<T, D> object, bool layered,
               void (*plain)(T*, SDL_Surface*), void (*from)(T*, SDL_Surface*, SDL_Rect),
               void (*from_to)(T*, SDL_Surface*, SDL_Rect, SDL_Rect))
{
    forms.push_back({name, false, true, layered, [=](Objects& o, SDL_Surface* t, SDL_Rect, SDL_Rect dst) {
                         T* x = (o.*object).get();
                         return drawn(x->pos, dst, [&] { plain(x, t); });
                     }});
    forms.push_back({name + "_from", true, true, layered, [=](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
                         T* x = (o.*object).get();
                         return drawn(x->pos, dst, [&] { from(x, t, src); });
                     }});
    forms.push_back(
        {name + "_from_to", true, false, layered, [=](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
             T* x = (o.*object).get();
             return drawn(x->pos, kMark, [&] { from_to(x, t, src, dst); });
         }});
}

// Every form; the decors and personnages draw through their own src and dst.
std::vector<Form> all_forms()
{
    std::vector<Form> forms;
    add_forms(forms, "complex", &Objects::complex, true, blit_complex_blinking_surface,
              blit_complex_blinking_surface_from, blit_complex_blinking_surface_from_to);
    add_forms(forms, "simple", &Objects::simple, true, blit_simple_blinking_surface, blit_simple_blinking_surface_from,
              blit_simple_blinking_surface_from_to);
    add_forms(forms, "sprite", &Objects::s, false, blit_sprite, blit_sprite_from, blit_sprite_from_to);
    forms.push_back({"decor", true, true, false, [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
                         o.d->src = src;
                         return drawn(o.d->dst, dst, [&] { blit_decor(o.d.get(), t); });
                     }});
    forms.push_back({"sblink_decor", true, false, false, [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
                         o.blinking->src = src;
                         return drawn(o.blinking->dst, dst, [&] { blit_sblink_decor(o.blinking.get(), t); });
                     }});
    forms.push_back({"personnage", true, false, false, [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
                         o.p->src = src;
                         return drawn(o.p->dst, dst, [&] { blit_personnage(o.p.get(), t); });
                     }});
    return forms;
}

class DrawFormsTest : public LedgerTest, public ::testing::WithParamInterface<Form> {};

// The window (3, 1, 4 x 2) is asked for at (-1, 2): a form that takes it
// draws columns 4 to 6 of row 1 on, a form that does not the whole image
// from its column 1; SDL's clipping is written back or not.
TEST_P(DrawFormsTest, DrawsItsWindowWhereAskedAndKeepsOrUpdatesItsRectangle)
{
    const Form& form = GetParam();
    Objects objects(path("columns"));
    const RectChange rect = form.draw(objects, target, SDL_Rect{3, 1, 4, 2}, SDL_Rect{-1, 2, 0, 0});
    const int drawn_w = form.uses_src ? 3 : kW - 1, drawn_h = form.uses_src ? 2 : kH;
    EXPECT_EQ(at(0, 2), column(form.uses_src ? 4 : 1));
    EXPECT_EQ(at(drawn_w - 1, 2 + drawn_h - 1), column(form.uses_src ? 6 : kW - 1));
    EXPECT_EQ(at(drawn_w, 2), kWhite);
    EXPECT_EQ(at(0, 2 + drawn_h), kWhite);
    EXPECT_EQ(at(0, 1), kWhite);
    const int written_w = form.layered ? drawn_w + 1 : drawn_w;
    const SDL_Rect written{0, 2, static_cast<Uint16>(written_w), static_cast<Uint16>(drawn_h)};
    const SDL_Rect expected = form.writes_back ? written : rect.before;
    EXPECT_EQ(std::make_tuple(rect.after.x, rect.after.y, rect.after.w, rect.after.h),
              std::make_tuple(expected.x, expected.y, expected.w, expected.h));
}

// Asked for far up and left, or just past the bottom-right corner, every
// form draws nothing; a form that writes back stores the position moved
// into the target (up-left) or as asked (down-right), at 0 x 0, on every
// SDL. A layered form's copy is then drawn there, at its alpha 0, inside the
// target.
TEST_P(DrawFormsTest, AWindowClippedAwayStoresItsPositionInsideTheTarget)
{
    const Form& form = GetParam();
    Objects objects(path("columns"));
    const auto copy_w = static_cast<Uint16>(form.uses_src ? 4 : kW),
               copy_h = static_cast<Uint16>(form.uses_src ? 2 : kH);
    const auto right = static_cast<Sint16>(target->w), bottom = static_cast<Sint16>(target->h);
    const std::pair<SDL_Rect, SDL_Rect> asked_written[] = {
        {{-kW - 5, -kH - 1, 0, 0}, form.layered ? SDL_Rect{0, 0, copy_w, copy_h} : SDL_Rect{0, 0, 0, 0}},
        {{right, bottom, 0, 0}, {right, bottom, 0, 0}}};
    for (const auto& [asked, written] : asked_written) {
        const RectChange rect = form.draw(objects, target, SDL_Rect{3, 1, 4, 2}, asked);
        const SDL_Rect expected = form.writes_back ? written : rect.before;
        EXPECT_EQ(std::make_tuple(rect.after.x, rect.after.y, rect.after.w, rect.after.h, at(0, 0)),
                  std::make_tuple(expected.x, expected.y, expected.w, expected.h, kWhite))
            << "asked at " << asked.x << ", " << asked.y;
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, DrawFormsTest, ::testing::ValuesIn(all_forms()), ::testing::PrintToStringParamName());

using OwnedSurface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// A display of 40 x 30 pixels at each depth, whose format the objects made
// while use_display_format(1) holds take.
class DisplayFormatTest : public LedgerTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        display = SDL_SetVideoMode(40, 30, GetParam(), SDL_SWSURFACE);
        ASSERT_NE(display, nullptr) << SDL_GetError();
        ASSERT_EQ(display->format->BitsPerPixel, GetParam());
    }
    void TearDown() override
    {
        use_display_format(0);
        LedgerTest::TearDown();
    }
    // A surface in the display's format filled with `fill`, as a frame is drawn on.
    OwnedSurface frame(Rgb fill) const
    {
        const SDL_PixelFormat* f = display->format;
        OwnedSurface s(SDL_CreateRGBSurface(SDL_SWSURFACE, display->w, display->h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                            f->Bmask, 0),
                       SDL_FreeSurface);
        SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, fill.r, fill.g, fill.b));
        return s;
    }
    SDL_Surface* display = nullptr;
};

// Keyed (with holes and a pixel off the key by less than a 16-bit unit),
// soft-edged and opaque pictures, made into every object with and without
// the conversion: the converted images take the display's format, and every
// draw form draws each step of every fade as the unconverted images do: the
// same frames at 32 bits (these colours round alike in every SDL's fades);
// at 16, the same for opaque pictures, within a unit of the display's 5-bit
// channels (9 levels of 8 bits) for keyed ones, and within three for
// soft-edged ones, whose cross-fades blend three layers, each rounded to 16
// bits by SDL's blends.
TEST_P(DisplayFormatTest, EveryFormDrawsItsFramesAsTheFilesFormatDoesUpToTheDisplaysUnits)
{
    write_bmp(path("holes"), kW, kH, [](int x, int y) {
        if ((x + y) % 3 == 0) return kMagenta;
        return x == 1 && y == 0 ? Rgb{250, 2, 250} : column(x);
    });
    write_png(dir.file("soft.png"), kW, kH, [](int x, int y) { return Rgba{column(x), Uint8(x * 12 + y)}; });
    // Each picture with the largest difference it may show at 16 bits.
    const std::pair<std::string, int> pictures_bounds[] = {
        {path("holes"), 9}, {dir.file("soft.png"), 25}, {path("columns"), 0}};
    const std::vector<Form> forms = all_forms();
    for (const auto& [picture, bound_at_16] : pictures_bounds) {
        SCOPED_TRACE(picture);
        const int bound = GetParam() == 32 ? 0 : bound_at_16;
        Objects files_format(picture);
        ASSERT_EQ(use_display_format(1), 0) << SDL_GetError();
        Objects display_format(picture);
        use_display_format(0);
        ASSERT_TRUE(display_format.complex && display_format.simple && display_format.s && display_format.d &&
                    display_format.blinking && display_format.p && display_format.sheet)
            << SDL_GetError();
        for (const SDL_Surface* image :
             {display_format.complex->base, display_format.complex->front_tab[0][1], display_format.simple->ladder[1],
              display_format.s->frames[0], display_format.d->image, display_format.sheet->frames[1]})
            EXPECT_EQ(image->format->BitsPerPixel, picture == dir.file("soft.png") ? 32 : GetParam());
        for (int step = 0, steps = whole_cycle(files_format); step <= steps; ++step) {
            for (const Form& form : forms) {
                const OwnedSurface expected = frame(kWhite), drawn = frame(kWhite);
                form.draw(files_format, expected.get(), SDL_Rect{3, 1, 14, 8}, SDL_Rect{2, 3, 0, 0});
                form.draw(display_format, drawn.get(), SDL_Rect{3, 1, 14, 8}, SDL_Rect{2, 3, 0, 0});
                EXPECT_LE(largest_difference(expected.get(), drawn.get()), bound) << form.name << " at step " << step;
            }
            update(files_format);
            update(display_format);
        }
    }
}

// Only the key colour's pixels are transparent, however few bits the display
// gives a channel; a picture without one is drawn as a plain copy, or by
// runs where the SDL encodes them.
TEST_P(DisplayFormatTest, OnlyTheKeyColourTurnsTransparentAndAPictureWithoutItIsNotKeyed)
{
    constexpr std::array kNearKey{kMagenta, Rgb{250, 2, 250}, kRed};
    write_bmp(path("near_key"), 3, 1, [&](int x, int) { return kNearKey[static_cast<size_t>(x)]; });
    ASSERT_EQ(use_display_format(1), 0) << SDL_GetError();
    const anim::owned_decor keyed(create_decor(path("near_key").c_str(), 0, 0, 255, 0, 255));
    const anim::owned_decor keyless(create_decor(path("columns").c_str(), 0, 0, 255, 0, 255));
    ASSERT_TRUE(keyed && keyless) << SDL_GetError();
    EXPECT_NE(keyed->image->flags & SDL_SRCCOLORKEY, 0u);
    // Unkeyed, or run by run where the SDL encodes runs.
    EXPECT_TRUE((keyless->image->flags & SDL_SRCCOLORKEY) == 0 || (keyless->image->flags & SDL_RLEACCELOK) != 0);
    const OwnedSurface drawn = frame(kBlack);
    keyed->hidden = 0;
    blit_decor(keyed.get(), drawn.get());
    EXPECT_EQ(pixel_at(drawn.get(), 0, 0), kBlack);
    EXPECT_TRUE(near(pixel_at(drawn.get(), 1, 0), Rgb{250, 2, 250}, 9)) << pixel_at(drawn.get(), 1, 0);
    EXPECT_TRUE(near(pixel_at(drawn.get(), 2, 0), kRed, 9));
}

INSTANTIATE_TEST_SUITE_P(Depths, DisplayFormatTest, ::testing::Values(32, 16));

// Without a video mode the conversion is refused when asked for, and a
// creation asked to convert once the mode has gone fails, naming why and
// leaving nothing.
TEST_F(SceneObjectsTest, TheDisplayFormatNeedsAVideoMode)
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_EQ(use_display_format(1), -1);
    EXPECT_NE(std::string(SDL_GetError()).find("no video mode is set"), std::string::npos) << SDL_GetError();
    EXPECT_NE(anim::owned_decor(create_decor(path("red").c_str(), 0, 0, 0, 0, 0)), nullptr) << "the setting stays off";
    ASSERT_NE(SDL_SetVideoMode(8, 8, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
    ASSERT_EQ(use_display_format(1), 0);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // A keyed picture and a soft-edged one; the toolkit's reason, or SDL's
    // own where the SDL (the compatibility library 1.2.68) still hands out
    // the display it has closed.
    write_png(dir.file("soft.png"), 2, 2, [](int x, int y) { return Rgba{kRed, Uint8(60 * x + 90 * y)}; });
    for (const std::string& picture : {path("red"), dir.file("soft.png")}) {
        EXPECT_EQ(create_decor(picture.c_str(), 0, 0, 0, 0, 0), nullptr);
        const std::string reason = SDL_GetError();
        EXPECT_TRUE(reason == "cannot load " + picture + ": no video mode is set, whose format the images would take" ||
                    reason == "cannot load " + picture + ": No video mode has been set")
            << reason;
    }
    use_display_format(0);
    EXPECT_EQ(live_now(), 0);
}

}  // namespace
