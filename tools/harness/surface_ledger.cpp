// surface_ledger: counting stand-ins for SDL's BMP loader, its conversions
// to the display's format and its surface release, and for fopen.
#include "surface_ledger.h"

#include "next_definition.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

using LoadFn = SDL_Surface* (*)(SDL_RWops*, int);
using FreeFn = void (*)(SDL_Surface*);
using ConvertFn = SDL_Surface* (*)(SDL_Surface*);
using OpenFn = FILE* (*)(const char*, const char*);

struct Ledger {
    long loads = 0;
    long fail_at = 0;  // absolute load number to refuse; 0 for none
    long conversions = 0;
    long fail_conversion_at = 0;  // absolute conversion number to refuse; 0 for none
    std::unordered_set<const SDL_Surface*> live;
    std::unordered_map<std::string, long> reads;  // by path
};

Ledger& ledger()
{
    static Ledger* instance = new Ledger;  // never destroyed: frees may come during exit
    return *instance;
}

// Open while the ledger updates its books (see harness::keeping_books).
int books_open = 0;

struct KeepingBooks {
    KeepingBooks() { ++books_open; }
    ~KeepingBooks() { --books_open; }
    KeepingBooks(const KeepingBooks&) = delete;
    KeepingBooks& operator=(const KeepingBooks&) = delete;
};

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

long conversion_count()
{
    return ledger().conversions;
}

void fail_conversion(long k)
{
    ledger().fail_conversion_at = k > 0 ? ledger().conversions + k : 0;
}

long reads_of(const std::string& path)
{
    const auto found = ledger().reads.find(path);
    return found == ledger().reads.end() ? 0 : found->second;
}

bool keeping_books()
{
    return books_open != 0;
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
    const KeepingBooks books;
    if (image != nullptr) l.live.insert(image);
    return image;
}

namespace {

// The conversion `convert` of `surface`, counted, refused when it is the
// one asked for, and its result tracked as a loaded image.
SDL_Surface* tracked(ConvertFn convert, SDL_Surface* surface)
{
    Ledger& l = ledger();
    if (++l.conversions == l.fail_conversion_at) {
        SDL_SetError("conversion %ld refused by the test harness", l.conversions);
        return nullptr;
    }
    SDL_Surface* converted = convert(surface);
    const KeepingBooks books;
    if (converted != nullptr) l.live.insert(converted);
    return converted;
}

}  // namespace

extern "C" SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    static const auto real_convert = harness::next_definition<ConvertFn>("SDL_DisplayFormat");
    return tracked(real_convert, surface);
}

extern "C" SDL_Surface* SDL_DisplayFormatAlpha(SDL_Surface* surface)
{
    static const auto real_convert = harness::next_definition<ConvertFn>("SDL_DisplayFormatAlpha");
    return tracked(real_convert, surface);
}

extern "C" void SDL_FreeSurface(SDL_Surface* surface)
{
    static const auto real_free = harness::next_definition<FreeFn>("SDL_FreeSurface");
    Ledger& l = ledger();
    if (surface != nullptr) l.live.erase(surface);
    real_free(surface);
}

// The C library names its parameters with reserved names.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
extern "C" FILE* fopen(const char* filename, const char* modes)
{
    static const auto real_open = harness::next_definition<OpenFn>("fopen");
    if (filename != nullptr && modes != nullptr && modes[0] == 'r') {
        const KeepingBooks books;
        ++ledger().reads[filename];
    }
    return real_open(filename, modes);
}
