// Every draw form of every module, on one table: what each takes of the
// image (the whole, or a source window), where it draws, and whether SDL's
// clipping is written back into the record's own rectangle.
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"
#include "anim/owned.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

using namespace test_support;

namespace {

constexpr int kW = 20;
constexpr int kH = 10;

// The objects of every module, built on columns.bmp (20 x 10).
struct Objects {
    explicit Objects(const std::string& image)
        : one{image.c_str(), nullptr},
          complex(create_complex_surface(image.c_str(), one, 1, 10, 0, 0, 255, 0, 255)),
          simple(create_simple_surface(image.c_str(), image.c_str(), 1, 10, 0, 0, 255, 0, 255)),
          s(create_sprite(one, 0, 0, 0, 255, 0, 255)),
          d(create_decor(image.c_str(), 0, 0, 255, 0, 255)),
          blinking(
              create_sblink_decor(create_simple_surface(image.c_str(), image.c_str(), 1, 10, 0, 0, 255, 0, 255), 0, 0)),
          p(tool_create_personnage_from_char(0, 0, 255, 0, 255, 1, one))
    {
    }
    const char* one[2];
    anim::owned_complex_surface complex;
    anim::owned_simple_surface simple;
    anim::owned_sprite s;
    anim::owned_decor d;
    anim::owned_sblink_decor blinking;
    anim::owned_personnage p;
};

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
    const char* name;
    bool uses_src;     // false: the form draws the whole image
    bool writes_back;  // true: SDL's clipping is written into the record
    bool layered;      // a base and a ladder copy through one rectangle: the copy, drawn where
                       // the base's clipping left it, leaves its own unclipped size
    std::function<RectChange(Objects&, SDL_Surface*, SDL_Rect, SDL_Rect)> draw;
};

const Form kForms[] = {
    {"complex", false, true, true,
     [](Objects& o, SDL_Surface* t, SDL_Rect, SDL_Rect dst) {
         return drawn(o.complex->pos, dst, [&] { blit_complex_blinking_surface(o.complex.get(), t); });
     }},
    {"complex_from", true, true, true,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         return drawn(o.complex->pos, dst, [&] { blit_complex_blinking_surface_from(o.complex.get(), t, src); });
     }},
    {"complex_from_to", true, false, true,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         return drawn(o.complex->pos, kMark,
                      [&] { blit_complex_blinking_surface_from_to(o.complex.get(), t, src, dst); });
     }},
    {"simple", false, true, true,
     [](Objects& o, SDL_Surface* t, SDL_Rect, SDL_Rect dst) {
         return drawn(o.simple->pos, dst, [&] { blit_simple_blinking_surface(o.simple.get(), t); });
     }},
    {"simple_from", true, true, true,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         return drawn(o.simple->pos, dst, [&] { blit_simple_blinking_surface_from(o.simple.get(), t, src); });
     }},
    {"simple_from_to", true, false, true,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         return drawn(o.simple->pos, kMark, [&] { blit_simple_blinking_surface_from_to(o.simple.get(), t, src, dst); });
     }},
    {"sprite", false, true, false,
     [](Objects& o, SDL_Surface* t, SDL_Rect, SDL_Rect dst) {
         return drawn(o.s->pos, dst, [&] { blit_sprite(o.s.get(), t); });
     }},
    {"sprite_from", true, true, false,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         return drawn(o.s->pos, dst, [&] { blit_sprite_from(o.s.get(), t, src); });
     }},
    {"sprite_from_to", true, false, false,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         return drawn(o.s->pos, kMark, [&] { blit_sprite_from_to(o.s.get(), t, src, dst); });
     }},
    {"decor", true, true, false,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         o.d->src = src;
         o.d->hidden = 0;
         return drawn(o.d->dst, dst, [&] { blit_decor(o.d.get(), t); });
     }},
    {"sblink_decor", true, false, false,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         o.blinking->src = src;
         o.blinking->hidden = 0;
         return drawn(o.blinking->dst, dst, [&] { blit_sblink_decor(o.blinking.get(), t); });
     }},
    {"personnage", true, false, false,
     [](Objects& o, SDL_Surface* t, SDL_Rect src, SDL_Rect dst) {
         o.p->src = src;
         o.p->hidden = 0;
         return drawn(o.p->dst, dst, [&] { blit_personnage(o.p.get(), t); });
     }},
};

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

INSTANTIATE_TEST_SUITE_P(Modules, DrawFormsTest, ::testing::ValuesIn(kForms),
                         [](const ::testing::TestParamInfo<Form>& param) { return std::string(param.param.name); });

}  // namespace
