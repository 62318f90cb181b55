// scene: scene_demo's assembly, frame and teardown.
#include "scene.h"

#include "char_array.h"
#include "scene_demo.h"

#include <initializer_list>
#include <memory>

namespace scene_demo {

namespace {

// The view scrolls once the hero's right edge comes this close to the
// view's right edge: a margin above it lets the hero move on in the window.
constexpr int kScrollMargin = 49;
// The closed balloon bobs between -3 and +3 pixels around its start.
constexpr int kBobAmplitude = 3;

// The blinking decors' alpha step (the decors and blinking images take the
// decors' key).
constexpr int kBlinkStep = 20;

using owned_char_array = std::unique_ptr<char*, anim::free_with<char*, free_structure_char_array>>;

// A blinking decor at (x, y) of a base image and its overlay; null (with
// SDL's reason set) when either image cannot be loaded.
anim::owned_sblink_decor make_blinking_decor(const char* base_path, const char* blink_path, int x, int y)
{
    anim::owned_simple_surface surface(
        create_simple_surface(base_path, blink_path, 1, kBlinkStep, x, y, kDecorKey.r, kDecorKey.g, kDecorKey.b));
    if (!surface) return nullptr;
    anim::owned_sblink_decor blinking(create_sblink_decor(surface.get(), x, y));
    if (blinking) anim::hand_over(surface);
    return blinking;
}

anim::owned_sprite make_sprite(char* const* paths, int x, int y)
{
    return anim::owned_sprite(create_sprite(paths, 0, x, y, kSpriteKey.r, kSpriteKey.g, kSpriteKey.b));
}

anim::owned_decor make_decor(const char* path, int x, int y)
{
    return anim::owned_decor(create_decor(path, x, y, kDecorKey.r, kDecorKey.g, kDecorKey.b));
}

// The width of the sprite the hero shows now.
int hero_width(const personnage* hero)
{
    return hero->sprites[hero->current]->w;
}

// Scenery whose right edge has left the view on the left is hidden for good.
// Otherwise, while its left edge is left of the view and `may_shift` holds,
// its source window moves one column on, so that it keeps sliding out of the
// window at the scroll's pace.
void crop_scenery(int x, int width, int view_x, bool may_shift, int& hidden, decltype(SDL_Rect::x)& src_x)
{
    if (x + width < view_x) {
        hidden = 1;
    } else if (may_shift && x - view_x < 0) {
        ++src_x;
    }
}

void crop_and_hide(const Cast& cast, int view_x, int view_w)
{
    decor* platform = cast.platform;
    const int platform_w = platform->image->w;
    // The platform's window stops once the image no longer reaches past the
    // view's width to its right.
    crop_scenery(platform->x, platform_w, view_x, platform_w - platform->src.x > view_w, platform->hidden,
                 platform->src.x);
    crop_scenery(cast.ice_peak->x, cast.ice_peak->image->w, view_x, true, cast.ice_peak->hidden, cast.ice_peak->src.x);
    for (sblink_decor* blinking : {cast.lantern, cast.crystals})
        crop_scenery(blinking->x, blinking->surface->w, view_x, true, blinking->hidden, blinking->src.x);
}

// The hero runs until its right edge meets the world's end, then waits.
void run_hero(personnage* hero, int world_w)
{
    if (hero->x + hero_width(hero) != world_w)
        ++hero->x;
    else if (hero->current != 0)
        change_sprite_personnage(hero, 0);
}

// Closed, the balloon bobs three pixels up and down; open, it rises.
void move_balloon(const screen* view, personnage* balloon, Bob& bob)
{
    if (balloon->current == 0) {
        if (bob.offset == kBobAmplitude || bob.offset == -kBobAmplitude) bob.step = -bob.step;
        bob.offset += bob.step;
        balloon->y += bob.step;
    } else {
        --balloon->y;
    }
    place_personnage(view, balloon);
}

// The hero crosses the window until it comes near the view's right edge;
// then the view scrolls and every listed object slides left under it. At
// the world's end the hero runs on to the window's edge.
void follow_hero(screen* view, world* w)
{
    personnage* hero = w->hero;
    const int view_right = view->x + view->w;
    if (view_right < w->w) {
        if (view_right - (hero->x + hero_width(hero)) > kScrollMargin) {
            ++hero->dst.x;
            return;
        }
        scroll_world(view, w, 1);
    } else if (hero->dst.x + hero_width(hero) < view->w) {
        ++hero->dst.x;
    }
}

// The four sprites, made before the decors and given to the characters
// after them.
struct Sprites {
    anim::owned_sprite running, waiting, closed, open;
};

// The lantern on the hill and the ice crystals by the path, shown, in the
// world's blinking decor list.
bool add_blinking_decors(Scene& scene)
{
    anim::owned_sblink_decor lantern = make_blinking_decor(pictures::kLantern, pictures::kLanternGlow, 78, 116);
    if (!lantern) return false;
    anim::owned_sblink_decor crystals = make_blinking_decor(pictures::kCrystals, pictures::kCrystalsGlow, 73, 181);
    if (!crystals) return false;
    lantern->hidden = 0;
    crystals->hidden = 0;
    scene.world->sblink_decors = make_sblink_decor_array(2, lantern.get(), crystals.get());
    if (scene.world->sblink_decors == nullptr) return false;
    scene.cast.lantern = lantern.release();
    scene.cast.crystals = crystals.release();
    return true;
}

// The sprites, from their path lists: the first waiting image is held for
// three frames.
bool make_sprites(Sprites& sprites)
{
    using namespace pictures;
    const owned_char_array running(make_char_array(10, kRunning[0], kRunning[1], kRunning[2], kRunning[3], kRunning[4],
                                                   kRunning[5], kRunning[6], kRunning[7], kRunning[8], kRunning[9]));
    const owned_char_array waiting(make_char_array(5, kWaiting[0], kWaiting[0], kWaiting[0], kWaiting[1], kWaiting[2]));
    const owned_char_array closed(make_char_array(3, kClosedBalloon[0], kClosedBalloon[1], kClosedBalloon[2]));
    const owned_char_array open(make_char_array(2, kOpenBalloon[0], kOpenBalloon[1]));
    if (!running || !waiting || !closed || !open) return false;
    sprites.running = make_sprite(running.get(), 0, 189);
    if (!sprites.running) return false;
    sprites.waiting = make_sprite(waiting.get(), 482, 189);
    if (!sprites.waiting) return false;
    sprites.closed = make_sprite(closed.get(), 100, 60);
    if (!sprites.closed) return false;
    sprites.open = make_sprite(open.get(), 50, 20);
    return static_cast<bool>(sprites.open);
}

// The background (in no list), and the platform, the ice peak and the snow
// in the world's decor list. The snow is loaded but never shown.
bool add_decors(Scene& scene)
{
    scene.background = make_decor(pictures::kBackground, 0, 0);
    if (!scene.background) return false;
    anim::owned_decor platform = make_decor(pictures::kPlatform, 0, 112);
    if (!platform) return false;
    anim::owned_decor ice_peak = make_decor(pictures::kIcePeak, 130, 168);
    if (!ice_peak) return false;
    anim::owned_decor snow = make_decor(pictures::kSnow, 0, 0);
    if (!snow) return false;
    scene.background->hidden = 0;
    platform->hidden = 0;
    ice_peak->hidden = 0;
    // The platform's window is a column wider than the view: while the view
    // scrolls, the platform is drawn at dst.x -1 and SDL's clipping takes
    // that column off its left, so the view's whole width is still drawn.
    platform->src.w = static_cast<Uint16>(scene.view->w + 1);
    platform->src.h = 256;
    ice_peak->src.w = 71;
    ice_peak->src.h = 56;
    scene.world->decors = make_decor_array(3, platform.get(), ice_peak.get(), snow.get());
    if (scene.world->decors == nullptr) return false;
    scene.cast.platform = platform.release();
    scene.cast.ice_peak = ice_peak.release();
    anim::hand_over(snow);
    return true;
}

// The balloon, closed, in the peoples list; the hero, in no list, on its
// running sprite.
bool add_characters(Scene& scene, Sprites& sprites)
{
    world* w = scene.world.get();
    anim::owned_sprite_array balloon_sprites(make_sprite_array(2, sprites.closed.get(), sprites.open.get()));
    if (!balloon_sprites) return false;
    anim::hand_over(sprites.closed);
    anim::hand_over(sprites.open);
    anim::owned_personnage balloon(create_personnage(balloon_sprites.get(), 2, 100, 60));
    if (!balloon) return false;
    anim::hand_over(balloon_sprites);
    balloon->hidden = 0;
    w->peoples = make_personnage_array(1, balloon.get());
    if (w->peoples == nullptr) return false;
    scene.cast.balloon = balloon.release();

    anim::owned_sprite_array hero_sprites(make_sprite_array(2, sprites.waiting.get(), sprites.running.get()));
    if (!hero_sprites) return false;
    anim::hand_over(sprites.waiting);
    anim::hand_over(sprites.running);
    w->hero = create_personnage(hero_sprites.get(), 2, 0, 189);
    if (w->hero == nullptr) return false;
    anim::hand_over(hero_sprites);
    scene.cast.hero = w->hero;
    change_sprite_personnage(scene.cast.hero, 1);
    scene.cast.hero->hidden = 0;
    return true;
}

}  // namespace

bool create_view_and_world(Scene& scene)
{
    scene.view.reset(create_screen(kViewWidth, kViewHeight, 0, 0));
    scene.world.reset(create_world(0, 189, kWorldWidth, kViewHeight));
    return scene.view && scene.world;
}

bool assemble_scene(Scene& scene)
{
    Sprites sprites;
    return add_blinking_decors(scene) && make_sprites(sprites) && add_decors(scene) && add_characters(scene, sprites);
}

void draw_scene(const Scene& scene, SDL_Surface* display)
{
    const Cast& cast = scene.cast;
    blit_decor(scene.background.get(), display);
    blit_decor(cast.platform, display);
    blit_sblink_decor(cast.lantern, display);
    blit_sblink_decor(cast.crystals, display);
    blit_personnage(cast.hero, display);
    blit_personnage(cast.balloon, display);
    blit_decor(cast.ice_peak, display);
}

void update_scene(Scene& scene)
{
    const Cast& cast = scene.cast;
    screen* view = scene.view.get();
    update_sblink_decor(cast.lantern);
    update_sblink_decor(cast.crystals);
    crop_and_hide(cast, view->x, view->w);
    run_hero(cast.hero, scene.world->w);
    update_personnage(cast.hero);
    if (cast.hero->x == cast.balloon->x) change_sprite_personnage(cast.balloon, 1);
    move_balloon(view, cast.balloon, scene.bob);
    update_personnage(cast.balloon);
    follow_hero(view, scene.world.get());
}

void release_scene(Scene& scene)
{
    scene.background.reset();
    scene.world.reset();
    scene.view.reset();
}

}  // namespace scene_demo
