// scene_demo, run as a real binary under the harness on pictures whose
// solid, column-coded colours let positions be read off its frames.
#include "support/program_runner.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace test_support;

namespace {

const std::string kSceneDemo = SCENE_DEMO_PATH;

constexpr int kRunW = 20;   // running sprite width
constexpr int kHeroH = 30;  // hero height (its top is row 189)
constexpr int kHeroRow = 200;
constexpr int kBalloonColumn = 105;

Rgb running_colour(int i)
{
    return {static_cast<Uint8>(20 + i * 20), 40, 220};
}
Rgb waiting_colour(int i)
{
    return {220, static_cast<Uint8>(60 + i * 50), 40};
}
Rgb closed_colour(int i)
{
    return {40, 200, static_cast<Uint8>(60 + i * 40)};
}
Rgb open_colour(int i)
{
    return {static_cast<Uint8>(100 + i * 60), 20, 120};
}
const Rgb kSky{90, 140, 200};

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

class SceneDemoTest : public ::testing::Test {
protected:
    // Writes the 26 pictures, the waiting sprite `waiting_w` pixels wide.
    void write_scene(int waiting_w = kRunW)
    {
        namespace fs = std::filesystem;
        for (const char* sub : {"background", "x_running", "x_waiting", "balloon"})
            fs::create_directories(fs::path(dir.path()) / "Ressources" / sub);
        write_solid_bmp(bg("background.bmp"), 256, 256, kSky);
        // The platform: column-coded, its top 30 rows transparent.
        write_bmp(bg("plateform.bmp"), 512, 144, [](int x, int y) { return y < 30 ? kBlack : platform_column(x); });
        // The ice peak: opaque in its top ten rows only, so the hero shows
        // when it passes behind.
        write_bmp(bg("icepeak.bmp"), 96, 72, [](int x, int y) { return y < 10 ? peak_column(x) : kBlack; });
        write_solid_bmp(bg("snow.bmp"), 8, 8, kWhite);
        write_solid_bmp(bg("blink1_1.bmp"), 16, 44, kYellow);
        write_solid_bmp(bg("blink1_2.bmp"), 16, 44, kBlack);
        write_bmp(bg("blink2_1.bmp"), 28, 43, [](int x, int) { return crystals_column(x); });
        write_solid_bmp(bg("blink2_2.bmp"), 28, 43, kBlack);
        for (int i = 0; i < 10; ++i)
            write_solid_bmp(path("x_running/x" + two_digits(i + 2) + ".bmp"), kRunW, kHeroH, running_colour(i));
        for (int i = 0; i < 3; ++i)
            write_solid_bmp(path("x_waiting/x_waiting" + std::to_string(i + 1) + ".bmp"), waiting_w, kHeroH,
                            waiting_colour(i));
        for (int i = 0; i < 3; ++i)
            write_solid_bmp(path("balloon/balloon" + std::to_string(i + 1) + ".bmp"), 16, 16, closed_colour(i));
        for (int i = 0; i < 2; ++i)
            write_solid_bmp(path("balloon/openballoon" + std::to_string(i + 1) + ".bmp"), 16, 16, open_colour(i));
    }

    static std::string two_digits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
    std::string path(const std::string& name) const { return dir.path() + "/Ressources/" + name; }
    std::string bg(const std::string& name) const { return path("background/" + name); }

    // Loads a frame the harness saved; the caller frees it.
    SDL_Surface* frame(long n)
    {
        SDL_Surface* image = SDL_LoadBMP(saved_frame(dir.path(), n).c_str());
        if (image == nullptr) ADD_FAILURE() << "frame " << n << " was not saved";
        return image;
    }

    Rgb pixel(long n, int x, int y)
    {
        SDL_Surface* image = frame(n);
        if (image == nullptr) return {};
        const Rgb c = pixel_at(image, x, y);
        SDL_FreeSurface(image);
        return c;
    }

    // Leftmost and one-past-rightmost columns of row `y` in frame n whose
    // colour `is_part` accepts; {-1, -1} when there is none.
    template <typename Pred>
    std::pair<int, int> span(long n, int y, Pred is_part)
    {
        SDL_Surface* image = frame(n);
        std::pair<int, int> found{-1, -1};
        for (int x = 0; image != nullptr && x < image->w; ++x) {
            if (!is_part(pixel_at(image, x, y))) continue;
            if (found.first < 0) found.first = x;
            found.second = x + 1;
        }
        SDL_FreeSurface(image);
        return found;
    }

    // Top row of column `x` in frame n whose colour `is_part` accepts.
    template <typename Pred>
    int top(long n, int x, Pred is_part)
    {
        SDL_Surface* image = frame(n);
        int found = -1;
        for (int y = 0; image != nullptr && y < image->h && found < 0; ++y)
            if (is_part(pixel_at(image, x, y))) found = y;
        SDL_FreeSurface(image);
        return found;
    }

    static bool is_hero(Rgb c)
    {
        for (int i = 0; i < 10; ++i)
            if (c == running_colour(i)) return true;
        for (int i = 0; i < 3; ++i)
            if (c == waiting_colour(i)) return true;
        return false;
    }
    static bool is_balloon(Rgb c)
    {
        return c == closed_colour(0) || c == closed_colour(1) || c == closed_colour(2) || c == open_colour(0) ||
               c == open_colour(1);
    }

    // The hero's left column in frame n.
    int hero_left(long n) { return span(n, kHeroRow, is_hero).first; }

    RunResult run(long quit_at, const std::string& save)
    {
        return run_program(kSceneDemo, dir.path(), RunOptions().quit(quit_at).save_frames(save));
    }

    TempDir dir;
};

TEST_F(SceneDemoTest, FirstFrameShowsEveryObjectWhereItWasCreated)
{
    write_scene();
    const RunResult r = run(1, "1");
    ASSERT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.status, 0) << r.error_output;
    EXPECT_EQ(r.loads, 54);
    EXPECT_EQ(pixel(1, 250, 20), kSky) << "background";
    EXPECT_EQ(pixel(1, 0, 112 + 40), platform_column(0)) << "platform at (0, 112)";
    EXPECT_EQ(pixel(1, 255, 112 + 40), platform_column(255)) << "the platform's 256-wide window";
    EXPECT_EQ(pixel(1, 0, 112 + 29), kSky) << "the platform's key colour";
    EXPECT_EQ(pixel(1, 78, 116), kYellow) << "lantern at (78, 116)";
    EXPECT_EQ(pixel(1, 73, 181), crystals_column(0)) << "crystals at (73, 181)";
    EXPECT_EQ(pixel(1, 130, 168), peak_column(0)) << "ice peak at (130, 168)";
    EXPECT_EQ(pixel(1, 200, 168), peak_column(70)) << "the ice peak's 71-wide window";
    EXPECT_EQ(pixel(1, 201, 168), platform_column(201));
    EXPECT_EQ(pixel(1, 0, 189), running_colour(0)) << "hero, running frame 0, at (0, 189)";
    EXPECT_EQ(pixel(1, kRunW - 1, 189 + kHeroH - 1), running_colour(0));
    EXPECT_EQ(pixel(1, 100, 60), closed_colour(0)) << "balloon, closed frame 0, at (100, 60)";
    EXPECT_EQ(pixel(1, 100, 59), kSky);
}

TEST_F(SceneDemoTest, HeroWalksInThenHoldsAtColumn206WhileTheViewScrolls)
{
    write_scene();
    const int walk_in = 206 - kRunW;         // frames in which the hero moves across the window
    const int scroll_start = walk_in + 1;    // first frame whose update scrolls
    const int run_out = scroll_start + 256;  // first frame drawn after the view has reached the end
    const RunResult r = run(510, "1,2,100,186,187,188,300,442,443,444,492,493,494,495,496,497,498,510");
    ASSERT_EQ(r.status, 0) << r.error_output;
    // Walk-in: the hero is drawn at column n - 1 in frame n.
    for (int n : {1, 2, 100, walk_in, scroll_start}) EXPECT_EQ(hero_left(n), n - 1) << "frame " << n;
    // Scrolling: its right edge stays at column 206, the platform slides
    // under it one column per frame.
    for (int n : {scroll_start, 188, 300, run_out - 1, run_out}) {
        EXPECT_EQ(hero_left(n), 206 - kRunW) << "frame " << n;
        const int view_x = std::min(n - scroll_start, 256);
        EXPECT_EQ(pixel(n, 0, 112 + 40), platform_column(view_x)) << "frame " << n;
    }
    // Run-out: on to the window's right edge, then the waiting sprite.
    EXPECT_EQ(hero_left(run_out + 1), 207 - kRunW);
    EXPECT_EQ(hero_left(492), 235);
    EXPECT_EQ(hero_left(493), 256 - kRunW);
    EXPECT_EQ(pixel(493, 250, kHeroRow), running_colour((493 - 1) % 10));
    // The switch happens in frame 493; the waiting sprite is first drawn
    // on its frame 1 (the first image again), then 2, 3 (second image), 4.
    const Rgb waiting_frames[] = {waiting_colour(0), waiting_colour(0), waiting_colour(1), waiting_colour(2),
                                  waiting_colour(0)};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(pixel(494 + k, 250, kHeroRow), waiting_frames[k]) << "frame " << 494 + k;
        EXPECT_EQ(hero_left(494 + k), 256 - kRunW) << "frame " << 494 + k;
    }
    EXPECT_EQ(hero_left(510), 256 - kRunW);
}

TEST_F(SceneDemoTest, NarrowerWaitingSpriteRunsOnToTheEdges)
{
    write_scene(14);
    const RunResult r = run(505, "494,499,500,505");
    ASSERT_EQ(r.status, 0) << r.error_output;
    // Frame 493 switched with the hero at 236; each frame after moves it on
    // until the narrower sprite's right edge meets the window's.
    EXPECT_EQ(hero_left(494), 237);
    EXPECT_EQ(hero_left(499), 242);
    EXPECT_EQ(span(500, kHeroRow, is_hero).second, 256);
    EXPECT_EQ(hero_left(505), 242);
}

TEST_F(SceneDemoTest, WiderWaitingSpriteStaysWhereTheRunEnded)
{
    write_scene(26);
    const RunResult r = run(520, "494,520");
    ASSERT_EQ(r.status, 0) << r.error_output;
    EXPECT_EQ(hero_left(494), 236);
    EXPECT_EQ(hero_left(520), 236);
    EXPECT_EQ(pixel(520, 255, kHeroRow), waiting_colour(0)) << "cut by the window's edge";
}

TEST_F(SceneDemoTest, BalloonBobsOpensInFrame100AndRises)
{
    write_scene();
    const RunResult r = run(112, "1-14,99-103,112");
    ASSERT_EQ(r.status, 0) << r.error_output;
    // Frame k + 1 shows the bob counter of frame k.
    const int bob[] = {0, 1, 2, 3, 2, 1, 0, -1, -2, -3, -2, -1, 0, 1};
    for (int k = 0; k < 14; ++k) EXPECT_EQ(top(k + 1, kBalloonColumn, is_balloon), 60 + bob[k]) << "frame " << k + 1;
    EXPECT_EQ(top(99, kBalloonColumn, is_balloon), 62);
    EXPECT_EQ(top(100, kBalloonColumn, is_balloon), 63) << "the counter is 3 when the hero reaches x 100";
    EXPECT_EQ(pixel(100, kBalloonColumn, 70), closed_colour(99 % 3));
    EXPECT_EQ(pixel(101, kBalloonColumn, 70), open_colour(1)) << "the open balloon shows its second image first";
    EXPECT_EQ(top(101, kBalloonColumn, is_balloon), 62);
    EXPECT_EQ(pixel(102, kBalloonColumn, 70), open_colour(0));
    EXPECT_EQ(top(102, kBalloonColumn, is_balloon), 61);
    EXPECT_EQ(top(112, kBalloonColumn, is_balloon), 51);
}

TEST_F(SceneDemoTest, SceneryCropsAndHidesAsItLeavesTheView)
{
    write_scene();
    // Frame scroll_start + v is drawn with the view at x v.
    const int scroll_start = 207 - kRunW;
    const std::vector<int> views{80, 81, 85, 140, 141, 200, 225, 226, 240, 256};
    std::string save;
    for (int v : views) save += std::to_string(scroll_start + v) + ",";
    save += std::to_string(scroll_start + 258);
    const RunResult r = run(scroll_start + 258, save);
    ASSERT_EQ(r.status, 0) << r.error_output;
    auto at_view = [&](int v, int y) { return pixel(scroll_start + v, 0, y); };
    // The crystals (x 73) past the left edge lose two source columns a step:
    // one to the clipping of their negative position, one to their window.
    for (int v : {80, 81, 85}) EXPECT_EQ(at_view(v, 190), crystals_column(2 * v - 147)) << "view " << v;
    // The ice peak (x 130) keeps sliding left one column a step until its
    // image runs out, and never shows again.
    for (int v : {140, 141, 200, 225}) EXPECT_EQ(at_view(v, 170), peak_column(v - 130)) << "view " << v;
    for (int v : {226, 240, 256}) EXPECT_EQ(at_view(v, 170), platform_column(v)) << "view " << v;
    EXPECT_EQ(at_view(258, 170), platform_column(256)) << "the view has stopped at 256";
}

TEST_F(SceneDemoTest, QuitFinishesItsFrameAndFreesEverything)
{
    write_scene();
    const RunResult r = run(50, "");
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0) << r.error_output;
    EXPECT_EQ(r.frames.size(), 50u);
    const std::vector<std::string> tail = lines_after_last_frame(r);
    ASSERT_FALSE(tail.empty());
    EXPECT_EQ(tail.front(), "pause 50") << "the last frame ran to its pause";
    EXPECT_EQ(r.live, 0);
}

TEST_F(SceneDemoTest, EachMissingPictureStopsTheSceneWithItsName)
{
    write_scene();
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path() + "/Ressources"))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    ASSERT_EQ(files.size(), 26u);
    for (const std::string& file : files) {
        const std::string kept = file + ".kept";
        std::filesystem::rename(file, kept);
        const RunResult r = run(5, "");
        std::filesystem::rename(kept, file);
        const std::string name = file.substr(dir.path().size() + 1);
        EXPECT_TRUE(r.exited) << name;
        EXPECT_NE(r.status, 0) << name;
        EXPECT_TRUE(r.frames.empty()) << name;
        EXPECT_EQ(r.live, 0) << name;
        EXPECT_NE(r.error_output.find("scene_demo: cannot build the scene: cannot load ./" + name), std::string::npos)
            << r.error_output;
    }
}

TEST_F(SceneDemoTest, EveryFailedImageLoadStopsTheSceneCleanly)
{
    write_scene();
    constexpr long kLoads = 54;  // 2 x 15 blinking, 10 + 5 + 3 + 2 frames, 4 decors
    for (long k = 1; k <= kLoads; ++k) {
        const RunResult r = run_program(kSceneDemo, dir.path(), RunOptions().quit(3).refuse_load(k));
        SCOPED_TRACE("load " + std::to_string(k));
        EXPECT_TRUE(r.exited) << "signal " << r.signal;
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.frames.empty());
        EXPECT_EQ(r.live, 0);
        EXPECT_NE(r.error_output.find("scene_demo: cannot build the scene: cannot load ./Ressources/"),
                  std::string::npos)
            << r.error_output;
    }
    const RunResult past_the_last = run_program(kSceneDemo, dir.path(), RunOptions().quit(3).refuse_load(kLoads + 1));
    EXPECT_EQ(past_the_last.status, 0);
    EXPECT_EQ(past_the_last.loads, kLoads);
}

TEST_F(SceneDemoTest, WindowThatCannotOpenIsReported)
{
    write_scene();
    const RunResult r = run_program(kSceneDemo, dir.path(), RunOptions().quit(3).driver("no-such-driver"));
    EXPECT_TRUE(r.exited);
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.frames.empty());
    EXPECT_NE(r.error_output.find("scene_demo: cannot start SDL"), std::string::npos) << r.error_output;
}

}  // namespace
