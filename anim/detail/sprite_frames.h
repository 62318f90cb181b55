// sprite_frames: a sprite made from picture files that its caller shares
// with other objects of the same creation (internal to the toolkit, not
// installed).
//
//   create_sprite_from_files  create_sprite, reading through `files`
//   sprite_sheet_picture      the picture an open sprite sheet cuts from
#ifndef ANIM_DETAIL_SPRITE_FRAMES_H
#define ANIM_DETAIL_SPRITE_FRAMES_H

#include "anim/detail/keyed_image.h"
#include "anim/lib_sprite.h"

#include <string>  // Required for: std::string

namespace anim::detail {

// What create_sprite does, with the frames' files read through `files`, so
// that a character whose sprites share pictures reads each picture once.
// The caller owns the result (free_sprite); null on failure, with the
// reason in SDL_GetError().
sprite* create_sprite_from_files(PictureFiles& files, const char* const* paths, int frozen, int x, int y, int r, int g,
                                 int b);

}  // namespace anim::detail

// What an open sprite sheet cuts its cells from: the sheet's file, read
// once, its path and its key colour.
struct sprite_sheet_picture {
    anim::detail::PictureFiles files;
    std::string path;
    int r = 0, g = 0, b = 0;
};

#endif
