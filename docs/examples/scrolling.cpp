// scrolling: a child runs along a snowy valley twice as wide as the window,
// which scrolls after it; a lantern blinks by the path, a fir tree stands in
// the snow, a balloon bobs over the valley, and the child waits at the
// valley's end. The valley's name fades in over its band at the start. The
// child, the tree, the lantern's glow and the title are PNG pictures with
// soft edges; the child comes from a sprite editor's export (a sheet and its
// JSON file of frames and tags), the balloon from a sheet packed with a
// margin and a spacing. It runs at about 60 frames a second, and everything
// moves by the time that has passed, so it keeps its pace on any machine.
// Run it from a folder holding scene_demo's pictures (Ressources/...), such
// as share/anim/scene_demo of an install.
#include "anim/display_format.h"
#include "anim/gestion_monde.h"
#include "anim/lib_aseprite.h"
#include "anim/owned.h"

#include <cstdio>

namespace {

constexpr int kViewW = 256, kViewH = 256, kValleyW = 512;
constexpr int kFrameMs = 16;                                 // a frame's time: about 60 a second
constexpr int kRunMs = 25;                                   // the child runs a pixel every 25 ms, 40 a second
constexpr int kMargin = 64;                                  // the child keeps this far from the window's edges
constexpr int kBalloonX = 380, kBalloonY = 40, kBob = 3;     // it bobs kBob pixels up and down,
constexpr int kBobMs = 50;                                   // a pixel every 50 ms
constexpr int kBalloonW = 40, kBalloonH = 56, kPadding = 2;  // its sheet's cells, margin and spacing
constexpr int kTitleX = 26, kTitleY = 10, kTitleStep = 5;    // it fades by 5 of 255 a step,
constexpr int kTitleMs = 30;                                 // a step every 30 ms

// Says what could not be made, at once: SDL's own calls may leave messages
// of their own in SDL_GetError().
bool made(const void* object, const char* what)
{
    if (object == nullptr) std::fprintf(stderr, "scrolling: cannot make %s: %s\n", what, SDL_GetError());
    return object != nullptr;
}

// A hidden decor of a picture of the valley (name.bmp or name.png), black
// transparent; a picture with an alpha channel is drawn by its alpha.
decor* scenery(const char* name, int x, int y)
{
    char path[64];
    std::snprintf(path, sizeof path, "Ressources/background/%s", name);
    return create_decor(path, x, y, 0, 0, 0);
}

// Fills the valley's lists and gives it its hero. The world owns what it
// holds from here on; false when anything cannot be made.
bool fill_valley(world* valley)
{
    // The ground, as wide as the valley, an ice peak and a fir tree on it.
    anim::owned_decor ground(scenery("plateform.bmp", 0, 112));
    if (!made(ground.get(), "the ground")) return false;
    anim::owned_decor peak(scenery("icepeak.bmp", 330, 168));
    if (!made(peak.get(), "the ice peak")) return false;
    peak->src.w = 71;  // a window of its picture: the peak without the snow below it
    peak->src.h = 56;
    anim::owned_decor fir(scenery("fir.png", 250, 164));
    if (!made(fir.get(), "the fir tree")) return false;
    ground->hidden = peak->hidden = fir->hidden = 0;  // decors start hidden
    valley->decors = make_decor_array(3, ground.get(), peak.get(), fir.get());
    if (!made(valley->decors, "the decor list")) return false;
    anim::hand_over(ground);
    anim::hand_over(peak);
    anim::hand_over(fir);

    // The lantern: its light, a soft glow, fades in and out, in steps of 20.
    anim::owned_simple_surface light(create_simple_surface("Ressources/background/blink1_1.bmp",
                                                           "Ressources/background/glow.png", 1, 20, 0, 0, 0, 0, 0));
    if (!made(light.get(), "the lantern's light")) return false;
    anim::owned_sblink_decor lantern(create_sblink_decor(light.get(), 150, 116));
    if (!made(lantern.get(), "the lantern")) return false;
    anim::hand_over(light);  // the lantern owns its light now
    lantern->hidden = 0;
    valley->sblink_decors = make_sblink_decor_array(1, lantern.get());
    if (!made(valley->sblink_decors, "the lantern list")) return false;
    anim::hand_over(lantern);

    // The balloon, a character of one sprite in the peoples list, so that it
    // scrolls with the valley: the row of its packed sheet, read once for
    // every sprite cut from it (the sheet's alpha draws it; white, the key,
    // would serve a sheet without alpha). Its frames show 50 ms each, the
    // time of every new sprite.
    sprite_sheet* sheet = open_sprite_sheet("Ressources/balloon/balloon_sheet.png", kBalloonW, kBalloonH, kPadding,
                                            kPadding, 255, 255, 255);
    if (!made(sheet, "the balloon's sheet")) return false;
    anim::owned_sprite burning(create_sprite_from_row(sheet, 0, 0, 0, 0));
    close_sprite_sheet(sheet);  // the sprite owns its frames
    if (!made(burning.get(), "the balloon's frames")) return false;
    anim::owned_sprite_array one(make_sprite_array(1, burning.get()));
    if (!made(one.get(), "the balloon's sprites")) return false;
    anim::hand_over(burning);
    anim::owned_personnage balloon(create_personnage(one.get(), 1, kBalloonX, kBalloonY));
    if (!made(balloon.get(), "the balloon")) return false;
    anim::hand_over(one);
    balloon->hidden = 0;
    valley->peoples = make_personnage_array(1, balloon.get());
    if (!made(valley->peoples, "the peoples list")) return false;
    anim::hand_over(balloon);

    // The child: a sprite per tag of its export, "run" and "wait", each
    // frame shown for the time the export gives it.
    valley->hero = create_personnage_from_aseprite("Ressources/child/child.json", 0, 189, 255, 255, 255);
    if (!made(valley->hero, "the child")) return false;
    if (find_sprite_personnage(valley->hero, "wait") < 0) return made(nullptr, "the waiting child");
    valley->hero->hidden = 0;
    return true;
}

// Opens the window and plays the valley until the window is closed; 0, or
// 1 when something cannot be made. Everything it makes is freed on return.
int play()
{
    // Initialization: the window, a view onto the valley, and its scenery
    SDL_Surface* display = SDL_SetVideoMode(kViewW, kViewH, 32, SDL_SWSURFACE);
    // Every image made from here on is converted once to the window's pixel
    // format: a frame's blits then copy its pixels instead of converting each.
    use_display_format(1);
    const anim::owned_screen view(create_screen(kViewW, kViewH, 0, 0));
    const anim::owned_world valley(create_world(0, 0, kValleyW, kViewH));  // frees what it holds too
    const anim::owned_decor sky(scenery("background.bmp", 0, 0));          // in no list: it does not scroll
    // The title, in no list either: its band at once, its words fading in
    // over it (blinking on, from the invisible copy 0).
    const anim::owned_simple_surface title(create_simple_surface(
        "Ressources/title/band.png", "Ressources/title/words.png", 1, kTitleStep, kTitleX, kTitleY, 0, 0, 0));
    if (!made(display, "the window") || !made(view.get(), "the view") || !made(valley.get(), "the valley") ||
        !made(sky.get(), "the sky") || !made(title.get(), "the title") || !fill_valley(valley.get()))
        return 1;
    sky->hidden = 0;
    set_simple_blinking_step_time(title.get(), kTitleMs);
    personnage* child = valley->hero;
    personnage* balloon = valley->peoples[0];
    const int waiting = find_sprite_personnage(child, "wait");
    int bob = 1;                     // the balloon's step, up or down
    int run_time = 0, bob_time = 0;  // time not yet spent running and bobbing, in ms
    Uint32 last = SDL_GetTicks();

    // Main loop: animate by the time passed since the last frame, move the
    // child and the view after it, draw, show, then pause for what is left
    // of the frame's time
    for (bool running = true; running;) {
        const Uint32 start = SDL_GetTicks();
        const int passed = static_cast<int>(start - last);
        last = start;
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0)
            if (event.type == SDL_QUIT) running = false;
        advance_sblink_decor(valley->sblink_decors[0], passed);
        advance_personnage(child, passed);
        advance_personnage(balloon, passed);
        advance_fade_in_simple_blinking(title.get(), passed);  // once: then it stays
        // A character moves in the world, a pixel at a time, then is placed
        // in the window.
        for (bob_time += passed; bob_time >= kBobMs; bob_time -= kBobMs) {
            if (balloon->y == kBalloonY - kBob || balloon->y == kBalloonY + kBob) bob = -bob;
            balloon->y += bob;
        }
        place_personnage(view.get(), balloon);
        for (run_time += passed; run_time >= kRunMs; run_time -= kRunMs) {
            if (child->x + child->src.w < kValleyW)
                ++child->x;
            else if (child->current != waiting)
                change_sprite_personnage(child, waiting);
        }
        follow_personnage(view.get(), valley.get(), child, kMargin);
        crop_world(view.get(), valley.get());
        blit_decor(sky.get(), display);
        blit_world(valley.get(), display);
        blit_simple_blinking_surface(title.get(), display);
        SDL_Flip(display);
        const Uint32 spent = SDL_GetTicks() - start;
        if (spent < kFrameMs) SDL_Delay(kFrameMs - spent);
    }
    return 0;
}

}  // namespace

int main()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "scrolling: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    const int status = play();
    SDL_Quit();  // after play() has freed everything it made
    return status;
}
