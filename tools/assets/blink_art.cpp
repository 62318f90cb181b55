// blink_art: a cottage under a changing sky, and a running child.
#include "blink_art.h"

#include "canvas.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace assets {

namespace {

constexpr Rgb kMagenta{255, 0, 255};
constexpr double kPi = 3.14159265358979323846;

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

constexpr int kFadeW = 100;
constexpr int kFadeH = 50;

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
constexpr Palette kNight{{12, 16, 48},  {40, 46, 96},   {28, 40, 70},  {20, 48, 44}, {70, 64, 86},
                         {60, 36, 48},  {40, 30, 36},   {30, 24, 24},  {18, 54, 40}, {240, 236, 200}};
constexpr Palette kDawn{{90, 110, 180}, {250, 170, 120}, {110, 110, 150}, {70, 120, 80}, {230, 200, 170},
                        {170, 70, 60},  {110, 70, 50},   {80, 60, 40},    {60, 130, 70}, {255, 220, 120}};
constexpr Palette kNoon{{70, 150, 230}, {180, 220, 250}, {110, 160, 120}, {80, 170, 70}, {245, 235, 215},
                        {200, 60, 50},  {130, 80, 50},   {100, 70, 40},   {50, 150, 60}, {255, 250, 190}};
constexpr Palette kDusk{{60, 40, 110},  {240, 110, 80},  {90, 60, 100},  {60, 80, 60},  {190, 150, 150},
                        {140, 50, 60},  {90, 50, 50},    {60, 40, 40},   {40, 90, 60},  {255, 160, 80}};

constexpr Rgb kLamplight{255, 210, 90};

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

// Pose of the runner at phase `t` in [0, 1) of its stride.
void draw_runner(Canvas& c, double t)
{
    const double phase = 2 * kPi * t;
    const Rgb skin{240, 196, 150};
    const Rgb hair{90, 50, 30};
    const Rgb shirt{222, 64, 52};
    const Rgb shirt_far{170, 44, 40};
    const Rgb trousers{48, 78, 150};
    const Rgb trousers_far{34, 56, 112};
    const Rgb shoe{40, 34, 40};
    const Rgb scarf{250, 200, 40};

    // The body rises a little as each foot pushes off.
    const double bob = -1.5 * std::fabs(std::sin(phase));
    const double hip_x = 19, hip_y = 30 + bob;
    const double neck_x = 22, neck_y = 17 + bob;

    // A leg: the thigh swings around the hip; the knee folds most while the
    // foot travels forward in the air.
    auto leg = [&](double leg_phase, Rgb cloth) {
        const double thigh = 0.65 * std::sin(leg_phase);
        const double fold = 0.25 + 1.1 * std::max(0.0, std::cos(leg_phase));
        const double knee_x = hip_x + 9 * std::sin(thigh);
        const double knee_y = hip_y + 9 * std::cos(thigh);
        const double shin = thigh - fold;
        const double foot_x = knee_x + 9 * std::sin(shin);
        const double foot_y = knee_y + 9 * std::cos(shin);
        c.thick_line(hip_x, hip_y, knee_x, knee_y, 4.5, cloth);
        c.thick_line(knee_x, knee_y, foot_x, foot_y, 4, cloth);
        c.thick_line(foot_x - 1, foot_y, foot_x + 3, foot_y, 3, shoe);
    };
    // An arm swings against the leg on its side, bent at the elbow.
    auto arm = [&](double arm_phase, Rgb cloth) {
        const double upper = -1.0 * std::sin(arm_phase);
        const double elbow_x = neck_x + 7 * std::sin(upper);
        const double elbow_y = neck_y + 2 + 7 * std::cos(upper);
        const double fore = upper + 1.2;
        const double hand_x = elbow_x + 6 * std::sin(fore);
        const double hand_y = elbow_y + 6 * std::cos(fore);
        c.thick_line(neck_x, neck_y + 2, elbow_x, elbow_y, 3.5, cloth);
        c.thick_line(elbow_x, elbow_y, hand_x, hand_y, 3, skin);
    };

    // Far limbs first, then the body, then the near limbs.
    leg(phase + kPi, trousers_far);
    arm(phase, shirt_far);
    c.thick_line(hip_x, hip_y, neck_x, neck_y + 2, 8, shirt);
    c.thick_line(neck_x - 3, neck_y + 1, neck_x + 3, neck_y + 1, 3, scarf);
    c.thick_line(neck_x - 3, neck_y + 1, neck_x - 8, neck_y + 3 + std::sin(phase), 2.5, scarf);
    c.fill_circle(neck_x + 2, neck_y - 7, 6, skin);
    c.fill_ellipse(neck_x + 1, neck_y - 10.5, 5.5, 3, hair);
    c.fill_circle(neck_x - 2.5, neck_y - 8, 2.5, hair);
    c.set(static_cast<int>(neck_x + 5), static_cast<int>(neck_y - 8), Rgb{30, 30, 40});
    leg(phase, trousers);
    arm(phase + kPi, shirt);
}

}  // namespace

bool write_cross_fade_pictures(const std::string& dir)
{
    return save_scene(join(dir, "img_fond.bmp"), kNight, {46, 9, 5, true}, kLamplight) &&
           save_scene(join(dir, "img_devant1.bmp"), kDawn, {90, 27, 6, false}, kMagenta) &&
           save_scene(join(dir, "img_devant2.bmp"), kNoon, {62, 8, 6, false}, kMagenta) &&
           save_scene(join(dir, "img_devant3.bmp"), kDusk, {47, 27, 7, false}, kMagenta);
}

bool write_runner_pictures(const std::string& dir)
{
    constexpr int kFrames = 10;
    for (int i = 0; i < kFrames; ++i) {
        Canvas c(40, 50, kMagenta);
        draw_runner(c, static_cast<double>(i) / kFrames);
        char name[16];
        std::snprintf(name, sizeof name, "x%02d.bmp", i + 2);
        if (!c.save(join(dir, name))) return false;
    }
    return true;
}

}  // namespace assets
