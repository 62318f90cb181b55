// blink_sprite_test: the cross-fade of blink_test with a running character
// over it, in a window of its own.
//
// The character's ten frames play in a 10-frame cycle over the cross-fade,
// until the window is closed. Its window, character and exit statuses are in
// blink_sprite_test.h; the cross-fade's pictures and step in blink_test.h.
#include "anim/lib_complex_blinking.h"
#include "anim/lib_sprite.h"
#include "blink_sprite_test.h"
#include "program_shell.h"

using namespace blink_sprite_test;
using blink_test::kBackdrop;
using blink_test::kFronts;
using blink_test::kKey;
using blink_test::kStep;

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization
    int running = 1;
    SDL_Event event;

    SDL_Surface* display = open_display(kName, SDL_INIT_TIMER | SDL_INIT_VIDEO, kWidth, kHeight, kFill);
    if (display == nullptr) return kWindowFailureStatus;

    // The cross-fade of blink_test, and the animated runner over it, keyed
    // alike.
    complex_surface* cross_fade = create_complex_surface(kBackdrop, kFronts, 1, kStep, 0, 0, kKey.r, kKey.g, kKey.b);
    if (cross_fade == nullptr) report_failure(kName, "cannot make the cross-fade");
    sprite* runner = create_sprite(kRunner, 0, kRunnerX, kRunnerY, kKey.r, kKey.g, kKey.b);
    if (runner == nullptr) report_failure(kName, "cannot make the runner");
    if (cross_fade == nullptr || runner == nullptr) {
        free_complex_surface(cross_fade);
        free_sprite(runner);
        SDL_Quit();
        // The cross-fade's status tells that it failed, whatever became of the runner.
        return cross_fade == nullptr ? blink_test::kFadeFailureStatus : kRunnerFailureStatus;
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
