// No frame allocates: each program's objects, drawn onto a real (headless)
// display, flipped and advanced, with the event poll of a program's frame,
// make no malloc, calloc or realloc call once their first frames have set up
// SDL's blit mappings. The counters below replace the C library's for the
// whole process, SDL included.
#include "scene_sets.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);

namespace {

std::atomic<long> allocations{0};

}  // namespace

extern "C" void* malloc(size_t size)
{
    ++allocations;
    return __libc_malloc(size);
}

// The parameters keep the C library's names.
extern "C" void* calloc(size_t nmemb, size_t size)
{
    ++allocations;
    return __libc_calloc(nmemb, size);
}

extern "C" void* realloc(void* ptr, size_t size)
{
    ++allocations;
    return __libc_realloc(ptr, size);
}

namespace {

TEST(FrameAllocationTest, FramesMakeNoAllocation)
{
    const struct {
        std::unique_ptr<bench::SceneSet> (*make)(const std::string&);
        int w, h;
    } programs[] = {{[](const std::string& dir) { return bench::blink_set(dir); }, 100, 50},
                    {bench::blink_sprite_set, 150, 100},
                    {bench::scene_set, 256, 256}};
    for (const auto& program : programs) {
        SDL_Surface* display = SDL_SetVideoMode(program.w, program.h, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        ASSERT_NE(display, nullptr) << SDL_GetError();
        const long at_start = allocations.load();
        const auto set = program.make(ANIM_RUN_DIR);
        ASSERT_NE(set, nullptr) << SDL_GetError();
        ASSERT_GT(allocations.load() - at_start, 0) << "the counters must see the loads' allocations";
        SDL_Event event;
        long before = 0;
        for (int i = 0; i < 4 * set->period(); ++i) {
            if (i == 2 * set->period()) before = allocations.load();
            SDL_PollEvent(&event);
            set->frame(display);
            SDL_Flip(display);
        }
        EXPECT_EQ(allocations.load() - before, 0) << "allocations in " << 2 * set->period() << " frames of a "
                                                  << program.w << " x " << program.h << " program";
    }
}

}  // namespace
