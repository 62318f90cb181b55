// hostile_bmps: files that are not valid BMPs, made to stand at the path of a
// real picture.
//
// Each is a small BMP broken in one way: empty, cut short at every header
// field, a wrong signature, absurd sizes, unsupported depths, overflowing
// palettes, bad offsets and compressions; and, besides files, a directory, a
// link that loops and a file whose reading fails.
#ifndef ANIM_TESTS_HOSTILE_BMPS_H
#define ANIM_TESTS_HOSTILE_BMPS_H

#include "png_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

struct HostileBmp {
    std::string name;   // file name, ending in .bmp (or .png for a PNG)
    std::string bytes;  // the file's content
};

// A valid w x h BMP of `bits` a pixel whose info header is `info_size`
// bytes long: the old 12-byte one (16-bit sizes, no compression, no palette
// count), 40, or a longer version whose extra fields stay zero; with
// `masks`, a 40-byte header is followed by the three usual colour masks of
// the bit-fields compression (5-5-5 at 16 bits). Up to 8 bits, a two-colour
// palette of red and blue, every byte of the pixels 0x01 (the top-left pixel
// red, blue at 8 bits); at 16, every pixel 3, 3, 3 of 5 bits, which both
// SDLs widen to 24; above, every byte 0x40.
std::string valid_bmp(int bits, uint32_t w = 4, uint32_t h = 3, uint32_t info_size = 40, bool masks = false);

// A well-formed w x h BMP of 8 bits a pixel, run-length compressed into its
// shortest form: the end of the bitmap, every pixel left blank.
std::string run_length_bmp(uint32_t w, uint32_t h);

// A BMP of 32 bits a pixel, uncompressed, of `rows` rows whose pixel x is
// the 0xAARRGGBB value pixels[x] (AA: its fourth byte).
std::string true_colour_row(const std::vector<uint32_t>& pixels, uint32_t rows = 1);

// A BMP of `bits` (16 or 32) a pixel and an info header of `info_size`
// bytes, of `rows` rows whose pixel x has the value pixels[x]; with `masks`
// (red, green, blue and, in a header of 56 bytes or more, alpha), in the
// bit-fields compression, the masks where the longer headers hold them and
// a 40-byte one is followed by them.
std::string masked_row(int bits, uint32_t info_size, const std::vector<uint32_t>& masks,
                       const std::vector<uint32_t>& pixels, uint32_t rows = 1);

// A well-formed picture with an alpha mask, and its 32-bit twin: the same
// picture, uncompressed, every channel widened to 8 bits by repeating its
// bits.
struct AlphaMaskedBmp {
    HostileBmp file;
    std::string twin;  // the twin's file
    uint32_t first;    // the first pixel of each row, 0xAARRGGBB at 8 bits a channel
};

// Pictures with alpha masks as editors write them, at 16 bits in 4-4-4-4,
// 1-5-5-5 and masks of odd widths (3-5-4-4), and at 32 bits in 2-10-10-10,
// in the longer headers: rows of an opaque colour, the key colour (magenta)
// under some alpha, a colour under another and a transparent white, again
// and again.
std::vector<AlphaMaskedBmp> alpha_masked_bmps();

// A valid w x h PNG of 8-bit RGB, every sample 0x40.
std::string valid_png(uint32_t w = 4, uint32_t h = 3);

// A w x h PNG form of colour type `type` at `depth` bits, interlaced or
// not, and its samples, which cover the depth's range: palette entry n is
// (n * 37, n * 91 + 7, n * 53 + 100); with `transparency`, a tRNS chunk gives
// palette entry n the alpha n * 67, or makes pixel 5's colour transparent.
struct SamplePng {
    png_writer::PngForm form;
    std::vector<uint16_t> samples;
};
SamplePng sample_png(png_writer::ColourType type, int depth, bool interlaced, bool transparency, int w, int h);

// Every PNG colour type with the sample depths it allows.
struct PngType {
    png_writer::ColourType type;
    std::vector<int> depths;
};
std::vector<PngType> png_types();

// PNG files broken in one way: cut short anywhere, a chunk whose CRC does
// not match, chunks missing, corrupt compressed data, depths and colour
// types that do not exist or do not fit each other, too few rows, and
// sizes larger than a surface holds (among them a bomb that would inflate
// to a gigabyte).
std::vector<HostileBmp> hostile_pngs();

// The hostile files' contents: BMPs, and the hostile PNGs.
std::vector<HostileBmp> hostile_bmps();

// A well-formed file, and the colour of its top-left pixel.
struct UnusualBmp {
    HostileBmp file;
    uint8_t r, g, b;
};

// Well-formed but less common BMPs, which must load and draw the same on
// every SDL: rows stored top down, 1, 4 and 8-bit palettes, the old 12-byte
// header and the longer ones (OS/2 2.x's among them), 16 and 32 bits a pixel
// (32 with a constant fourth byte, which is no alpha), colour masks, the
// alpha-masked pictures above (drawn opaque at their top-left pixel), a PNG, the
// tallest image SDL 1.2 can place (classic SDL 1.2.15 takes images narrower
// than 16384 pixels only, so no widest one).
std::vector<UnusualBmp> unusual_bmps();

// Writes every hostile file into `dir`, and the entries that are not files:
// "directory.bmp" (a folder), "loop.bmp" (a link to itself) and
// "unreadable.bmp" (a link to a file whose reading fails). Returns the paths.
std::vector<std::string> write_hostile_corpus(const std::string& dir);

}  // namespace test_support

#endif
