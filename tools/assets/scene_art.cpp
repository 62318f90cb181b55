// scene_art: a winter valley, a snowy path, a lantern, ice crystals, an ice
// peak, a running child and a hot-air balloon.
//
// Window rows: the platform image starts at row 112 and its path at image
// row 112 (window row 224), where the child's feet and the ice peak's foot
// stand. Decors and blinking images are keyed black, sprites white: neither
// key colour appears where a picture should show.
#include "scene_art.h"

#include "canvas.h"
#include "figure.h"
#include "scene_demo.h"
#include "soft_picture.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace assets {

namespace {

namespace facts = scene_demo;
namespace pictures = scene_demo::pictures;

constexpr Rgb kKeyBlack{facts::kDecorKey.r, facts::kDecorKey.g, facts::kDecorKey.b};
constexpr Rgb kKeyWhite{facts::kSpriteKey.r, facts::kSpriteKey.g, facts::kSpriteKey.b};

constexpr Rgb kSnow{236, 242, 250};
constexpr Rgb kSnowShade{196, 212, 234};
constexpr Rgb kSnowDeep{168, 188, 220};
constexpr Rgb kPine{34, 86, 70};
constexpr Rgb kPineDark{22, 62, 54};
constexpr Rgb kBark{92, 64, 48};

// The path's top, in platform image rows (window row 224).
constexpr int kPathTop = 112;
constexpr int kPlatformW = facts::kWorldWidth;  // the ground spans the world
constexpr int kPlatformH = 144;

// The hero: a blue coat and a red knitted hat and scarf.
constexpr Outfit kHeroOutfit{{240, 196, 150}, {96, 56, 34}, {52, 104, 196}, {38, 76, 150}, {64, 56, 78},
                             {46, 40, 58},    {60, 40, 36}, {214, 48, 56},  true};

// Pseudo-random but fixed: the same pictures on every build.
double hash01(int n)
{
    unsigned h = static_cast<unsigned>(n) * 2654435761u;
    h ^= h >> 13;
    h *= 1274126177u;
    return (h & 0xffffu) / 65535.0;
}

void pine(Canvas& c, double x, double base, double height, Rgb body, Rgb snow)
{
    c.fill_rect(static_cast<int>(x) - 1, static_cast<int>(base - height * 0.18), 3, static_cast<int>(height * 0.18) + 1,
                kBark);
    for (int tier = 0; tier < 3; ++tier) {
        const double top = base - height + tier * height * 0.24;
        const double bottom = top + height * 0.42;
        const double half = height * (0.18 + 0.08 * tier);
        const double xs[] = {x, x + half, x - half};
        const double ys[] = {top, bottom, bottom};
        c.fill_polygon(xs, ys, 3, body);
        const double sx[] = {x, x + half * 0.45, x - half * 0.45};
        const double sy[] = {top, top + height * 0.12, top + height * 0.12};
        c.fill_polygon(sx, sy, 3, snow);
    }
}

void background(Canvas& c)
{
    c.vertical_gradient(0, 175, Rgb{38, 62, 128}, Rgb{196, 214, 238});
    c.vertical_gradient(176, 255, Rgb{206, 220, 240}, Rgb{226, 234, 246});
    // A low winter sun with its halo.
    c.fill_circle(196, 60, 20, Rgb{214, 222, 240});
    c.fill_circle(196, 60, 14, Rgb{246, 236, 200});
    c.fill_circle(196, 60, 10, Rgb{255, 248, 222});
    // Soft clouds.
    for (int i = 0; i < 5; ++i) {
        const double x = 20 + i * 52 + 10 * hash01(i);
        const double y = 30 + 24 * hash01(i + 7);
        c.fill_ellipse(x, y, 18, 5, Rgb{150, 170, 210});
        c.fill_ellipse(x + 8, y - 3, 11, 5, Rgb{166, 184, 220});
    }
    // Two ranges of mountains, the far one paler, both capped with snow.
    std::vector<int> far(256), near(256);
    for (int x = 0; x < 256; ++x) {
        const double far_h = 118 + 22 * std::sin(x * 0.031 + 1.2) + 9 * std::sin(x * 0.087) + 4 * std::sin(x * 0.23);
        const double near_h = 150 + 16 * std::sin(x * 0.043 + 3.0) + 7 * std::sin(x * 0.11 + 0.5);
        far[static_cast<size_t>(x)] = static_cast<int>(far_h);
        near[static_cast<size_t>(x)] = static_cast<int>(near_h);
    }
    for (int x = 0; x < 256; ++x) {
        const int top = far[static_cast<size_t>(x)];
        c.fill_rect(x, top, 1, 256 - top, Rgb{122, 142, 186});
        c.fill_rect(x, top, 1, std::max(0, 132 - top) + 3, Rgb{226, 232, 246});
    }
    for (int x = 0; x < 256; ++x) {
        const int top = near[static_cast<size_t>(x)];
        c.fill_rect(x, top, 1, 256 - top, Rgb{92, 116, 164});
        c.fill_rect(x, top, 1, std::max(0, 156 - top) + 4, Rgb{218, 228, 244});
    }
    for (int i = 0; i < 14; ++i) {
        const double x = 8 + i * 18.5 + 6 * hash01(i + 20);
        pine(c, x, near[static_cast<size_t>(x)] + 14.0, 16 + 6 * hash01(i + 40), Rgb{58, 92, 110}, Rgb{176, 196, 224});
    }
    c.fill_rect(0, 200, 256, 56, Rgb{206, 220, 240});
}

// Top row of the snowy hills of the platform at column x; the hill under the
// lantern (columns 78 to 94) peaks at row 48.
int hill_top(int x)
{
    const double lantern_hill = 16 * std::exp(-std::pow((x - 86) / 34.0, 2));
    return static_cast<int>(64 - lantern_hill + 7 * std::sin(x * 0.037 + 0.4) * (1 - lantern_hill / 16) +
                            4 * std::sin(x * 0.11));
}

void platform(Canvas& c)
{
    // Hills, shaded towards their foot, with pines on them.
    for (int x = 0; x < kPlatformW; ++x) {
        const int top = hill_top(x);
        for (int y = top; y < kPathTop; ++y) {
            const double t = static_cast<double>(y - top) / (kPathTop - top);
            c.set(x, y, mix(kSnow, kSnowShade, t * 0.8));
        }
        c.set(x, top, Rgb{250, 252, 255});
    }
    for (int i = 0; i < 22; ++i) {
        const double x = 14 + i * 23.3 + 9 * hash01(i + 3);
        if (x > 60 && x < 112) continue;  // the lantern's hill stays clear
        pine(c, x, hill_top(static_cast<int>(x)) + 12 + 10 * hash01(i + 9), 26 + 14 * hash01(i + 5), kPine, kSnow);
    }
    // A wooden fence along the back of the path.
    for (int x = 4; x < kPlatformW; x += 16) c.fill_rect(x, kPathTop - 14, 3, 14, Rgb{120, 86, 60});
    c.fill_rect(0, kPathTop - 11, kPlatformW, 2, Rgb{138, 100, 70});
    c.fill_rect(0, kPathTop - 5, kPlatformW, 2, Rgb{138, 100, 70});
    // The path: packed snow with wheel ruts.
    c.vertical_gradient(kPathTop, kPlatformH - 1, kSnowShade, kSnowDeep);
    for (int y = kPathTop; y < kPlatformH; ++y) {
        const Rgb row = c.get(0, y);
        for (int x = 0; x < kPlatformW; ++x) c.set(x, y, row);
    }
    c.fill_rect(0, kPathTop, kPlatformW, 2, kSnow);
    c.fill_rect(0, kPathTop + 10, kPlatformW, 1, kSnowDeep);
    c.fill_rect(0, kPathTop + 20, kPlatformW, 1, kSnowDeep);
    // Snow mounds along the front edge.
    for (int i = 0; i < 16; ++i) c.fill_ellipse(16 + i * 32 + 8 * hash01(i), kPlatformH + 2, 18, 9, kSnow);
}

// An ice peak standing on the path; its foot is on row 55, the last row of
// the 71 x 56 window cut from it. A low drift lies to its right, beyond the
// window, and comes into view as the peak slides out of the scene.
void ice_peak(Canvas& c)
{
    const double body_x[] = {4, 22, 30, 38, 52, 66};
    const double body_y[] = {56, 20, 26, 2, 24, 56};
    c.fill_polygon(body_x, body_y, 6, Rgb{150, 200, 230});
    const double light_x[] = {22, 30, 38, 34, 24, 12};
    const double light_y[] = {20, 26, 2, 30, 34, 50};
    c.fill_polygon(light_x, light_y, 6, Rgb{206, 236, 250});
    const double shade_x[] = {38, 52, 66, 50};
    const double shade_y[] = {2, 24, 56, 56};
    c.fill_polygon(shade_x, shade_y, 4, Rgb{104, 156, 204});
    c.thick_line(38, 4, 34, 30, 1.5, Rgb{240, 250, 255});
    c.fill_ellipse(35, 56, 34, 6, kSnow);
    c.fill_ellipse(84, 62, 16, 9, kSnow);
    c.fill_ellipse(80, 58, 9, 5, Rgb{250, 252, 255});
}

// A lantern on a post: unlit (the base) and its glow (the overlay).
void lantern(Canvas& c, bool glow)
{
    if (glow) {
        for (int r = 9; r >= 3; r -= 2) {
            const double t = (9 - r) / 6.0;
            c.fill_circle(8, 9, r, mix(Rgb{150, 110, 30}, Rgb{255, 226, 120}, t));
        }
        c.fill_rect(5, 6, 6, 7, Rgb{255, 246, 190});
        return;
    }
    c.fill_rect(7, 14, 2, 30, Rgb{70, 58, 56});
    c.fill_rect(5, 42, 6, 2, Rgb{70, 58, 56});
    c.fill_rect(4, 5, 8, 9, Rgb{58, 52, 60});
    c.fill_rect(5, 6, 6, 7, Rgb{104, 110, 132});
    c.fill_rect(3, 3, 10, 2, Rgb{58, 52, 60});
    c.fill_rect(7, 1, 2, 2, Rgb{58, 52, 60});
    c.fill_rect(3, 2, 10, 1, kSnow);
}

// Ice crystals by the path (the base) and their sparkle (the overlay).
void crystals(Canvas& c, bool sparkle)
{
    struct Shard {
        double x, top, half;
    };
    const Shard shards[] = {{8, 16, 4}, {15, 4, 5}, {22, 18, 4}, {12, 26, 3}};
    for (const Shard& s : shards) {
        const double xs[] = {s.x, s.x + s.half, s.x + s.half * 0.6, s.x - s.half * 0.6, s.x - s.half};
        const double ys[] = {s.top, s.top + 6, 43, 43, s.top + 6};
        if (!sparkle) {
            c.fill_polygon(xs, ys, 5, Rgb{120, 170, 226});
            c.thick_line(s.x, s.top + 1, s.x - s.half * 0.3, 40, 1.2, Rgb{196, 228, 252});
        } else {
            c.fill_polygon(xs, ys, 5, Rgb{170, 214, 250});
            c.thick_line(s.x, s.top + 1, s.x - s.half * 0.3, 40, 1.6, Rgb{246, 252, 255});
        }
    }
    c.fill_ellipse(14, 43, 13, 3, kSnow);
    if (sparkle) {
        for (const Shard& s : shards) {
            const double x = s.x + 0.5, y = s.top + 2;
            c.thick_line(x - 3, y, x + 3, y, 1, Rgb{255, 255, 250});
            c.thick_line(x, y - 3, x, y + 3, 1, Rgb{255, 255, 250});
        }
    }
}

// Falling snowflakes on the key colour: the snow picture, never shown.
void snow(Canvas& c)
{
    for (int i = 0; i < 160; ++i) c.fill_circle(256 * hash01(i), 256 * hash01(i + 500), 1 + hash01(i + 900), kSnow);
}

// A hot-air balloon, 40 x 56: red and cream gores, a wicker basket. The
// closed balloon swings a sandbag under its basket (frames 0 to 2); the open
// one has its burner lit (frames 0 and 1).
void balloon(Canvas& c, int frame, bool burning)
{
    const Rgb red{206, 52, 60};
    const Rgb cream{246, 234, 206};
    const Rgb rope{110, 84, 60};
    // Nested ellipses of one height make curved vertical stripes.
    const double gores[] = {17, 11.5, 6.5, 2};
    for (int i = 0; i < 4; ++i) c.fill_ellipse(20, 19, gores[i], 18, i % 2 == 0 ? red : cream);
    const double neck_x[] = {9, 31, 25, 15};
    const double neck_y[] = {30, 30, 40, 40};
    c.fill_polygon(neck_x, neck_y, 4, red);
    c.fill_rect(15, 38, 10, 2, Rgb{150, 36, 44});
    c.thick_line(15, 40, 14, 46, 1, rope);
    c.thick_line(25, 40, 26, 46, 1, rope);
    c.fill_rect(13, 46, 14, 8, Rgb{164, 116, 64});
    c.fill_rect(13, 46, 14, 2, Rgb{120, 82, 44});
    c.fill_rect(13, 50, 14, 1, Rgb{140, 98, 54});
    if (burning) {
        const double tall = frame == 0 ? 6 : 8;
        const double fx[] = {17, 23, 20};
        const double fy[] = {43, 43, 43 - tall};
        c.fill_polygon(fx, fy, 3, Rgb{250, 150, 40});
        const double ix[] = {18.5, 21.5, 20};
        const double iy[] = {43, 43, 43 - tall * 0.55};
        c.fill_polygon(ix, iy, 3, Rgb{255, 232, 120});
    } else {
        // A sandbag on a short rope from the basket's corner.
        const double swing[] = {0, 1.5, -1.5};
        const double bag_x = 29 + swing[frame % 3];
        c.thick_line(27, 51, bag_x, 54, 1, rope);
        c.fill_ellipse(bag_x, 54.5, 1.8, 1.4, Rgb{196, 170, 120});
    }
}

// Saves `c` at `path` in `dir` (a path of scene_demo.h).
bool save(const Canvas& c, const std::string& dir, const char* path)
{
    return c.save(dir + "/" + path);
}

// The still scenery, keyed black: the sky, the ground, the ice peak, the
// snow, and the lantern and the crystals, each without and with its light.
bool write_scenery(const std::string& dir)
{
    Canvas sky(facts::kViewWidth, facts::kViewHeight, kSnow);
    background(sky);
    Canvas ground(kPlatformW, kPlatformH, kKeyBlack);
    platform(ground);
    Canvas peak(96, 72, kKeyBlack);
    ice_peak(peak);
    Canvas flakes(facts::kViewWidth, facts::kViewHeight, kKeyBlack);
    snow(flakes);
    Canvas lantern_off(16, 44, kKeyBlack), lantern_on(16, 44, kKeyBlack);
    lantern(lantern_off, false);
    lantern(lantern_on, true);
    Canvas crystals_dull(28, 43, kKeyBlack), crystals_bright(28, 43, kKeyBlack);
    crystals(crystals_dull, false);
    crystals(crystals_bright, true);
    return save(sky, dir, pictures::kBackground) && save(ground, dir, pictures::kPlatform) &&
           save(peak, dir, pictures::kIcePeak) && save(flakes, dir, pictures::kSnow) &&
           save(lantern_off, dir, pictures::kLantern) && save(lantern_on, dir, pictures::kLanternGlow) &&
           save(crystals_dull, dir, pictures::kCrystals) && save(crystals_bright, dir, pictures::kCrystalsGlow);
}

// The hero, 32 x 35, running and standing, and the balloon, closed and
// burning, keyed white.
bool write_characters(const std::string& dir)
{
    bool ok = true;
    for (size_t i = 0; ok && i < std::size(pictures::kRunning); ++i) {
        Canvas frame(32, 35, kKeyWhite);
        Pen pen(frame, 2, 0, 0.7);
        draw_runner(pen, static_cast<double>(i) / std::size(pictures::kRunning), kHeroOutfit);
        ok = save(frame, dir, pictures::kRunning[i]);
    }
    for (size_t i = 0; ok && i < std::size(pictures::kWaiting); ++i) {
        Canvas frame(32, 35, kKeyWhite);
        Pen pen(frame, 2, 0, 0.7);
        draw_standing(pen, static_cast<int>(i), kHeroOutfit);
        ok = save(frame, dir, pictures::kWaiting[i]);
    }
    for (size_t i = 0; ok && i < std::size(pictures::kClosedBalloon); ++i) {
        Canvas frame(40, 56, kKeyWhite);
        balloon(frame, static_cast<int>(i), false);
        ok = save(frame, dir, pictures::kClosedBalloon[i]);
    }
    for (size_t i = 0; ok && i < std::size(pictures::kOpenBalloon); ++i) {
        Canvas frame(40, 56, kKeyWhite);
        balloon(frame, static_cast<int>(i), true);
        ok = save(frame, dir, pictures::kOpenBalloon[i]);
    }
    return ok;
}

// The guide's scrolling example draws these, with soft edges: the hero's
// frames as two sprite sheets of 32 x 35 cells, running (5 x 2) and
// waiting (3 x 1), and both as one sheet exported by a sprite editor with
// its JSON file of frames and tags; the balloon's frames as a sheet packed
// with a margin and a spacing; a fir tree in the snow with its shadow, the
// lantern's light as a soft glow, and the title: a translucent band, and its
// words that fade in over it.
constexpr const char* kRunningSheet = "Ressources/child/running.png";
constexpr const char* kWaitingSheet = "Ressources/child/waiting.png";
constexpr const char* kChildSheet = "child.png";  // beside its export
constexpr const char* kChildExport = "Ressources/child/child.json";
constexpr const char* kBalloonSheet = "Ressources/balloon/balloon_sheet.png";
constexpr const char* kFir = "Ressources/background/fir.png";
constexpr const char* kGlow = "Ressources/background/glow.png";
constexpr const char* kTitleBand = "Ressources/title/band.png";
constexpr const char* kTitleWords = "Ressources/title/words.png";
constexpr Rgb kKeyMagenta{255, 0, 255};  // no colour of the art

// A sheet of `count` frames of the hero, `columns` a row, each drawn by
// draw(pen, frame) kSubPixels times larger.
template <typename Draw>
bool write_sheet(const std::string& path, int count, int columns, Draw draw)
{
    SoftPicture sheet(32 * columns, 35 * ((count + columns - 1) / columns));
    for (int i = 0; i < count; ++i) {
        Canvas big(32 * kSubPixels, 35 * kSubPixels, kKeyMagenta);
        Pen pen(big, 2 * kSubPixels, 0, 0.7 * kSubPixels);
        draw(pen, i);
        sheet.cover(big, kKeyMagenta, i % columns * 32, i / columns * 35);
    }
    return sheet.save(path);
}

// The hero as a sprite editor exports it: its running frames, then its
// standing ones, on one sheet of 32 x 35 cells in rows of 5, and the JSON
// file of the editor's "hash" form beside it: each frame's rectangle and
// duration, a tag "run" of the running frames and a tag "wait" of the
// standing ones, played ping-pong.
bool write_child_export(const std::string& dir)
{
    const int running = static_cast<int>(std::size(pictures::kRunning));
    const int waiting = static_cast<int>(std::size(pictures::kWaiting));
    const std::string json_path = dir + "/" + kChildExport;
    const std::string folder = json_path.substr(0, json_path.rfind('/') + 1);
    if (!write_sheet(folder + kChildSheet, running + waiting, 5, [&](Pen& pen, int i) {
            if (i < running)
                draw_runner(pen, static_cast<double>(i) / running, kHeroOutfit);
            else
                draw_standing(pen, i - running, kHeroOutfit);
        }))
        return false;
    nlohmann::ordered_json frames = nlohmann::ordered_json::object();
    for (int i = 0; i < running + waiting; ++i) {
        const nlohmann::ordered_json rect = {{"x", i % 5 * 32}, {"y", i / 5 * 35}, {"w", 32}, {"h", 35}};
        frames["child " + std::to_string(i) + ".aseprite"] = {
            {"frame", rect},
            {"rotated", false},
            {"trimmed", false},
            {"spriteSourceSize", {{"x", 0}, {"y", 0}, {"w", 32}, {"h", 35}}},
            {"sourceSize", {{"w", 32}, {"h", 35}}},
            {"duration", i < running ? 50 : 300}};
    }
    const nlohmann::ordered_json tags = nlohmann::ordered_json::array(
        {{{"name", "run"}, {"from", 0}, {"to", running - 1}, {"direction", "forward"}},
         {{"name", "wait"}, {"from", running}, {"to", running + waiting - 1}, {"direction", "pingpong"}}});
    const nlohmann::ordered_json json = {{"frames", frames},
                                         {"meta",
                                          {{"version", "1.3"},
                                           {"image", kChildSheet},
                                           {"format", "RGBA8888"},
                                           {"size", {{"w", 5 * 32}, {"h", (running + waiting + 4) / 5 * 35}}},
                                           {"scale", "1"},
                                           {"frameTags", tags}}}};
    std::ofstream out(json_path);
    out << json.dump(1) << "\n";
    if (!out) SDL_SetError("cannot write %s", json_path.c_str());
    return static_cast<bool>(out);
}

// The closed balloon's frames (40 x 56, hard-edged) in a row on a sheet
// packed as sheet packers write one: transparent, a margin of 2 around the
// cells and a spacing of 2 between them.
bool write_balloon_sheet(const std::string& path)
{
    constexpr int kW = 40, kH = 56, kPadding = 2;
    const int frames = static_cast<int>(std::size(pictures::kClosedBalloon));
    SoftPicture sheet(2 * kPadding + frames * kW + (frames - 1) * kPadding, 2 * kPadding + kH);
    for (int i = 0; i < frames; ++i) {
        Canvas frame(kW, kH, kKeyWhite);
        balloon(frame, i, false);
        // Each pixel drawn as kSubPixels x kSubPixels sub-pixels: its edges stay hard.
        Canvas big(kW * kSubPixels, kH * kSubPixels, kKeyWhite);
        for (int y = 0; y < big.height(); ++y)
            for (int x = 0; x < big.width(); ++x) big.set(x, y, frame.get(x / kSubPixels, y / kSubPixels));
        sheet.cover(big, kKeyWhite, kPadding + i * (kW + kPadding), kPadding);
    }
    return sheet.save(path);
}

// A 40 x 64 fir tree laden with snow, its shadow a translucent blue on the
// snow at its foot.
bool write_fir(const std::string& path)
{
    SoftPicture fir(40, 64);
    Canvas shadow(40 * kSubPixels, 64 * kSubPixels, kKeyMagenta);
    shadow.fill_ellipse(21 * kSubPixels, 59 * kSubPixels, 18 * kSubPixels, 4 * kSubPixels, {70, 90, 150});
    fir.cover(shadow, kKeyMagenta, 0, 0, 0.45);
    Canvas tree(40 * kSubPixels, 64 * kSubPixels, kKeyMagenta);
    tree.fill_rect(18 * kSubPixels, 48 * kSubPixels, 4 * kSubPixels, 12 * kSubPixels, kBark);
    pine(tree, 20 * kSubPixels, 56 * kSubPixels, 54 * kSubPixels, kPine, kSnow);
    fir.cover(tree, kKeyMagenta, 0, 0);
    return fir.save(path);
}

// The lantern's light over its unlit picture (16 x 44): a glow that fades
// out from the lamp, its window lit.
bool write_glow(const std::string& path)
{
    SoftPicture glow(16, 44);
    for (int r = 8; r >= 2; --r) {
        Canvas ring(16 * kSubPixels, 44 * kSubPixels, kKeyMagenta);
        ring.fill_circle(8 * kSubPixels, 9 * kSubPixels, r * kSubPixels,
                         mix(Rgb{230, 140, 40}, Rgb{255, 230, 130}, (8 - r) / 6.0));
        glow.cover(ring, kKeyMagenta, 0, 0, 0.3);
    }
    Canvas window(16 * kSubPixels, 44 * kSubPixels, kKeyMagenta);
    window.fill_rect(5 * kSubPixels, 6 * kSubPixels, 6 * kSubPixels, 7 * kSubPixels, Rgb{255, 246, 190});
    glow.cover(window, kKeyMagenta, 0, 0);
    return glow.save(path);
}

// The title's letters as strokes through points of a 4 x 6 grid (y down),
// a stroke ending at a negative x.
struct Letter {
    char name;
    std::vector<double> points;  // x, y pairs
};
const Letter kLetters[] = {
    {'S', {4, 1, 3, 0, 1, 0, 0, 1, 0, 2, 1, 3, 3, 3, 4, 4, 4, 5, 3, 6, 1, 6, 0, 5}},
    {'N', {0, 6, 0, 0, 4, 6, 4, 0}},
    {'O', {1, 0, 3, 0, 4, 1, 4, 5, 3, 6, 1, 6, 0, 5, 0, 1, 1, 0}},
    {'W', {0, 0, 1, 6, 2, 2, 3, 6, 4, 0}},
    {'V', {0, 0, 2, 6, 4, 0}},
    {'A', {0, 6, 2, 0, 4, 6, -1, 0, 0.7, 4, 3.3, 4}},
    {'L', {0, 0, 0, 6, 4, 6}},
    {'E', {4, 0, 0, 0, 0, 6, 4, 6, -1, 0, 0, 3, 3, 3}},
    {'Y', {0, 0, 2, 3, 4, 0, -1, 0, 2, 3, 2, 6}},
};
constexpr const char* kTitle = "SNOW VALLEY";
constexpr int kTitleW = 204, kTitleH = 30;
constexpr double kGrid = 3.0, kAdvance = 18.0, kSpace = 9.0;  // pixels

// Draws `text` in strokes `width` pixels thick, kSubPixels times larger,
// centred in the title's picture.
void letters(Canvas& big, const char* text, double width, Rgb colour)
{
    double w = 0;
    for (const char* c = text; *c != '\0'; ++c) w += *c == ' ' ? kSpace : kAdvance;
    double left = (kTitleW - (w - kAdvance + 4 * kGrid)) / 2;
    const double top = (kTitleH - 6 * kGrid) / 2;
    const auto at = [&](double grid, double origin) { return (origin + grid * kGrid) * kSubPixels; };
    for (const char* c = text; *c != '\0'; left += *c == ' ' ? kSpace : kAdvance, ++c) {
        for (const Letter& letter : kLetters) {
            if (letter.name != *c) continue;
            const std::vector<double>& p = letter.points;
            for (size_t i = 2; i + 1 < p.size(); i += 2) {
                if (p[i] < 0 || p[i - 2] < 0) continue;
                big.thick_line(at(p[i - 2], left), at(p[i - 1], top), at(p[i], left), at(p[i + 1], top),
                               width * kSubPixels, colour);
            }
        }
    }
}

// The title's band: a translucent dusk-blue strip with rounded ends.
bool write_title_band(const std::string& path)
{
    SoftPicture band(kTitleW, kTitleH);
    Canvas strip(kTitleW * kSubPixels, kTitleH * kSubPixels, kKeyMagenta);
    const double r = (kTitleH - 4) / 2.0 * kSubPixels;
    strip.thick_line(2 * kSubPixels + r, kTitleH / 2.0 * kSubPixels, (kTitleW - 2) * kSubPixels - r,
                     kTitleH / 2.0 * kSubPixels, 2 * r, Rgb{30, 40, 80});
    band.cover(strip, kKeyMagenta, 0, 0, 0.45);
    return band.save(path);
}

// The title's words: snow-white strokes outlined in deep blue.
bool write_title_words(const std::string& path)
{
    SoftPicture words(kTitleW, kTitleH);
    Canvas strokes(kTitleW * kSubPixels, kTitleH * kSubPixels, kKeyMagenta);
    letters(strokes, kTitle, 4.0, Rgb{25, 35, 90});
    letters(strokes, kTitle, 2.0, Rgb{245, 250, 255});
    words.cover(strokes, kKeyMagenta, 0, 0);
    return words.save(path);
}

bool write_soft_pictures(const std::string& dir)
{
    const int running = static_cast<int>(std::size(pictures::kRunning));
    const int waiting = static_cast<int>(std::size(pictures::kWaiting));
    return write_sheet(dir + "/" + kRunningSheet, running, 5,
                       [&](Pen& pen, int i) { draw_runner(pen, static_cast<double>(i) / running, kHeroOutfit); }) &&
           write_sheet(dir + "/" + kWaitingSheet, waiting, waiting,
                       [](Pen& pen, int i) { draw_standing(pen, i, kHeroOutfit); }) &&
           write_child_export(dir) && write_balloon_sheet(dir + "/" + kBalloonSheet) && write_fir(dir + "/" + kFir) &&
           write_glow(dir + "/" + kGlow) && write_title_band(dir + "/" + kTitleBand) &&
           write_title_words(dir + "/" + kTitleWords);
}

}  // namespace

bool write_scene_pictures(const std::string& dir)
{
    return write_scenery(dir) && write_characters(dir) && write_soft_pictures(dir);
}

}  // namespace assets
