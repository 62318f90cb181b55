// bmp_file: what the toolkit reads of a BMP file before SDL decodes it
// (internal to the toolkit, not installed).
//
//   bmp_header_is_sound  the sanity check every image file passes
//   fourth_byte          what a 32-bit file's fourth byte holds
//   repack_as_24_bit     a 32-bit file without alpha made its 24-bit twin
//   widened_size         the size of a file with an alpha mask made 32-bit
//   widen_to_32_bit      a file with an alpha mask made the usual 32-bit one
//   unpack_32_bit        a 32-bit file's pixels as red, green, blue, alpha
//   write_picture_bmp    plain pixels written as a BMP every SDL decodes
//   bmp_width, bmp_rows  the size of a sound BMP
//   cell_bmp_size        the size of one cell cut out of a sheet
//   cut_cell             one cell of a sheet written as a BMP of its own
//
// SDL's BMP decoders are lenient, and each implementation in its own way:
// some broken files decode into garbage, some make them allocate or read
// far beyond the file. The check reads the headers and lets through only
// what a well-formed Windows BMP can be, so that every loader answers a
// broken file the same way on every SDL: with null and a reason.
#ifndef ANIM_DETAIL_BMP_FILE_H
#define ANIM_DETAIL_BMP_FILE_H

#include <SDL.h>

#include <cstddef>  // Required for: size_t
#include <cstdint>  // Required for: uint8_t

namespace anim::detail {

// Largest width or height accepted: SDL 1.2 places images with 16-bit
// signed rectangle coordinates.
constexpr int kLargestBmpSide = 32767;

// Most pixels a run-length compressed image may decode to (4096 x 4096): a
// few bytes of runs can ask for gigabytes, which SDL would allocate before
// reading them; uncompressed pixels are bounded by the file that holds them.
constexpr long kLargestRunLengthPixels = 1L << 24;

// Checks the headers of the BMP file held in `file` (`size` bytes): the
// "BM" signature; a known info header (12, 40, 52, 56, 108 or 124 bytes, or
// an OS/2 2.x one of 42 to 64); a width and height of 1 to kLargestBmpSide
// pixels (a negative height, for rows stored top down, included); 1, 4, 8,
// 16, 24 or 32 bits a pixel; a compression that fits that depth (and not
// OS/2's Huffman coding, compression 3 in its own header sizes); no more
// palette entries than the depth can index; pixel data that starts after the
// headers and, stored as it is (uncompressed or with colour masks), ends
// within the file; and, run-length compressed, at most
// kLargestRunLengthPixels pixels. Returns true, or false with the reason in
// SDL_GetError().
bool bmp_header_is_sound(const unsigned char* file, size_t size);

// What the fourth byte of every pixel of a sound BMP holds: absent (not a
// 32-bit file, or its colour masks are not whole bytes), constant (the same
// in every pixel: no alpha, however SDL would read it) or varying (an alpha
// channel).
enum class FourthByte : uint8_t { absent, constant, varying };
FourthByte fourth_byte(const unsigned char* file, size_t size);

// Rewrites, in place, a sound 32-bit BMP whose fourth byte is constant as
// the 24-bit BMP of the same pixels (a 40-byte header, rows in the same
// order), which every SDL 1.2 decodes as it decodes a 24-bit file:
// each SDL reads a 32-bit file's fourth byte its own way, as an alpha
// channel that disables per-surface alpha, or as part of the colour that
// the colour key then misses. Returns the file's new size (the old one,
// unchanged, for a file that fourth_byte calls absent).
size_t repack_as_24_bit(unsigned char* file, size_t size);

// The size of the file widen_to_32_bit makes of the sound BMP held in
// `file`, when that one has an alpha mask: 16 or 32 bits a pixel, colour
// masks, and an alpha mask in its info header (56 bytes or more, but OS/2's
// 64); 0 for any other file. SDL decodes such a file into a surface of its
// own depth with an alpha channel, which each SDL blends, keys and widens
// in its own way, and some not at all.
size_t widened_size(const unsigned char* file, size_t size);

// Writes the sound BMP held in `file`, which has an alpha mask, into `out`
// (widened_size bytes) as the uncompressed 32-bit BMP of the same picture:
// a 40-byte header, rows in the same order, each pixel blue, green, red and
// alpha, every channel widened to 8 bits (its bits repeated: 4-bit 0x3
// becomes 0x33). The result is then an ordinary 32-bit picture, with a
// constant or a varying fourth byte. Writes nothing for a file without an
// alpha mask.
void widen_to_32_bit(const unsigned char* file, size_t size, unsigned char* out);

// Writes the pixels of a sound 32-bit BMP (one fourth_byte does not call
// absent) into `rgba`, bmp_width x bmp_rows pixels, rows top down, 4 bytes a
// pixel: red, green, blue, and the fourth byte as alpha.
void unpack_32_bit(const unsigned char* file, size_t size, unsigned char* rgba);

// The size of the file write_picture_bmp makes of a width x height picture.
size_t picture_bmp_size(int width, int height, bool alpha);

// Writes `pixels` (width x height pixels, rows top down, `channels` bytes a
// pixel: red, green, blue, and alpha when there are 4) into `out`
// (picture_bmp_size bytes) as a BMP with its rows top down. Without
// `alpha`: a 24-bit file of the colours, any alpha left out. With `alpha`
// (4 channels): a 32-bit file whose 108-byte header gives the colour and
// alpha masks of the pixels as they are (red in the low byte), the layout
// that SDL 1.2's blitters blend closest to the exact blend.
void write_picture_bmp(const unsigned char* pixels, int channels, int width, int height, bool alpha,
                       unsigned char* out);

// The width, and the number of rows, of a sound BMP.
int bmp_width(const unsigned char* file);
int bmp_rows(const unsigned char* file);

// The size of the BMP that cut_cell writes for a width x height cell of
// the sound BMP held in `file`; 0 when that file cannot be cut: its pixels
// are compressed or take under 8 bits each.
size_t cell_bmp_size(const unsigned char* file, int width, int height);

// Writes the width x height cell whose top left corner is at (x, y) of the
// sound BMP held in `file` (which the cell must lie within, and which
// cell_bmp_size can cut) into `out` (cell_bmp_size bytes): the same
// headers, palette and masks, with the cell's size, and the cell's rows.
void cut_cell(const unsigned char* file, int x, int y, int width, int height, unsigned char* out);

}  // namespace anim::detail

#endif
