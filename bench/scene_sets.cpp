// scene_sets: the programs' object sets, built as the programs build them;
// scene_demo's is the program's own scene.
#include "scene_sets.h"

#include "anim/owned.h"
#include "scene.h"

#include <unistd.h>  // Required for: chdir()

#include <filesystem>
#include <numeric>

// Every SDL_BlitSurface call of the toolkit comes here (the set's users link
// with --wrap=SDL_UpperBlit); while a recording is open it is also written
// down.
extern "C" int __real_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect);

namespace {

std::vector<bench::Blit>* recording = nullptr;

}  // namespace

extern "C" int __wrap_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect)
{
    if (recording != nullptr)
        recording->push_back({src, srcrect != nullptr ? *srcrect : SDL_Rect{}, srcrect == nullptr,
                              dstrect != nullptr ? *dstrect : SDL_Rect{}});
    return __real_SDL_UpperBlit(src, srcrect, dst, dstrect);
}

namespace bench {

namespace {

constexpr int kMagenta[] = {255, 0, 255};

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

std::string fronts_dir(const std::string& run_dir, const char* program)
{
    return run_dir + "/" + program + "/";
}

anim::owned_complex_surface make_cross_fade(const std::string& dir, int step)
{
    const std::string base = dir + "img_fond.bmp", a = dir + "img_devant1.bmp", b = dir + "img_devant2.bmp",
                      c = dir + "img_devant3.bmp";
    const char* const fronts[] = {a.c_str(), b.c_str(), c.c_str(), nullptr};
    return anim::owned_complex_surface(
        create_complex_surface(base.c_str(), fronts, 1, step, 0, 0, kMagenta[0], kMagenta[1], kMagenta[2]));
}

// blink_sprite_test's runner: x02.bmp to x11.bmp at (50, 0), magenta keyed.
anim::owned_sprite make_runner(const std::string& dir)
{
    return anim::owned_sprite(
        create_sprite(path_list(running_frames(dir)).data(), 0, 50, 0, kMagenta[0], kMagenta[1], kMagenta[2]));
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
    std::vector<const SDL_Surface*> surfaces() const override
    {
        const world* w = scene.world.get();
        std::vector<const SDL_Surface*> out{scene.background->image};
        for (int i = 0; w->decors[i] != nullptr; ++i) out.push_back(w->decors[i]->image);
        for (int i = 0; w->sblink_decors[i] != nullptr; ++i) collect_simple(out, w->sblink_decors[i]->surface);
        for (const personnage* p : {w->hero, w->peoples[0]})
            for (int i = 0; i < p->sprite_count; ++i) collect(out, p->sprites[i]->frames, p->sprites[i]->frame_count);
        return out;
    }

    scene_demo::Scene scene;
};

}  // namespace

void SceneSet::frame(SDL_Surface* target)
{
    draw(target);
    advance();
}

std::vector<Blit> SceneSet::blits(SDL_Surface* scratch)
{
    std::vector<Blit> out;
    recording = &out;
    draw(scratch);
    recording = nullptr;
    return out;
}

std::unique_ptr<SceneSet> blink_set(const std::string& run_dir, int step)
{
    anim::owned_complex_surface fade = make_cross_fade(fronts_dir(run_dir, "blink_test"), step);
    if (!fade) return nullptr;
    return std::make_unique<BlinkSet>(std::move(fade));
}

std::unique_ptr<SceneSet> blink_sprite_set(const std::string& run_dir)
{
    const std::string dir = fronts_dir(run_dir, "blink_sprite_test");
    anim::owned_complex_surface fade = make_cross_fade(dir, 10);
    anim::owned_sprite runner = make_runner(dir);
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
    const bool made = !error && chdir(fronts_dir(run_dir, "scene_demo").c_str()) == 0 &&
                      scene_demo::create_view_and_world(set->scene) && scene_demo::assemble_scene(set->scene);
    if (!error && chdir(previous.c_str()) != 0) SDL_SetError("cannot return to %s", previous.c_str());
    return made ? std::move(set) : nullptr;
}

std::vector<std::string> running_frames(const std::string& dir)
{
    std::vector<std::string> paths;
    for (int i = 2; i <= 11; ++i) paths.push_back(dir + (i < 10 ? "x0" : "x") + std::to_string(i) + ".bmp");
    return paths;
}

std::vector<const char*> path_list(const std::vector<std::string>& paths)
{
    std::vector<const char*> list;
    list.reserve(paths.size() + 1);
    for (const std::string& p : paths) list.push_back(p.c_str());
    list.push_back(nullptr);
    return list;
}

SDL_Surface* make_display(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
}

}  // namespace bench
