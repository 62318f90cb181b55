// bmp_file: the check of BMP files before SDL decodes them, which reads their
// headers once, and the files the toolkit makes of checked ones.
#include "anim/detail/bmp_file.h"

#include <algorithm>  // Required for: std::find()
#include <cstdint>    // Required for: uint32_t, int64_t
#include <cstring>    // Required for: memset(), memcpy()
#include <iterator>   // Required for: std::begin(), std::end()
#include <optional>   // Required for: std::optional

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;                    // the old 16-bit header: no compression, no palette count
constexpr size_t kInfoSize = 40, kRgbaInfoSize = 108;  // the info headers of the files written here
constexpr size_t kHeaders = kFileHeaderSize + kInfoSize;

// Compressions of the info header.
constexpr uint32_t kUncompressed = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

uint32_t le32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint32_t le16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

// The info headers both desktop SDLs decode: the old 12-byte one, Windows'
// 40, 52, 56, 108 and 124-byte ones, and OS/2 2.x's from 40 bytes up to its
// whole 64, cut at any field (its shorter ones, from 16 bytes, only classic
// SDL decodes).
bool known_header_size(uint32_t size)
{
    constexpr uint32_t kSizes[] = {12, 40, 42, 44, 46, 48, 52, 56, 60, 64, 108, 124};
    return std::find(std::begin(kSizes), std::end(kSizes), size) != std::end(kSizes);
}

bool known_depth(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool compression_fits(uint32_t compression, uint32_t bits)
{
    switch (compression) {
    case kUncompressed: return true;
    case kRle8: return bits == 8;
    case kRle4: return bits == 4;
    case kBitFields: return bits == 16 || bits == 32;
    default: return false;
    }
}

std::nullopt_t refuse(const char* reason)
{
    SDL_SetError("%s", reason);
    return std::nullopt;
}

void put32(unsigned char* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The headers of a BMP of `bits` a pixel written over the first
// kFileHeaderSize + `info_size` bytes of `file`: a 40-byte info header for
// uncompressed pixels, or a 108-byte one whose colour masks put red, green,
// blue and alpha in bytes 0 to 3 of a 32-bit pixel; `height` as the file
// gives it (negative for rows stored top down).
void write_headers(unsigned char* file, size_t info_size, int bits, int32_t width, int32_t height, size_t pixel_bytes)
{
    memset(file, 0, kFileHeaderSize + info_size);
    file[0] = 'B';
    file[1] = 'M';
    put32(file + 2, static_cast<uint32_t>(kFileHeaderSize + info_size + pixel_bytes));
    put32(file + 10, static_cast<uint32_t>(kFileHeaderSize + info_size));
    unsigned char* info = file + kFileHeaderSize;
    put32(info, static_cast<uint32_t>(info_size));
    put32(info + 4, static_cast<uint32_t>(width));
    put32(info + 8, static_cast<uint32_t>(height));
    info[12] = 1;  // planes
    info[14] = static_cast<unsigned char>(bits);
    put32(info + 20, static_cast<uint32_t>(pixel_bytes));
    if (info_size < kRgbaInfoSize) return;
    put32(info + 16, kBitFields);
    for (size_t channel = 0; channel < 4; ++channel) put32(info + 40 + 4 * channel, 0xffu << (8 * channel));
    put32(info + 56, 0x73524742);  // "sRGB": the colour space
}

// One channel of a pixel, by its colour mask.
class Channel {
public:
    explicit Channel(uint32_t mask) : mask_(mask)
    {
        if (mask == 0) return;
        while ((mask >> shift_ & 1u) == 0) ++shift_;
        while (width_ < 32 - shift_ && mask >> (shift_ + width_) != 0) ++width_;
    }

    // The channel's value in `pixel` widened to 8 bits: a channel of fewer
    // bits repeats them (4-bit 0x3 becomes 0x33, 5-bit 3 becomes 24, as SDL
    // widens 16-bit colours), one of more keeps its top 8; no mask gives 0.
    unsigned char widened(uint32_t pixel) const
    {
        if (width_ == 0) return 0;
        const uint32_t value = (pixel & mask_) >> shift_;
        if (width_ >= 8) return static_cast<unsigned char>(value >> (width_ - 8));
        uint32_t out = 0;
        for (int at = 8 - width_; at > -width_; at -= width_) out |= at >= 0 ? value << at : value >> -at;
        return static_cast<unsigned char>(out);
    }

private:
    uint32_t mask_;
    int shift_ = 0, width_ = 0;  // a mask with holes counts them as bits of the channel
};

// Which byte of a little-endian 32-bit pixel a channel mask covers whole;
// 4 (no byte) for any other mask.
size_t mask_byte(uint32_t mask)
{
    size_t i = 0;
    while (i < 4 && mask != 0xffu << (8 * i)) ++i;
    return i;
}

// Writes the blue, green and red bytes (at offsets `blue`, `green`, `red` of
// each kStride-byte pixel of `in`) of `width` pixels as 3-byte pixels at
// `out`, which may be `in` or lie before it.
template <size_t kStride>
inline void repack_row(unsigned char* out, const unsigned char* in, size_t width, size_t blue, size_t green, size_t red)
{
    for (size_t x = 0; x < width; ++x) {
        const unsigned char b = in[kStride * x + blue], g = in[kStride * x + green], r = in[kStride * x + red];
        out[3 * x] = b;
        out[3 * x + 1] = g;
        out[3 * x + 2] = r;
    }
}

}  // namespace

namespace anim::detail {

SoundBmp::SoundBmp(const unsigned char* file, size_t size) : file_(file), size_(size)
{
    const unsigned char* info = file + kFileHeaderSize;
    header_size_ = le32(info);
    pixel_offset_ = le32(file + 10);
    const bool core = header_size_ == kCoreHeaderSize;
    const int64_t height = core ? static_cast<int16_t>(le16(info + 6)) : static_cast<int32_t>(le32(info + 8));
    width_ = core ? static_cast<int64_t>(le16(info + 4)) : static_cast<int32_t>(le32(info + 4));
    rows_ = height < 0 ? -height : height;
    top_down_ = height < 0;
    bits_ = core ? le16(info + 10) : le16(info + 14);
    if (!core) {
        compression_ = le32(info + 16);
        colours_ = le32(info + 32);
    }
    // The masks follow a 40-byte header, at the place the longer ones hold
    // them; an uncompressed 32-bit file keeps blue, green and red in bytes 0
    // to 2 (the old header's 32-bit files, which SDL reads its own way, have
    // no layout here).
    if (compression_ == kBitFields && size >= kFileHeaderSize + 52)
        masks_ = {le32(info + 40), le32(info + 44), le32(info + 48), header_size_ >= 56 ? le32(info + 52) : 0};
    else if (bits_ == 32 && !core && compression_ == kUncompressed)
        masks_ = {0xff0000, 0xff00, 0xff, 0};
    if (bits_ != 32) return;
    red_at_ = mask_byte(masks_[0]);
    green_at_ = mask_byte(masks_[1]);
    blue_at_ = mask_byte(masks_[2]);
    const bool distinct = red_at_ != green_at_ && green_at_ != blue_at_ && red_at_ != blue_at_;
    if (red_at_ < 4 && green_at_ < 4 && blue_at_ < 4 && distinct) fourth_at_ = 6 - red_at_ - green_at_ - blue_at_;
}

std::optional<SoundBmp> SoundBmp::check(const unsigned char* file, size_t size)
{
    if (size < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return refuse("neither a BMP nor a PNG file");
    const uint32_t header_size = le32(file + kFileHeaderSize);
    if (!known_header_size(header_size)) return refuse("unknown BMP header");
    if (size < kFileHeaderSize + header_size) return refuse("BMP header cut short");
    const SoundBmp bmp(file, size);
    const int64_t width = bmp.width_, rows = bmp.rows_;
    const uint32_t bits = bmp.bits_, compression = bmp.compression_;
    if (width < 1 || width > kLargestBmpSide || rows < 1 || rows > kLargestBmpSide)
        return refuse("BMP size out of range");
    if (!known_depth(bits)) return refuse("unsupported BMP depth");
    if (!compression_fits(compression, bits)) return refuse("BMP compression does not fit its depth");
    // OS/2 2.x's own header sizes: compression 3 is Huffman coding there,
    // and the header holds no colour masks where Windows' hold them.
    if (compression == kBitFields && (header_size < 52 || header_size == 60 || header_size == 64) && header_size != 40)
        return refuse("OS/2 BMP of Huffman coding");
    if (bits <= 8 && bmp.colours_ > (1u << bits)) return refuse("BMP palette larger than its depth allows");

    const auto file_size = static_cast<int64_t>(size);
    if (bmp.pixel_offset_ < kFileHeaderSize + header_size || bmp.pixel_offset_ >= file_size)
        return refuse("BMP pixel data outside the file");
    // Pixels stored as they are (colour masks only tell their channels) must
    // all be in the file.
    const bool stored = compression == kUncompressed || compression == kBitFields;
    if (stored && bmp.pixel_offset_ + bmp.stride(width) * rows > file_size) return refuse("BMP pixel data cut short");
    const bool run_length = compression == kRle8 || compression == kRle4;
    if (run_length && width * rows > kLargestRunLengthPixels)
        return refuse("run-length BMP of over 4096 x 4096 pixels");
    return bmp;
}

size_t SoundBmp::picture_size(int width, int height, bool alpha)
{
    const auto w = static_cast<size_t>(width), rows = static_cast<size_t>(height);
    return alpha ? kFileHeaderSize + kRgbaInfoSize + 4 * w * rows : kHeaders + (3 * w + 3) / 4 * 4 * rows;
}

SoundBmp SoundBmp::write_picture(const unsigned char* pixels, int channels, int width, int height, bool alpha,
                                 unsigned char* out)
{
    const auto w = static_cast<size_t>(width), rows = static_cast<size_t>(height);
    if (alpha) {
        write_headers(out, kRgbaInfoSize, 32, width, -height, 4 * w * rows);
        memcpy(out + kFileHeaderSize + kRgbaInfoSize, pixels, 4 * w * rows);
    } else {
        const size_t row_bytes = (3 * w + 3) / 4 * 4;
        write_headers(out, kInfoSize, 24, width, -height, row_bytes * rows);
        for (size_t y = 0; y < rows; ++y) {
            unsigned char* row = out + kHeaders + y * row_bytes;
            if (channels == 4)
                repack_row<4>(row, pixels + 4 * w * y, w, 2, 1, 0);
            else
                repack_row<3>(row, pixels + 3 * w * y, w, 2, 1, 0);
            memset(row + 3 * w, 0, row_bytes - 3 * w);
        }
    }
    return SoundBmp(out, picture_size(width, height, alpha));
}

FourthByte SoundBmp::fourth_byte() const
{
    if (fourth_at_ > 3) return FourthByte::absent;
    const unsigned char* pixels = file_ + pixel_offset_;
    const auto count = static_cast<size_t>(rows_ * width_);
    // Every pixel is compared with the first, without an early exit, so
    // that the loop runs over whole words.
    const uint32_t first = le32(pixels);
    uint32_t differences = 0;
    for (size_t i = 0; i < count; ++i) differences |= le32(pixels + 4 * i) ^ first;
    return (differences >> (8 * fourth_at_) & 0xff) != 0 ? FourthByte::varying : FourthByte::constant;
}

SoundBmp SoundBmp::repack_as_24_bit(unsigned char* out) const
{
    if (fourth_at_ > 3) return *this;
    const auto width = static_cast<size_t>(width_), rows = static_cast<size_t>(rows_);
    const size_t row_bytes = (width * 3 + 3) / 4 * 4;
    // Row by row in the file's order; every pixel is read before its three
    // bytes are written, never past the pixels still to read (the 24-bit
    // rows are shorter and start no later).
    const bool usual = blue_at_ == 0 && green_at_ == 1 && red_at_ == 2;
    for (size_t y = 0; y < rows; ++y) {
        unsigned char* row = out + kHeaders + y * row_bytes;
        const unsigned char* in = file_ + pixel_offset_ + 4 * y * width;
        if (usual)
            repack_row<4>(row, in, width, 0, 1, 2);  // known offsets: the compiler unrolls the copies
        else
            repack_row<4>(row, in, width, blue_at_, green_at_, red_at_);
        memset(row + 3 * width, 0, row_bytes - 3 * width);
    }
    write_headers(out, kInfoSize, 24, static_cast<int32_t>(width_), height_field(rows_), rows * row_bytes);
    return SoundBmp(out, kHeaders + rows * row_bytes);
}

size_t SoundBmp::widened_size() const
{
    return masks_[3] == 0 ? 0 : kHeaders + 4 * static_cast<size_t>(rows_ * width_);
}

SoundBmp SoundBmp::widen_to_32_bit(unsigned char* out) const
{
    if (masks_[3] == 0) return *this;
    const Channel red(masks_[0]), green(masks_[1]), blue(masks_[2]), alpha(masks_[3]);
    const auto width = static_cast<size_t>(width_), rows = static_cast<size_t>(rows_);
    const size_t pixel_bytes = bits_ / 8u, in_row_bytes = static_cast<size_t>(stride(width_));
    write_headers(out, kInfoSize, 32, static_cast<int32_t>(width_), height_field(rows_), 4 * rows * width);
    const unsigned char* in = file_ + pixel_offset_;
    unsigned char* pixel = out + kHeaders;
    for (size_t y = 0; y < rows; ++y)
        for (size_t x = 0; x < width; ++x, pixel += 4) {
            const unsigned char* at = in + y * in_row_bytes + x * pixel_bytes;
            const uint32_t value = pixel_bytes == 2 ? le16(at) : le32(at);
            pixel[0] = blue.widened(value);
            pixel[1] = green.widened(value);
            pixel[2] = red.widened(value);
            pixel[3] = alpha.widened(value);
        }
    return SoundBmp(out, widened_size());
}

void SoundBmp::unpack_32_bit(unsigned char* rgba) const
{
    if (fourth_at_ > 3) return;
    const auto width = static_cast<size_t>(width_), rows = static_cast<size_t>(rows_);
    for (size_t y = 0; y < rows; ++y) {
        // Rows stored bottom up (a positive height) are read from the last.
        const size_t stored = top_down_ ? y : rows - 1 - y;
        const unsigned char* in = file_ + pixel_offset_ + 4 * width * stored;
        unsigned char* out = rgba + 4 * width * y;
        for (size_t x = 0; x < width; ++x, in += 4, out += 4) {
            out[0] = in[red_at_];
            out[1] = in[green_at_];
            out[2] = in[blue_at_];
            out[3] = in[fourth_at_];
        }
    }
}

size_t SoundBmp::cell_size(int width, int height) const
{
    if (bits_ < 8 || (compression_ != kUncompressed && compression_ != kBitFields)) return 0;
    return pixel_offset_ + static_cast<size_t>(stride(width)) * static_cast<size_t>(height);
}

void SoundBmp::cut_cell(int x, int y, int width, int height, unsigned char* out) const
{
    memcpy(out, file_, pixel_offset_);
    const auto sheet_row_bytes = static_cast<size_t>(stride(width_)),
               cell_row_bytes = static_cast<size_t>(stride(width));
    const size_t bytes = cell_row_bytes * static_cast<size_t>(height),
                 copied = static_cast<size_t>(width) * bits_ / 8;  // the bytes of a row's pixels
    put32(out + 2, static_cast<uint32_t>(pixel_offset_ + bytes));
    unsigned char* info = out + kFileHeaderSize;
    if (header_size_ == kCoreHeaderSize) {
        info[4] = static_cast<unsigned char>(width);
        info[5] = static_cast<unsigned char>(width >> 8);
        const int stored = height_field(height);
        info[6] = static_cast<unsigned char>(stored);
        info[7] = static_cast<unsigned char>(stored >> 8);
    } else {
        put32(info + 4, static_cast<uint32_t>(width));
        put32(info + 8, static_cast<uint32_t>(height_field(height)));
        put32(info + 20, static_cast<uint32_t>(bytes));
    }
    // Stored row j of the cell is picture row y + j from the top when rows
    // are stored top down, and y + height - 1 - j otherwise.
    for (int j = 0; j < height; ++j) {
        const int top_row = top_down_ ? y + j : y + height - 1 - j;
        const int64_t stored = top_down_ ? top_row : rows_ - 1 - top_row;
        const unsigned char* in =
            file_ + pixel_offset_ + sheet_row_bytes * static_cast<size_t>(stored) + static_cast<size_t>(x) * bits_ / 8;
        unsigned char* row = out + pixel_offset_ + cell_row_bytes * static_cast<size_t>(j);
        memcpy(row, in, copied);
        memset(row + copied, 0, cell_row_bytes - copied);
    }
}

}  // namespace anim::detail
