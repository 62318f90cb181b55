// anim_assets: draws the pictures a program loads and writes them as BMP files.
//
// Usage: anim_assets <set> <directory> [<form>]
//   blink         the cross-fade pictures of blink_test
//   blink_sprite  the cross-fade and runner pictures of blink_sprite_test
//   scene         the snowy scene of scene_demo, under Ressources/
// The pictures are 24-bit BMPs; with a form, each is written again in it,
// under the same name: 32 or 16 (BMP forms, see kForms), or png (PNG
// forms, see kPngForms).
#include "blink_art.h"
#include "blink_test.h"
#include "png_writer.h"
#include "scene_art.h"
#include "scene_demo.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

void put(std::vector<char>& bytes, size_t at, Uint32 value, int size)
{
    for (int i = 0; i < size; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// The forms a picture set can be written again in: 32 bits a pixel, its
// fourth byte 0xff, as editors write pictures with transparency (a 40-byte
// header); or 16 bits in 4-4-4-4 with an alpha mask, opaque, as editors
// write them for small memory (a 108-byte header; each colour rounded to 4
// bits, so the pictures lose shades).
struct Form {
    const char* name;
    Uint32 info_size, bits;
    Uint32 masks[4];  // red, green, blue, alpha
    bool bit_fields;  // the masks are written in the file; else they are the depth's usual ones
};
constexpr Form kForms[] = {
    {"32", 40, 32, {0xff0000, 0xff00, 0xff, 0xff000000}, false},
    {"16", 108, 16, {0x0f00, 0x00f0, 0x000f, 0xf000}, true},
};

// The value of the opaque colour (r, g, b) in `form`: each channel rounded
// to its mask's bits.
Uint32 pixel_value(const Form& form, Uint8 r, Uint8 g, Uint8 b)
{
    const Uint8 channels[] = {r, g, b, 255};
    Uint32 value = 0;
    for (size_t i = 0; i < 4; ++i) {
        int shift = 0;
        while ((form.masks[i] >> shift & 1u) == 0) ++shift;
        const Uint32 top = form.masks[i] >> shift;
        value |= (channels[i] * top + 127) / 255 << shift;
    }
    return value;
}

// The colours of the picture at `path`, red, green and blue bytes a pixel,
// rows top down, and its size. False, with the reason in SDL_GetError(),
// when it cannot be read.
bool read_colours(const std::string& path, std::vector<Uint8>& rgb, int& width, int& height)
{
    SDL_Surface* picture = SDL_LoadBMP(path.c_str());
    if (picture == nullptr) {
        const std::string reason = SDL_GetError();
        SDL_SetError("cannot read %s: %s", path.c_str(), reason.c_str());
        return false;
    }
    width = picture->w;
    height = picture->h;
    rgb.clear();
    SDL_LockSurface(picture);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Uint32 pixel = 0;
            const Uint8* at = static_cast<const Uint8*>(picture->pixels) + static_cast<ptrdiff_t>(y) * picture->pitch +
                              static_cast<ptrdiff_t>(x) * picture->format->BytesPerPixel;
            std::memcpy(&pixel, at, picture->format->BytesPerPixel);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, picture->format, &r, &g, &b);
            rgb.insert(rgb.end(), {r, g, b});
        }
    SDL_UnlockSurface(picture);
    SDL_FreeSurface(picture);
    return true;
}

bool write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        SDL_SetError("cannot write %s", path.c_str());
        return false;
    }
    return true;
}

// Writes the picture at `path` again in `form` (rows bottom up).
bool rewrite(const std::string& path, const Form& form)
{
    std::vector<Uint8> rgb;
    int w = 0, h = 0;
    if (!read_colours(path, rgb, w, h)) return false;
    const size_t pixel_bytes = form.bits / 8, row_bytes = (static_cast<size_t>(w) * pixel_bytes + 3) / 4 * 4;
    const size_t headers = 14 + form.info_size;
    std::vector<char> bytes(headers + row_bytes * static_cast<size_t>(h), '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(bytes, 2, static_cast<Uint32>(bytes.size()), 4);
    put(bytes, 10, static_cast<Uint32>(headers), 4);
    put(bytes, 14, form.info_size, 4);
    put(bytes, 18, static_cast<Uint32>(w), 4);
    put(bytes, 22, static_cast<Uint32>(h), 4);
    put(bytes, 26, 1, 2);
    put(bytes, 28, form.bits, 2);
    if (form.bit_fields) put(bytes, 30, 3, 4);  // the bit-fields compression
    put(bytes, 34, static_cast<Uint32>(row_bytes * static_cast<size_t>(h)), 4);
    for (size_t i = 0; i < 4 && form.bit_fields; ++i) put(bytes, 54 + 4 * i, form.masks[i], 4);
    for (size_t y = 0; y < static_cast<size_t>(h); ++y)
        for (size_t x = 0; x < static_cast<size_t>(w); ++x) {
            const Uint8* c = &rgb[3 * (y * static_cast<size_t>(w) + x)];
            put(bytes, headers + (static_cast<size_t>(h) - 1 - y) * row_bytes + x * pixel_bytes,
                pixel_value(form, c[0], c[1], c[2]), static_cast<int>(pixel_bytes));
        }
    return write_file(path, std::string(bytes.begin(), bytes.end()));
}

// The PNG form a picture set can be written again in, "png": each picture
// under its own name (a loader tells a PNG by its contents), the pictures
// in turn, in the order of their paths, as 8-bit RGB; as an 8-bit palette
// (a picture has at most 256 colours); and as 8-bit RGBA, Adam7
// interlaced, the pixels of the colour the program keys the picture with
// transparent, with another colour under them.
enum class PngForm : uint8_t { rgb, palette, rgba };
constexpr PngForm kPngForms[] = {PngForm::rgb, PngForm::palette, PngForm::rgba};

// The colour each picture of `set` is keyed with when its program loads it:
// the program's key, but for scene_demo's sprites, keyed white.
Uint32 load_key(const std::string& set, const std::string& relative_path)
{
    const auto packed = [](Colour c) { return static_cast<Uint32>(c.r << 16 | c.g << 8 | c.b); };
    if (set != "scene") return packed(blink_test::kKey);
    namespace pictures = scene_demo::pictures;
    std::vector<const char*> sprites(std::begin(pictures::kRunning), std::end(pictures::kRunning));
    sprites.insert(sprites.end(), std::begin(pictures::kWaiting), std::end(pictures::kWaiting));
    sprites.insert(sprites.end(), std::begin(pictures::kClosedBalloon), std::end(pictures::kClosedBalloon));
    sprites.insert(sprites.end(), std::begin(pictures::kOpenBalloon), std::end(pictures::kOpenBalloon));
    for (const char* path : sprites)
        if (std::filesystem::path(path).lexically_normal() == relative_path) return packed(scene_demo::kSpriteKey);
    return packed(scene_demo::kDecorKey);
}

// Writes the picture at `path` again as a PNG in `form`; `key` is its load
// key colour (0xRRGGBB).
bool rewrite_png(const std::string& path, PngForm form, Uint32 key)
{
    std::vector<Uint8> rgb;
    int w = 0, h = 0;
    if (!read_colours(path, rgb, w, h)) return false;
    png_writer::PngForm png;
    std::vector<uint16_t> samples;
    std::map<Uint32, uint16_t> palette;
    for (size_t i = 0; i < rgb.size() && form == PngForm::palette; i += 3)
        palette.emplace(static_cast<Uint32>(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]), 0);
    if (form == PngForm::palette && palette.size() <= 256) {
        png.colour_type = png_writer::kPalette;
        uint16_t index = 0;
        for (auto& [colour, at] : palette) {
            at = index++;
            png.palette.insert(png.palette.end(), {static_cast<uint8_t>(colour >> 16),
                                                   static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour)});
        }
        for (size_t i = 0; i < rgb.size(); i += 3)
            samples.push_back(palette[static_cast<Uint32>(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2])]);
    } else if (form == PngForm::palette) {
        SDL_SetError("%s has more than 256 colours, too many for a palette", path.c_str());
        return false;
    } else if (form == PngForm::rgba) {
        png.colour_type = png_writer::kRgba;
        png.interlaced = true;
        for (size_t i = 0; i < rgb.size(); i += 3) {
            const bool keyed = static_cast<Uint32>(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]) == key;
            // Under a transparent pixel, the key colour's opposite.
            for (size_t c = 0; c < 3; ++c) samples.push_back(keyed ? 255 - rgb[i + c] : rgb[i + c]);
            samples.push_back(keyed ? 0 : 255);
        }
    } else {
        samples.assign(rgb.begin(), rgb.end());
    }
    return write_file(path, png_writer::encode_png(w, h, png, samples));
}

// Rewrites every picture under `dir`, in the order of their paths, by
// rewrite_one(path, its path under `dir`, its place in that order).
bool rewrite_all(const std::string& dir,
                 const std::function<bool(const std::string&, const std::string&, size_t)>& rewrite_one)
{
    std::error_code error;
    std::vector<std::filesystem::path> pictures;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, error))
        if (entry.path().extension() == ".bmp") pictures.push_back(entry.path());
    if (error) {
        SDL_SetError("cannot list %s: %s", dir.c_str(), error.message().c_str());
        return false;
    }
    std::sort(pictures.begin(), pictures.end());
    for (size_t i = 0; i < pictures.size(); ++i)
        if (!rewrite_one(pictures[i].string(), pictures[i].lexically_relative(dir).string(), i)) return false;
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string form = argc == 4 ? argv[3] : "";
    std::function<bool(const std::string&, const std::string&, size_t)> rewrite_one;
    for (const Form& known : kForms)
        if (form == known.name)
            rewrite_one = [&known](const std::string& path, const std::string&, size_t) {
                return rewrite(path, known);
            };
    if (argc < 3 || argc > 4 || (argc == 4 && !rewrite_one && form != "png")) {
        std::fprintf(stderr, "usage: anim_assets <blink|blink_sprite|scene> <directory> [32|16|png]\n");
        return 2;
    }
    const std::string set = argv[1];
    const std::string dir = argv[2];
    if (set != "blink" && set != "blink_sprite" && set != "scene") {
        std::fprintf(stderr, "anim_assets: unknown picture set '%s'\n", set.c_str());
        return 2;
    }
    if (form == "png")
        rewrite_one = [&set](const std::string& path, const std::string& relative, size_t i) {
            return rewrite_png(path, kPngForms[i % std::size(kPngForms)], load_key(set, relative));
        };
    bool written = false;
    try {
        if (set == "scene")
            written = assets::write_scene_pictures(dir);
        else
            written = assets::write_cross_fade_pictures(dir) && (set == "blink" || assets::write_runner_pictures(dir));
        if (written && rewrite_one) written = rewrite_all(dir, rewrite_one);
    } catch (const std::exception& failure) {
        SDL_SetError("%s", failure.what());
    }
    if (!written) {
        std::fprintf(stderr, "anim_assets: the '%s' pictures: %s\n", set.c_str(), SDL_GetError());
        return 1;
    }
    return 0;
}
