// blink_test: one cross-fading picture in its window.
//
// Shows the backdrop with its three fronts fading in one after the other and
// the backdrop fading back, over and over, until the window is closed. Its
// window, pictures and exit statuses are in programs/programs.json.
#include "anim_programs.h"
#include "blink_objects.h"
#include "program_shell.h"

namespace {

namespace facts = anim_programs::blink_test;
constexpr const char* kProgram = "blink_test";

}  // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization
    int running = 1;
    SDL_Event event;

    SDL_Surface* display = open_display(kProgram, SDL_INIT_VIDEO, facts::window::kWidth, facts::window::kHeight,
                                        facts::fill::kRed, facts::fill::kGreen, facts::fill::kBlue);
    if (display == nullptr) return kWindowFailureStatus;

    complex_surface* cross_fade = create_cross_fade("");
    if (cross_fade == nullptr) {
        report_failure(kProgram, "cannot make the cross-fade");
        SDL_Quit();
        return facts::status::kFade;
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
