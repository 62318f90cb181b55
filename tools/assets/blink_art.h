// blink_art: the pictures of the two test programs.
#ifndef ANIM_TOOLS_BLINK_ART_H
#define ANIM_TOOLS_BLINK_ART_H

#include <string>

namespace assets {

// Writes blink_test's backdrop and its three fronts (blink_test.h) into
// `dir`: a hillside cottage at night, dawn, noon and dusk, the size of
// blink_test's window, with the cottage window magenta (transparent) in the
// three fronts. False when a file cannot be written.
bool write_cross_fade_pictures(const std::string& dir);

// Writes blink_sprite_test's runner into `dir`: the ten frames of a running
// child, 40 x 50 on magenta. False when a file cannot be written.
bool write_runner_pictures(const std::string& dir);

}  // namespace assets

#endif
