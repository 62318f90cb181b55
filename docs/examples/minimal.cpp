// minimal: a blinking picture with a running child over it, until the window
// is closed. Run it from a folder holding img_fond.bmp, img_devant1.bmp and
// x02.bmp to x11.bmp, such as share/anim/blink_sprite_test of an install.
#include "anim/display_format.h"
#include "anim/lib_simple_blinking.h"
#include "anim/lib_sprite.h"

#include <cstdio>

namespace {

// Says what could not be made. Call it right after the call that failed:
// SDL's own calls may leave messages of their own in SDL_GetError().
void report(const char* what)
{
    std::fprintf(stderr, "minimal: cannot make %s: %s\n", what, SDL_GetError());
}

}  // namespace

int main()
{
    // Initialization: a window, then the objects (magenta is transparent),
    // each checked as it is made
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "minimal: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface* display = SDL_SetVideoMode(150, 100, 32, SDL_SWSURFACE);
    if (display == nullptr) {
        report("the window");
        SDL_Quit();
        return 1;
    }
    // Every image made from here on is converted once to the window's pixel
    // format: a frame's blits then copy its pixels instead of converting each.
    use_display_format(1);
    simple_surface* dawn = create_simple_surface("img_fond.bmp", "img_devant1.bmp", 1, 10, 0, 0, 255, 0, 255);
    if (dawn == nullptr) {
        report("the dawn");
        SDL_Quit();
        return 1;
    }
    const char* const frames[] = {"x02.bmp", "x03.bmp", "x04.bmp", "x05.bmp", "x06.bmp", "x07.bmp",
                                  "x08.bmp", "x09.bmp", "x10.bmp", "x11.bmp", nullptr};
    sprite* runner = create_sprite(frames, 0, 50, 0, 255, 0, 255);
    if (runner == nullptr) {
        report("the runner");
        free_simple_surface(dawn);
        SDL_Quit();
        return 1;
    }

    // Main loop: draw, show, advance every animation one step, pause
    for (bool running = true; running;) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0)
            if (event.type == SDL_QUIT) running = false;
        blit_simple_blinking_surface(dawn, display);
        blit_sprite(runner, display);
        SDL_Flip(display);
        update_simple_blinking(dawn);
        update_sprite(runner);
        SDL_Delay(50);
    }

    // De-Initialization: each create_ has its free, before SDL_Quit
    free_sprite(runner);
    free_simple_surface(dawn);
    SDL_Quit();
    return 0;
}
