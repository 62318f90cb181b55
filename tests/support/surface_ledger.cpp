// surface_ledger: counting stand-ins for SDL's BMP loader and surface release.
#include "surface_ledger.h"

#include "next_definition.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace {

using LoadFn = SDL_Surface* (*)(SDL_RWops*, int);
using FreeFn = void (*)(SDL_Surface*);

struct Ledger {
    long loads = 0;
    long fail_at = 0;  // absolute load number to refuse; 0 for none
    std::unordered_set<const SDL_Surface*> live;
    std::vector<const SDL_Surface*> free_log;
};

Ledger& ledger()
{
    static Ledger* instance = new Ledger;  // never destroyed: frees may come during exit
    return *instance;
}

}  // namespace

namespace harness {

long load_count()
{
    return ledger().loads;
}

long live_surfaces()
{
    return static_cast<long>(ledger().live.size());
}

void fail_load(long k)
{
    ledger().fail_at = k > 0 ? ledger().loads + k : 0;
}

std::vector<const SDL_Surface*> take_free_log()
{
    std::vector<const SDL_Surface*> log;
    log.swap(ledger().free_log);
    return log;
}

}  // namespace harness

extern "C" SDL_Surface* SDL_LoadBMP_RW(SDL_RWops* src, int freesrc)
{
    static const auto real_load = harness::next_definition<LoadFn>("SDL_LoadBMP_RW");
    Ledger& l = ledger();
    ++l.loads;
    if (l.loads == l.fail_at) {
        if (freesrc != 0 && src != nullptr) SDL_RWclose(src);
        SDL_SetError("load %ld refused by the test harness", l.loads);
        return nullptr;
    }
    SDL_Surface* image = real_load(src, freesrc);
    if (image != nullptr) l.live.insert(image);
    return image;
}

extern "C" void SDL_FreeSurface(SDL_Surface* surface)
{
    static const auto real_free = harness::next_definition<FreeFn>("SDL_FreeSurface");
    Ledger& l = ledger();
    if (surface != nullptr && l.live.erase(surface) != 0) l.free_log.push_back(surface);
    real_free(surface);
}
