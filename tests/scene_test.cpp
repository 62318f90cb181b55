// scene_demo's scene, in-process, on pictures whose solid and column-coded
// colours let positions be read off what it draws: where everything starts,
// the hero's run and the view's scroll, the balloon, and the scenery that
// crops and hides as it leaves the view.
#include "scene.h"
#include "scene_demo.h"
#include "scene_sets.h"

#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>
#include <vector>

using namespace test_support;

namespace {

constexpr int kRunW = 20;                  // running sprite width; the hero is 30 high, its top at row 189
constexpr int kScrollStart = 207 - kRunW;  // the first frame whose update scrolls

const Rgb kSky{90, 140, 200};
const Rgb kHero{40, 40, 220};
const Rgb kClosedBalloon{40, 200, 60};
const Rgb kOpenBalloon{160, 20, 120};

// Column codes: red is the column's low byte; green tells the picture.
Rgb platform_column(int x)
{
    return {static_cast<Uint8>(x & 0xff), static_cast<Uint8>(x < 256 ? 100 : 150), 50};
}
Rgb peak_column(int x)
{
    return {static_cast<Uint8>(x), 210, 210};
}
Rgb crystals_column(int x)
{
    return {static_cast<Uint8>(x * 8), 230, 90};
}

class SceneTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        SDL_FreeSurface(target);
        target = make_target(256, 256, kBlack);
    }
    void TearDown() override
    {
        scene_demo::release_scene(scene);
        std::filesystem::current_path(previous);
        LedgerTest::TearDown();
    }

    // Writes the scene's pictures, the waiting sprite `waiting_w` pixels wide.
    void write_pictures(int waiting_w = kRunW)
    {
        namespace pictures = scene_demo::pictures;
        auto put = [](const char* path, int w, int h, const std::function<Rgb(int, int)>& paint) {
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            write_bmp(path, w, h, paint);
        };
        put(pictures::kBackground, 256, 256, solid(kSky));
        // The platform's top 30 rows and the ice peak below its top 10 rows
        // are transparent.
        put(pictures::kPlatform, 512, 144, [](int x, int y) { return y < 30 ? kBlack : platform_column(x); });
        put(pictures::kIcePeak, 96, 72, [](int x, int y) { return y < 10 ? peak_column(x) : kBlack; });
        put(pictures::kSnow, 8, 8, solid(kWhite));
        put(pictures::kLantern, 16, 44, solid(kYellow));
        put(pictures::kLanternGlow, 16, 44, solid(kBlack));
        put(pictures::kCrystals, 28, 43, [](int x, int) { return crystals_column(x); });
        put(pictures::kCrystalsGlow, 28, 43, solid(kBlack));
        for (const char* frame : pictures::kRunning) put(frame, kRunW, 30, solid(kHero));
        for (const char* frame : pictures::kWaiting) put(frame, waiting_w, 30, solid(kHero));
        for (const char* frame : pictures::kClosedBalloon) put(frame, 16, 16, solid(kClosedBalloon));
        for (const char* frame : pictures::kOpenBalloon) put(frame, 16, 16, solid(kOpenBalloon));
    }

    // Builds the scene on the pictures.
    void build(int waiting_w = kRunW)
    {
        write_pictures(waiting_w);
        const long loads_before = harness::load_count();
        ASSERT_TRUE(scene_demo::create_view_and_world(scene));
        ASSERT_TRUE(scene_demo::assemble_scene(scene)) << SDL_GetError();
        EXPECT_EQ(harness::load_count() - loads_before, static_cast<long>(scene_sets::scene_surfaces(scene).size()))
            << "one load for each surface the scene holds";
    }

    // Runs the frames before `frame`: what is then drawn is frame `frame`.
    void go_to(int frame)
    {
        for (; next_frame < frame; ++next_frame) {
            scene_demo::draw_scene(scene, target);
            scene_demo::update_scene(scene);
        }
    }
    Rgb drawn(int x, int y)
    {
        scene_demo::draw_scene(scene, target);
        return at(x, y);
    }

    scene_demo::Scene scene;
    std::filesystem::path previous;
    int next_frame = 1;
};

TEST_F(SceneTest, FirstFrameShowsEveryObjectWhereItWasCreated)
{
    build();
    const std::pair<std::pair<int, int>, Rgb> seen[] = {
        {{250, 20}, kSky},                   // the background
        {{0, 152}, platform_column(0)},      // the platform at (0, 112), its top rows keyed out
        {{255, 152}, platform_column(255)},  // through its window, a column wider than the view
        {{0, 141}, kSky},
        {{78, 116}, kYellow},             // the lantern at (78, 116)
        {{73, 181}, crystals_column(0)},  // the crystals at (73, 181)
        {{130, 168}, peak_column(0)},     // the ice peak at (130, 168)
        {{200, 168}, peak_column(70)},    // through its 71-wide window
        {{201, 168}, platform_column(201)},
        {{0, 189}, kHero},  // the hero at (0, 189)
        {{kRunW - 1, 218}, kHero},
        {{100, 60}, kClosedBalloon},  // the balloon at (100, 60)
        {{100, 59}, kSky},
    };
    for (const auto& [at, colour] : seen)
        EXPECT_EQ(drawn(at.first, at.second), colour) << at.first << ", " << at.second;
    // The hero runs; the snow is never shown.
    EXPECT_EQ(std::make_pair(scene.world->hero->current, scene.world->decors[2]->hidden), std::make_pair(1, 1));
}

// The hero's place in the window, the view's place in the world and the
// hero's sprite (1 running, 0 waiting) in a frame, for a waiting sprite
// as wide as, narrower or wider than the running one.
struct HeroAt {
    int waiting_w, frame, dst_x, view_x, current, waiting_frame;
};

void PrintTo(const std::vector<HeroAt>& at, std::ostream* out)
{
    *out << "waiting_" << at.front().waiting_w;
}

class HeroRunTest : public SceneTest, public ::testing::WithParamInterface<std::vector<HeroAt>> {};

TEST_P(HeroRunTest, WalksInScrollsRunsOutThenWaits)
{
    build(GetParam().front().waiting_w);
    for (const HeroAt& at : GetParam()) {
        go_to(at.frame);
        const personnage* hero = scene.world->hero;
        const int waiting_frame = hero->current == 0 ? hero->sprites[0]->frame : 0;
        EXPECT_EQ(std::make_tuple(hero->dst.x, scene.view->x, hero->current, waiting_frame),
                  std::make_tuple(at.dst_x, at.view_x, at.current, at.waiting_frame))
            << "frame " << at.frame;
    }
}

// Walk-in: column n - 1 in frame n until the right edge reaches 206; then
// the view scrolls 256 columns; then the run-out to the window's edge, the
// switch to waiting in frame 493, whose frame 1 is drawn first.
INSTANTIATE_TEST_SUITE_P(WaitingWidths, HeroRunTest,
                         ::testing::Values(std::vector<HeroAt>{{kRunW, 1, 0, 0, 1, 0},
                                                               {kRunW, 100, 99, 0, 1, 0},
                                                               {kRunW, kScrollStart, 206 - kRunW, 0, 1, 0},
                                                               {kRunW, kScrollStart + 1, 206 - kRunW, 1, 1, 0},
                                                               {kRunW, kScrollStart + 256, 206 - kRunW, 256, 1, 0},
                                                               {kRunW, kScrollStart + 257, 207 - kRunW, 256, 1, 0},
                                                               {kRunW, 493, 256 - kRunW, 256, 1, 0},
                                                               {kRunW, 494, 256 - kRunW, 256, 0, 1},
                                                               {kRunW, 497, 256 - kRunW, 256, 0, 4},
                                                               {kRunW, 510, 256 - kRunW, 256, 0, 2}},
                                           std::vector<HeroAt>{{14, 494, 237, 256, 0, 1},
                                                               {14, 499, 242, 256, 0, 1},
                                                               {14, 520, 242, 256, 0, 2}},
                                           std::vector<HeroAt>{{26, 494, 236, 256, 0, 1}, {26, 520, 236, 256, 0, 2}}),
                         ::testing::PrintToStringParamName());

TEST_F(SceneTest, BalloonBobsOpensWhenTheHeroReachesItAndRises)
{
    build();
    const int bob[] = {0, 1, 2, 3, 2, 1, 0, -1, -2, -3, -2, -1, 0, 1};
    for (int k = 0; k < 14; ++k) {
        go_to(k + 1);
        EXPECT_EQ(scene.cast.balloon->dst.y, 60 + bob[k]) << "frame " << k + 1;
    }
    const struct {
        int frame, top, current, open_frame;
    } expected[] = {{100, 63, 0, 0}, {101, 62, 1, 1}, {102, 61, 1, 0}, {112, 51, 1, 0}};
    for (const auto& e : expected) {
        go_to(e.frame);
        const personnage* balloon = scene.cast.balloon;
        const int open_frame = balloon->current == 1 ? balloon->sprites[1]->frame : 0;
        EXPECT_EQ(std::make_tuple(balloon->dst.y, balloon->current, open_frame),
                  std::make_tuple(e.top, e.current, e.open_frame))
            << "frame " << e.frame;
    }
    EXPECT_EQ(drawn(105, 51), kOpenBalloon);
    go_to(kScrollStart + 10);
    EXPECT_EQ(scene.cast.balloon->dst.x, 90) << "the balloon slides with the scenery";
}

TEST_F(SceneTest, SceneryCropsAndHidesAsItLeavesTheView)
{
    build();
    // Frame kScrollStart + v is drawn with the view at x v. The crystals
    // (x 73) lose two source columns a step once past the left edge: one to
    // the clipping of their position, one to their window. The ice peak
    // (x 130) slides one column a step until its image runs out, and is
    // hidden for good. The platform shows the view's whole width, its last
    // column too, until its image runs out.
    for (int v : {1, 40}) {
        go_to(kScrollStart + v);
        const Rgb left = drawn(0, 170);
        EXPECT_EQ(std::make_pair(left, at(255, 170)), std::make_pair(platform_column(v), platform_column(v + 255)))
            << "view " << v;
    }
    for (int v : {80, 81, 85}) {
        go_to(kScrollStart + v);
        EXPECT_EQ(drawn(0, 190), crystals_column(2 * v - 147)) << "view " << v;
    }
    for (int v : {140, 141, 200, 225}) {
        go_to(kScrollStart + v);
        EXPECT_EQ(drawn(0, 170), peak_column(v - 130)) << "view " << v;
    }
    for (int v : {226, 240, 256, 258}) {
        go_to(kScrollStart + v);
        const Rgb left = drawn(0, 170);
        EXPECT_EQ(std::make_pair(left, at(255, 170)),
                  std::make_pair(platform_column(std::min(v, 256)), platform_column(std::min(v, 256) + 255)))
            << "view " << v;
    }
    EXPECT_EQ(std::make_tuple(scene.cast.ice_peak->hidden, scene.cast.crystals->hidden, scene.cast.platform->hidden),
              std::make_tuple(1, 1, 0));
}

}  // namespace
