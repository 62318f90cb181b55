// blink_art: the pictures of the two test programs.
#ifndef ANIM_TOOLS_BLINK_ART_H
#define ANIM_TOOLS_BLINK_ART_H

#include <string>

namespace assets {

// Writes "img_fond.bmp" and "img_devant1.bmp" to "img_devant3.bmp" into
// `dir`: a hillside cottage at night, dawn, noon and dusk, 100 x 50, with the
// cottage window magenta (transparent) in the three fronts. False when a
// file cannot be written.
bool write_cross_fade_pictures(const std::string& dir);

// Writes "x02.bmp" to "x11.bmp" into `dir`: the ten frames of a running
// child, 40 x 50 on magenta. False when a file cannot be written.
bool write_runner_pictures(const std::string& dir);

}  // namespace assets

#endif
