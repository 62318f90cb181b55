// gestion_monde: the scene container.
#include "anim/gestion_monde.h"

#include "anim/detail/coordinate.h"
#include "anim/object_list.h"

#include <algorithm>  // Required for: std::clamp(), std::max()
#include <cstdlib>    // Required for: calloc(), free()

using anim::for_each_member;
using anim::detail::place;
using anim::detail::shift;

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

void blit_world(world* w, SDL_Surface* target)
{
    for_each_member(w->decors, [&](decor* d) { blit_decor(d, target); });
    for_each_member(w->sblink_decors, [&](sblink_decor* d) { blit_sblink_decor(d, target); });
    for_each_member(w->peoples, [&](personnage* p) { blit_personnage(p, target); });
    if (w->hero != nullptr) blit_personnage(w->hero, target);
}

void scroll_world(screen* view, world* w, int pixels)
{
    view->x += pixels;
    for_each_member(w->sblink_decors, [&](sblink_decor* d) { shift(d->dst.x, -pixels); });
    for_each_member(w->decors, [&](decor* d) { shift(d->dst.x, -pixels); });
    for_each_member(w->peoples, [&](personnage* p) { shift(p->dst.x, -pixels); });
}

void follow_personnage(screen* view, world* w, personnage* p, int margin)
{
    const int left = p->x, right = p->x + p->sprites[p->current]->w;
    int to = view->x;
    if (right > view->x + view->w - margin)
        to = right + margin - view->w;
    else if (left < view->x + margin)
        to = left - margin;
    to = std::clamp(to, 0, std::max(0, w->w - view->w));
    if (to != view->x) scroll_world(view, w, to - view->x);
    place(p->dst.x, p->x, view->x);
}

void place_personnage(const screen* view, personnage* p)
{
    place(p->dst.x, p->x, view->x);
    place(p->dst.y, p->y, view->y);
}

void crop_world(const screen* view, world* w)
{
    for_each_member(w->decors, [&](decor* d) {
        if (d->x + d->image->w < view->x) d->hidden = 1;
        place(d->dst.x, d->x, view->x);
    });
    for_each_member(w->sblink_decors, [&](sblink_decor* d) {
        if (d->x + d->surface->w < view->x) d->hidden = 1;
    });
}
