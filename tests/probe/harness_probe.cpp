// harness_probe: a program that keeps its own count of what the test harness
// counts and steers from outside, so that a test can hold the two against
// each other on every SDL the project runs on. It loads img_fond.bmp from
// its working folder a few times, noting the first load that fails, then
// runs frames (every event waiting is taken each frame, as many programs
// do) until a quit arrives, and writes at exit, on standard error:
//
//   harness_probe: loads=L refused=K frames=F quit=Q
//
// K: the first load that failed (0: none); F: the frames it flipped; Q: the
// frame whose poll brought the quit (0: none came in its frame limit).
#include <SDL.h>

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
    long refused = 0;
    for (long load = 1; load <= kLoads; ++load) {
        SDL_Surface* image = SDL_LoadBMP("img_fond.bmp");
        if (image == nullptr && refused == 0) refused = load;
        SDL_FreeSurface(image);
    }
    long frames = 0, quit = 0;
    while (quit == 0 && frames < kFrameLimit) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0)
            if (event.type == SDL_QUIT) quit = frames + 1;
        SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, 0, static_cast<Uint8>(frames), 0));
        SDL_Flip(display);
        ++frames;
        SDL_Delay(50);
    }
    std::fprintf(stderr, "harness_probe: loads=%ld refused=%ld frames=%ld quit=%ld\n", kLoads, refused, frames, quit);
    SDL_Quit();
    return 0;
}
