// blink_test: one cross-fading picture in a 100 x 50 window.
//
// Shows "img_fond.bmp" with "img_devant1.bmp" to "img_devant3.bmp" fading in
// one after the other and the base fading back, a cycle of 104 frames, until
// the window is closed. Exits with 42 when the picture cannot be made.
#include "anim/lib_complex_blinking.h"
#include "program_shell.h"

namespace {

constexpr const char* kProgram = "blink_test";
constexpr int kCrossFadeFailureStatus = 42;

}  // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization
    const char* const front_paths[] = {"img_devant1.bmp", "img_devant2.bmp", "img_devant3.bmp", nullptr};
    int running = 1;
    SDL_Event event;

    SDL_Surface* display = open_display(kProgram, SDL_INIT_VIDEO, 100, 50, 0, 0, 0);
    if (display == nullptr) return kWindowFailureStatus;

    // Three fronts over the base, alpha step 10, magenta transparent.
    complex_surface* cross_fade = create_complex_surface("img_fond.bmp", front_paths, 1, 10, 0, 0, 255, 0, 255);
    if (cross_fade == nullptr) {
        report_failure(kProgram, "cannot make the cross-fade");
        SDL_Quit();
        return kCrossFadeFailureStatus;
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
