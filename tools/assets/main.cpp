// anim_assets: draws the pictures a program loads and writes them as BMP files.
//
// Usage: anim_assets <set> <directory> [32|16]
//   blink         the cross-fade pictures of blink_test
//   blink_sprite  the cross-fade and runner pictures of blink_sprite_test
//   scene         the snowy scene of scene_demo, under Ressources/
// The pictures are 24-bit BMPs; with 32 or 16, each is written again in
// that form (see kForms).
#include "blink_art.h"
#include "scene_art.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
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

// Writes the picture at `path` again in `form` (rows bottom up). False, with
// the reason in SDL_GetError(), when it cannot be read or written.
bool rewrite(const std::string& path, const Form& form)
{
    SDL_Surface* picture = SDL_LoadBMP(path.c_str());
    if (picture == nullptr) {
        const std::string reason = SDL_GetError();
        SDL_SetError("cannot read %s: %s", path.c_str(), reason.c_str());
        return false;
    }
    const auto w = static_cast<size_t>(picture->w), h = static_cast<size_t>(picture->h);
    const size_t pixel_bytes = form.bits / 8, row_bytes = (w * pixel_bytes + 3) / 4 * 4;
    const size_t headers = 14 + form.info_size;
    std::vector<char> bytes(headers + row_bytes * h, '\0');
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
    put(bytes, 34, static_cast<Uint32>(row_bytes * h), 4);
    for (size_t i = 0; i < 4 && form.bit_fields; ++i) put(bytes, 54 + 4 * i, form.masks[i], 4);
    SDL_LockSurface(picture);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            Uint32 pixel = 0;
            const Uint8* at = static_cast<const Uint8*>(picture->pixels) + y * static_cast<size_t>(picture->pitch) +
                              x * picture->format->BytesPerPixel;
            std::memcpy(&pixel, at, picture->format->BytesPerPixel);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, picture->format, &r, &g, &b);
            put(bytes, headers + (h - 1 - y) * row_bytes + x * pixel_bytes, pixel_value(form, r, g, b),
                static_cast<int>(pixel_bytes));
        }
    SDL_UnlockSurface(picture);
    SDL_FreeSurface(picture);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        SDL_SetError("cannot write %s", path.c_str());
        return false;
    }
    return true;
}

// Rewrites every picture under `dir` in `form`.
bool rewrite_all(const std::string& dir, const Form& form)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, error))
        if (entry.path().extension() == ".bmp" && !rewrite(entry.path().string(), form)) return false;
    if (error) SDL_SetError("cannot list %s: %s", dir.c_str(), error.message().c_str());
    return !error;
}

}  // namespace

int main(int argc, char* argv[])
{
    const Form* form = nullptr;
    for (const Form& known : kForms)
        if (argc == 4 && std::string(argv[3]) == known.name) form = &known;
    if (argc != 3 && form == nullptr) {
        std::fprintf(stderr, "usage: anim_assets <blink|blink_sprite|scene> <directory> [32|16]\n");
        return 2;
    }
    const std::string set = argv[1];
    const std::string dir = argv[2];
    if (set != "blink" && set != "blink_sprite" && set != "scene") {
        std::fprintf(stderr, "anim_assets: unknown picture set '%s'\n", set.c_str());
        return 2;
    }
    bool written = false;
    try {
        if (set == "scene")
            written = assets::write_scene_pictures(dir);
        else
            written = assets::write_cross_fade_pictures(dir) && (set == "blink" || assets::write_runner_pictures(dir));
        if (written && form != nullptr) written = rewrite_all(dir, *form);
    } catch (const std::exception& failure) {
        SDL_SetError("%s", failure.what());
    }
    if (!written) {
        std::fprintf(stderr, "anim_assets: the '%s' pictures: %s\n", set.c_str(), SDL_GetError());
        return 1;
    }
    return 0;
}
