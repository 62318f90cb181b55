// lib_personnage: characters made of several sprites.
#include "anim/lib_personnage.h"

#include "anim/detail/sprite_frames.h"
#include "anim/object_list.h"

#include <cstdarg>  // Required for: va_list, va_start(), va_arg(), va_end()
#include <cstdlib>  // Required for: calloc(), free()
#include <cstring>  // Required for: strcmp()

namespace {

// Sizes src to the sprite's w and h.
void fit_source_to(personnage* p, const sprite* s)
{
    p->src.w = static_cast<Uint16>(s->w);
    p->src.h = static_cast<Uint16>(s->h);
}

// Makes `count` animated sprites at (x, y) from the path lists in `lists`,
// as a null-terminated array, each picture read once however many sprites
// show it. Null after releasing what it made.
sprite** create_sprites(int count, va_list lists, int x, int y, int r, int g, int b)
{
    anim::detail::PictureFiles files;
    // An array of pointers, with room for the terminator.
    auto** sprites = static_cast<sprite**>(
        calloc(static_cast<size_t>(count) + 1, sizeof(sprite*)));  // NOLINT(bugprone-sizeof-expression)
    if (sprites == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    for (int i = 0; i < count; ++i) {
        sprites[i] = anim::detail::create_sprite_from_files(files, va_arg(lists, const char* const*), 0, x, y, r, g, b);
        if (sprites[i] == nullptr) {
            free_sprite_array(sprites);
            return nullptr;
        }
    }
    return sprites;
}

}  // namespace

personnage* create_personnage(sprite** sprites, int sprite_count, int x, int y)
{
    if (sprites == nullptr) {
        SDL_SetError("a personnage needs an array of sprites, got null");
        return nullptr;
    }
    if (sprite_count <= 0) {
        SDL_SetError("a personnage needs at least one sprite, got %d", sprite_count);
        return nullptr;
    }
    for (int i = 0; i < sprite_count; ++i) {
        if (sprites[i] == nullptr) {
            SDL_SetError("sprite %d of a personnage of %d is missing", i, sprite_count);
            return nullptr;
        }
    }
    auto* p = static_cast<personnage*>(calloc(1, sizeof(personnage)));
    if (p == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    p->sprites = sprites;
    p->sprite_count = sprite_count;
    p->x = x;
    p->y = y;
    p->dst.x = static_cast<Sint16>(x);
    p->dst.y = static_cast<Sint16>(y);
    fit_source_to(p, sprites[0]);
    p->current = 0;
    p->hidden = 1;
    return p;
}

personnage* tool_create_personnage_from_char(int x, int y, int r, int g, int b, int count, ...)
{
    if (count <= 0) {
        SDL_SetError("a personnage needs at least one sprite, got %d", count);
        return nullptr;
    }
    va_list lists;
    va_start(lists, count);
    sprite** sprites = create_sprites(count, lists, x, y, r, g, b);
    va_end(lists);
    if (sprites == nullptr) return nullptr;
    personnage* p = create_personnage(sprites, count, x, y);
    if (p == nullptr) free_sprite_array(sprites);
    return p;
}

void free_everything_personnage(personnage* p)
{
    if (p == nullptr) return;
    for (int i = 0; i < p->sprite_count; ++i) free_sprite(p->sprites[i]);
    free(free_structure_personnage(p));
}

sprite** free_structure_personnage(personnage* p)
{
    if (p == nullptr) return nullptr;
    sprite** sprites = p->sprites;
    if (p->names != nullptr)
        for (int i = 0; i < p->sprite_count; ++i) free(p->names[i]);
    free(p->names);
    free(p);
    return sprites;
}

void blit_personnage(personnage* p, SDL_Surface* target)
{
    if (p->hidden != 0) return;
    blit_sprite_from_to(p->sprites[p->current], target, p->src, p->dst);
}

void update_personnage(personnage* p)
{
    update_sprite(p->sprites[p->current]);
}

void advance_personnage(personnage* p, int ms)
{
    advance_sprite(p->sprites[p->current], ms);
}

int change_sprite_personnage(personnage* p, int index)
{
    if (index < 0 || index >= p->sprite_count) {
        SDL_SetError("no sprite %d in a personnage of %d", index, p->sprite_count);
        return -1;
    }
    sprite* chosen = p->sprites[index];
    if (p->keep_feet != 0) {
        const sprite* shown = p->sprites[p->current];
        const int dx = (shown->w - chosen->w) / 2, dy = shown->h - chosen->h;
        p->x += dx;
        p->y += dy;
        p->dst.x = static_cast<Sint16>(p->dst.x + dx);
        p->dst.y = static_cast<Sint16>(p->dst.y + dy);
    }
    p->current = index;
    chosen->frame = 0;
    chosen->pace.elapsed_ms = 0;
    fit_source_to(p, chosen);
    return 0;
}

int find_sprite_personnage(const personnage* p, const char* name)
{
    for (int i = 0; p->names != nullptr && name != nullptr && i < p->sprite_count; ++i)
        if (p->names[i] != nullptr && strcmp(p->names[i], name) == 0) return i;
    SDL_SetError("no sprite of the personnage is named \"%s\"", name != nullptr ? name : "(null)");
    return -1;
}

ANIM_DEFINE_LIST_BUILDER(make_personnage_array, personnage)

personnage** make_personnage_array_from(int count, personnage* const* members)
{
    return anim::copy_object_list(count, members);
}

void free_everything_personnage_array(personnage** list)
{
    anim::free_object_list(list, free_everything_personnage);
}
