// anim_frame_cost: what a frame of a scene costs with its images in their
// files' format, in the display's (use_display_format), and converted by
// hand, the best SDL 1.2 allows: SDL_DisplayFormat, then a colour key (and
// the ladder copy's alpha) with SDL_RLEACCEL.
//
// The scene fills a window of any size: an opaque background as large as
// the window, a keyed foreground as large, half of it transparent, a fading
// overlay a quarter of the window (a simple blinking surface of step 10),
// and 50 keyed sprites of 48 x 48 in a grid. Its pictures are drawn here, as
// 24-bit BMP files, the form pictures most often come in.
//
//   anim_frame_cost frames <form> <depth> <width> <height> <frames>
//       draws and updates the scene for <frames> frames in measured_frames,
//       the function tools/frame_cost.py counts instructions in under
//       callgrind; <form> is files, display or hand
//   anim_frame_cost facts <depth> <width> <height>
//       prints, as one JSON object: each form's creation time, the bytes
//       a fade of a picture as large as the window holds in each toolkit
//       form, before and after its first draw, and how far the display and
//       hand forms' frames are from the files form's over a whole fade
//
// Run headless (SDL_VIDEODRIVER=dummy), through tools/bench.sh.
#include "anim/display_format.h"
#include "anim/lib_decors.h"
#include "anim/lib_simple_blinking.h"
#include "anim/lib_sprite.h"
#include "anim/owned.h"

#include <SDL.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The scene's numbers.
constexpr int kSprites = 50;
constexpr int kSpriteSize = 48;
constexpr int kSpriteFrames = 4;
constexpr int kOverlayStep = 10;
// The key colour of every picture: magenta.
constexpr Uint8 kKey[] = {255, 0, 255};

enum class Form : uint8_t { files, display, hand };

// Each form with its name, on the command line and in the facts.
struct NamedForm {
    const char* name;
    Form form;
};
constexpr NamedForm kForms[] = {{"files", Form::files}, {"display", Form::display}, {"hand", Form::hand}};

// A 24-bit picture of w x h pixels whose pixel (x, y) is paint(x, y), a
// 0xRRGGBB colour, saved as a BMP at `path`; false when SDL cannot.
bool draw_picture(const std::string& path, int w, int h, const std::function<Uint32(int, int)>& paint)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    if (s == nullptr) return false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Uint32 c = paint(x, y);
            Uint8* p =
                static_cast<Uint8*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch + static_cast<ptrdiff_t>(3) * x;
            p[0] = static_cast<Uint8>(c);
            p[1] = static_cast<Uint8>(c >> 8);
            p[2] = static_cast<Uint8>(c >> 16);
        }
    const bool saved = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return saved;
}

Uint32 rgb(double r, double g, double b)
{
    const auto level = [](double v) { return static_cast<Uint32>(std::clamp(v, 0.0, 255.0)); };
    return level(r) << 16 | level(g) << 8 | level(b);
}

constexpr Uint32 kKeyColour = 0xff00ff;

// The scene's pictures for a w x h window, in a folder of their own.
class Pictures {
public:
    Pictures(int w, int h)
        : dir_(std::filesystem::temp_directory_path() / ("anim-frame-cost-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(dir_);
        const int ow = std::max(1, w / 2), oh = std::max(1, h / 2);
        ok_ =
            draw_picture(path("sky.bmp"), w, h,
                         [&](int, int y) { return rgb(40 + 120.0 * y / h, 90 + 110.0 * y / h, 200 + 40.0 * y / h); }) &&
            // Hills over the lower half, the sky above them transparent.
            draw_picture(path("hills.bmp"), w, h,
                         [&](int x, int y) {
                             const double ridge =
                                 h * (0.5 + 0.08 * std::sin(x * 9.0 / w) + 0.04 * std::sin(x * 23.0 / w));
                             return y < ridge ? kKeyColour : rgb(60 - 30.0 * y / h, 120 - 40.0 * y / h, 70);
                         }) &&
            // A lamp's frame, and its glow, a disc that fades in and out.
            draw_picture(path("frame.bmp"), ow, oh,
                         [&](int x, int y) {
                             const bool edge = x < 4 || y < 4 || x >= ow - 4 || y >= oh - 4;
                             return edge ? rgb(90, 70, 40) : kKeyColour;
                         }) &&
            draw_picture(path("glow.bmp"), ow, oh,
                         [&](int x, int y) {
                             const double dx = (x - ow / 2.0) / (ow / 2.0), dy = (y - oh / 2.0) / (oh / 2.0);
                             const double d = std::sqrt(dx * dx + dy * dy);
                             return d > 0.95 ? kKeyColour : rgb(255, 230 - 80 * d, 120 - 100 * d);
                         }) &&
            // A row of four frames of a ball that turns.
            draw_picture(path("ball.bmp"), kSpriteSize * kSpriteFrames, kSpriteSize, [](int x, int y) {
                const int frame = x / kSpriteSize, cx = x % kSpriteSize;
                const double dx = cx - 23.5, dy = y - 23.5, d = std::sqrt(dx * dx + dy * dy);
                if (d > 23) return kKeyColour;
                const bool stripe = (static_cast<int>(dx + dy + 12 * frame) / 8) % 2 == 0;
                return stripe ? rgb(230 - 3 * d, 60, 50) : rgb(250 - 3 * d, 240 - 3 * d, 230 - 3 * d);
            });
    }
    ~Pictures() { std::filesystem::remove_all(dir_); }
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    bool ok() const { return ok_; }
    std::string path(const char* name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
    bool ok_ = false;
};

// The scene's objects.
struct Scene {
    anim::owned_decor background, foreground;
    anim::owned_simple_surface overlay;
    std::vector<anim::owned_sprite> sprites;
};

// Every surface a frame of the scene draws, by the field that holds it.
std::vector<SDL_Surface**> drawn_surfaces(Scene& s)
{
    std::vector<SDL_Surface**> drawn{&s.background->image, &s.foreground->image, &s.overlay->base};
    drawn.reserve(drawn.size() + static_cast<size_t>(s.overlay->count + 1) + s.sprites.size() * kSpriteFrames);
    for (int i = 0; i <= s.overlay->count; ++i) drawn.push_back(&s.overlay->ladder[i]);
    for (anim::owned_sprite& sprite : s.sprites)
        for (int i = 0; i < sprite->frame_count; ++i) drawn.push_back(&sprite->frames[i]);
    return drawn;
}

// `image` converted as a program would by hand: to the display's format,
// keyed (and given its alpha) with run-length encoding.
SDL_Surface* convert_by_hand(SDL_Surface* image)
{
    SDL_Surface* converted = SDL_DisplayFormat(image);
    if (converted == nullptr) return nullptr;
    SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL,
                    SDL_MapRGB(converted->format, kKey[0], kKey[1], kKey[2]));
    if ((image->flags & SDL_SRCALPHA) != 0) SDL_SetAlpha(converted, SDL_SRCALPHA | SDL_RLEACCEL, image->format->alpha);
    return converted;
}

// The scene for the current video mode, in `form`; null members when a
// creation fails (SDL_GetError() says why).
std::unique_ptr<Scene> make_scene(const Pictures& pictures, Form form)
{
    const SDL_Surface* screen = SDL_GetVideoSurface();
    const int w = screen->w, h = screen->h;
    use_display_format(form == Form::display ? 1 : 0);
    auto s = std::make_unique<Scene>();
    s->background.reset(create_decor(pictures.path("sky.bmp").c_str(), 0, 0, kKey[0], kKey[1], kKey[2]));
    s->foreground.reset(create_decor(pictures.path("hills.bmp").c_str(), 0, 0, kKey[0], kKey[1], kKey[2]));
    s->overlay.reset(create_simple_surface(pictures.path("frame.bmp").c_str(), pictures.path("glow.bmp").c_str(), 1,
                                           kOverlayStep, w / 4, h / 4, kKey[0], kKey[1], kKey[2]));
    const std::unique_ptr<sprite_sheet, decltype(&close_sprite_sheet)> sheet(
        open_sprite_sheet(pictures.path("ball.bmp").c_str(), kSpriteSize, kSpriteSize, 0, 0, kKey[0], kKey[1], kKey[2]),
        close_sprite_sheet);
    // Ten columns of five rows, spread over the window.
    s->sprites.reserve(kSprites);
    for (int i = 0; sheet && i < kSprites; ++i)
        s->sprites.emplace_back(create_sprite_from_row(sheet.get(), 0, 0, (i % 10) * (w - kSpriteSize) / 9,
                                                       (i / 10) * (h - kSpriteSize) / 4));
    use_display_format(0);
    const bool made =
        s->background && s->foreground && s->overlay && sheet &&
        std::all_of(s->sprites.begin(), s->sprites.end(), [](const anim::owned_sprite& p) { return p != nullptr; });
    if (!made) return nullptr;
    s->background->hidden = 0;
    s->foreground->hidden = 0;
    if (form == Form::hand)
        for (SDL_Surface** image : drawn_surfaces(*s)) {
            SDL_Surface* converted = convert_by_hand(*image);
            if (converted == nullptr) return nullptr;
            SDL_FreeSurface(*image);
            *image = converted;
        }
    return s;
}

// One frame's draws and updates onto `target`.
void frame(Scene& s, SDL_Surface* target)
{
    blit_decor(s.background.get(), target);
    blit_decor(s.foreground.get(), target);
    blit_simple_blinking_surface(s.overlay.get(), target);
    for (anim::owned_sprite& sprite : s.sprites) blit_sprite(sprite.get(), target);
    update_simple_blinking(s.overlay.get());
    for (anim::owned_sprite& sprite : s.sprites) update_sprite(sprite.get());
}

// Blits every surface a frame draws once onto `target`, as the first frames
// of a whole fade would: SDL maps each surface to the target (and classic
// SDL encodes its runs) at its first blit.
void draw_each_surface_once(Scene& s, SDL_Surface* target)
{
    for (SDL_Surface** image : drawn_surfaces(s)) SDL_BlitSurface(*image, nullptr, target, nullptr);
}

// The frames callgrind counts, apart from the scene's making: kept a
// function of its own, which tools/frame_cost.py names to callgrind.
__attribute__((noinline)) void measured_frames(Scene& s, SDL_Surface* target, int frames)
{
    for (int i = 0; i < frames; ++i) frame(s, target);
}

bool parse_form(const char* name, Form* form)
{
    for (const NamedForm& f : kForms)
        if (strcmp(name, f.name) == 0) {
            *form = f.form;
            return true;
        }
    return false;
}

// Heap bytes in use, the large blocks glibc maps of their own included.
size_t heap_bytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double milliseconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A surface in the display's format, as large as the display.
SDL_Surface* display_like()
{
    const SDL_Surface* screen = SDL_GetVideoSurface();
    const SDL_PixelFormat* f = screen->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, 0);
}

// The largest channel difference between two surfaces of the display's format.
int largest_difference(SDL_Surface* a, SDL_Surface* b)
{
    int largest = 0;
    const size_t bytes = a->format->BytesPerPixel;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x) {
            Uint32 pa = 0, pb = 0;
            memcpy(
                &pa,
                static_cast<Uint8*>(a->pixels) + static_cast<ptrdiff_t>(y) * a->pitch + static_cast<size_t>(x) * bytes,
                bytes);
            memcpy(
                &pb,
                static_cast<Uint8*>(b->pixels) + static_cast<ptrdiff_t>(y) * b->pitch + static_cast<size_t>(x) * bytes,
                bytes);
            if (pa == pb) continue;
            Uint8 c[2][3];
            SDL_GetRGB(pa, a->format, &c[0][0], &c[0][1], &c[0][2]);
            SDL_GetRGB(pb, b->format, &c[1][0], &c[1][1], &c[1][2]);
            for (int k = 0; k < 3; ++k) largest = std::max(largest, std::abs(c[0][k] - c[1][k]));
        }
    return largest;
}

// What a fade of the full-window picture holds in `form`.
struct FadeBytes {
    int surfaces;  // its base, its blink image and its ladder's copies
    size_t made;   // bytes once made
    size_t drawn;  // bytes once every copy has been drawn
};

// The bytes a fade of the full-window picture holds in `form`; false when it
// cannot be made.
bool fade_bytes(const Pictures& pictures, Form form, FadeBytes* bytes)
{
    const size_t before = heap_bytes();
    use_display_format(form == Form::display ? 1 : 0);
    const anim::owned_simple_surface fade(create_simple_surface(pictures.path("hills.bmp").c_str(),
                                                                pictures.path("hills.bmp").c_str(), 1, kOverlayStep, 0,
                                                                0, kKey[0], kKey[1], kKey[2]));
    use_display_format(0);
    if (!fade) return false;
    bytes->surfaces = fade->count + 3;
    bytes->made = heap_bytes() - before;
    SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_BlitSurface(fade->base, nullptr, screen, nullptr);
    for (int i = 0; i <= fade->count; ++i) SDL_BlitSurface(fade->ladder[i], nullptr, screen, nullptr);
    bytes->drawn = heap_bytes() - before;
    return true;
}

int facts(const Pictures& pictures)
{
    std::printf("{");
    // Creation: the median of five.
    for (size_t f = 0; f < std::size(kForms); ++f) {
        std::vector<double> times;
        times.reserve(5);
        for (int i = 0; i < 5; ++i) {
            const auto start = std::chrono::steady_clock::now();
            if (!make_scene(pictures, kForms[f].form)) return 1;
            times.push_back(milliseconds_since(start));
        }
        std::sort(times.begin(), times.end());
        std::printf("\"create_ms_%s\": %.3f, ", kForms[f].name, times[2]);
    }
    FadeBytes files{}, display{};
    if (!fade_bytes(pictures, Form::files, &files) || !fade_bytes(pictures, Form::display, &display)) return 1;
    std::printf(
        "\"fade_surfaces\": %d, \"fade_bytes_files\": %zu, \"fade_bytes_drawn_files\": %zu, "
        "\"fade_bytes_display\": %zu, \"fade_bytes_drawn_display\": %zu, ",
        files.surfaces, files.made, files.drawn, display.made, display.drawn);
    // The frames of a whole fade, each form onto a surface of its own.
    std::unique_ptr<Scene> scenes[3];
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> targets[3] = {
        {display_like(), SDL_FreeSurface}, {display_like(), SDL_FreeSurface}, {display_like(), SDL_FreeSurface}};
    for (size_t f = 0; f < 3; ++f) {
        scenes[f] = make_scene(pictures, kForms[f].form);
        if (!scenes[f] || !targets[f]) return 1;
    }
    const int frames = 2 * (scenes[0]->overlay->count + 1);
    int largest[3] = {}, differing[3] = {};
    for (int i = 0; i < frames; ++i) {
        for (size_t f = 0; f < 3; ++f) frame(*scenes[f], targets[f].get());
        for (size_t f = 1; f < 3; ++f) {
            const int d = largest_difference(targets[0].get(), targets[f].get());
            largest[f] = std::max(largest[f], d);
            differing[f] += d != 0 ? 1 : 0;
        }
    }
    std::printf(
        "\"frames\": %d, \"largest_difference_display\": %d, \"frames_differing_display\": %d, "
        "\"largest_difference_hand\": %d, \"frames_differing_hand\": %d}\n",
        frames, largest[1], differing[1], largest[2], differing[2]);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool measure = argc == 7 && strcmp(argv[1], "frames") == 0;
    const bool tell = argc == 5 && strcmp(argv[1], "facts") == 0;
    Form form = Form::files;
    if ((!measure && !tell) || (measure && !parse_form(argv[2], &form))) {
        std::fprintf(stderr,
                     "usage: anim_frame_cost frames files|display|hand <depth> <width> <height> <frames>\n"
                     "       anim_frame_cost facts <depth> <width> <height>\n");
        return 2;
    }
    const char* const* size = argv + (measure ? 3 : 2);
    const int depth = atoi(size[0]), w = atoi(size[1]), h = atoi(size[2]);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || SDL_SetVideoMode(w, h, depth, SDL_SWSURFACE) == nullptr) {
        std::fprintf(stderr, "anim_frame_cost: no %d x %d window at %d bits: %s\n", w, h, depth, SDL_GetError());
        return 1;
    }
    int status = 1;
    {
        const Pictures pictures(w, h);
        if (pictures.ok() && measure) {
            std::unique_ptr<Scene> scene = make_scene(pictures, form);
            if (scene) {
                SDL_Surface* screen = SDL_GetVideoSurface();
                draw_each_surface_once(*scene, screen);
                measured_frames(*scene, screen, atoi(argv[6]));
                status = 0;
            }
        } else if (pictures.ok()) {
            status = facts(pictures);
        }
        if (status != 0) std::fprintf(stderr, "anim_frame_cost: %s\n", SDL_GetError());
    }
    SDL_Quit();
    return status;
}
