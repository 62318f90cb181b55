// gestion_monde: the scene container.
#include "anim/gestion_monde.h"

#include <cstdlib>  // Required for: calloc(), free()

world* create_world(int x, int y, int w, int h)
{
    auto* wd = static_cast<world*>(calloc(1, sizeof(world)));
    if (wd == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    *wd = world{nullptr, nullptr, nullptr, nullptr, x, y, w, h};
    return wd;
}

void free_peoples_in_world(world* w)
{
    if (w == nullptr) return;
    free_everything_personnage(w->hero);
    free_everything_personnage_array(w->peoples);
    w->hero = nullptr;
    w->peoples = nullptr;
}

void free_decors_in_world(world* w)
{
    if (w == nullptr) return;
    free_everything_decor_array(w->decors);
    free_everything_sblink_decor_array(w->sblink_decors);
    w->decors = nullptr;
    w->sblink_decors = nullptr;
}

void free_world(world* w)
{
    free(w);
}
