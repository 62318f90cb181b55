// test_images: test pictures, temporary folders and pixel read-back.
#include "test_images.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace test_support {

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "rgb(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

Rgb blend(Rgb over, Rgb under, int alpha)
{
    auto mix = [alpha](Uint8 s, Uint8 d) { return static_cast<Uint8>(d + (s - d) * alpha / 255); };
    return {mix(over.r, under.r), mix(over.g, under.g), mix(over.b, under.b)};
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "anim-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void write_bmp(const std::string& path, int w, int h, const std::function<Rgb(int, int)>& paint)
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

SDL_Surface* make_target(int w, int h, Rgb fill)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
    if (s != nullptr) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, fill.r, fill.g, fill.b));
    return s;
}

Rgb pixel_at(SDL_Surface* surface, int x, int y)
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

}  // namespace test_support
