// scene_sets: the programs' object sets, made from each program's facts as
// the program makes them; scene_demo's scene is the program's own.
#include "scene_sets.h"

#include "anim/object_list.h"
#include "anim/owned.h"
#include "blink_sprite_test.h"
#include "path_list.h"
#include "scene.h"
#include "scene_demo.h"

#include <unistd.h>  // Required for: chdir()

#include <filesystem>
#include <numeric>

namespace scene_sets {

namespace {

void collect(std::vector<const SDL_Surface*>& out, SDL_Surface* const* surfaces, int n)
{
    for (int i = 0; i < n; ++i) out.push_back(surfaces[i]);
}

void collect_complex(std::vector<const SDL_Surface*>& out, const complex_surface* s)
{
    out.push_back(s->base);
    collect(out, s->fronts, s->count);
    for (int k = 0; k < s->count; ++k) collect(out, s->front_tab[k], s->max_subframe);
}

void collect_simple(std::vector<const SDL_Surface*>& out, const simple_surface* s)
{
    out.push_back(s->base);
    out.push_back(s->blink);
    collect(out, s->ladder, s->count + 1);
}

class BlinkSet : public SceneSet {
public:
    explicit BlinkSet(anim::owned_complex_surface fade) : fade_(std::move(fade)) {}
    void draw(SDL_Surface* target) override { blit_complex_blinking_surface(fade_.get(), target); }
    void advance() override { update_complex_blinking(fade_.get()); }
    int period() const override { return fade_->count * fade_->max_subframe; }
    std::vector<const SDL_Surface*> surfaces() const override
    {
        std::vector<const SDL_Surface*> out;
        collect_complex(out, fade_.get());
        return out;
    }

protected:
    anim::owned_complex_surface fade_;
};

class BlinkSpriteSet : public BlinkSet {
public:
    BlinkSpriteSet(anim::owned_complex_surface fade, anim::owned_sprite runner)
        : BlinkSet(std::move(fade)), runner_(std::move(runner))
    {
    }
    void draw(SDL_Surface* target) override
    {
        BlinkSet::draw(target);
        blit_sprite(runner_.get(), target);
    }
    void advance() override
    {
        BlinkSet::advance();
        update_sprite(runner_.get());
    }
    int period() const override { return std::lcm(BlinkSet::period(), runner_->frame_count); }
    std::vector<long> object_loads() const override
    {
        return {static_cast<long>(BlinkSet::surfaces().size()), runner_->frame_count};
    }
    std::vector<const SDL_Surface*> surfaces() const override
    {
        std::vector<const SDL_Surface*> out = BlinkSet::surfaces();
        collect(out, runner_->frames, runner_->frame_count);
        return out;
    }

private:
    anim::owned_sprite runner_;
};

// scene_demo's own scene, drawn and moved by the program's frame.
class SceneDemoSet : public SceneSet {
public:
    void draw(SDL_Surface* target) override { scene_demo::draw_scene(scene, target); }
    void advance() override { scene_demo::update_scene(scene); }
    int period() const override { return kRunFrames; }
    std::vector<const SDL_Surface*> surfaces() const override { return scene_surfaces(scene); }
    // As scene_demo makes them: the blinking decors (base, overlay and
    // ladder each), the sprites (running, waiting, closed and open balloon),
    // then the four decors.
    std::vector<long> object_loads() const override
    {
        const scene_demo::Cast& cast = scene.cast;
        sprite* const* hero = cast.hero->sprites;
        sprite* const* balloon = cast.balloon->sprites;
        return {cast.lantern->surface->count + 3L,
                cast.crystals->surface->count + 3L,
                hero[1]->frame_count,
                hero[0]->frame_count,
                balloon[0]->frame_count,
                balloon[1]->frame_count,
                1,
                1,
                1,
                1};
    }

    scene_demo::Scene scene;
};

}  // namespace

std::string program_dir(const std::string& run_dir, const char* program)
{
    return run_dir + "/" + program + "/";
}

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

std::vector<long> SceneSet::object_loads() const
{
    return {static_cast<long>(surfaces().size())};
}

void SceneSet::frame(SDL_Surface* target)
{
    draw(target);
    advance();
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
    anim::owned_complex_surface fade(create_cross_fade(program_dir(run_dir, blink_test::kName), step));
    if (!fade) return nullptr;
    return std::make_unique<BlinkSet>(std::move(fade));
}

std::unique_ptr<SceneSet> blink_sprite_set(const std::string& run_dir)
{
    using namespace blink_sprite_test;
    const std::string dir = program_dir(run_dir, kName);
    anim::owned_complex_surface fade(create_cross_fade(dir));
    const std::vector<std::string> frames = in_folder(dir, kRunner);
    const Colour key = blink_test::kKey;
    anim::owned_sprite runner(create_sprite(path_list(frames).data(), 0, kRunnerX, kRunnerY, key.r, key.g, key.b));
    if (!fade || !runner) return nullptr;
    return std::make_unique<BlinkSpriteSet>(std::move(fade), std::move(runner));
}

std::unique_ptr<SceneSet> scene_set(const std::string& run_dir)
{
    // The scene reads its pictures from ./Ressources, as the program does
    // from its own folder.
    std::error_code error;
    const std::filesystem::path previous = std::filesystem::current_path(error);
    auto set = std::make_unique<SceneDemoSet>();
    const bool made = !error && chdir(program_dir(run_dir, scene_demo::kName).c_str()) == 0 &&
                      scene_demo::create_view_and_world(set->scene) && scene_demo::assemble_scene(set->scene);
    if (!error && chdir(previous.c_str()) != 0) SDL_SetError("cannot return to %s", previous.c_str());
    return made ? std::move(set) : nullptr;
}

SDL_Surface* make_display(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
}

}  // namespace scene_sets
