// lib_aseprite: characters from the sprite sheet exports of the Aseprite
// editor (File > Export Sprite Sheet, with "JSON Data" in either form).
//
// An export is a sheet picture and a JSON file of its frames, each a
// rectangle of the sheet shown for a duration, and of its tags, each a run
// of frames played forward, in reverse or ping-pong. Each tag becomes a
// sprite of the personnage, named after it, whose frames show for their
// durations under advance_personnage (update_personnage steps them one a
// call, as any sprite's).
//
//   create_personnage_from_aseprite  one sprite per tag of an export
//
// Errors: the creation returns null, releasing everything it had built, and
// leaves the reason in SDL_GetError(): "cannot read <file>: " and the field
// at fault, as in "frames[3].duration is 0, not from 1 to 2147483647". When
// it succeeds it leaves SDL_GetError() as it found it.
#ifndef ANIM_LIB_ASEPRITE_H
#define ANIM_LIB_ASEPRITE_H

#include "anim/lib_personnage.h"

// Reads the export whose JSON file is at `json_path` ("frames" an array or
// an object of frames in the file's order; "meta.image" the sheet, found
// from the JSON file's folder; "meta.frameTags" the tags) and makes a hidden
// personnage at (x, y) of one animated sprite per tag, in the tags' order,
// with names[i] the name of tag i (find_sprite_personnage finds it), keyed
// with (r, g, b) where the sheet has no alpha of its own. A tag plays its
// frames from `from` to `to` in its direction: "forward", "reverse",
// "pingpong" (there and back, each end once) or "pingpong_reverse"; an
// export without tags makes one sprite of every frame, named "". The sheet
// is read and decoded once. The caller owns the result and releases it with
// free_everything_personnage. Returns null, with nothing left allocated,
// when the path is null, the file cannot be read or is not JSON, a field is
// missing, of the wrong type or out of range (a frame outside the sheet, a
// frame rotated or trimmed, a tag past the last frame, an unknown
// direction), the tags play more than 16384 frames in all, the sheet cannot
// be loaded or cut, or memory runs out.
personnage* create_personnage_from_aseprite(const char* json_path, int x, int y, int r, int g, int b);

#endif
