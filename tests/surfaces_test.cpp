// The surface effects: every picture form the keyed load takes, the alpha
// ladders of soft and keyed pictures, and the two blinking surfaces: the
// order they walk their ladders in and what each step draws, whatever the
// overlay's size.
#include "anim/detail/keyed_image.h"
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_simple_blinking.h"
#include "anim/owned.h"

#include "support/hostile_bmps.h"
#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace anim::detail;
using namespace test_support;

namespace {

class KeyedImageTest : public LedgerTest {};

// Every standard form, 13 x 9 pixels (odd sizes: partial bytes and
// partial Adam7 passes), plain and interlaced, with and without a
// transparency chunk where the colour type takes one (palette alphas, or one
// grey or RGB colour made transparent): each pixel drawn over black and
// over white as its decoded colour and alpha, exactly where it is opaque or
// transparent, within two levels of the exact blend where the alpha is soft.
TEST_F(KeyedImageTest, EveryPngFormDrawsItsPixels)
{
    using namespace png_writer;
    struct PngCase {
        ColourType colour_type;
        int depth;
        bool interlaced, transparency;
    };
    std::vector<PngCase> cases;
    for (const auto& [type, depths] : png_types())
        for (const int depth : depths)
            for (const bool interlaced : {false, true})
                for (const bool transparency : {false, true})
                    if (!transparency || (type != kGreyAlpha && type != kRgba))
                        cases.push_back({type, depth, interlaced, transparency});
    constexpr int kW = 13, kH = 9;
    constexpr size_t kPixels = size_t{kW} * kH;
    for (const PngCase& c : cases) {
        SCOPED_TRACE("colour type " + std::to_string(c.colour_type) + ", " + std::to_string(c.depth) + " bits" +
                     (c.interlaced ? ", interlaced" : "") + (c.transparency ? ", tRNS" : ""));
        const SamplePng png = sample_png(c.colour_type, c.depth, c.interlaced, c.transparency, kW, kH);
        const std::vector<uint16_t>& samples = png.samples;
        const auto per_pixel = static_cast<size_t>(samples_a_pixel(c.colour_type));
        const unsigned top = (1u << c.depth) - 1;
        const auto eight = [&](uint16_t v) {
            return static_cast<Uint8>(c.depth == 16 ? v >> 8 : c.depth == 8 ? v : v * 255 / top);
        };
        std::vector<Rgba> expected;
        for (size_t i = 0; i < kPixels; ++i) {
            const uint16_t* p = &samples[i * per_pixel];
            if (c.colour_type == kPalette) {
                const Uint8 n = static_cast<Uint8>(p[0]);
                expected.push_back({{Uint8(n * 37), Uint8(n * 91 + 7), Uint8(n * 53 + 100)},
                                    c.transparency ? Uint8(n * 67) : Uint8(255)});
            } else if (per_pixel <= 2) {
                expected.push_back(
                    {{eight(p[0]), eight(p[0]), eight(p[0])}, per_pixel == 2 ? eight(p[1]) : Uint8(255)});
            } else {
                expected.push_back(
                    {{eight(p[0]), eight(p[1]), eight(p[2])}, per_pixel == 4 ? eight(p[3]) : Uint8(255)});
            }
        }
        // The colour of pixel 5 is transparent wherever it appears.
        const uint16_t* fifth = &samples[5 * per_pixel];
        for (size_t i = 0; c.transparency && c.colour_type != kPalette && i < kPixels; ++i)
            if (std::equal(fifth, fifth + per_pixel, &samples[i * per_pixel])) expected[i].a = 0;
        const std::string picture = dir.file("form.png");
        std::ofstream(picture, std::ios::binary) << encode_png(kW, kH, png.form, samples);
        PictureFiles files;
        SDL_Surface* image = load_keyed_image(files, picture.c_str(), 1, 2, 3);
        ASSERT_NE(image, nullptr) << SDL_GetError();
        for (const Rgb under : {kBlack, kWhite}) {
            SDL_Surface* canvas = make_target(kW, kH, under);
            SDL_BlitSurface(image, nullptr, canvas, nullptr);
            for (size_t i = 0; i < kPixels; ++i) {
                const Rgba e = expected[i];
                const Rgb drawn = pixel_at(canvas, static_cast<int>(i % kW), static_cast<int>(i / kW));
                const double tolerance = e.a == 0 || e.a == 255 ? 0 : 2;
                ASSERT_TRUE(near_exact_blend(drawn, e.rgb, under, e.a, 255, tolerance))
                    << "pixel " << i << ": " << drawn << " for " << e.rgb << " at alpha " << int(e.a) << " over "
                    << under;
            }
            SDL_FreeSurface(canvas);
        }
        SDL_FreeSurface(image);
    }
}

// A picture with soft edges, each alpha from 0 to 255 in colours that
// include the key colour and white and black, as a PNG and as a 32-bit BMP:
// every copy of its ladder draws every pixel within two levels of the exact
// blend of its own alpha times the copy's, over any colour; a transparent
// pixel leaves the target as it was; the key colour does not cut it.
TEST_F(KeyedImageTest, SoftEdgesFadeWithinTwoLevelsOfTheExactBlend)
{
    const Rgb kColours[] = {kMagenta, kWhite, kBlack, {200, 100, 30}};
    const auto colour = [&](int y) { return kColours[y % 4]; };
    write_png(dir.file("soft.png"), 256, 4, [&](int x, int y) { return Rgba{colour(y), Uint8(x)}; });
    std::vector<uint32_t> row(256);
    for (uint32_t x = 0; x < 256; ++x) row[x] = x << 24 | 200u << 16 | 100u << 8 | 30u;
    std::ofstream(dir.file("soft.bmp"), std::ios::binary) << true_colour_row(row, 4);
    constexpr int kStep = 15, kCopies = 255 / kStep + 1;
    double worst = 0;
    for (const char* name : {"soft.png", "soft.bmp"}) {
        SCOPED_TRACE(name);
        const bool png = std::string(name) == "soft.png";
        PictureFiles files;
        SDL_Surface** ladder = load_alpha_ladder(files, dir.file(name).c_str(), 255, 0, 255, kStep, kCopies);
        ASSERT_NE(ladder, nullptr) << SDL_GetError();
        for (int i = 0; i < kCopies; ++i)
            for (const Rgb under : {kBlack, kWhite, Rgb{90, 160, 20}}) {
                SDL_Surface* canvas = make_target(256, 4, under);
                SDL_BlitSurface(ladder[i], nullptr, canvas, nullptr);
                for (int y = 0; y < 4; ++y)
                    for (int x = 0; x < 256; ++x) {
                        const Rgb drawn = pixel_at(canvas, x, y), over = png ? colour(y) : Rgb{200, 100, 30};
                        ASSERT_TRUE(x == 0 ? drawn == under
                                           : near_exact_blend(drawn, over, under, x, ladder_alpha(kStep, i), 2))
                            << "copy " << i << ", pixel " << x << ", " << y << ": " << drawn << " for " << over
                            << " over " << under;
                        while (!near_exact_blend(drawn, over, under, x, ladder_alpha(kStep, i), worst)) worst += 0.01;
                    }
                SDL_FreeSurface(canvas);
            }
        urgent_free(ladder, kCopies);
    }
    std::printf("soft edges: worst channel error %.2f of the exact blend\n", worst);
}

// A picture whose alpha is all or nothing draws, copy for copy, exactly what
// the same picture keyed draws, whatever colour lies under its transparent
// pixels; unless an opaque pixel has the key colour, which then shows.
TEST_F(KeyedImageTest, AllOrNothingAlphaDrawsAsTheSamePictureKeyed)
{
    const auto transparent = [](int x, int y) { return (x + y) % 3 == 0; };
    write_png(dir.file("cut_out.png"), 12, 5, [&](int x, int y) {
        return transparent(x, y) ? Rgba{{Uint8(x * 20), Uint8(y * 50), 7}, 0} : Rgba{column(x), 255};
    });
    write_bmp(path("cut_out"), 12, 5, [&](int x, int y) { return transparent(x, y) ? kMagenta : column(x); });
    PictureFiles files;
    SDL_Surface** alpha = load_alpha_ladder(files, dir.file("cut_out.png").c_str(), 255, 0, 255, 60, 5);
    SDL_Surface** keyed = load_alpha_ladder(files, path("cut_out").c_str(), 255, 0, 255, 60, 5);
    ASSERT_TRUE(alpha != nullptr && keyed != nullptr) << SDL_GetError();
    for (int i = 0; i < 5; ++i) {
        SDL_Surface* drawn[2];
        for (int k = 0; k < 2; ++k) {
            drawn[k] = make_target(12, 5, kYellow);
            SDL_BlitSurface((k == 0 ? alpha : keyed)[i], nullptr, drawn[k], nullptr);
        }
        EXPECT_EQ(largest_difference(drawn[0], drawn[1]), 0) << "copy " << i;
        SDL_FreeSurface(drawn[0]);
        SDL_FreeSurface(drawn[1]);
    }
    urgent_free(alpha, 5);
    urgent_free(keyed, 5);
    // An opaque pixel of the key colour beside transparent ones.
    write_png(dir.file("opaque_key.png"), 2, 1, [](int x, int) { return Rgba{kMagenta, Uint8(x == 0 ? 255 : 0)}; });
    SDL_Surface* image = load_keyed_image(files, dir.file("opaque_key.png").c_str(), 255, 0, 255);
    ASSERT_NE(image, nullptr) << SDL_GetError();
    SDL_BlitSurface(image, nullptr, target, nullptr);
    EXPECT_EQ(std::make_pair(at(0, 0), at(1, 0)), std::make_pair(kMagenta, kWhite));
    SDL_FreeSurface(image);
}

// Blitters may round a blend differently by a level or two.
constexpr int kBlendTolerance = 2;

class BlinkingTest : public LedgerTest {
protected:
    // A cross-fade over red.bmp through `fronts`, magenta keyed.
    anim::owned_complex_surface cross_fade(const std::vector<std::string>& fronts, Uint8 enable, int step, int x = 0)
    {
        anim::owned_complex_surface s(
            create_complex_surface(path("red").c_str(), pictures(fronts), enable, step, x, 0, 255, 0, 255));
        EXPECT_TRUE(s) << SDL_GetError();
        return s;
    }
    // green.bmp blinking over red.bmp.
    anim::owned_simple_surface blinking(Uint8 enable, int step)
    {
        anim::owned_simple_surface s(
            create_simple_surface(path("red").c_str(), path("green").c_str(), enable, step, 0, 0, 255, 0, 255));
        EXPECT_TRUE(s) << SDL_GetError();
        return s;
    }
    // What a draw shows at (5, 5).
    Rgb drawn(complex_surface* s) { return blit_complex_blinking_surface(s, target), at(5, 5); }
    Rgb drawn(simple_surface* s) { return blit_simple_blinking_surface(s, target), at(5, 5); }
    // The ladder index shown by each of `frames` draw-then-update frames.
    static std::vector<int> shown_indices(simple_surface* s, int frames,
                                          void (*update)(simple_surface*) = update_simple_blinking)
    {
        std::vector<int> shown;
        for (int i = 0; i < frames; ++i, update(s)) shown.push_back(s->index);
        return shown;
    }
};

TEST_F(BlinkingTest, CrossFadeWalksEveryRowInOrderAndWraps)
{
    const auto two = cross_fade({"green"}, 1, 128);  // two fronts (green, then red again) of two copies
    ASSERT_TRUE(two);
    EXPECT_EQ(std::make_pair(two->count, two->max_subframe), std::make_pair(2, 2));
    for (const auto& expected : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, 1}, {0, 0}, {0, 1}}) {
        update_complex_blinking(two.get());
        EXPECT_EQ(std::make_pair(two->front, two->subframe), expected);
    }
    const auto four = cross_fade({"green", "blue", "yellow"}, 1, 10);
    for (int i = 1; i < 104; ++i) {
        update_complex_blinking(four.get());
        ASSERT_FALSE(four->front == 0 && four->subframe == 0) << "back to the start after " << i;
    }
    update_complex_blinking(four.get());
    EXPECT_EQ(std::make_pair(four->front, four->subframe), std::make_pair(0, 0)) << "after 104 updates";
}

TEST_F(BlinkingTest, CrossFadeDrawsBaseThenPreviousFrontThenTheFadingOne)
{
    const auto s = cross_fade({"green", "blue"}, 1, 10);
    ASSERT_TRUE(s);
    struct Expectation {
        int front, subframe;
        Rgb colour;
    };
    const Expectation expectations[] = {
        {0, 0, kRed},                        // the base alone
        {0, 13, blend(kGreen, kRed, 130)},   // the first front fading in over the base
        {1, 0, kGreen},                      // it is opaque, the second at alpha 0
        {1, 25, blend(kBlue, kGreen, 250)},  // the second fading in over the first
        {2, 20, blend(kRed, kBlue, 200)},    // the base fading back in over the second
    };
    for (const Expectation& e : expectations) {
        s->front = e.front;
        s->subframe = e.subframe;
        const Rgb seen = drawn(s.get());
        EXPECT_TRUE(near(seen, e.colour, kBlendTolerance))
            << "front " << e.front << " subframe " << e.subframe << ": expected " << e.colour << ", got " << seen;
    }
}

// The colours drawn frame by frame (draw, then update) at the ladders' edges:
// steps of 255 and more cut from picture to picture, and blinking off never
// moves. Step 0 is step 50; blinking off loads no ladder; any enable byte
// but 0 switches blinking on.
TEST_F(BlinkingTest, EdgeStepsAndBlinkingOffDrawTheirColoursFrameByFrame)
{
    const struct {
        const char* what;
        bool overlay;
        Uint8 enable;
        int step;
        std::vector<Rgb> colours;
    } rows[] = {
        {"cross-fade, step 255", false, 1, 255, {kRed, kGreen, kBlue, kRed, kGreen}},
        {"cross-fade, step 256", false, 1, 256, {kRed, kGreen, kBlue, kRed, kGreen}},
        {"cross-fade, blinking off", false, 0, 10, {kRed, kRed, kRed, kRed, kRed}},
        {"overlay, step 255", true, 1, 255, {kRed, kGreen, kGreen, kRed, kRed, kGreen, kGreen, kRed}},
        {"overlay, step 256", true, 1, 256, {kRed, kRed, kRed, kRed}},
        {"overlay, blinking off", true, 0, 20, {kRed, kRed, kRed, kRed}},
    };
    for (const auto& row : rows) {
        const long loads_before = harness::load_count();
        const auto fade = row.overlay ? nullptr : cross_fade({"green", "blue"}, row.enable, row.step);
        const auto blink = row.overlay ? blinking(row.enable, row.step) : nullptr;
        ASSERT_TRUE(fade || blink) << row.what;
        // Blinking off: the base and the overlay, or the base and each front
        // (the base again last).
        if (row.enable == 0) {
            EXPECT_EQ(harness::load_count() - loads_before, row.overlay ? 2 : 4) << row.what << ": no ladder";
        }
        for (size_t frame = 0; frame < row.colours.size(); ++frame) {
            EXPECT_EQ(fade ? drawn(fade.get()) : drawn(blink.get()), row.colours[frame]) << row.what << ", " << frame;
            if (fade) update_complex_blinking(fade.get());
            if (blink) update_simple_blinking(blink.get());
        }
    }
    const auto step_0 = cross_fade({"green"}, 1, 0), any_byte = cross_fade({"green"}, 7, 100);
    const auto overlay_step_0 = blinking(1, 0), overlay_any_byte = blinking(200, 100);
    ASSERT_TRUE(step_0 && any_byte && overlay_step_0 && overlay_any_byte);
    EXPECT_EQ(std::make_pair(step_0->max_subframe, overlay_step_0->ladder[5]->format->alpha),
              std::make_pair(6, Uint8{250}));
    EXPECT_EQ(std::make_pair(any_byte->enabled, overlay_any_byte->enabled), std::make_pair(Uint8{1}, Uint8{1}));
}

TEST_F(BlinkingTest, OverlayRisesAndFallsShowingEachEndTwice)
{
    const auto three = blinking(1, 85);  // copies 0 to 3
    ASSERT_TRUE(three);
    EXPECT_EQ(three->count, 3);
    EXPECT_EQ(shown_indices(three.get(), 16), (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3, 3, 2, 1, 0}));
    const auto twelve = blinking(1, 20);  // copies 0 to 12: a period of 26 frames
    const std::vector<int> shown = shown_indices(twelve.get(), 78);
    for (size_t i = 0; i + 26 < shown.size(); ++i) ASSERT_EQ(shown[i], shown[i + 26]) << "frame " << i;
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 12);
    // Past 255 the ladder is its invisible copy alone: each update only turns.
    const long loads_before = harness::load_count();
    const auto single = blinking(1, 256);
    ASSERT_TRUE(single);
    EXPECT_EQ(std::make_tuple(harness::load_count() - loads_before, single->count, single->ladder[0]->format->alpha),
              std::make_tuple(3L, 0, Uint8{0}));
    std::vector<int> falling;
    for (int i = 0; i < 4; ++i, update_simple_blinking(single.get())) falling.push_back(single->falling);
    EXPECT_EQ(std::make_pair(falling, single->index), std::make_pair(std::vector<int>{0, 1, 0, 1}, 0));
}

// An overlay smaller or larger than its base is drawn from the base's corner
// by every draw form, through a whole fade: where the form's window of the
// overlay reaches, its ladder copy blends over the base or the target, but
// for its key colour. A blinking decor's window is the base's size, so it
// cuts a larger overlay at the base's edges.
TEST_F(BlinkingTest, OverlaysOfAnotherSizeDrawFromTheBasesCornerInEveryForm)
{
    const auto wide = [](int x) { return x == 4 ? kMagenta : kBlue; };  // the key colour in column 4
    write_bmp(path("wide"), 30, 14, [&](int x, int) { return wide(x); });
    constexpr int kStep = 85;
    const SDL_Rect window{2, 1, 12, 6}, base_window{0, 0, 20, 10};
    // Each form draws the surface, or the decor, through `src` at `at` where
    // it takes them (both stand at (3, 2)).
    const struct {
        const char* name;
        const SDL_Rect* src;  // the window each image is drawn through; null: the whole image
        SDL_Rect at;          // where the form places it
        void (*draw)(simple_surface*, sblink_decor*, SDL_Surface*, SDL_Rect src, SDL_Rect at);
    } forms[] = {
        {"plain", nullptr, {3, 2, 0, 0}, [](auto s, auto, auto t, auto, auto) { blit_simple_blinking_surface(s, t); }},
        {"_from",
         &window,
         {3, 2, 0, 0},
         [](auto s, auto, auto t, auto src, auto) { blit_simple_blinking_surface_from(s, t, src); }},
        {"_from_to",
         &window,
         {5, 4, 0, 0},
         [](auto s, auto, auto t, auto src, auto at) { blit_simple_blinking_surface_from_to(s, t, src, at); }},
        {"sblink_decor", &base_window, {3, 2, 0, 0}, [](auto, auto d, auto t, auto, auto) { blit_sblink_decor(d, t); }},
    };
    // The column of a w x h image that a draw through `src` places at (x, y)
    // when drawn at `at`; -1 where it draws nothing.
    const auto column_at = [](const SDL_Rect* src, int w, int h, SDL_Rect at, int x, int y) {
        const SDL_Rect r = src != nullptr ? *src : SDL_Rect{0, 0, Uint16(w), Uint16(h)};
        const bool in =
            x >= at.x && y >= at.y && x < at.x + std::min(int(r.w), w - r.x) && y < at.y + std::min(int(r.h), h - r.y);
        return in ? r.x + x - at.x : -1;
    };
    using Overlay = std::tuple<const char*, Rgb (*)(int column), int, int>;
    for (const auto& [overlay, colour, w, h] :
         {Overlay{"black", [](int) { return kBlack; }, 6, 8}, {"wide", wide, 30, 14}}) {
        const anim::owned_simple_surface s(
            create_simple_surface(path("red").c_str(), path(overlay).c_str(), 1, kStep, 3, 2, 255, 0, 255));
        const anim::owned_sblink_decor d(create_sblink_decor(
            create_simple_surface(path("red").c_str(), path(overlay).c_str(), 1, kStep, 0, 0, 255, 0, 255), 3, 2));
        ASSERT_TRUE(s && d) << SDL_GetError();
        EXPECT_EQ(std::make_pair(s->w, s->h), std::make_pair(20, 10)) << overlay << ": the base's size";
        d->hidden = 0;
        for (const auto& form : forms) {
            SCOPED_TRACE(std::string(overlay) + ", " + form.name);
            // The decor's surface is updated with s, so it shows the same copy.
            for (int frame = 0; frame < 2 * (s->count + 1); ++frame) {
                SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, kWhite.r, kWhite.g, kWhite.b));
                form.draw(s.get(), d.get(), target, form.src != nullptr ? *form.src : SDL_Rect{}, form.at);
                for (int y = 0; y < target->h; ++y)
                    for (int x = 0; x < target->w; ++x) {
                        Rgb expected = column_at(form.src, 20, 10, form.at, x, y) >= 0 ? kRed : kWhite;
                        const int column = column_at(form.src, w, h, form.at, x, y);
                        if (column >= 0 && !(colour(column) == kMagenta))
                            expected = blend(colour(column), expected, ladder_alpha(kStep, s->index));
                        ASSERT_TRUE(near(at(x, y), expected, kBlendTolerance))
                            << "frame " << frame << " at " << x << ", " << y << ": expected " << expected << ", got "
                            << at(x, y);
                    }
                update_simple_blinking(s.get());
                update_sblink_decor(d.get());
            }
        }
    }
}

// A fade that plays once climbs or descends the blinking's ladder and stays
// at its end (the top opaque when the step divides 255); blinking resumes by
// turning at the end it stayed on.
TEST_F(BlinkingTest, OverlayFadesInOrOutOnceAndStays)
{
    const auto s = blinking(1, 100);  // copies 0 to 2, the top at alpha 200
    ASSERT_TRUE(s);
    EXPECT_EQ(shown_indices(s.get(), 4, fade_in_simple_blinking), (std::vector<int>{0, 1, 2, 2}));
    EXPECT_TRUE(near(drawn(s.get()), blend(kGreen, kRed, 200), kBlendTolerance)) << drawn(s.get());
    EXPECT_EQ(shown_indices(s.get(), 4, fade_out_simple_blinking), (std::vector<int>{2, 1, 0, 0}));
    EXPECT_EQ(drawn(s.get()), kRed);
    EXPECT_EQ(shown_indices(s.get(), 3), (std::vector<int>{0, 0, 1}));
    const auto opaque = blinking(1, 85), off = blinking(0, 85);
    for (int i = 0; i < 4; ++i) fade_in_simple_blinking(opaque.get()), fade_in_simple_blinking(off.get());
    EXPECT_EQ(drawn(opaque.get()), kGreen);
    EXPECT_EQ(drawn(off.get()), kRed) << "blinking off";
}

}  // namespace
