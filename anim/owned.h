// owned: std::unique_ptr owners over the toolkit's records, for C++ callers.
//
// Each alias releases its record with the matching free function when it
// goes out of scope; hand_over() (or release()) lets it go when another
// owner (a decor, a personnage, a list or the world) takes it.
//
//   owned_simple_surface   a simple blinking surface (free_simple_surface)
//   owned_complex_surface  a complex blinking surface (free_complex_surface)
//   owned_sprite           a sprite (free_sprite)
//   owned_sprite_array     a list of sprites, with its sprites (free_sprite_array)
//   owned_decor            a decor, with its image (free_everything_decor)
//   owned_sblink_decor     a blinking decor, with its surface
//   owned_personnage       a personnage, with its sprites
//   owned_screen           a screen (free_screen)
//   owned_world            a world, with everything it holds
//   hand_over              let the record go to another owner
#ifndef ANIM_OWNED_H
#define ANIM_OWNED_H

#include "anim/gestion_ecran.h"
#include "anim/gestion_monde.h"
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"
#include "anim/lib_simple_blinking.h"
#include "anim/lib_sprite.h"

#include <memory>

namespace anim {

// A deleter that calls `Free`.
template <typename T, void (*Free)(T*)>
struct free_with {
    void operator()(T* record) const { Free(record); }
};

// Lets go of the record `owner` holds, which another owner (a decor, a
// personnage, a list or the world) holds from now on.
template <typename Owner>
void hand_over(Owner& owner)
{
    static_cast<void>(owner.release());
}

// Frees everything a world holds, then the world.
inline void free_world_and_contents(world* w)
{
    free_decors_in_world(w);
    free_peoples_in_world(w);
    free_world(w);
}

using owned_simple_surface = std::unique_ptr<simple_surface, free_with<simple_surface, free_simple_surface>>;
using owned_complex_surface = std::unique_ptr<complex_surface, free_with<complex_surface, free_complex_surface>>;
using owned_sprite = std::unique_ptr<sprite, free_with<sprite, free_sprite>>;
// A list of sprites, released with its sprites.
using owned_sprite_array = std::unique_ptr<sprite*, free_with<sprite*, free_sprite_array>>;
using owned_decor = std::unique_ptr<decor, free_with<decor, free_everything_decor>>;
using owned_sblink_decor = std::unique_ptr<sblink_decor, free_with<sblink_decor, free_everything_sblink_decor>>;
using owned_personnage = std::unique_ptr<personnage, free_with<personnage, free_everything_personnage>>;
using owned_screen = std::unique_ptr<screen, free_with<screen, free_screen>>;
// A world, released with everything it holds.
using owned_world = std::unique_ptr<world, free_with<world, free_world_and_contents>>;

}  // namespace anim

#endif
