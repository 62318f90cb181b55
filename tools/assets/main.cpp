// anim_assets: draws the pictures a program loads and writes them as BMP files.
//
// Usage: anim_assets <set> <directory> [32]
//   blink         the cross-fade pictures of blink_test
//   blink_sprite  the cross-fade and runner pictures of blink_sprite_test
//   scene         the snowy scene of scene_demo, under Ressources/
// The pictures are 24-bit BMPs; with 32, each is written again at 32 bits a
// pixel, its fourth byte 0xff, as editors write pictures with transparency.
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

// Writes the picture at `path` again as a 32-bit BMP (a 40-byte header, rows
// bottom up, each pixel blue, green, red, 0xff). False, with the reason in
// SDL_GetError(), when it cannot be read or written.
bool rewrite_at_32_bits(const std::string& path)
{
    SDL_Surface* picture = SDL_LoadBMP(path.c_str());
    if (picture == nullptr) {
        const std::string reason = SDL_GetError();
        SDL_SetError("cannot read %s: %s", path.c_str(), reason.c_str());
        return false;
    }
    const auto w = static_cast<size_t>(picture->w), h = static_cast<size_t>(picture->h);
    constexpr size_t kHeaders = 14 + 40;
    std::vector<char> bytes(kHeaders + 4 * w * h, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(bytes, 2, static_cast<Uint32>(bytes.size()), 4);
    put(bytes, 10, kHeaders, 4);
    put(bytes, 14, 40, 4);
    put(bytes, 18, static_cast<Uint32>(w), 4);
    put(bytes, 22, static_cast<Uint32>(h), 4);
    put(bytes, 26, 1, 2);
    put(bytes, 28, 32, 2);
    put(bytes, 34, static_cast<Uint32>(4 * w * h), 4);
    SDL_LockSurface(picture);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            Uint32 pixel = 0;
            const Uint8* at = static_cast<const Uint8*>(picture->pixels) + y * static_cast<size_t>(picture->pitch) +
                              x * picture->format->BytesPerPixel;
            std::memcpy(&pixel, at, picture->format->BytesPerPixel);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, picture->format, &r, &g, &b);
            put(bytes, kHeaders + 4 * ((h - 1 - y) * w + x), 0xffu << 24 | Uint32{r} << 16 | Uint32{g} << 8 | b, 4);
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

// Rewrites every picture under `dir` at 32 bits.
bool rewrite_all_at_32_bits(const std::string& dir)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, error))
        if (entry.path().extension() == ".bmp" && !rewrite_at_32_bits(entry.path().string())) return false;
    if (error) SDL_SetError("cannot list %s: %s", dir.c_str(), error.message().c_str());
    return !error;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool at_32_bits = argc == 4 && std::string(argv[3]) == "32";
    if (argc != 3 && !at_32_bits) {
        std::fprintf(stderr, "usage: anim_assets <blink|blink_sprite|scene> <directory> [32]\n");
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
        if (written && at_32_bits) written = rewrite_all_at_32_bits(dir);
    } catch (const std::exception& failure) {
        SDL_SetError("%s", failure.what());
    }
    if (!written) {
        std::fprintf(stderr, "anim_assets: the '%s' pictures: %s\n", set.c_str(), SDL_GetError());
        return 1;
    }
    return 0;
}
