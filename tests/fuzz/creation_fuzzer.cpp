// creation_fuzzer: hands the fuzzer's bytes, as a picture file, to every
// creation function of the toolkit, and draws whatever gets made.
//
// Built with clang and -fsanitize=fuzzer,address (the "fuzz" preset); run by
// tools/fuzz.sh, which names a seed folder last: the fuzzer fills it with the
// hostile and unusual files of the test corpus before it starts.
#include "anim/lib_complex_blinking.h"
#include "anim/lib_decors.h"
#include "anim/lib_personnage.h"
#include "support/hostile_bmps.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

const std::string& picture_path()
{
    static const std::string path = "/tmp/anim-fuzz-" + std::to_string(getpid()) + ".bmp";
    return path;
}

SDL_Surface* target()
{
    static SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0xff0000, 0xff00, 0xff, 0);
    return surface;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const std::string seeds = (*argv)[*argc - 1];
    for (const auto& set : {test_support::hostile_bmps(), test_support::unusual_bmps()})
        for (const test_support::HostileBmp& file : set)
            std::ofstream(seeds + "/" + file.name, std::ios::binary) << file.bytes;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* path = picture_path().c_str();
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const char* const list[] = {path, nullptr};

    if (decor* d = create_decor(path, -3, 5, 0, 0, 0)) {
        d->hidden = 0;
        blit_decor(d, target());
        free_everything_decor(d);
    }
    if (sprite* s = create_sprite(list, 0, 60, -2, 255, 255, 255)) {
        blit_sprite(s, target());
        free_sprite(s);
    }
    if (simple_surface* s = create_simple_surface(path, path, 1, 128, 0, 0, 0, 0, 0)) {
        update_simple_blinking(s);
        blit_simple_blinking_surface(s, target());
        free_simple_surface(s);
    }
    if (complex_surface* s = create_complex_surface(path, list, 1, 128, 0, 0, 255, 0, 255)) {
        update_complex_blinking(s);
        blit_complex_blinking_surface(s, target());
        free_complex_surface(s);
    }
    if (personnage* p = tool_create_personnage_from_char(1, 1, 0, 0, 0, 1, list)) {
        p->hidden = 0;
        blit_personnage(p, target());
        free_everything_personnage(p);
    }
    return 0;
}
