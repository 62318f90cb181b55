// stb_png: stb_image's own source, built with what the toolkit uses: PNG
// only, from memory, with the C library's allocator (the pixels are
// released with free()), every function static, so that no name of the
// decoder reaches the library's symbols (the browser's runtime has a copy
// of its own). Third-party code: this file is left out of the static
// checks.
#include "anim/detail/stb_png.h"

#include <cstdlib>  // Required for: malloc(), realloc(), free()

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 32767
#define STBI_MALLOC malloc
#define STBI_REALLOC realloc
#define STBI_FREE free
#include <stb_image.h>

namespace anim::detail {

unsigned char* stb_decode_png(const unsigned char* file, int size, int channels, int* width, int* height)
{
    // The decoder keeps its last reason: it is cleared first, with the
    // decoder's own setter.
    stbi__err(nullptr, nullptr);
    int in_file = 0;
    return stbi_load_from_memory(file, size, width, height, &in_file, channels);
}

const char* stb_failure_reason()
{
    return stbi_failure_reason();
}

}  // namespace anim::detail
