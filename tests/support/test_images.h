// test_images: pictures and targets that tests make for themselves.
#ifndef ANIM_TESTS_TEST_IMAGES_H
#define ANIM_TESTS_TEST_IMAGES_H

#include <SDL.h>

#include <functional>
#include <ostream>
#include <string>

namespace test_support {

struct Rgb {
    Uint8 r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kRed{200, 30, 30};
constexpr Rgb kGreen{30, 180, 60};
constexpr Rgb kBlue{40, 60, 210};
constexpr Rgb kYellow{230, 200, 40};

// True when every channel of a and b differs by at most `tolerance`.
bool near(Rgb a, Rgb b, int tolerance);

// `over` blended onto `under` with per-surface alpha `alpha` (255 opaque),
// as SDL blends: rounding may differ by one or two levels between blitters.
Rgb blend(Rgb over, Rgb under, int alpha);

// A folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A painting of one colour, for write_bmp.
inline std::function<Rgb(int, int)> solid(Rgb colour)
{
    return [colour](int, int) { return colour; };
}
// Writes a w x h 24-bit BMP whose pixel (x, y) is paint(x, y).
void write_bmp(const std::string& path, int w, int h, const std::function<Rgb(int, int)>& paint);

// A w x h 32-bit software surface filled with `fill`; free with SDL_FreeSurface.
SDL_Surface* make_target(int w, int h, Rgb fill);

// Colour of pixel (x, y) of any surface.
Rgb pixel_at(SDL_Surface* surface, int x, int y);

}  // namespace test_support

#endif
