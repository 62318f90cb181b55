// scene_sets: the programs' object sets, built as the programs build them.
#include "scene_sets.h"

#include "anim/owned.h"

#include <cstdio>
#include <numeric>

namespace bench {

namespace {

constexpr int kMagenta[] = {255, 0, 255};

void add_layers(std::vector<Blit>& out, std::initializer_list<SDL_Surface*> layers, const SDL_Rect* src,
                const SDL_Rect& dst)
{
    bool first = true;
    for (SDL_Surface* layer : layers) {
        if (layer == nullptr) continue;
        out.push_back({layer, src != nullptr ? *src : SDL_Rect{}, src == nullptr, dst, !first});
        first = false;
    }
}

void add_complex(std::vector<Blit>& out, const complex_surface* s)
{
    const int f = s->front;
    add_layers(out, {s->base, f > 0 ? s->fronts[f - 1] : nullptr, s->front_tab[f][s->subframe]}, nullptr, s->pos);
}

void add_sprite(std::vector<Blit>& out, const sprite* s)
{
    add_layers(out, {s->frames[s->frame]}, nullptr, s->pos);
}

void add_decor(std::vector<Blit>& out, const decor* d)
{
    add_layers(out, {d->image}, &d->src, d->dst);
}

void add_sblink(std::vector<Blit>& out, const sblink_decor* d)
{
    add_layers(out, {d->surface->base, d->surface->ladder[d->surface->index]}, &d->src, d->dst);
}

void add_personnage(std::vector<Blit>& out, const personnage* p)
{
    const sprite* s = p->sprites[p->current];
    add_layers(out, {s->frames[s->frame]}, &p->src, p->dst);
}

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

anim::owned_sprite make_runner(const std::string& dir, const char* pattern, int first, int count, int x, int y, int key)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, pattern, first + i);
        names.push_back(dir + name);
    }
    return anim::owned_sprite(create_sprite(path_list(names).data(), 0, x, y, key, key, key));
}

class BlinkSet : public SceneSet {
public:
    explicit BlinkSet(anim::owned_complex_surface fade) : fade_(std::move(fade)) {}
    void frame(SDL_Surface* target) override
    {
        blit_complex_blinking_surface(fade_.get(), target);
        update_complex_blinking(fade_.get());
    }
    std::vector<Blit> blits() const override
    {
        std::vector<Blit> out;
        add_complex(out, fade_.get());
        return out;
    }
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
    void frame(SDL_Surface* target) override
    {
        blit_complex_blinking_surface(fade_.get(), target);
        blit_sprite(runner_.get(), target);
        update_complex_blinking(fade_.get());
        update_sprite(runner_.get());
    }
    std::vector<Blit> blits() const override
    {
        std::vector<Blit> out = BlinkSet::blits();
        add_sprite(out, runner_.get());
        return out;
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

// scene_demo's objects where the scene starts, drawn in its order and
// advanced by their own animations (the choreography moves rectangles only).
class SceneDemoSet : public SceneSet {
public:
    void frame(SDL_Surface* target) override
    {
        blit_decor(background_.get(), target);
        blit_decor(platform_.get(), target);
        blit_sblink_decor(lantern_.get(), target);
        blit_sblink_decor(crystals_.get(), target);
        blit_personnage(hero_.get(), target);
        blit_personnage(balloon_.get(), target);
        blit_decor(ice_peak_.get(), target);
        advance();
    }
    std::vector<Blit> blits() const override
    {
        std::vector<Blit> out;
        add_decor(out, background_.get());
        add_decor(out, platform_.get());
        add_sblink(out, lantern_.get());
        add_sblink(out, crystals_.get());
        add_personnage(out, hero_.get());
        add_personnage(out, balloon_.get());
        add_decor(out, ice_peak_.get());
        return out;
    }
    void advance() override
    {
        update_sblink_decor(lantern_.get());
        update_sblink_decor(crystals_.get());
        update_personnage(hero_.get());
        update_personnage(balloon_.get());
    }
    int period() const override
    {
        const int blink = 2 * (lantern_->surface->count + 1);
        return std::lcm(std::lcm(blink, hero_->sprites[1]->frame_count), balloon_->sprites[0]->frame_count);
    }
    std::vector<const SDL_Surface*> surfaces() const override
    {
        std::vector<const SDL_Surface*> out{background_->image, platform_->image, ice_peak_->image};
        collect_simple(out, lantern_->surface);
        collect_simple(out, crystals_->surface);
        for (const personnage* p : {hero_.get(), balloon_.get()})
            for (int i = 0; i < p->sprite_count; ++i) collect(out, p->sprites[i]->frames, p->sprites[i]->frame_count);
        return out;
    }

    anim::owned_decor background_, platform_, ice_peak_;
    anim::owned_sblink_decor lantern_, crystals_;
    anim::owned_personnage hero_, balloon_;
};

anim::owned_sblink_decor make_blinking(const std::string& base, const std::string& blink, int x, int y)
{
    anim::owned_simple_surface s(create_simple_surface(base.c_str(), blink.c_str(), 1, 20, x, y, 0, 0, 0));
    if (!s) return nullptr;
    anim::owned_sblink_decor d(create_sblink_decor(s.get(), x, y));
    if (d) anim::hand_over(s);
    return d;
}

anim::owned_personnage make_character(anim::owned_sprite first, anim::owned_sprite second, int x, int y)
{
    if (!first || !second) return nullptr;
    anim::owned_sprite_array sprites(make_sprite_array(2, first.get(), second.get()));
    if (!sprites) return nullptr;
    anim::hand_over(first);
    anim::hand_over(second);
    anim::owned_personnage p(create_personnage(sprites.get(), 2, x, y));
    if (p) anim::hand_over(sprites);
    return p;
}

}  // namespace

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
    anim::owned_sprite runner = make_runner(dir, "x%02d.bmp", 2, 10, 50, 0, 255);
    if (!fade || !runner) return nullptr;
    return std::make_unique<BlinkSpriteSet>(std::move(fade), std::move(runner));
}

std::unique_ptr<SceneSet> scene_set(const std::string& run_dir)
{
    const std::string dir = fronts_dir(run_dir, "scene_demo") + "Ressources/";
    const std::string bg = dir + "background/";
    auto set = std::make_unique<SceneDemoSet>();
    set->lantern_ = make_blinking(bg + "blink1_1.bmp", bg + "blink1_2.bmp", 78, 116);
    set->crystals_ = make_blinking(bg + "blink2_1.bmp", bg + "blink2_2.bmp", 73, 181);
    set->background_.reset(create_decor((bg + "background.bmp").c_str(), 0, 0, 0, 0, 0));
    set->platform_.reset(create_decor((bg + "plateform.bmp").c_str(), 0, 112, 0, 0, 0));
    set->ice_peak_.reset(create_decor((bg + "icepeak.bmp").c_str(), 130, 168, 0, 0, 0));
    set->hero_ = make_character(make_runner(dir + "x_waiting/", "x_waiting%d.bmp", 1, 3, 482, 189, 255),
                                make_runner(dir + "x_running/", "x%02d.bmp", 2, 10, 0, 189, 255), 0, 189);
    set->balloon_ = make_character(make_runner(dir + "balloon/", "balloon%d.bmp", 1, 3, 100, 60, 255),
                                   make_runner(dir + "balloon/", "openballoon%d.bmp", 1, 2, 50, 20, 255), 100, 60);
    if (!set->lantern_ || !set->crystals_ || !set->background_ || !set->platform_ || !set->ice_peak_ || !set->hero_ ||
        !set->balloon_)
        return nullptr;
    for (decor* d : {set->background_.get(), set->platform_.get(), set->ice_peak_.get()}) d->hidden = 0;
    set->platform_->src.w = 256;
    set->platform_->src.h = 256;
    set->ice_peak_->src.w = 71;
    set->ice_peak_->src.h = 56;
    set->lantern_->hidden = 0;
    set->crystals_->hidden = 0;
    set->balloon_->hidden = 0;
    change_sprite_personnage(set->hero_.get(), 1);
    set->hero_->hidden = 0;
    return set;
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
