// bmp_file: what the toolkit reads of a BMP file before SDL decodes it
// (internal to the toolkit, not installed).
//
//   SoundBmp                         a checked BMP file, its headers read once
//     check                          the sanity check every image file passes
//     picture_size, write_picture    plain pixels written as a BMP every SDL decodes
//     size, width, rows              the size of the file and of its picture
//     fourth_byte                    what a 32-bit file's fourth byte holds
//     repack_as_24_bit               a 32-bit file without alpha made its 24-bit twin
//     widened_size, widen_to_32_bit  a file with an alpha mask made the usual 32-bit one
//     unpack_32_bit                  a 32-bit file's pixels as red, green, blue, alpha
//     cell_size, cut_cell            one cell of a sheet written as a BMP of its own
//
// SDL's BMP decoders are lenient, and each implementation in its own way:
// some broken files decode into garbage, some make them allocate or read
// far beyond the file. The check reads the headers and lets through only
// what a well-formed Windows BMP can be, so that every loader answers a
// broken file the same way on every SDL: with null and a reason.
#ifndef ANIM_DETAIL_BMP_FILE_H
#define ANIM_DETAIL_BMP_FILE_H

#include <SDL.h>

#include <array>     // Required for: std::array
#include <cstddef>   // Required for: size_t
#include <cstdint>   // Required for: uint8_t, uint32_t, int64_t
#include <optional>  // Required for: std::optional

namespace anim::detail {

// Largest width or height accepted: SDL 1.2 places images with 16-bit
// signed rectangle coordinates.
constexpr int kLargestBmpSide = 32767;

// Most pixels a run-length compressed image may decode to (4096 x 4096): a
// few bytes of runs can ask for gigabytes, which SDL would allocate before
// reading them; uncompressed pixels are bounded by the file that holds them.
constexpr long kLargestRunLengthPixels = 1L << 24;

// What a 32-bit file's fourth byte holds in every pixel: absent (not a
// 32-bit file, or its colour masks are not whole bytes), constant (the same
// in every pixel: no alpha, however SDL would read it) or varying (an alpha
// channel).
enum class FourthByte : uint8_t { absent, constant, varying };

// A BMP file that passed the check, or that a function of its own wrote,
// with every header field read once, as the check reads it. There is no
// other way to one, so no function below reads a buffer that was not
// checked. It views the file's bytes, which must outlive it and stay as they
// are, and owns nothing.
class SoundBmp {
public:
    // Checks the headers of the BMP file held in `file` (`size` bytes): the
    // "BM" signature; a known info header (12, 40, 52, 56, 108 or 124 bytes,
    // or an OS/2 2.x one of 42 to 64); a width and height of 1 to
    // kLargestBmpSide pixels (a negative height, for rows stored top down,
    // included); 1, 4, 8, 16, 24 or 32 bits a pixel; a compression that fits
    // that depth (and not OS/2's Huffman coding, compression 3 in its own
    // header sizes); no more palette entries than the depth can index; pixel
    // data that starts after the headers and, stored as it is (uncompressed
    // or with colour masks), ends within the file; and, run-length
    // compressed, at most kLargestRunLengthPixels pixels. Returns the file,
    // or none with the reason in SDL_GetError().
    static std::optional<SoundBmp> check(const unsigned char* file, size_t size);

    // The size of the file write_picture makes of a width x height picture.
    static size_t picture_size(int width, int height, bool alpha);

    // Writes `pixels` (width x height pixels, rows top down, `channels` bytes
    // a pixel: red, green, blue, and alpha when there are 4) into `out`
    // (picture_size bytes) as a BMP with its rows top down, and returns it.
    // Without `alpha`: a 24-bit file of the colours, any alpha left out. With
    // `alpha` (4 channels): a 32-bit file whose 108-byte header gives the
    // colour and alpha masks of the pixels as they are (red in the low byte),
    // the layout that SDL 1.2's blitters blend closest to the exact blend.
    static SoundBmp write_picture(const unsigned char* pixels, int channels, int width, int height, bool alpha,
                                  unsigned char* out);

    // The file's size in bytes, its width, and its number of rows.
    size_t size() const { return size_; }
    int width() const { return static_cast<int>(width_); }
    int rows() const { return static_cast<int>(rows_); }

    // What the file's fourth byte holds.
    FourthByte fourth_byte() const;

    // Writes a 32-bit file whose fourth byte is constant into `out` as the
    // 24-bit BMP of the same pixels (a 40-byte header, rows in the same
    // order), and returns that twin; `out` may hold the file itself, as no
    // pixel is written over before it is read. Every SDL 1.2 decodes the twin
    // as it decodes a 24-bit file, where each reads a 32-bit file's fourth
    // byte its own way, as an alpha channel that disables per-surface alpha,
    // or as part of the colour that the colour key then misses. For a file
    // whose fourth byte is absent, writes nothing and returns this file.
    SoundBmp repack_as_24_bit(unsigned char* out) const;

    // The size of the file widen_to_32_bit makes of a file with an alpha
    // mask: 16 or 32 bits a pixel, colour masks, and an alpha mask in its
    // info header (56 bytes or more); 0 for any other file. SDL decodes such
    // a file into a surface of its own depth with an alpha channel, which
    // each SDL blends, keys and widens in its own way, and some not at all.
    size_t widened_size() const;

    // Writes a file with an alpha mask into `out` (widened_size bytes) as the
    // uncompressed 32-bit BMP of the same picture: a 40-byte header, rows in
    // the same order, each pixel blue, green, red and alpha, every channel
    // widened to 8 bits (its bits repeated: 4-bit 0x3 becomes 0x33). The
    // result, which it returns, is then an ordinary 32-bit picture, with a
    // constant or a varying fourth byte. For a file without an alpha mask,
    // writes nothing and returns this file.
    SoundBmp widen_to_32_bit(unsigned char* out) const;

    // Writes the pixels of a 32-bit file whose fourth byte is not absent into
    // `rgba`, width x rows pixels, rows top down, 4 bytes a pixel: red, green,
    // blue, and the fourth byte as alpha. Writes nothing for any other file.
    void unpack_32_bit(unsigned char* rgba) const;

    // The size of the BMP that cut_cell writes for a width x height cell; 0
    // when the file cannot be cut: its pixels are compressed or take under 8
    // bits each.
    size_t cell_size(int width, int height) const;

    // Writes the width x height cell whose top left corner is at (x, y) of
    // the file (which the cell must lie within, and which cell_size can cut)
    // into `out` (cell_size bytes): the same headers, palette and masks, with
    // the cell's size, and the cell's rows.
    void cut_cell(int x, int y, int width, int height, unsigned char* out) const;

private:
    // Reads the headers of a file that holds its whole info header.
    SoundBmp(const unsigned char* file, size_t size);

    // The bytes of a stored row of `width` pixels, padded to a multiple of 4.
    int64_t stride(int64_t width) const { return (width * bits_ + 31) / 32 * 4; }
    // The height field of a picture of `rows` rows stored in this file's order.
    int32_t height_field(int64_t rows) const { return static_cast<int32_t>(top_down_ ? -rows : rows); }

    const unsigned char* file_;
    size_t size_;
    uint32_t header_size_, pixel_offset_;
    int64_t width_, rows_;                           // |height| in 64 bits: -2^31 has no 32-bit opposite
    bool top_down_;                                  // a negative height: rows stored top down
    uint32_t bits_, compression_ = 0, colours_ = 0;  // colours: the palette entries the header counts
    // The colour masks red, green, blue and alpha: those of a file with the
    // bit-fields compression (alpha in an info header of 56 bytes or more),
    // the fixed bytes of an uncompressed 32-bit one, or none (0).
    std::array<uint32_t, 4> masks_{};
    // Which byte of a 32-bit pixel holds red, green, blue and the fourth
    // byte, when each colour takes a whole byte of its own; fourth 4 (absent)
    // otherwise.
    size_t red_at_ = 0, green_at_ = 0, blue_at_ = 0, fourth_at_ = 4;
};

}  // namespace anim::detail

#endif
