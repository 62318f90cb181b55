// display_image: the conversion of a loaded image to the display's format
// that use_display_format asks for (internal to the toolkit, not installed).
#ifndef ANIM_DETAIL_DISPLAY_IMAGE_H
#define ANIM_DETAIL_DISPLAY_IMAGE_H

#include <SDL.h>

namespace anim::detail {

// True while use_display_format(1) holds.
bool display_format_on();

// `image`, keyed or blended as the loaders made it, converted to the
// display surface's format as display_format.h describes; `image` itself
// is released. The caller owns the result. Null, with the reason in
// SDL_GetError(), when no video mode is set or memory runs out (`image` is
// released then too).
SDL_Surface* to_display_format(SDL_Surface* image);

}  // namespace anim::detail

#endif
