// stb_png: stb_image's PNG decoder, compiled into the toolkit (internal to
// the toolkit, not installed).
//
//   stb_decode_png      a PNG file's pixels, 4 bytes a pixel
//   stb_failure_reason  why the last decoding failed
#ifndef ANIM_DETAIL_STB_PNG_H
#define ANIM_DETAIL_STB_PNG_H

namespace anim::detail {

// Decodes the PNG held in `file` (`size` bytes) into a malloc'ed array of
// pixels, rows top down, `channels` (3 or 4) bytes a pixel: red, green,
// blue, and alpha with 4 (the high byte of 16-bit samples); stores its size
// in `width` and `height`; the caller
// releases the pixels with free(). Null on failure (see stb_failure_reason).
// Checks nothing beyond what the decoder itself does (see decode_png).
unsigned char* stb_decode_png(const unsigned char* file, int size, int channels, int* width, int* height);

// The decoder's reason for the last failure of stb_decode_png, as it names
// it ("outofmem", "bad zlib header", ...); null when the failure has none,
// which it leaves when some of its allocations fail.
const char* stb_failure_reason();

}  // namespace anim::detail

#endif
