// scene_demo: a snowy scene in a window onto a world twice its width.
//
// A child runs from the left end of the world to its right end while the
// view scrolls after it, the scenery slides and crops, a lantern and a
// cluster of ice crystals blink, and a hot-air balloon bobs until the child
// reaches it, then lights its burner and rises. At the world's end the child
// stops and waits. Closing the window ends the program.
#include "program_shell.h"
#include "scene.h"
#include "scene_demo.h"

using namespace scene_demo;

namespace {

// Releases the scene, then shuts SDL down.
void tear_down(Scene& scene)
{
    release_scene(scene);
    SDL_Quit();
}

}  // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Initialization: the view, the world, the window, then the scene
    Scene scene;
    int running = 1;
    SDL_Event event;

    if (!create_view_and_world(scene)) {
        report_failure(kName, "cannot make the view");  // SDL is not started yet
        return kSceneFailureStatus;
    }
    screen* view = scene.view.get();
    SDL_Surface* display = open_display(kName, SDL_INIT_TIMER | SDL_INIT_VIDEO, view->w, view->h, kFill);
    if (display == nullptr) {
        tear_down(scene);
        return kWindowFailureStatus;
    }
    view->surface = display;
    if (!assemble_scene(scene)) {
        report_failure(kName, "cannot build the scene");
        tear_down(scene);
        return kSceneFailureStatus;
    }

    // Main loop: a quit still lets its frame run to the end.
    while (running == 1) {
        running = poll_run_flag(&event, running);
        draw_scene(scene, display);
        SDL_Flip(display);
        update_scene(scene);
        SDL_Delay(kFramePauseMs);
    }

    // De-Initialization
    tear_down(scene);
    return 0;
}
