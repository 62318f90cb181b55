// sprite_frames: a sprite made from picture files that its caller shares
// with other objects of the same creation (internal to the toolkit, not
// installed).
//
//   create_sprite_from_files  create_sprite, reading through `files`
//   make_sprite               a sprite record of loaded frames
//   cut_sprite                a sprite of rectangles of one picture
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

// A sprite at (x, y) of `frames`, frame_count images (at least 1), which it
// owns from then on; null, with the frames released, when memory runs out.
sprite* make_sprite(SDL_Surface** frames, int frame_count, int frozen, int x, int y);

// A sprite at (x, y) whose `count` frames are the rectangles rect_of(0) ..
// rect_of(count - 1) of the picture at `path`, read through `files` and
// keyed with (r, g, b), each cut as load_keyed_image cuts a cell. The caller
// owns the result (free_sprite); null on failure, with the reason in
// SDL_GetError().
template <typename RectOf>
sprite* cut_sprite(PictureFiles& files, const char* path, int count, RectOf rect_of, int r, int g, int b, int frozen,
                   int x, int y)
{
    SDL_Surface** frames = load_image_array(count, [&](int i) {
        const SDL_Rect cell = rect_of(i);
        return load_keyed_image(files, path, r, g, b, &cell);
    });
    return frames != nullptr ? make_sprite(frames, count, frozen, x, y) : nullptr;
}

}  // namespace anim::detail

// What an open sprite sheet cuts its cells from: the sheet's file, read
// once, its path and its key colour.
struct sprite_sheet_picture {
    anim::detail::PictureFiles files;
    std::string path;
    int r = 0, g = 0, b = 0;
};

#endif
