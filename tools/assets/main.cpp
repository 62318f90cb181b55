// anim_assets: draws the pictures a program loads and writes them as BMP files.
//
// Usage: anim_assets <set> <directory>
//   blink         the cross-fade pictures of blink_test
//   blink_sprite  the cross-fade and runner pictures of blink_sprite_test
//   scene         the snowy scene of scene_demo, under Ressources/
#include "blink_art.h"
#include "scene_art.h"

#include <SDL.h>

#include <cstdio>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: anim_assets <blink|blink_sprite|scene> <directory>\n");
        return 2;
    }
    const std::string set = argv[1];
    const std::string dir = argv[2];
    bool written = false;
    if (set == "blink") {
        written = assets::write_cross_fade_pictures(dir);
    } else if (set == "blink_sprite") {
        written = assets::write_cross_fade_pictures(dir) && assets::write_runner_pictures(dir);
    } else if (set == "scene") {
        written = assets::write_scene_pictures(dir);
    } else {
        std::fprintf(stderr, "anim_assets: unknown picture set '%s'\n", set.c_str());
        return 2;
    }
    if (!written) {
        std::fprintf(stderr, "anim_assets: cannot write the '%s' pictures into %s: %s\n", set.c_str(), dir.c_str(),
                     SDL_GetError());
        return 1;
    }
    return 0;
}
