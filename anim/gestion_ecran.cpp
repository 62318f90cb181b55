// gestion_ecran: the view record.
#include "anim/gestion_ecran.h"

#include <cstdlib>  // Required for: calloc(), free()

screen* create_screen(int w, int h, int x, int y)
{
    auto* s = static_cast<screen*>(calloc(1, sizeof(screen)));
    if (s == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    *s = screen{nullptr, w, h, x, y, x, y};
    return s;
}

void free_screen(screen* s)
{
    if (s == nullptr) return;
    SDL_FreeSurface(s->surface);  // null is ignored; the display surface, SDL keeps
    free(s);
}

void update_screen_xy(screen* s, int x, int y)
{
    s->old_x = s->x;
    s->old_y = s->y;
    s->x = x;
    s->y = y;
}

void update_screen_x(screen* s, int x)
{
    update_screen_xy(s, x, s->y);
}

void update_screen_y(screen* s, int y)
{
    update_screen_xy(s, s->x, y);
}
