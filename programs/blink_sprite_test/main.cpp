// blink_sprite_test: the cross-fade of blink_test with a running character
// over it, in a 150 x 100 window.
//
// The character's ten frames "x02.bmp" to "x11.bmp" play in a 10-frame cycle
// at (50, 0) over the 104-frame cross-fade, until the window is closed.
// Exits with 42 when the cross-fade cannot be made.
#include "anim/lib_complex_blinking.h"
#include "anim/lib_sprite.h"
#include "program_shell.h"

namespace {

constexpr const char* kProgram = "blink_sprite_test";
constexpr int kCrossFadeFailureStatus = 42;
constexpr int kSpriteFailureStatus = 2;

}  // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization
    const char* const front_paths[] = {"img_devant1.bmp", "img_devant2.bmp", "img_devant3.bmp", nullptr};
    const char* const frame_paths[] = {"x02.bmp", "x03.bmp", "x04.bmp", "x05.bmp", "x06.bmp", "x07.bmp",
                                       "x08.bmp", "x09.bmp", "x10.bmp", "x11.bmp", nullptr};
    int running = 1;
    SDL_Event event;

    SDL_Surface* display = open_display(kProgram, SDL_INIT_TIMER | SDL_INIT_VIDEO, 150, 100, 255, 255, 255);
    if (display == nullptr) return kWindowFailureStatus;

    // The cross-fade of blink_test, and the animated runner at (50, 0);
    // magenta is transparent in every image.
    complex_surface* cross_fade = create_complex_surface("img_fond.bmp", front_paths, 1, 10, 0, 0, 255, 0, 255);
    if (cross_fade == nullptr) report_failure(kProgram, "cannot make the cross-fade");
    sprite* runner = create_sprite(frame_paths, 0, 50, 0, 255, 0, 255);
    if (runner == nullptr) report_failure(kProgram, "cannot make the runner");
    if (cross_fade == nullptr || runner == nullptr) {
        free_complex_surface(cross_fade);
        free_sprite(runner);
        SDL_Quit();
        // 42 tells that the cross-fade failed, whatever became of the runner.
        return cross_fade == nullptr ? kCrossFadeFailureStatus : kSpriteFailureStatus;
    }

    // Main loop: a quit still lets its frame run to the end.
    while (running == 1) {
        running = poll_run_flag(&event, running);

        // Draw, back to front
        blit_complex_blinking_surface(cross_fade, display);
        blit_sprite(runner, display);
        SDL_Flip(display);

        // Update
        update_complex_blinking(cross_fade);
        update_sprite(runner);
        SDL_Delay(kFramePauseMs);
    }

    // De-Initialization: the cross-fade first, then the runner
    free_complex_surface(cross_fade);
    free_sprite(runner);
    SDL_Quit();
    return 0;
}
