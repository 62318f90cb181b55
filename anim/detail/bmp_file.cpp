// bmp_file: header checks of BMP files before SDL decodes them, and the
// repacking of 32-bit ones whose fourth byte holds no alpha.
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

bool refuse(const char* reason)
{
    SDL_SetError("%s", reason);
    return false;
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

// The channels of a 16 or 32-bit BMP with the bit-fields compression, in
// the order of a 32-bit pixel's bytes: blue, green, red, and alpha where SDL
// reads a mask for it, in an info header of 56 bytes or more but OS/2's 64,
// whose fields there mean something else (a 40-byte header is followed by
// three masks only).
struct MaskedLayout {
    Channel blue, green, red, alpha;
    bool has_alpha;
};

std::optional<MaskedLayout> masked_layout(const unsigned char* file, size_t size)
{
    const unsigned char* info = file + kFileHeaderSize;
    const uint32_t header_size = le32(info);
    if (header_size == kCoreHeaderSize || le32(info + 16) != kBitFields) return std::nullopt;
    const uint32_t bits = le16(info + 14);
    if ((bits != 16 && bits != 32) || size < kFileHeaderSize + 52) return std::nullopt;
    const uint32_t alpha = header_size >= 56 && header_size != 64 ? le32(info + 52) : 0;
    return MaskedLayout{Channel(le32(info + 48)), Channel(le32(info + 44)), Channel(le32(info + 40)), Channel(alpha),
                        alpha != 0};
}

// The number of rows of a sound BMP, in any of its headers.
size_t row_count(const unsigned char* file)
{
    const unsigned char* info = file + kFileHeaderSize;
    const int64_t height =
        le32(info) == kCoreHeaderSize ? static_cast<int16_t>(le16(info + 6)) : static_cast<int32_t>(le32(info + 8));
    return static_cast<size_t>(height < 0 ? -height : height);
}

// The bits a pixel of a sound BMP, in any of its headers.
uint32_t depth_of(const unsigned char* file)
{
    const unsigned char* info = file + kFileHeaderSize;
    return le32(info) == kCoreHeaderSize ? le16(info + 10) : le16(info + 14);
}

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

// Where a sound 32-bit BMP keeps its pixels, and which byte of each pixel
// holds which channel (the fourth is the byte no colour takes).
struct TrueColourLayout {
    uint32_t pixel_offset;
    int32_t width, height;            // the height as the file gives it: negative for rows stored top down
    size_t red, green, blue, fourth;  // byte 0 to 3 of a pixel
};

// The layout of a 32-bit BMP, uncompressed or with colour masks of whole
// bytes; none for any other file.
std::optional<TrueColourLayout> true_colour_layout(const unsigned char* file, size_t size)
{
    const unsigned char* info = file + kFileHeaderSize;
    if (le32(info) == kCoreHeaderSize || le16(info + 14) != 32) return std::nullopt;
    TrueColourLayout layout{
        le32(file + 10), static_cast<int32_t>(le32(info + 4)), static_cast<int32_t>(le32(info + 8)), 2, 1, 0, 3};
    if (le32(info + 16) == kBitFields) {
        // The masks follow a 40-byte header, at the place the longer ones hold them.
        if (size < kFileHeaderSize + 52) return std::nullopt;
        layout.red = mask_byte(le32(info + 40));
        layout.green = mask_byte(le32(info + 44));
        layout.blue = mask_byte(le32(info + 48));
        const bool distinct = layout.red != layout.green && layout.green != layout.blue && layout.red != layout.blue;
        if (layout.red > 3 || layout.green > 3 || layout.blue > 3 || !distinct) return std::nullopt;
        layout.fourth = 6 - layout.red - layout.green - layout.blue;
    }
    return layout;
}

}  // namespace

namespace anim::detail {

bool bmp_header_is_sound(const unsigned char* file, size_t size)
{
    if (size < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return refuse("neither a BMP nor a PNG file");
    const uint32_t pixel_offset = le32(file + 10);
    const uint32_t header_size = le32(file + kFileHeaderSize);
    if (!known_header_size(header_size)) return refuse("unknown BMP header");
    if (size < kFileHeaderSize + header_size) return refuse("BMP header cut short");
    const unsigned char* info = file + kFileHeaderSize;

    int64_t width, height;
    uint32_t bits, compression = kUncompressed, colours = 0;
    if (header_size == kCoreHeaderSize) {
        width = le16(info + 4);
        height = static_cast<int16_t>(le16(info + 6));
        bits = le16(info + 10);
    } else {
        width = static_cast<int32_t>(le32(info + 4));
        height = static_cast<int32_t>(le32(info + 8));
        bits = le16(info + 14);
        compression = le32(info + 16);
        colours = le32(info + 32);
    }
    // |height| is taken in 64 bits: -2^31 has no 32-bit opposite.
    const int64_t rows = height < 0 ? -height : height;
    if (width < 1 || width > kLargestBmpSide || rows < 1 || rows > kLargestBmpSide)
        return refuse("BMP size out of range");
    if (!known_depth(bits)) return refuse("unsupported BMP depth");
    if (!compression_fits(compression, bits)) return refuse("BMP compression does not fit its depth");
    // OS/2 2.x's own header sizes: compression 3 is Huffman coding there,
    // and the header holds no colour masks where Windows' hold them.
    if (compression == kBitFields && (header_size < 52 || header_size == 60 || header_size == 64) && header_size != 40)
        return refuse("OS/2 BMP of Huffman coding");
    if (bits <= 8 && colours > (1u << bits)) return refuse("BMP palette larger than its depth allows");

    const auto file_size = static_cast<int64_t>(size);
    if (pixel_offset < kFileHeaderSize + header_size || pixel_offset >= file_size)
        return refuse("BMP pixel data outside the file");
    const int64_t row_bytes = (width * bits + 31) / 32 * 4;
    // Pixels stored as they are (colour masks only tell their channels) must
    // all be in the file.
    const bool stored = compression == kUncompressed || compression == kBitFields;
    if (stored && pixel_offset + row_bytes * rows > file_size) return refuse("BMP pixel data cut short");
    const bool run_length = compression == kRle8 || compression == kRle4;
    if (run_length && width * rows > kLargestRunLengthPixels)
        return refuse("run-length BMP of over 4096 x 4096 pixels");
    return true;
}

FourthByte fourth_byte(const unsigned char* file, size_t size)
{
    const std::optional<TrueColourLayout> layout = true_colour_layout(file, size);
    if (!layout) return FourthByte::absent;
    const unsigned char* pixels = file + layout->pixel_offset;
    const size_t count = row_count(file) * static_cast<size_t>(layout->width);
    // Every pixel is compared with the first, without an early exit, so
    // that the loop runs over whole words.
    const uint32_t first = le32(pixels);
    uint32_t differences = 0;
    for (size_t i = 0; i < count; ++i) differences |= le32(pixels + 4 * i) ^ first;
    return (differences >> (8 * layout->fourth) & 0xff) != 0 ? FourthByte::varying : FourthByte::constant;
}

size_t repack_as_24_bit(unsigned char* file, size_t size)
{
    const std::optional<TrueColourLayout> layout = true_colour_layout(file, size);
    if (!layout) return size;
    const auto width = static_cast<size_t>(layout->width);
    const size_t rows = row_count(file), row_bytes = (width * 3 + 3) / 4 * 4;
    // Row by row in the file's order; every pixel is read before its three
    // bytes are written, never past the pixels still to read (the 24-bit
    // rows are shorter and start no later).
    const bool usual = layout->blue == 0 && layout->green == 1 && layout->red == 2;
    for (size_t y = 0; y < rows; ++y) {
        unsigned char* out = file + kHeaders + y * row_bytes;
        const unsigned char* in = file + layout->pixel_offset + 4 * y * width;
        if (usual)
            repack_row<4>(out, in, width, 0, 1, 2);  // known offsets: the compiler unrolls the copies
        else
            repack_row<4>(out, in, width, layout->blue, layout->green, layout->red);
        memset(out + 3 * width, 0, row_bytes - 3 * width);
    }
    const size_t repacked = kHeaders + rows * row_bytes;
    write_headers(file, kInfoSize, 24, layout->width, layout->height, rows * row_bytes);
    return repacked;
}

size_t widened_size(const unsigned char* file, size_t size)
{
    const std::optional<MaskedLayout> layout = masked_layout(file, size);
    if (!layout || !layout->has_alpha) return 0;
    return kHeaders + 4 * row_count(file) * le32(file + kFileHeaderSize + 4);
}

void widen_to_32_bit(const unsigned char* file, size_t size, unsigned char* out)
{
    const std::optional<MaskedLayout> layout = masked_layout(file, size);
    if (!layout || !layout->has_alpha) return;
    const unsigned char* info = file + kFileHeaderSize;
    const size_t width = le32(info + 4), rows = row_count(file), pixel_bytes = le16(info + 14) / 8u;
    const size_t row_bytes = (width * pixel_bytes + 3) / 4 * 4;
    write_headers(out, kInfoSize, 32, static_cast<int32_t>(width), static_cast<int32_t>(le32(info + 8)),
                  4 * rows * width);
    const unsigned char* in = file + le32(file + 10);
    unsigned char* pixel = out + kHeaders;
    for (size_t y = 0; y < rows; ++y)
        for (size_t x = 0; x < width; ++x, pixel += 4) {
            const unsigned char* at = in + y * row_bytes + x * pixel_bytes;
            const uint32_t value = pixel_bytes == 2 ? le16(at) : le32(at);
            pixel[0] = layout->blue.widened(value);
            pixel[1] = layout->green.widened(value);
            pixel[2] = layout->red.widened(value);
            pixel[3] = layout->alpha.widened(value);
        }
}

size_t picture_bmp_size(int width, int height, bool alpha)
{
    const auto w = static_cast<size_t>(width), rows = static_cast<size_t>(height);
    return alpha ? kFileHeaderSize + kRgbaInfoSize + 4 * w * rows : kHeaders + (3 * w + 3) / 4 * 4 * rows;
}

void write_picture_bmp(const unsigned char* pixels, int channels, int width, int height, bool alpha, unsigned char* out)
{
    const auto w = static_cast<size_t>(width), rows = static_cast<size_t>(height);
    if (alpha) {
        write_headers(out, kRgbaInfoSize, 32, width, -height, 4 * w * rows);
        memcpy(out + kFileHeaderSize + kRgbaInfoSize, pixels, 4 * w * rows);
        return;
    }
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

int bmp_width(const unsigned char* file)
{
    const unsigned char* info = file + kFileHeaderSize;
    return static_cast<int>(le32(info) == kCoreHeaderSize ? le16(info + 4) : le32(info + 4));
}

int bmp_rows(const unsigned char* file)
{
    return static_cast<int>(row_count(file));
}

void unpack_32_bit(const unsigned char* file, size_t size, unsigned char* rgba)
{
    const std::optional<TrueColourLayout> layout = true_colour_layout(file, size);
    if (!layout) return;
    const auto width = static_cast<size_t>(layout->width);
    const size_t rows = row_count(file);
    for (size_t y = 0; y < rows; ++y) {
        // Rows stored bottom up (a positive height) are read from the last.
        const size_t stored = layout->height < 0 ? y : rows - 1 - y;
        const unsigned char* in = file + layout->pixel_offset + 4 * width * stored;
        unsigned char* out = rgba + 4 * width * y;
        for (size_t x = 0; x < width; ++x, in += 4, out += 4) {
            out[0] = in[layout->red];
            out[1] = in[layout->green];
            out[2] = in[layout->blue];
            out[3] = in[layout->fourth];
        }
    }
}

size_t cell_bmp_size(const unsigned char* file, int width, int height)
{
    const unsigned char* info = file + kFileHeaderSize;
    const uint32_t bits = depth_of(file);
    const uint32_t compression = le32(info) == kCoreHeaderSize ? kUncompressed : le32(info + 16);
    if (bits < 8 || (compression != kUncompressed && compression != kBitFields)) return 0;
    const size_t row_bytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    return le32(file + 10) + row_bytes * static_cast<size_t>(height);
}

void cut_cell(const unsigned char* file, int x, int y, int width, int height, unsigned char* out)
{
    unsigned char* info = out + kFileHeaderSize;
    const uint32_t pixel_offset = le32(file + 10);
    memcpy(out, file, pixel_offset);
    const bool core = le32(info) == kCoreHeaderSize;
    const uint32_t bits = depth_of(file);
    const auto sheet_row_bytes = (static_cast<size_t>(bmp_width(file)) * bits + 31) / 32 * 4;
    const size_t row_bytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4,
                 bytes = row_bytes * static_cast<size_t>(height);
    put32(out + 2, static_cast<uint32_t>(pixel_offset + bytes));
    const int sheet_rows = bmp_rows(file);
    const bool top_down = core ? static_cast<int16_t>(le16(info + 6)) < 0 : static_cast<int32_t>(le32(info + 8)) < 0;
    if (core) {
        info[4] = static_cast<unsigned char>(width);
        info[5] = static_cast<unsigned char>(width >> 8);
        const int stored = top_down ? -height : height;
        info[6] = static_cast<unsigned char>(stored);
        info[7] = static_cast<unsigned char>(stored >> 8);
    } else {
        put32(info + 4, static_cast<uint32_t>(width));
        put32(info + 8, static_cast<uint32_t>(top_down ? -height : height));
        put32(info + 20, static_cast<uint32_t>(bytes));
    }
    // Stored row j of the cell is picture row y + j from the top when rows
    // are stored top down, and y + height - 1 - j otherwise.
    for (int j = 0; j < height; ++j) {
        const int top_row = top_down ? y + j : y + height - 1 - j;
        const int stored = top_down ? top_row : sheet_rows - 1 - top_row;
        const unsigned char* in =
            file + pixel_offset + sheet_row_bytes * static_cast<size_t>(stored) + static_cast<size_t>(x) * bits / 8;
        unsigned char* row = out + pixel_offset + row_bytes * static_cast<size_t>(j);
        memcpy(row, in, static_cast<size_t>(width) * bits / 8);
        memset(row + static_cast<size_t>(width) * bits / 8, 0, row_bytes - static_cast<size_t>(width) * bits / 8);
    }
}

}  // namespace anim::detail
