// harness_probe: a program that keeps its own count of what the test harness
// counts and steers from outside, so that a test can hold the two against
// each other on every SDL the project runs on. It makes a sprite of
// blink_test's backdrop from its working folder a few times (one image load
// each), noting the first that fails, then runs frames (every event waiting
// is taken each frame, as many programs do) until a quit arrives, and writes
// at exit, on standard error:
//
//   harness_probe: loads=L refused=K frames=F quit=Q
//
// K: the first load that failed (0: none); F: the frames it flipped; Q: the
// frame whose poll brought the quit (0: none came in its frame limit).
#include "anim/lib_sprite.h"
#include "blink_test.h"

#include <cstdio>

namespace {

constexpr long kLoads = 3;
constexpr long kFrameLimit = 1000;  // a quit that never comes ends the run here

}  // namespace

int main(int /*argc*/, char* /*argv*/[])
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Surface* display = SDL_SetVideoMode(16, 16, 32, SDL_SWSURFACE);
    if (display == nullptr) {
        std::fprintf(stderr, "harness_probe: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    const char* const frames[] = {blink_test::kBackdrop, nullptr};
    long refused = 0;
    for (long load = 1; load <= kLoads; ++load) {
        sprite* made = create_sprite(frames, 0, 0, 0, 255, 0, 255);
        if (made == nullptr && refused == 0) refused = load;
        free_sprite(made);
    }
    long flips = 0, quit = 0;
    while (quit == 0 && flips < kFrameLimit) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0)
            if (event.type == SDL_QUIT) quit = flips + 1;
        SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, 0, static_cast<Uint8>(flips), 0));
        SDL_Flip(display);
        ++flips;
        SDL_Delay(kFramePauseMs);  // paced like the programs, so that the harness skips it the same way
    }
    std::fprintf(stderr, "harness_probe: loads=%ld refused=%ld frames=%ld quit=%ld\n", kLoads, refused, flips, quit);
    SDL_Quit();
    return 0;
}
