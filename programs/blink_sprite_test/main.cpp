// blink_sprite_test: the cross-fade of blink_test with a running character
// over it, in a window of its own.
//
// The character's ten frames play in a 10-frame cycle over the cross-fade,
// until the window is closed. Its window, pictures and exit statuses are in
// programs/programs.json.
#include "anim_programs.h"
#include "blink_objects.h"
#include "program_shell.h"

namespace {

namespace facts = anim_programs::blink_sprite_test;
constexpr const char* kProgram = "blink_sprite_test";

}  // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization
    int running = 1;
    SDL_Event event;

    SDL_Surface* display =
        open_display(kProgram, SDL_INIT_TIMER | SDL_INIT_VIDEO, facts::window::kWidth, facts::window::kHeight,
                     facts::fill::kRed, facts::fill::kGreen, facts::fill::kBlue);
    if (display == nullptr) return kWindowFailureStatus;

    // The cross-fade of blink_test, and the animated runner over it.
    complex_surface* cross_fade = create_cross_fade("");
    if (cross_fade == nullptr) report_failure(kProgram, "cannot make the cross-fade");
    sprite* runner = create_runner("");
    if (runner == nullptr) report_failure(kProgram, "cannot make the runner");
    if (cross_fade == nullptr || runner == nullptr) {
        free_complex_surface(cross_fade);
        free_sprite(runner);
        SDL_Quit();
        // The cross-fade's status tells that it failed, whatever became of the runner.
        return cross_fade == nullptr ? facts::status::kFade : facts::status::kRunner;
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
