// stb_zlib: zlib streams compressed by stb_image_write's deflate.
#ifndef ANIM_TOOLS_STB_ZLIB_H
#define ANIM_TOOLS_STB_ZLIB_H

#include <string>

namespace png_writer {

// A zlib stream holding `raw`, compressed (level 8).
std::string zlib_compressed(std::string raw);

}  // namespace png_writer

#endif
