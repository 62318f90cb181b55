// scene_sets: the programs' object sets, made from each program's facts as
// the program makes them; scene_demo's scene is the program's own.
#include "scene_sets.h"

#include "anim/object_list.h"
#include "blink_sprite_test.h"
#include "path_list.h"
#include "scene_demo.h"

#include <unistd.h>  // Required for: chdir()

#include <filesystem>
#include <numeric>

namespace scene_sets {

namespace {

void collect(std::vector<const SDL_Surface*>& out, SDL_Surface* const* surfaces, int n)
{
    out.insert(out.end(), surfaces, surfaces + n);
}

void collect_simple(std::vector<const SDL_Surface*>& out, const simple_surface* s)
{
    out.insert(out.end(), {s->base, s->blink});
    collect(out, s->ladder, s->count + 1);
}

// The set of blink_test's cross-fade `fade`, which it comes to own.
std::unique_ptr<SceneSet> fade_set(complex_surface* fade)
{
    if (fade == nullptr) return nullptr;
    auto set = std::make_unique<SceneSet>();
    set->objects.emplace_back(fade, free_complex_surface);
    set->draw = [fade](SDL_Surface* target) { blit_complex_blinking_surface(fade, target); };
    set->advance = [fade] { update_complex_blinking(fade); };
    set->period = fade->count * fade->max_subframe;
    set->surfaces.push_back(fade->base);
    collect(set->surfaces, fade->fronts, fade->count);
    for (int k = 0; k < fade->count; ++k) collect(set->surfaces, fade->front_tab[k], fade->max_subframe);
    set->object_loads.push_back(static_cast<long>(set->surfaces.size()));
    return set;
}

}  // namespace

std::vector<const SDL_Surface*> scene_surfaces(const scene_demo::Scene& scene)
{
    const world* w = scene.world.get();
    std::vector<const SDL_Surface*> out{scene.background->image};
    anim::for_each_member(w->decors, [&](const decor* d) { out.push_back(d->image); });
    anim::for_each_member(w->sblink_decors, [&](const sblink_decor* d) { collect_simple(out, d->surface); });
    for (const personnage* p : {w->hero, w->peoples[0]})
        for (int i = 0; i < p->sprite_count; ++i) collect(out, p->sprites[i]->frames, p->sprites[i]->frame_count);
    return out;
}

std::string program_dir(const std::string& run_dir, const char* program)
{
    return run_dir + "/" + program + "/";
}

complex_surface* create_cross_fade(const std::string& folder, int step)
{
    using namespace blink_test;
    const std::string backdrop = folder + kBackdrop;
    const std::vector<std::string> fronts = in_folder(folder, kFronts);
    return create_complex_surface(backdrop.c_str(), path_list(fronts).data(), 1, step < 0 ? kStep : step, 0, 0, kKey.r,
                                  kKey.g, kKey.b);
}

std::unique_ptr<SceneSet> blink_set(const std::string& run_dir, int step)
{
    return fade_set(create_cross_fade(program_dir(run_dir, blink_test::kName), step));
}

// The cross-fade, and the runner drawn and advanced after it.
std::unique_ptr<SceneSet> blink_sprite_set(const std::string& run_dir)
{
    using namespace blink_sprite_test;
    const std::string dir = program_dir(run_dir, kName);
    std::unique_ptr<SceneSet> set = fade_set(create_cross_fade(dir));
    const std::vector<std::string> frames = in_folder(dir, kRunner);
    const Colour key = blink_test::kKey;
    sprite* runner = create_sprite(path_list(frames).data(), 0, kRunnerX, kRunnerY, key.r, key.g, key.b);
    if (!set || runner == nullptr) {
        free_sprite(runner);
        return nullptr;
    }
    set->objects.emplace_back(runner, free_sprite);
    set->draw = [fade = set->draw, runner](SDL_Surface* target) {
        fade(target);
        blit_sprite(runner, target);
    };
    set->advance = [fade = set->advance, runner] {
        fade();
        update_sprite(runner);
    };
    set->period = std::lcm(set->period, runner->frame_count);
    collect(set->surfaces, runner->frames, runner->frame_count);
    set->object_loads.push_back(runner->frame_count);
    return set;
}

std::unique_ptr<SceneSet> scene_set(const std::string& run_dir)
{
    // The scene reads its pictures from ./Ressources, as the program does
    // from its own folder.
    std::error_code error;
    const std::filesystem::path previous = std::filesystem::current_path(error);
    const auto scene = std::make_shared<scene_demo::Scene>();
    const bool made = !error && chdir(program_dir(run_dir, scene_demo::kName).c_str()) == 0 &&
                      scene_demo::create_view_and_world(*scene) && scene_demo::assemble_scene(*scene);
    if (!error && chdir(previous.c_str()) != 0) SDL_SetError("cannot return to %s", previous.c_str());
    if (!made) return nullptr;
    auto set = std::make_unique<SceneSet>();
    set->objects.push_back(scene);
    set->draw = [scene](SDL_Surface* target) { scene_demo::draw_scene(*scene, target); };
    set->advance = [scene] { scene_demo::update_scene(*scene); };
    set->period = kRunFrames;
    set->surfaces = scene_surfaces(*scene);
    // As the program makes them: the blinking decors (base, overlay and
    // ladder each), the sprites (running, waiting, closed and open balloon),
    // then the four decors.
    const scene_demo::Cast& cast = scene->cast;
    sprite* const* hero = cast.hero->sprites;
    sprite* const* balloon = cast.balloon->sprites;
    set->object_loads = {cast.lantern->surface->count + 3L,
                         cast.crystals->surface->count + 3L,
                         hero[1]->frame_count,
                         hero[0]->frame_count,
                         balloon[0]->frame_count,
                         balloon[1]->frame_count,
                         1,
                         1,
                         1,
                         1};
    return set;
}

}  // namespace scene_sets
