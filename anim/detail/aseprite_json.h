// aseprite_json: the sprite sheet exports of the Aseprite editor, read and
// checked (internal to the toolkit, not installed).
//
//   AsepriteExport  the frames and tags of an export
//   read_aseprite   read and check an export's JSON file
//   frames_fit      check that every frame lies within the sheet
#ifndef ANIM_DETAIL_ASEPRITE_JSON_H
#define ANIM_DETAIL_ASEPRITE_JSON_H

#include <SDL.h>

#include <string>  // Required for: std::string
#include <vector>  // Required for: std::vector

namespace anim::detail {

// Most frames an export may hold, and its tags play in all: each is a load.
constexpr int kMostTaggedFrames = 16384;

// An export: its sheet picture, its frames (a rectangle of the sheet each,
// shown for a duration) in the file's order, and its tags, each the frames
// it plays in the order its direction plays them. An export without tags
// has one unnamed tag of every frame, forward.
struct AsepriteExport {
    struct Frame {
        SDL_Rect rect;
        int duration_ms;
    };
    struct Tag {
        std::string name;
        std::vector<int> frames;
    };
    std::string image;  // the sheet's path: meta.image, from the folder of the JSON file
    std::vector<Frame> frames;
    std::vector<Tag> tags;
};

// Reads the export at `path`, frames in the "array" or the "hash" form;
// tags (meta.frameTags) playing forward, reverse, pingpong or
// pingpong_reverse. False, with the reason set ("cannot read <path>: " and
// the field at fault), when the file cannot be read, is not JSON, lacks a
// field or holds one of the wrong type or out of range (a frame rotated or
// trimmed, a tag past the frames), when the tags play more than
// kMostTaggedFrames frames, or when memory runs out. Throws nothing.
bool read_aseprite(const char* path, AsepriteExport& out);

// True when every frame of `e` lies within its sheet of width x height;
// false, with the reason naming `path` and the frame, otherwise.
bool frames_fit(const char* path, const AsepriteExport& e, int width, int height);

}  // namespace anim::detail

#endif
