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
using anim::detail::key_value;

// The pixel value at `p` of an image of `Bytes` bytes a pixel.
template <int Bytes>
Uint32 pixel_at(const Uint8* p)
{
    if constexpr (Bytes == 1) {
        return *p;
    } else if constexpr (Bytes == 2) {
        Uint16 value = 0;
        memcpy(&value, p, 2);
        return value;
    } else if constexpr (Bytes == 3) {
        if constexpr (SDL_BYTEORDER == SDL_BIG_ENDIAN) return Uint32{p[0]} << 16 | Uint32{p[1]} << 8 | p[2];
        return Uint32{p[2]} << 16 | Uint32{p[1]} << 8 | p[0];
    } else {
        Uint32 value = 0;
        memcpy(&value, p, 4);
        return value;
    }
}

// Stores `value` at `p` of an image of `Bytes` bytes a pixel: 1, 2 or 4,
// the depths whose channels may have fewer than 8 bits.
template <int Bytes>
void set_pixel(Uint8* p, Uint32 value)
{
    static_assert(Bytes != 3, "a 24-bit format has 8 bits a channel");
    if constexpr (Bytes == 1) {
        *p = static_cast<Uint8>(value);
    } else if constexpr (Bytes == 2) {
        const auto narrow = static_cast<Uint16>(value);
        memcpy(p, &narrow, 2);
    } else {
        memcpy(p, &value, 4);
    }
}

// A pass over the pixels of an image and its display's copy.
struct KeyPass {
    const SDL_Surface* source;
    SDL_Surface* converted;
    Uint32 source_key, display_key;  // the key colour in each format
    Uint32 off_key;                  // the display's value next to the key's
    bool merges;                     // true: the display's format may give other colours the key's value
};

// Moves the copy's pixels off the key where the source's are not the key
// colour, when the pass `merges`; true when the source has a pixel of the
// key colour (found, the pass stops there unless it `merges`). `In` and
// `Out` are the two images' bytes a pixel.
template <int In, int Out>
bool key_pass(const KeyPass& pass)
{
    const SDL_Surface* source = pass.source;
    bool keyed = false;
    for (int y = 0; y < source->h && (pass.merges || !keyed); ++y) {
        const Uint8* from = static_cast<const Uint8*>(source->pixels) + static_cast<ptrdiff_t>(y) * source->pitch;
        Uint8* to = static_cast<Uint8*>(pass.converted->pixels) + static_cast<ptrdiff_t>(y) * pass.converted->pitch;
        for (int x = 0; x < source->w; ++x, from += In, to += Out) {
            if (pixel_at<In>(from) == pass.source_key) {
                keyed = true;
            } else if constexpr (Out != 3) {
                if (pass.merges && pixel_at<Out>(to) == pass.display_key) set_pixel<Out>(to, pass.off_key);
            }
        }
    }
    return keyed;
}

// key_pass for the copy's bytes a pixel.
template <int In>
bool key_pass_into(const KeyPass& pass)
{
    switch (pass.converted->format->BytesPerPixel) {
    case 1: return key_pass<In, 1>(pass);
    case 2: return key_pass<In, 2>(pass);
    case 3: return key_pass<In, 3>(pass);
    default: return key_pass<In, 4>(pass);
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
    const SDL_PixelFormat* f = converted->format;
    KeyPass pass{source, converted, key_value(source->format, key), key_value(f, key), 0,
                 // Only a format of fewer than 8 bits a channel gives two colours one value.
                 (f->Rloss | f->Gloss | f->Bloss) != 0};
    pass.off_key = pass.display_key ^ (f->Bmask != 0 ? f->Bmask & (~f->Bmask + 1) : 1u);
    SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, pass.display_key);
    const bool encoded = (converted->flags & SDL_RLEACCELOK) != 0;
    if (encoded && !pass.merges) return true;
    if (SDL_LockSurface(converted) != 0) return false;
    bool keyed = false;
    switch (source->format->BytesPerPixel) {
    case 1: keyed = key_pass_into<1>(pass); break;
    case 2: keyed = key_pass_into<2>(pass); break;
    case 3: keyed = key_pass_into<3>(pass); break;
    default: keyed = key_pass_into<4>(pass); break;
    }
    SDL_UnlockSurface(converted);
    if (!keyed && !encoded) SDL_SetColorKey(converted, 0, 0);
    return true;
}

// True when SDL has a video mode, whose format images can take; false,
// with the reason set, when it has none.
bool has_video_mode()
{
    if (SDL_GetVideoSurface() != nullptr) return true;
    SDL_SetError("no video mode is set, whose format the images would take");
    return false;
}

}  // namespace

int use_display_format(int on)
{
    if (on != 0 && !has_video_mode()) return -1;
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
    if (!has_video_mode()) return nullptr;
    if (uses_alpha_channel(image)) {
        // Every picture with soft edges is loaded at 32 bits; on a 32-bit
        // display it is drawn as fast in its own layout, and more exactly on
        // some SDLs than in the display's. The display is looked at only once
        // SDL has converted the picture for it: some SDLs still hand out a
        // display they have closed, and refuse the conversion.
        SurfaceOwner converted(SDL_DisplayFormatAlpha(image), SDL_FreeSurface);
        if (converted == nullptr) return nullptr;
        return SDL_GetVideoSurface()->format->BitsPerPixel == 32 ? source.release() : converted.release();
    }
    SurfaceOwner converted(SDL_DisplayFormat(image), SDL_FreeSurface);
    if (converted == nullptr || !key_converted(image, converted.get(), key)) return nullptr;
    if (copy_alpha) SDL_SetAlpha(converted.get(), SDL_SRCALPHA | SDL_RLEACCEL, *copy_alpha);
    return converted.release();
}

}  // namespace anim::detail
