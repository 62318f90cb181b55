// blink_art: a cottage under a changing sky, and a running child.
#include "blink_art.h"

#include "blink_sprite_test.h"
#include "canvas.h"
#include "figure.h"

#include <array>
#include <cmath>

namespace assets {

namespace {

namespace fade = blink_test;

// The programs' key colour: magenta.
constexpr Rgb kMagenta{fade::kKey.r, fade::kKey.g, fade::kKey.b};

// Colours of one time of day.
struct Palette {
    Rgb sky_top, sky_bottom;
    Rgb far_hill, near_hill;
    Rgb wall, roof, door;
    Rgb trunk, leaves;
    Rgb light;  // sun or moon
};

// Where the sun or moon stands, and whether there are stars.
struct Sky {
    double light_x, light_y, light_radius;
    bool moon;
};

constexpr int kFadeW = fade::kWidth;
constexpr int kFadeH = fade::kHeight;

int far_ridge(int x)
{
    return static_cast<int>(30 + 4 * std::sin(x * 0.07) + 2 * std::sin(x * 0.19 + 1.0));
}

int near_ridge(int x)
{
    return static_cast<int>(38 + 3 * std::sin(x * 0.05 + 2.0) + 1.5 * std::sin(x * 0.23));
}

// One time of day of the scene. `window` is the colour of the cottage window:
// lamplight in the base picture, the key colour in the fronts so that the
// base's lit window shows through at every hour.
void draw_cottage_scene(Canvas& c, const Palette& p, const Sky& sky, Rgb window)
{
    c.vertical_gradient(0, kFadeH - 1, p.sky_top, p.sky_bottom);
    if (sky.moon) {
        // Stars, placed by a fixed scatter so every run draws the same sky.
        for (int i = 0; i < 24; ++i) {
            const int x = (i * 37 + 11) % kFadeW;
            const int y = (i * 23 + 5) % 26;
            c.set(x, y, i % 3 == 0 ? Rgb{255, 255, 220} : Rgb{170, 180, 220});
        }
        c.fill_circle(sky.light_x, sky.light_y, sky.light_radius, p.light);
        c.fill_circle(sky.light_x + 2.5, sky.light_y - 1.5, sky.light_radius, p.sky_top);
    } else {
        c.fill_circle(sky.light_x, sky.light_y, sky.light_radius + 2, mix(p.light, p.sky_bottom, 0.6));
        c.fill_circle(sky.light_x, sky.light_y, sky.light_radius, p.light);
    }
    std::array<int, kFadeW> far{}, near{};
    for (int x = 0; x < kFadeW; ++x) {
        far[static_cast<size_t>(x)] = far_ridge(x);
        near[static_cast<size_t>(x)] = near_ridge(x);
    }
    c.fill_below(far.data(), p.far_hill);
    c.fill_below(near.data(), p.near_hill);

    // The cottage on the near hill.
    c.fill_rect(8, 28, 18, 12, p.wall);
    const double roof_x[] = {5, 17, 29};
    const double roof_y[] = {29, 20, 29};
    c.fill_polygon(roof_x, roof_y, 3, p.roof);
    c.fill_rect(21, 21, 3, 6, p.roof);
    c.fill_rect(11, 31, 5, 4, window);
    c.fill_rect(19, 32, 4, 8, p.door);

    // A round tree beside it.
    c.fill_rect(36, 31, 2, 9, p.trunk);
    c.fill_circle(37, 28, 6, p.leaves);
    c.fill_circle(34, 31, 4, p.leaves);
}

// Base: night; fronts: dawn, noon, dusk. The base fades back in after dusk.
constexpr Palette kNight{{12, 16, 48}, {40, 46, 96}, {28, 40, 70}, {20, 48, 44}, {70, 64, 86},
                         {60, 36, 48}, {40, 30, 36}, {30, 24, 24}, {18, 54, 40}, {240, 236, 200}};
constexpr Palette kDawn{{90, 110, 180}, {250, 170, 120}, {110, 110, 150}, {70, 120, 80}, {230, 200, 170},
                        {170, 70, 60},  {110, 70, 50},   {80, 60, 40},    {60, 130, 70}, {255, 220, 120}};
constexpr Palette kNoon{{70, 150, 230}, {180, 220, 250}, {110, 160, 120}, {80, 170, 70}, {245, 235, 215},
                        {200, 60, 50},  {130, 80, 50},   {100, 70, 40},   {50, 150, 60}, {255, 250, 190}};
constexpr Palette kDusk{{60, 40, 110}, {240, 110, 80}, {90, 60, 100}, {60, 80, 60}, {190, 150, 150},
                        {140, 50, 60}, {90, 50, 50},   {60, 40, 40},  {40, 90, 60}, {255, 160, 80}};

constexpr Rgb kLamplight{255, 210, 90};

// The runner of blink_sprite_test: a red shirt and a yellow scarf.
constexpr Outfit kRunnerOutfit{{240, 196, 150}, {90, 50, 30}, {222, 64, 52},  {170, 44, 40}, {48, 78, 150},
                               {34, 56, 112},   {40, 34, 40}, {250, 200, 40}, false};

std::string join(const std::string& dir, const char* name)
{
    return dir + "/" + name;
}

// Draws one picture and saves it; false when it cannot be written.
bool save_scene(const std::string& path, const Palette& p, const Sky& sky, Rgb window)
{
    Canvas c(kFadeW, kFadeH, p.sky_top);
    draw_cottage_scene(c, p, sky, window);
    return c.save(path);
}

}  // namespace

bool write_cross_fade_pictures(const std::string& dir)
{
    const char* const* fronts = fade::kFronts;
    return save_scene(join(dir, fade::kBackdrop), kNight, {46, 9, 5, true}, kLamplight) &&
           save_scene(join(dir, fronts[0]), kDawn, {90, 27, 6, false}, kMagenta) &&
           save_scene(join(dir, fronts[1]), kNoon, {62, 8, 6, false}, kMagenta) &&
           save_scene(join(dir, fronts[2]), kDusk, {47, 27, 7, false}, kMagenta);
}

bool write_runner_pictures(const std::string& dir)
{
    const char* const* frames = blink_sprite_test::kRunner;
    int count = 0;
    while (frames[count] != nullptr) ++count;
    for (int i = 0; i < count; ++i) {
        Canvas c(40, 50, kMagenta);
        Pen pen(c, 0, 0, 1);
        draw_runner(pen, static_cast<double>(i) / count, kRunnerOutfit);
        if (!c.save(join(dir, frames[i]))) return false;
    }
    return true;
}

}  // namespace assets
