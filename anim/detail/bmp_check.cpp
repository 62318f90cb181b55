// bmp_check: header checks of BMP files before SDL decodes them.
#include "anim/detail/bmp_check.h"

#include <cstdint>  // Required for: uint32_t, int64_t

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;  // the old 16-bit header: no compression, no palette count

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

bool known_header_size(uint32_t size)
{
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
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

}  // namespace

namespace anim::detail {

bool bmp_header_is_sound(const unsigned char* file, size_t size)
{
    if (size < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return refuse("not a BMP file");
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

}  // namespace anim::detail
