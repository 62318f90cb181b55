// next_definition: finds SDL's own definition of a function the harness
// stands in front of.
#ifndef ANIM_HARNESS_NEXT_DEFINITION_H
#define ANIM_HARNESS_NEXT_DEFINITION_H

#include <dlfcn.h>  // Required for: dlsym(), RTLD_NEXT

#include <cstdio>
#include <cstdlib>

namespace harness {

// The next definition of `name` after the caller's own, as a pointer of type
// Fn. Aborts when there is none: the harness cannot work without SDL.
template <typename Fn>
Fn next_definition(const char* name)
{
    auto fn = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
    if (fn == nullptr) {
        std::fprintf(stderr, "anim harness: SDL's %s not found\n", name);
        std::abort();
    }
    return fn;
}

}  // namespace harness

#endif
