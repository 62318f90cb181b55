// display_image: the conversion of a loaded image to the display's format
// that use_display_format asks for (internal to the toolkit, not installed).
#ifndef ANIM_DETAIL_DISPLAY_IMAGE_H
#define ANIM_DETAIL_DISPLAY_IMAGE_H

#include <SDL.h>

#include <optional>  // Required for: std::optional

namespace anim::detail {

// True while use_display_format(1) holds.
bool display_format_on();

// `image`, as the loaders decoded it, in the display surface's format, as
// display_format.h describes: a picture blended by its alpha channel as it
// is (it carries its alpha in that channel); any other keyed with `key`
// (0xRRGGBB) and, for a ladder's copy, given `copy_alpha`, both with
// run-length encoding. `image` itself is released. The caller owns the
// result. Null, with the reason in SDL_GetError(), when no video mode is set
// or memory runs out (`image` is released then too).
SDL_Surface* to_display_format(SDL_Surface* image, Uint32 key, std::optional<Uint8> copy_alpha);

}  // namespace anim::detail

#endif
