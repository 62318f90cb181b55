// test_images: pictures, targets and temporary folders that tests make for
// themselves, and pixel read-back.
#ifndef ANIM_TESTS_TEST_IMAGES_H
#define ANIM_TESTS_TEST_IMAGES_H

#include "png_writer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace test_support {

struct Rgb {
    Uint8 r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "rgb(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kRed{200, 30, 30};
constexpr Rgb kGreen{30, 180, 60};
constexpr Rgb kBlue{40, 60, 210};
constexpr Rgb kYellow{230, 200, 40};

// The largest difference between a channel of a and the same of b.
inline int channel_difference(Rgb a, Rgb b)
{
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// True when every channel of a and b differs by at most `tolerance`.
inline bool near(Rgb a, Rgb b, int tolerance)
{
    return channel_difference(a, b) <= tolerance;
}

// `over` blended onto `under` with per-surface alpha `alpha` (255 opaque),
// as SDL blends: rounding may differ by one or two levels between blitters.
inline Rgb blend(Rgb over, Rgb under, int alpha)
{
    auto mix = [alpha](Uint8 s, Uint8 d) { return static_cast<Uint8>(d + (s - d) * alpha / 255); };
    return {mix(over.r, under.r), mix(over.g, under.g), mix(over.b, under.b)};
}

// A folder under the system's temporary folder, removed with its contents.
struct TempDir {
    TempDir() : path((std::filesystem::temp_directory_path() / "anim-test-XXXXXX").string())
    {
        if (mkdtemp(path.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempDir() { std::filesystem::remove_all(path, ignored); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }

    std::string path;
    std::error_code ignored;  // a folder that cannot be removed fails no test
};

// A painting of one colour, for write_bmp.
inline std::function<Rgb(int, int)> solid(Rgb colour)
{
    return [colour](int, int) { return colour; };
}

// Writes a w x h 24-bit BMP whose pixel (x, y) is paint(x, y).
inline void write_bmp(const std::string& path, int w, int h, const std::function<Rgb(int, int)>& paint)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = paint(x, y);
            SDL_Rect pixel{static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(s, &pixel, SDL_MapRGB(s->format, c.r, c.g, c.b));
        }
    const int saved = SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    ASSERT_EQ(saved, 0) << "cannot write " << path << ": " << SDL_GetError();
}

// A colour and its alpha (0 transparent, 255 opaque).
struct Rgba {
    Rgb rgb;
    Uint8 a;
};

// Writes a w x h PNG of 8-bit RGBA whose pixel (x, y) is paint(x, y).
inline void write_png(const std::string& path, int w, int h, const std::function<Rgba(int, int)>& paint)
{
    std::vector<uint16_t> samples;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = paint(x, y);
            samples.insert(samples.end(), {c.rgb.r, c.rgb.g, c.rgb.b, c.a});
        }
    png_writer::PngForm rgba;
    rgba.colour_type = png_writer::kRgba;
    std::ofstream(path, std::ios::binary) << png_writer::encode_png(w, h, rgba, samples);
}

// True when `drawn` is within `tolerance` a channel of the exact blend of
// `over` at alpha `alpha` times `opacity` (each of 255) onto `under`.
inline bool near_exact_blend(Rgb drawn, Rgb over, Rgb under, int alpha, int opacity, double tolerance)
{
    const auto off = [&](Uint8 d, Uint8 s, Uint8 u) {
        return std::abs(d - (u + (s - u) * static_cast<double>(alpha) * opacity / (255.0 * 255.0))) <= tolerance;
    };
    return off(drawn.r, over.r, under.r) && off(drawn.g, over.g, under.g) && off(drawn.b, over.b, under.b);
}

// A w x h 32-bit software surface filled with `fill`; free with SDL_FreeSurface.
inline SDL_Surface* make_target(int w, int h, Rgb fill)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
    if (s != nullptr) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, fill.r, fill.g, fill.b));
    return s;
}

// Colour of pixel (x, y) of any surface.
inline Rgb pixel_at(SDL_Surface* surface, int x, int y)
{
    const int bpp = surface->format->BytesPerPixel;
    Uint32 pixel = 0;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    std::memcpy(&pixel,
                static_cast<const Uint8*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
                    static_cast<ptrdiff_t>(x) * bpp,
                static_cast<size_t>(bpp));
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    Rgb c{};
    SDL_GetRGB(pixel, surface->format, &c.r, &c.g, &c.b);
    return c;
}

// The largest channel difference between two pictures of one size; 255 when
// either is missing.
inline int largest_difference(SDL_Surface* a, SDL_Surface* b)
{
    int largest = a != nullptr && b != nullptr ? 0 : 255;
    for (int y = 0; largest < 255 && y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            largest = std::max(largest, channel_difference(pixel_at(a, x, y), pixel_at(b, x, y)));
    return largest;
}

}  // namespace test_support

#endif
