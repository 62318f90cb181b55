// display_format: the setting, and the conversion of each loaded image to
// the display's format.
#include "anim/display_format.h"

#include "anim/detail/display_image.h"
#include "anim/detail/keyed_image.h"

#include <cstddef>  // Required for: ptrdiff_t
#include <cstring>  // Required for: memcpy()
#include <memory>   // Required for: std::unique_ptr

namespace {

bool display_format = false;

using SurfaceOwner = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// The pixel value at `p` of an image of `bytes` bytes a pixel (1 to 4).
Uint32 pixel_at(const Uint8* p, int bytes)
{
    switch (bytes) {
    case 1: return *p;
    case 2: {
        Uint16 value = 0;
        memcpy(&value, p, 2);
        return value;
    }
    case 3:
        if constexpr (SDL_BYTEORDER == SDL_BIG_ENDIAN) return Uint32{p[0]} << 16 | Uint32{p[1]} << 8 | p[2];
        return Uint32{p[2]} << 16 | Uint32{p[1]} << 8 | p[0];
    default: {
        Uint32 value = 0;
        memcpy(&value, p, 4);
        return value;
    }
    }
}

// Stores `value` at `p` of an image of 1, 2 or 4 bytes a pixel, the depths
// whose channels have fewer than 8 bits (a palette's index, at 1).
void set_pixel(Uint8* p, int bytes, Uint32 value)
{
    if (bytes == 1) {
        *p = static_cast<Uint8>(value);
    } else if (bytes == 2) {
        const auto narrow = static_cast<Uint16>(value);
        memcpy(p, &narrow, 2);
    } else {
        memcpy(p, &value, 4);
    }
}

// Keys `converted`, the display's copy of `source`, with the colour `key`
// (0xRRGGBB), run-length encoded. When the display's format has fewer bits
// a channel than the file, opaque pixels it gave the key's value are moved
// off it by the lowest unit of blue. An image without a pixel of the key
// colour is left unkeyed, a plain copy, where the SDL does not encode runs;
// where it does, its runs copy the image with fewer instructions than its
// plain copy. False, with SDL's reason set, when the image cannot be
// locked.
bool key_converted(const SDL_Surface* source, SDL_Surface* converted, Uint32 key)
{
    const auto r = static_cast<Uint8>(key >> 16), g = static_cast<Uint8>(key >> 8), b = static_cast<Uint8>(key);
    const SDL_PixelFormat* f = converted->format;
    const Uint32 source_key = SDL_MapRGB(source->format, r, g, b), display_key = SDL_MapRGB(f, r, g, b);
    SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, display_key);
    const bool encoded = (converted->flags & SDL_RLEACCELOK) != 0;
    // Only a format of fewer than 8 bits a channel gives two colours one value.
    const bool merges = (f->Rloss | f->Gloss | f->Bloss) != 0;
    if (encoded && !merges) return true;
    const Uint32 off_key = display_key ^ (f->Bmask != 0 ? f->Bmask & (~f->Bmask + 1) : 1u);
    if (SDL_LockSurface(converted) != 0) return false;
    const int in = source->format->BytesPerPixel, out = f->BytesPerPixel;
    bool keyed = false;
    for (int y = 0; y < source->h && (merges || !keyed); ++y) {
        const Uint8* from = static_cast<const Uint8*>(source->pixels) + static_cast<ptrdiff_t>(y) * source->pitch;
        Uint8* to = static_cast<Uint8*>(converted->pixels) + static_cast<ptrdiff_t>(y) * converted->pitch;
        for (int x = 0; x < source->w; ++x, from += in, to += out) {
            if (pixel_at(from, in) == source_key)
                keyed = true;
            else if (merges && pixel_at(to, out) == display_key)
                set_pixel(to, out, off_key);
        }
    }
    SDL_UnlockSurface(converted);
    if (!keyed && !encoded) SDL_SetColorKey(converted, 0, 0);
    return true;
}

}  // namespace

int use_display_format(int on)
{
    if (on != 0 && SDL_GetVideoSurface() == nullptr) {
        SDL_SetError("no video mode is set, whose format the images would take");
        return -1;
    }
    display_format = on != 0;
    return 0;
}

namespace anim::detail {

bool display_format_on()
{
    return display_format;
}

SDL_Surface* to_display_format(SDL_Surface* image, Uint32 key, std::optional<Uint8> copy_alpha)
{
    SurfaceOwner source(image, SDL_FreeSurface);
    if (SDL_GetVideoSurface() == nullptr) {
        SDL_SetError("no video mode is set, whose format the images would take");
        return nullptr;
    }
    if (uses_alpha_channel(image)) {
        // Every picture with soft edges is loaded at 32 bits; on a 32-bit
        // display it is drawn as fast in its own layout, and more exactly on
        // some SDLs than in the display's.
        if (SDL_GetVideoSurface()->format->BitsPerPixel == 32) return source.release();
        return SDL_DisplayFormatAlpha(image);
    }
    SurfaceOwner converted(SDL_DisplayFormat(image), SDL_FreeSurface);
    if (converted == nullptr || !key_converted(image, converted.get(), key)) return nullptr;
    if (copy_alpha) SDL_SetAlpha(converted.get(), SDL_SRCALPHA | SDL_RLEACCEL, *copy_alpha);
    return converted.release();
}

}  // namespace anim::detail
