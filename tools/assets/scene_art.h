// scene_art: the pictures of scene_demo.
#ifndef ANIM_TOOLS_SCENE_ART_H
#define ANIM_TOOLS_SCENE_ART_H

#include <string>

namespace assets {

// Writes the 26 pictures of the snowy scene into `dir`/Ressources, in its
// folders background, x_running, x_waiting and balloon, and the soft-edged
// PNG pictures the guide's scrolling example adds to them (the hero's two
// sprite sheets in child, a fir tree and a lantern's glow in background).
// False when a file
// cannot be written.
bool write_scene_pictures(const std::string& dir);

}  // namespace assets

#endif
