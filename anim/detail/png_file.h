// png_file: PNG pictures decoded into plain pixels (internal to the toolkit,
// not installed).
//
//   is_png      whether a file's bytes start with the PNG signature
//   decode_png  a PNG file's pixels as red, green, blue (and alpha) bytes
//
// The decoder is stb_image's, compiled into the toolkit with its functions
// kept private; it draws the pixels as stored (gamma and colour profile
// chunks are ignored) and keeps the high byte of 16-bit samples.
#ifndef ANIM_DETAIL_PNG_FILE_H
#define ANIM_DETAIL_PNG_FILE_H

#include <cstddef>  // Required for: size_t

namespace anim::detail {

// Largest width of a decoded picture: its rows, 4 bytes a pixel, must fit
// the 16-bit pitch of an SDL 1.2 surface (65,535 bytes).
constexpr int kLargestPngWidth = 65535 / 4;

// True when the `size` bytes of `file` start with the 8-byte PNG signature.
bool is_png(const unsigned char* file, size_t size);

// Decodes the PNG file held in `file` (`size` bytes) into a malloc'ed array
// of width x height pixels, rows top down, and stores its size in `width`
// and `height`, and in `channels` the bytes of a pixel: 3 (red, green,
// blue) for a picture without an alpha channel or transparency chunk, else
// 4 (and alpha). The caller releases the pixels with free().
// Before decoding, every chunk is checked (whole, its CRC matching, the
// header first, the end chunk last), and the header: a picture wider than
// kLargestPngWidth, higher than kLargestBmpSide or of more pixels than
// kLargestRunLengthPixels is refused, so a small file that would inflate
// to gigabytes is never decoded. Returns null on failure, with the reason
// in SDL_GetError().
unsigned char* decode_png(const unsigned char* file, size_t size, int* width, int* height, int* channels);

}  // namespace anim::detail

#endif
