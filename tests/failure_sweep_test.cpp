// Every creation and list builder failing every way it can: each image load
// refused in turn, each allocation refused in turn, each hostile file in
// each path it reads, each argument it refuses. Each failed call returns
// null with a reason in SDL_GetError() and leaves nothing behind (the surface
// ledger counts images; LeakSanitizer, in the sanitizer build, counts memory).
#include "anim/detail/bmp_file.h"
#include "anim/display_format.h"
#include "anim/gestion_ecran.h"
#include "anim/gestion_monde.h"
#include "anim/lib_aseprite.h"
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"
#include "anim/owned.h"
#include "char_array.h"

#include "support/allocation_failer.h"
#include "support/hostile_bmps.h"
#include "support/ledger_test.h"
#include "support/objects.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

using anim::detail::FourthByte, anim::detail::SoundBmp;
using namespace test_support;

namespace {

// What a creation made, released with its own destroyer. Taking it
// allocates nothing, so that an allocation refused after the creation is
// one of the creation's.
using Made = std::unique_ptr<void, void (*)(void*)>;

template <auto release, typename T>
Made own(T* made)
{
    return Made(made, [](void* m) { release(static_cast<T*>(m)); });
}

// The personnage of an export of two 1 x 1 frames of the picture at
// `picture`, in two tags (3 loads), whose JSON file is written beside the
// picture without an allocation, which the sweep would refuse.
personnage* aseprite_of(const char* picture)
{
    char json[4096], text[8192];
    snprintf(json, sizeof json, "%s.json", picture);
    const int size = snprintf(text, sizeof text,
                              R"({"frames":[{"frame":{"x":0,"y":0,"w":1,"h":1},"duration":10},)"
                              R"({"frame":{"x":1,"y":0,"w":1,"h":1},"duration":20}],"meta":{"image":"%s",)"
                              R"("frameTags":[{"name":"a","from":0,"to":1},{"name":"b","from":1,"to":1}]}})",
                              picture);
    const int file = open(json, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = file >= 0 && write(file, text, static_cast<size_t>(size)) == size;
    if (file >= 0) close(file);
    return written ? create_personnage_from_aseprite(json, 0, 0, 0, 0, 0) : nullptr;
}

// A creation from two picture paths.
struct Creation {
    const char* name;
    long loads;    // image loads of a successful call
    int pictures;  // how many of the two paths it loads (the first one first)
    std::function<Made(const char*, const char*)> create;
};

void PrintTo(const Creation& creation, std::ostream* out)
{
    *out << creation.name;
}

// Step 85 gives rows of 3 copies (complex) and ladders of 4 (simple).
const Creation kCreations[] = {
    {"complex_surface", 1 + 3 + 3 * 3, 2,
     [](auto a, auto b) {
         const char* const fronts[] = {a, b, nullptr};
         return own<free_complex_surface>(create_complex_surface(a, fronts, 1, 85, 0, 0, 0, 0, 0));
     }},
    {"simple_surface", 2 + 4, 2,
     [](auto a, auto b) { return own<free_simple_surface>(create_simple_surface(a, b, 1, 85, 0, 0, 0, 0, 0)); }},
    {"sprite", 2, 2,
     [](auto a, auto b) {
         const char* const frames[] = {a, b, nullptr};
         return own<free_sprite>(create_sprite(frames, 0, 0, 0, 0, 0, 0));
     }},
    {"sprite_sheet", 4, 1,
     [](auto a, auto) { return own<free_sprite>(create_sprite_from_sheet(a, 2, 1, 4, 0, 0, 0, 0, 0, 0)); }},
    {"open_sheet", 1 + 2, 1, [](auto a, auto) { return own<free_sprite>(spaced_cells(a)); }},
    {"aseprite", 3, 1, [](auto a, auto) { return own<free_everything_personnage>(aseprite_of(a)); }},
    {"decor", 1, 1, [](auto a, auto) { return own<free_everything_decor>(create_decor(a, 0, 0, 0, 0, 0)); }},
    {"blinking_decor", 6, 2,
     [](auto a, auto b) { return own<free_everything_sblink_decor>(blinking_decor(a, b, 85, 0, 0, 0)); }},
    {"personnage", 4, 2,
     [](auto a, auto b) {
         const char* const paths[] = {a, b, nullptr};
         return own<free_everything_personnage>(tool_create_personnage_from_char(0, 0, 0, 0, 0, 2, paths, paths));
     }},
    // Every list builder is the same template: the decors' stands for them all.
    {"decor_list", 0, 0, [](auto...) { return own<free_everything_decor_array>(make_decor_array(0)); }},
    {"string_list", 0, 0, [](auto a, auto b) { return own<free_structure_char_array>(make_char_array(2, a, b)); }},
    {"screen", 0, 0, [](auto...) { return own<free_screen>(create_screen(1, 1, 0, 0)); }},
    {"world", 0, 0, [](auto...) { return own<free_world>(create_world(0, 0, 1, 1)); }},
};

class FailureSweepTest : public LedgerTest, public ::testing::WithParamInterface<Creation> {
protected:
    // Calls the creation, which must fail: null, a reason that holds
    // `reason` and does not end in a blank, nothing left.
    void expect_failure(const std::string& a, const std::string& b, const std::string& what, const std::string& reason)
    {
        SDL_ClearError();
        expect_failed(GetParam().create(a.c_str(), b.c_str()), what, reason);
    }
    void expect_failed(const Made& made, const std::string& what, const std::string& reason)
    {
        EXPECT_EQ(made, nullptr) << what;
        const std::string error = SDL_GetError();
        EXPECT_TRUE(error.find(reason) != std::string::npos && error.back() != ' ') << what << ": " << error;
        EXPECT_EQ(live_now(), 0) << what;
    }

    std::string a() const { return path("red"); }
    std::string b() const { return path("green"); }
};

// A creation makes its loads, however many, from one read of each picture;
// each load refused in turn fails it cleanly.
TEST_P(FailureSweepTest, EachLoadRefusedInTurn)
{
    const Creation& c = GetParam();
    const long before = harness::load_count();
    const long a_before = harness::reads_of(a()), b_before = harness::reads_of(b());
    SDL_SetError("the caller's own");
    c.create(a().c_str(), b().c_str());
    EXPECT_STREQ(SDL_GetError(), "the caller's own") << "a creation that succeeds leaves the error as it was";
    ASSERT_EQ(harness::load_count() - before, c.loads);
    EXPECT_EQ(harness::reads_of(a()) - a_before, c.pictures >= 1 ? 1 : 0);
    EXPECT_EQ(harness::reads_of(b()) - b_before, c.pictures == 2 ? 1 : 0);
    for (long k = 1; k <= c.loads; ++k) {
        harness::fail_load(k);
        expect_failure(a(), b(), "load " + std::to_string(k), "refused by the test harness");
        harness::fail_load(0);
    }
}

// In the format of a 16-bit display, a creation converts each image it
// loads; each conversion refused in turn fails it cleanly.
TEST_P(FailureSweepTest, EachConversionRefusedInTurn)
{
    ASSERT_NE(SDL_SetVideoMode(8, 8, 16, SDL_SWSURFACE), nullptr) << SDL_GetError();
    ASSERT_EQ(use_display_format(1), 0);
    const long before = harness::conversion_count();
    GetParam().create(a().c_str(), b().c_str());
    EXPECT_EQ(harness::conversion_count() - before, GetParam().loads);
    for (long k = 1; k <= GetParam().loads; ++k) {
        harness::fail_conversion(k);
        expect_failure(a(), b(), "conversion " + std::to_string(k), "refused by the test harness");
        harness::fail_conversion(0);
    }
    use_display_format(0);
}

// The first allocation refused, then the second, and so on until the
// creation makes no more: each refusal fails it cleanly. The first picture
// is also one with an alpha mask, which is widened into a file of its own,
// and a PNG with soft edges, decoded and written again; each is made in its
// file's format and converted to a 16-bit display's.
TEST_P(FailureSweepTest, EachAllocationRefusedInTurn)
{
    const AlphaMaskedBmp masked = alpha_masked_bmps().front();
    std::ofstream(dir.file(masked.file.name), std::ios::binary) << masked.file.bytes;
    write_png(dir.file("soft.png"), 20, 10, [](int x, int y) { return Rgba{column(x), Uint8(x * 12 + y)}; });
    ASSERT_NE(SDL_SetVideoMode(8, 8, 16, SDL_SWSURFACE), nullptr) << SDL_GetError();
    const std::string second = b();
    for (const int display_format : {0, 1})
        for (const std::string& first : {a(), dir.file(masked.file.name), dir.file("soft.png")}) {
            SCOPED_TRACE(first + (display_format != 0 ? " in the display's format" : ""));
            ASSERT_EQ(use_display_format(display_format), 0);
            for (long k = 1;; ++k) {
                fail_allocation(k);
                SDL_ClearError();
                const Made made = GetParam().create(first.c_str(), second.c_str());
                const bool refused = allocation_failed();
                fail_allocation(0);
                if (!refused) {
                    EXPECT_NE(made, nullptr) << "with its " << k - 1 << " allocations granted";
                    EXPECT_GT(k, 1) << "a creation allocates at least its record";
                    break;
                }
                expect_failed(made, "allocation " + std::to_string(k), "Out of memory");
                ASSERT_LT(k, 1000) << "the creation never stops allocating";
            }
        }
    use_display_format(0);
}

// Every entry of the hostile corpus is refused before SDL decodes it, with a
// reason that names its path (and says so of a folder).
TEST_P(FailureSweepTest, EachHostileFileInEachPath)
{
    const int pictures = GetParam().pictures;
    if (pictures == 0) GTEST_SKIP() << "reads no picture";
    for (const std::string& hostile : write_hostile_corpus(dir.path)) {
        const bool folder = std::filesystem::path(hostile).filename() == "directory.bmp";
        const std::string reason = hostile + (folder ? ": is a folder" : ": ");
        const long before = harness::load_count();
        expect_failure(hostile, b(), hostile + " first", reason);
        EXPECT_EQ(harness::load_count(), before) << hostile << " reached SDL's decoder";
        if (pictures == 2) expect_failure(a(), hostile, hostile + " second", reason);
    }
}

INSTANTIATE_TEST_SUITE_P(Creations, FailureSweepTest, ::testing::ValuesIn(kCreations),
                         ::testing::PrintToStringParamName());

class RefusalTest : public LedgerTest {};

TEST_F(RefusalTest, ArgumentsNoObjectCanBeMadeOfGiveNullAndLeaveNothing)
{
    const std::string a = path("red");
    const char* const empty[] = {nullptr};
    const char* const one[] = {a.c_str(), nullptr};
    const std::string missing = path("missing");
    sprite** sprites = make_sprite_array(1, create_sprite(one, 0, 0, 0, 0, 0, 0));
    const long held = live_now();
    struct Refused {
        const char* what;
        std::function<void*()> create;
        long loads;          // images loaded (and released) before the refusal
        std::string reason;  // what the reason says
    };
    const Refused refused[] = {
        {"complex, no fronts", [&] { return create_complex_surface(a.c_str(), empty, 1, 10, 0, 0, 0, 0, 0); }, 1,
         "at least one front image"},
        {"complex, null list", [&] { return create_complex_surface(a.c_str(), nullptr, 1, 10, 0, 0, 0, 0, 0); }, 1,
         "at least one front image"},
        {"complex, step -1", [&] { return create_complex_surface(a.c_str(), one, 1, -1, 0, 0, 0, 0, 0); }, 0,
         "non-negative alpha step, got -1"},
        {"simple, null path", [&] { return create_simple_surface(a.c_str(), nullptr, 1, 10, 0, 0, 0, 0, 0); }, 1,
         "no image path given"},
        {"simple, step -20", [&] { return create_simple_surface(a.c_str(), a.c_str(), 1, -20, 0, 0, 0, 0, 0); }, 0,
         "a simple blinking surface needs a non-negative alpha step, got -20"},
        {"sprite, no frames", [&] { return create_sprite(empty, 0, 0, 0, 0, 0, 0); }, 0, "at least one frame path"},
        {"sprite, null list", [&] { return create_sprite(nullptr, 0, 0, 0, 0, 0, 0); }, 0, "at least one frame path"},
        {"decor, null path", [&] { return create_decor(nullptr, 0, 0, 0, 0, 0); }, 0, "no image path given"},
        {"decor, no file", [&] { return create_decor(missing.c_str(), 0, 0, 0, 0, 0); }, 0, missing + ": No such file"},
        {"blinking decor, no surface", [&] { return create_sblink_decor(nullptr, 0, 0); }, 0, "needs a surface"},
        {"personnage, null array", [&] { return create_personnage(nullptr, 1, 0, 0); }, 0,
         "a personnage needs an array of sprites, got null"},
        {"personnage, no sprites", [&] { return create_personnage(sprites, 0, 0, 0); }, 0,
         "a personnage needs at least one sprite, got 0"},
        {"personnage, past the terminator", [&] { return create_personnage(sprites, 2, 0, 0); }, 0,
         "sprite 1 of a personnage of 2 is missing"},
        {"personnage of no lists", [&] { return tool_create_personnage_from_char(0, 0, 0, 0, 0, -1); }, 0,
         "at least one sprite, got -1"},
        {"list, negative count", [&] { return make_decor_array(-1); }, 0, "a list cannot have -1 members"},
        {"list, null member", [&] { return make_sprite_array(2, sprites[0], static_cast<sprite*>(nullptr)); }, 0,
         "member 1 of a list of 2 is null"},
        {"list from a null array", [&] { return make_sprite_array_from(1, nullptr); }, 0,
         "no member array given for a list of 1"},
        {"list from an array with a null member", [&] { return make_sprite_array_from(2, sprites); }, 0,
         "member 1 of a list of 2 is null"},
        {"string list, null string", [&] { return make_char_array(2, static_cast<char*>(nullptr), "x"); }, 0,
         "member 0 of a list of 2 is null"},
    };
    for (const Refused& r : refused) {
        const long before = harness::load_count();
        SDL_ClearError();
        EXPECT_EQ(r.create(), nullptr) << r.what;
        EXPECT_NE(std::string(SDL_GetError()).find(r.reason), std::string::npos) << r.what << ": " << SDL_GetError();
        EXPECT_EQ(harness::load_count() - before, r.loads) << r.what;
        EXPECT_EQ(live_now(), held) << r.what << ": what was handed in stays the caller's";
    }
    free_sprite_array(sprites);
}

// Classic SDL 1.2.15 decodes no run-length BMP, so these pass the header
// check only; one pixel over the cap does not.
TEST_F(RefusalTest, RunLengthPicturesPassTheCheckUpToTheirCap)
{
    for (const auto& [w, h, sound] : {std::tuple{4096u, 4096u, true}, {2100u, 2100u, true}, {4097u, 4096u, false}}) {
        const std::string file = run_length_bmp(w, h);
        EXPECT_EQ(SoundBmp::check(reinterpret_cast<const unsigned char*>(file.data()), file.size()).has_value(), sound)
            << w << " x " << h;
    }
}

// A 32-bit file whose fourth byte holds no alpha becomes, byte for byte,
// the 24-bit file of its pixels, whichever bytes its colour masks name;
// other files stay as they are.
TEST(BmpFileTest, ConstantFourthBytesRepackToTheTwentyFourBitTwin)
{
    // Red in byte 1 of each pixel, green in 2, blue in 3: the fourth byte
    // is byte 0, and the twin's pixels read 0x30, 0x20, 0x10.
    std::string shuffled = valid_bmp(32, 4, 3, 40, true), shuffled_twin = valid_bmp(24);
    constexpr size_t kHeaders = 54, kMaskedPixels = kHeaders + 12;
    std::fill_n(shuffled.begin() + kHeaders, 12, '\0');
    for (size_t mask = 0; mask < 3; ++mask) shuffled[kHeaders + 4 * mask + mask + 1] = '\xff';
    for (size_t at = kMaskedPixels; at < shuffled.size(); at += 4) shuffled.replace(at, 4, "\x00\x10\x20\x30", 4);
    for (size_t at = kHeaders; at < shuffled_twin.size(); at += 3) shuffled_twin.replace(at, 3, "\x30\x20\x10");
    // A blue mask of 6 bits: the channels are not whole bytes.
    std::string partial = valid_bmp(32, 4, 3, 40, true);
    partial[kHeaders + 8] = '\x3f';
    const struct {
        const char* what;
        std::string file;
        FourthByte fourth;
        std::string repacked;
    } kCases[] = {
        {"32 bits", valid_bmp(32), FourthByte::constant, valid_bmp(24)},
        {"usual masks", valid_bmp(32, 4, 3, 40, true), FourthByte::constant, valid_bmp(24)},
        {"shuffled masks", shuffled, FourthByte::constant, shuffled_twin},
        {"alpha", true_colour_row({0xff000000, 0x80000000}), FourthByte::varying, ""},
        {"partial masks", partial, FourthByte::absent, partial},
        {"24 bits", valid_bmp(24), FourthByte::absent, valid_bmp(24)},
        {"16-bit masks", valid_bmp(16, 4, 3, 40, true), FourthByte::absent, valid_bmp(16, 4, 3, 40, true)},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        std::string file = c.file;
        auto* bytes = reinterpret_cast<unsigned char*>(file.data());
        const std::optional<SoundBmp> bmp = SoundBmp::check(bytes, file.size());
        EXPECT_TRUE(bmp && bmp->fourth_byte() == c.fourth);
        if (!bmp || c.fourth == FourthByte::varying) continue;
        EXPECT_EQ(file.substr(0, bmp->repack_as_24_bit(bytes).size()), c.repacked);
    }
}

// A picture with an alpha mask becomes the usual 32-bit file of the same
// pixels, every channel widened to 8 bits; any other file is left alone.
TEST(BmpFileTest, AlphaMasksWidenToTheUsual32BitFile)
{
    const auto widen = [](const std::string& file) {
        const auto bmp = SoundBmp::check(reinterpret_cast<const unsigned char*>(file.data()), file.size());
        if (!bmp) return std::string("refused");
        std::string widened(bmp->widened_size(), '\0');
        bmp->widen_to_32_bit(reinterpret_cast<unsigned char*>(widened.data()));
        return widened;
    };
    for (const AlphaMaskedBmp& picture : alpha_masked_bmps())
        EXPECT_EQ(widen(picture.file.bytes), picture.twin) << picture.file.name;
    // A channel without a mask widens to 0.
    EXPECT_EQ(widen(masked_row(16, 56, {0x0f00, 0, 0xf, 0xf000}, {0xf3f3})), true_colour_row({0xff330033}));
    // A 40-byte header is followed by three masks only.
    const std::vector<uint32_t> pixels{0xf333, 0x0fff};
    const struct {
        const char* what;
        std::string file;
    } kNoAlphaMask[] = {
        {"a 40-byte header", valid_bmp(16, 4, 3, 40, true)},
        {"a zero alpha mask", masked_row(16, 56, {0x0f00, 0xf0, 0xf, 0}, pixels)},
        {"no colour masks", valid_bmp(32, 4, 3, 108)},
        {"24 bits", valid_bmp(24, 4, 3, 124)},
    };
    for (const auto& [what, file] : kNoAlphaMask) EXPECT_EQ(widen(file), "") << what;
}

// The same colour on every SDL the suite runs on. Each is keyed by the
// complement of its colour, which it does not hold (and which a palette's
// nearest entry maps to the other of its two colours).
TEST_F(RefusalTest, WellFormedUnusualFilesLoadAndDrawTheirColour)
{
    for (const auto& [file, r, g, b] : unusual_bmps()) {
        std::ofstream(dir.file(file.name), std::ios::binary) << file.bytes;
        const anim::owned_decor d(create_decor(dir.file(file.name).c_str(), 0, 0, 255 - r, 255 - g, 255 - b));
        ASSERT_TRUE(d) << file.name << ": " << SDL_GetError();
        d->hidden = 0;
        blit_decor(d.get(), target);
        EXPECT_EQ(at(0, 0), (Rgb{r, g, b})) << file.name;
    }
}

}  // namespace
