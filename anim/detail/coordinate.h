// coordinate: how the toolkit moves a rectangle's coordinate (internal to the
// toolkit, not installed).
#ifndef ANIM_DETAIL_COORDINATE_H
#define ANIM_DETAIL_COORDINATE_H

#include <SDL.h>

namespace anim::detail {

// A rectangle's coordinate: 16 bits in SDL 1.2, wider in some of its
// implementations (the browser's).
using Coordinate = decltype(SDL_Rect::x);

// Moves a coordinate by `by`, wrapping at 16 bits whatever the field's width,
// so that every SDL gives the same frames.
inline void shift(Coordinate& coordinate, int by)
{
    coordinate = static_cast<Sint16>(coordinate + by);
}

// Sets a window coordinate to a world coordinate less the view's, wrapped
// at 16 bits as shift wraps.
inline void place(Coordinate& coordinate, int world, int view)
{
    coordinate = 0;
    shift(coordinate, world - view);
}

}  // namespace anim::detail

#endif
