// blink_test: one cross-fading picture in its window.
//
// Shows the backdrop with its three fronts fading in one after the other and
// the backdrop fading back, over and over, until the window is closed. Its
// window, pictures, step and exit status are in blink_test.h.
#include "anim/lib_complex_blinking.h"
#include "blink_test.h"
#include "program_shell.h"

using namespace blink_test;

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization
    int running = 1;
    SDL_Event event;

    SDL_Surface* display = open_display(kName, SDL_INIT_VIDEO, kWidth, kHeight, kFill);
    if (display == nullptr) return kWindowFailureStatus;

    // The cross-fade, enabled, at the window's top left corner.
    complex_surface* cross_fade = create_complex_surface(kBackdrop, kFronts, 1, kStep, 0, 0, kKey.r, kKey.g, kKey.b);
    if (cross_fade == nullptr) {
        report_failure(kName, "cannot make the cross-fade");
        SDL_Quit();
        return kFadeFailureStatus;
    }

    // Main loop: a quit still lets its frame run to the end.
    while (running == 1) {
        running = poll_run_flag(&event, running);

        // Draw
        blit_complex_blinking_surface(cross_fade, display);
        SDL_Flip(display);

        // Update
        update_complex_blinking(cross_fade);
        SDL_Delay(kFramePauseMs);
    }

    // De-Initialization
    free_complex_surface(cross_fade);
    SDL_Quit();
    return 0;
}
