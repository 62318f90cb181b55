// objects: one object of every kind the toolkit makes, all from one picture:
// for the table of draw forms and for the fuzzer, which draws whatever its
// bytes let be made.
#ifndef ANIM_TESTS_OBJECTS_H
#define ANIM_TESTS_OBJECTS_H

#include "anim/owned.h"

#include <string>

namespace test_support {

// Each member is null when its creation failed. Blinking is on, with step
// 10; magenta is the key; everything stands at (0, 0) and is shown.
struct Objects {
    explicit Objects(const std::string& image)
        : path(image),
          one{path.c_str(), nullptr},
          complex(create_complex_surface(path.c_str(), one, 1, 10, 0, 0, 255, 0, 255)),
          simple(make_simple()),
          s(create_sprite(one, 0, 0, 0, 255, 0, 255)),
          d(create_decor(path.c_str(), 0, 0, 255, 0, 255)),
          blinking_surface(make_simple()),
          blinking(create_sblink_decor(blinking_surface.get(), 0, 0)),
          p(tool_create_personnage_from_char(0, 0, 255, 0, 255, 1, one))
    {
        if (blinking) {
            anim::hand_over(blinking_surface);
            blinking->hidden = 0;
        }
        if (d) d->hidden = 0;
        if (p) p->hidden = 0;
    }
    Objects(const Objects&) = delete;
    Objects& operator=(const Objects&) = delete;

    std::string path;
    const char* one[2];
    anim::owned_complex_surface complex;
    anim::owned_simple_surface simple;
    anim::owned_sprite s;
    anim::owned_decor d;
    anim::owned_simple_surface blinking_surface;  // held until the blinking decor takes it
    anim::owned_sblink_decor blinking;
    anim::owned_personnage p;

private:
    anim::owned_simple_surface make_simple() const
    {
        return anim::owned_simple_surface(create_simple_surface(path.c_str(), path.c_str(), 1, 10, 0, 0, 255, 0, 255));
    }
};

}  // namespace test_support

#endif
