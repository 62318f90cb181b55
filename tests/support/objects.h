// objects: one object of every kind the toolkit makes, all from one picture:
// for the table of draw forms, for the pictures drawn through their whole
// fades, and for the fuzzer, which draws whatever its bytes let be made.
#ifndef ANIM_TESTS_OBJECTS_H
#define ANIM_TESTS_OBJECTS_H

#include "anim/lib_aseprite.h"
#include "anim/owned.h"

#include <string>

namespace test_support {

// A blinking decor at (0, 0) of `blink` fading over `base` with `step`, keyed
// (r, g, b); null when either part cannot be made, the surface then released
// (a surface the decor refuses stays the caller's).
inline sblink_decor* blinking_decor(const char* base, const char* blink, int step, int r, int g, int b)
{
    simple_surface* surface = create_simple_surface(base, blink, 1, step, 0, 0, r, g, b);
    sblink_decor* d = surface != nullptr ? create_sblink_decor(surface, 0, 0) : nullptr;
    if (d == nullptr) free_simple_surface(surface);
    return d;
}

// Cells 1 and 2 of the picture at `path` opened as a sheet of 1 x 1 cells
// with a margin and a spacing of 1, keyed magenta; null when the sheet or
// the sprite cannot be made.
inline sprite* spaced_cells(const char* path)
{
    sprite_sheet* sheet = open_sprite_sheet(path, 1, 1, 1, 1, 255, 0, 255);
    sprite* s = sheet != nullptr ? create_sprite_from_cells(sheet, 1, 2, 0, 0, 0) : nullptr;
    close_sprite_sheet(sheet);
    return s;
}

// Each member is null when its creation failed. Blinking is on, with step
// 10; magenta is the key; everything stands at (0, 0) and is shown.
struct Objects {
    explicit Objects(const std::string& image)
        : path(image),
          one{path.c_str(), nullptr},
          complex(create_complex_surface(path.c_str(), one, 1, 10, 0, 0, 255, 0, 255)),
          simple(create_simple_surface(path.c_str(), path.c_str(), 1, 10, 0, 0, 255, 0, 255)),
          s(create_sprite(one, 0, 0, 0, 255, 0, 255)),
          d(create_decor(path.c_str(), 0, 0, 255, 0, 255)),
          blinking(blinking_decor(path.c_str(), path.c_str(), 10, 255, 0, 255)),
          p(tool_create_personnage_from_char(0, 0, 255, 0, 255, 1, one)),
          sheet(create_sprite_from_sheet(path.c_str(), 3, 2, 2, 0, 0, 0, 255, 0, 255)),
          spaced(spaced_cells(path.c_str())),
          aseprite(create_personnage_from_aseprite(path.c_str(), 0, 0, 255, 0, 255))
    {
        if (blinking) blinking->hidden = 0;
        if (d) d->hidden = 0;
        if (p) p->hidden = 0;
        if (aseprite) aseprite->hidden = 0;
    }
    Objects(const Objects&) = delete;
    Objects& operator=(const Objects&) = delete;

    std::string path;
    const char* one[2];
    anim::owned_complex_surface complex;
    anim::owned_simple_surface simple;
    anim::owned_sprite s;
    anim::owned_decor d;
    anim::owned_sblink_decor blinking;
    anim::owned_personnage p;
    anim::owned_sprite sheet;         // two 3 x 2 cells of the picture
    anim::owned_sprite spaced;        // spaced_cells of the picture
    anim::owned_personnage aseprite;  // the file read as a sprite sheet export
};

// Advances every object that was made by one step.
inline void update(Objects& o)
{
    if (o.complex) update_complex_blinking(o.complex.get());
    if (o.simple) update_simple_blinking(o.simple.get());
    if (o.s) update_sprite(o.s.get());
    if (o.blinking) update_sblink_decor(o.blinking.get());
    if (o.p) update_personnage(o.p.get());
    if (o.sheet) update_sprite(o.sheet.get());
    if (o.spaced) update_sprite(o.spaced.get());
    if (o.aseprite) advance_personnage(o.aseprite.get(), 17);
}

// The steps that take every ladder of `o` once through its whole cycle:
// each front of the complex surface faded in, the simple one's overlay up
// to its top and down again.
inline int whole_cycle(const Objects& o)
{
    const int fronts = o.complex ? o.complex->count * o.complex->max_subframe : 0;
    const int blinks = o.simple ? 2 * (o.simple->count + 1) : 0;
    return fronts > blinks ? fronts : blinks;
}

}  // namespace test_support

#endif
