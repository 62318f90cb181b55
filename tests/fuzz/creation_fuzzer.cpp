// creation_fuzzer: hands the fuzzer's bytes, as a picture file, to every
// creation function of the toolkit, and draws whatever gets made.
//
// Built with clang and -fsanitize=fuzzer,address (the "fuzz" preset); run by
// tools/fuzz.sh, which names a seed folder last: the fuzzer fills it with the
// hostile and unusual files of the test corpus before it starts.
#include "support/hostile_bmps.h"
#include "support/objects.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const std::string seeds = (*argv)[*argc - 1];
    const auto write = [&](const test_support::HostileBmp& file) {
        std::ofstream(seeds + "/" + file.name, std::ios::binary) << file.bytes;
    };
    for (const test_support::HostileBmp& file : test_support::hostile_bmps()) write(file);
    for (const test_support::UnusualBmp& unusual : test_support::unusual_bmps()) write(unusual.file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The bytes go into a picture file of the fuzzer's working folder.
    static const std::string path = "input-" + std::to_string(getpid()) + ".bmp";
    static SDL_Surface* t = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0xff0000, 0xff00, 0xff, 0);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    test_support::Objects o(path);
    if (o.complex) {
        update_complex_blinking(o.complex.get());
        blit_complex_blinking_surface(o.complex.get(), t);
    }
    if (o.simple) {
        update_simple_blinking(o.simple.get());
        blit_simple_blinking_surface_from(o.simple.get(), t, SDL_Rect{1, 1, 3, 3});
    }
    if (o.s) blit_sprite_from_to(o.s.get(), t, SDL_Rect{0, 0, 5, 5}, SDL_Rect{60, -2, 0, 0});
    if (o.d) blit_decor(o.d.get(), t);
    if (o.blinking) blit_sblink_decor(o.blinking.get(), t);
    if (o.p) blit_personnage(o.p.get(), t);
    return 0;
}
