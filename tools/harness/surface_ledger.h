// surface_ledger: keeps account of the images a process loads.
//
// Linked into a process (in a test executable, or in the preloaded harness),
// it stands in front of SDL's SDL_LoadBMP_RW, SDL_DisplayFormat,
// SDL_DisplayFormatAlpha and SDL_FreeSurface: every image load and
// conversion is counted, each loaded or converted surface is tracked until
// it is freed, and a chosen load can be made to fail as if the file were
// unreadable, a chosen conversion as if memory ran out. It also counts the
// files opened for reading with fopen, by path.
#ifndef ANIM_HARNESS_SURFACE_LEDGER_H
#define ANIM_HARNESS_SURFACE_LEDGER_H

#include <SDL.h>

#include <string>

namespace harness {

// Number of image loads attempted so far, failed ones included.
long load_count();

// Number of loaded surfaces not yet freed.
long live_surfaces();

// Makes the k-th image load from now fail (k = 1: the next one); its stream
// is closed as the loader's contract asks, it returns null and SDL_GetError()
// names the refusal. k <= 0 cancels a pending failure.
void fail_load(long k);

// Number of conversions to the display's format (SDL_DisplayFormat and
// SDL_DisplayFormatAlpha) attempted so far, failed ones included.
long conversion_count();

// Makes the k-th conversion from now fail (k = 1: the next one): it returns
// null and SDL_GetError() names the refusal. k <= 0 cancels a pending
// failure.
void fail_conversion(long k);

// Number of times the file at `path` has been opened for reading with fopen.
long reads_of(const std::string& path);

// True while the ledger updates its own books, inside one of its stand-ins:
// an allocation failer then leaves the ledger's own allocations alone.
bool keeping_books();

}  // namespace harness

#endif
