// stb_zlib: the deflate compressor of stb_image_write (Debian's libstb-dev),
// compiled as it is for the PNG writer. Third-party code: this file is left
// out of the static checks.
#include "stb_zlib.h"

#include <cstdlib>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace png_writer {

std::string zlib_compressed(std::string raw)
{
    int length = 0;
    unsigned char* compressed =
        stbi_zlib_compress(reinterpret_cast<unsigned char*>(raw.data()), static_cast<int>(raw.size()), &length, 8);
    std::string out(reinterpret_cast<const char*>(compressed), static_cast<size_t>(length));
    free(compressed);
    return out;
}

}  // namespace png_writer
