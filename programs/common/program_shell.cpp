// program_shell: window start-up and event polling shared by the programs.
#include "program_shell.h"

#include <cstdio>  // Required for: fprintf()

SDL_Surface* open_display(const char* program, Uint32 init_flags, int width, int height, Colour fill)
{
    if (SDL_Init(init_flags) != 0) {
        report_failure(program, "cannot start SDL");
        return nullptr;
    }
    SDL_WM_SetCaption(kCaption, nullptr);
    SDL_Surface* display = SDL_SetVideoMode(width, height, kDepth, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (display == nullptr) {
        report_failure(program, "cannot open the window");
        SDL_Quit();
        return nullptr;
    }
    // The display is filled this once: every frame draws over what the
    // previous one left.
    SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, fill.r, fill.g, fill.b));
    return display;
}

int poll_run_flag(SDL_Event* event, int running)
{
    if (SDL_PollEvent(event) != 0 && event->type == SDL_QUIT) return 0;
    return running;
}

void report_failure(const char* program, const char* what)
{
    fprintf(stderr, "%s: %s: %s\n", program, what, SDL_GetError());
}
