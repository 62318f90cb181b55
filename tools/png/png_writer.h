// png_writer: PNG files written from samples, in every standard form, for
// the asset tool's pictures and the tests' (not part of the toolkit).
//
//   PngForm     a colour type, bit depth, palette, transparency, interlacing
//   encode_png  the bytes of a PNG file of given samples in a form
//   chunk, zlib_stored  the parts of a PNG file, to assemble damaged ones
#ifndef ANIM_TOOLS_PNG_WRITER_H
#define ANIM_TOOLS_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace png_writer {

// Colour types of the PNG header.
enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

struct PngForm {
    ColourType colour_type = kRgb;
    int depth = 8;                      // bits a sample: 1, 2, 4, 8 or 16, as the colour type allows
    bool interlaced = false;            // Adam7
    std::vector<uint8_t> palette;       // red, green, blue of each entry (kPalette)
    std::vector<uint8_t> transparency;  // the tRNS chunk's bytes as stored; none when empty
};

// The samples of one pixel in `form`: 1 (grey, palette index), 2 (grey,
// alpha), 3 (red, green, blue) or 4 (with alpha).
int samples_a_pixel(ColourType colour_type);

// A PNG file of width x height pixels in `form`, from `samples` (rows top
// down, samples_a_pixel values a pixel, each below 2^depth), its pixel data
// compressed as editors compress it (filter 0, deflate).
std::string encode_png(int width, int height, const PngForm& form, const std::vector<uint16_t>& samples);

// A chunk of `type` (4 letters) holding `data`: its length, type, data and
// CRC.
std::string chunk(const char* type, const std::string& data);

// A zlib stream holding `raw` in stored (uncompressed) deflate blocks.
std::string zlib_stored(const std::string& raw);

}  // namespace png_writer

#endif
