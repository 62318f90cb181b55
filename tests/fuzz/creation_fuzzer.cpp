// creation_fuzzer: hands the fuzzer's bytes, as a picture file (and as a
// sprite sheet export), to every creation function of the toolkit, with
// its images in their file's format or, for inputs of odd length, in a
// 16-bit display's, and draws whatever gets made through its whole fade.
//
// Built with clang and -fsanitize=fuzzer,address (the "fuzz" preset); run by
// tools/fuzz.sh, which names a seed folder last: the fuzzer fills it with
// every well-formed form of picture the toolkit takes, sprite sheet exports
// of a sheet it writes into its working folder, and the hostile and unusual
// files of the test corpus, before it starts.
#include "anim/display_format.h"
#include "support/aseprite_exports.h"
#include "support/hostile_bmps.h"
#include "support/objects.h"

#include "png_writer.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// A picture of every depth in every header, the old one included; at 16
// and 32 bits also with colour masks and, in the headers that hold one, an
// alpha mask; at 8 bits also run-length compressed; at 32 bits also with an
// alpha channel in its fourth byte; and a PNG of every form. Rows are wide enough that a loop taking
// their pixels for wider ones runs past what SDL allocates for a surface.
std::vector<test_support::HostileBmp> well_formed_bmps()
{
    using test_support::masked_row;
    std::vector<test_support::HostileBmp> files;
    const auto add = [&](const std::string& what, std::string bytes) {
        files.push_back({"form_" + what + ".bmp", std::move(bytes)});
    };
    constexpr uint32_t kWidth = 48, kRows = 2;
    std::vector<uint32_t> row(kWidth);
    for (uint32_t x = 0; x < kWidth; ++x) row[x] = 0x01020408u * x ^ 0x9abcdef0u;
    const std::vector<uint32_t> colour_16{0x7c00, 0x3e0, 0x1f}, colour_32{0xff0000, 0xff00, 0xff},
        alpha_16{0xf00, 0xf0, 0xf, 0xf000}, alpha_32{0xff0000, 0xff00, 0xff, 0xff000000};
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (uint32_t info : {12u, 40u, 56u, 64u, 108u, 124u}) {
            const std::string form = std::to_string(bits) + "_" + std::to_string(info);
            add(form, test_support::valid_bmp(bits, kWidth, kRows, info));
            if (bits < 16 || info == 12) continue;
            add(form + "_masks", masked_row(bits, info, bits == 16 ? colour_16 : colour_32, row, kRows));
            if (info < 56 || info == 64) continue;
            add(form + "_alpha", masked_row(bits, info, bits == 16 ? alpha_16 : alpha_32, row, kRows));
        }
    add("8_run_length", test_support::run_length_bmp(kWidth, kRows));
    add("32_alpha_channel", test_support::true_colour_row(row, kRows));
    // A PNG of each colour type at each depth it allows, plain and
    // interlaced, with a transparency chunk where the type takes one.
    using namespace png_writer;
    for (const auto& [type, depths] : test_support::png_types())
        for (const int depth : depths)
            for (const bool interlaced : {false, true}) {
                const test_support::SamplePng png =
                    test_support::sample_png(type, depth, interlaced, type != kGreyAlpha && type != kRgba,
                                             static_cast<int>(kWidth), static_cast<int>(kRows));
                files.push_back({"form_png_" + std::to_string(type) + "_" + std::to_string(depth) +
                                     (interlaced ? "_adam7.png" : ".png"),
                                 encode_png(kWidth, kRows, png.form, png.samples)});
            }
    return files;
}

// Draws every object that was made onto `target`, in a mix of the draw
// forms: windows cut at the target's edges, positions written back.
void draw(test_support::Objects& o, SDL_Surface* target)
{
    if (o.complex) blit_complex_blinking_surface(o.complex.get(), target);
    if (o.simple) blit_simple_blinking_surface_from(o.simple.get(), target, SDL_Rect{1, 1, 3, 3});
    if (o.s) blit_sprite_from_to(o.s.get(), target, SDL_Rect{0, 0, 5, 5}, SDL_Rect{60, -2, 0, 0});
    if (o.d) blit_decor(o.d.get(), target);
    if (o.blinking) blit_sblink_decor(o.blinking.get(), target);
    if (o.p) blit_personnage(o.p.get(), target);
    if (o.sheet) blit_sprite(o.sheet.get(), target);
    if (o.spaced) blit_sprite(o.spaced.get(), target);
    if (o.aseprite) {
        // Each of its sprites, whole cycles at once.
        for (int i = 0; i < o.aseprite->sprite_count; ++i) {
            change_sprite_personnage(o.aseprite.get(), i);
            blit_personnage(o.aseprite.get(), target);
            advance_personnage(o.aseprite.get(), 1 << 30);
            blit_personnage(o.aseprite.get(), target);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // A headless display, whose format half the inputs' images take.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || SDL_SetVideoMode(64, 64, 16, SDL_SWSURFACE) == nullptr) {
        std::fprintf(stderr, "creation_fuzzer: no display: %s\n", SDL_GetError());
        std::exit(1);
    }
    const std::string seeds = (*argv)[*argc - 1];
    const auto write = [&](const test_support::HostileBmp& file) {
        std::ofstream(seeds + "/" + file.name, std::ios::binary) << file.bytes;
    };
    for (const test_support::HostileBmp& file : well_formed_bmps()) write(file);
    for (const test_support::HostileBmp& file : test_support::hostile_bmps()) write(file);
    for (const test_support::UnusualBmp& unusual : test_support::unusual_bmps()) write(unusual.file);
    // Sprite sheet exports in both forms, of a sheet in the working folder,
    // where each input is written.
    std::ofstream("fuzz_sheet.bmp", std::ios::binary) << test_support::valid_bmp(24, 20, 8);
    for (const bool hash : {false, true})
        for (const char* tags : {test_support::kExportTags, "[]"})
            write({std::string("export_") + (hash ? "hash" : "array") + (tags[1] == ']' ? "" : "_tags") + ".json",
                   test_support::aseprite_export(hash, "fuzz_sheet.bmp", tags)});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The bytes go into a picture file of the fuzzer's working folder.
    static const std::string path = "input-" + std::to_string(getpid()) + ".bmp";
    static SDL_Surface* t = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0xff0000, 0xff00, 0xff, 0);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    use_display_format(static_cast<int>(size % 2));
    // Every object made is drawn at each step of its whole fade.
    test_support::Objects o(path);
    for (int frame = 0, frames = test_support::whole_cycle(o); frame <= frames; ++frame) {
        draw(o, t);
        test_support::update(o);
    }
    return 0;
}
