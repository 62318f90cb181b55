// png_file: the checks of a PNG file, then stb_image's decoder.
#include "anim/detail/png_file.h"

#include "anim/detail/bmp_file.h"
#include "anim/detail/stb_png.h"

#include <SDL.h>

#include <array>    // Required for: std::array
#include <climits>  // Required for: INT_MAX
#include <cstdint>  // Required for: uint32_t
#include <cstring>  // Required for: memcmp(), strcmp()

namespace {

uint32_t be32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

// The CRC-32 of PNG chunks, four bytes a step (a table for each byte's
// place in the step): a chunk's pixels are checked at a few cycles a byte.
uint32_t crc32(const unsigned char* bytes, size_t size)
{
    static const auto kTables = [] {
        std::array<std::array<uint32_t, 256>, 4> tables{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            tables[0][n] = c;
        }
        for (size_t t = 1; t < 4; ++t)
            for (uint32_t n = 0; n < 256; ++n)
                tables[t][n] = tables[0][tables[t - 1][n] & 0xff] ^ (tables[t - 1][n] >> 8);
        return tables;
    }();
    uint32_t c = 0xffffffffu;
    size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        c ^= static_cast<uint32_t>(bytes[i]) | static_cast<uint32_t>(bytes[i + 1]) << 8 |
             static_cast<uint32_t>(bytes[i + 2]) << 16 | static_cast<uint32_t>(bytes[i + 3]) << 24;
        c = kTables[3][c & 0xff] ^ kTables[2][(c >> 8) & 0xff] ^ kTables[1][(c >> 16) & 0xff] ^ kTables[0][c >> 24];
    }
    for (; i < size; ++i) c = kTables[0][(c ^ bytes[i]) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

// The bit depths each colour type of the PNG header allows: grey 1 to 16,
// a palette 1 to 8, the others 8 and 16.
bool depth_fits_colour_type(unsigned depth, unsigned colour_type)
{
    const bool small = depth == 1 || depth == 2 || depth == 4;
    switch (colour_type) {
    case 0: return small || depth == 8 || depth == 16;
    case 3: return small || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

// Checks the 13 bytes of a PNG header chunk, and stores the picture's size
// in `width` and `height`: at least a pixel, no wider than
// kLargestPngWidth, no higher than kLargestBmpSide, of at most
// kLargestRunLengthPixels pixels; a depth its colour type allows; the one
// compression and filter method, and interlace method 0 (none) or 1
// (Adam7). True, or false with the reason set.
bool header_is_sound(const unsigned char* header, int* width, int* height)
{
    using anim::detail::kLargestBmpSide, anim::detail::kLargestPngWidth, anim::detail::kLargestRunLengthPixels;
    const uint32_t w = be32(header), h = be32(header + 4);
    const unsigned depth = header[8], colour_type = header[9];
    if (w == 0 || h == 0) {
        SDL_SetError("PNG of no pixels");
        return false;
    }
    if (w > static_cast<uint32_t>(kLargestPngWidth)) {
        SDL_SetError("PNG rows over 65,535 bytes, too wide for a surface");
        return false;
    }
    if (h > static_cast<uint32_t>(kLargestBmpSide) || static_cast<uint64_t>(w) * h > kLargestRunLengthPixels) {
        SDL_SetError("PNG of over 4096 x 4096 pixels");
        return false;
    }
    if (!depth_fits_colour_type(depth, colour_type)) {
        SDL_SetError("PNG of %u bits a sample in colour type %u, which no PNG has", depth, colour_type);
        return false;
    }
    if (header[10] != 0 || header[11] != 0 || header[12] > 1) {
        SDL_SetError("PNG of an unknown compression, filter or interlace method");
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// Checks the chunks of a PNG file after its signature: each whole within
// the file and matching its CRC, the header first (see header_is_sound,
// which stores the picture's size) and the end chunk last; stores in
// `transparency` whether the picture has an alpha channel or a
// transparency chunk. The decoder
// checks neither the CRCs nor all of the header. True, or false with the
// reason set.
bool chunks_are_sound(const unsigned char* file, size_t size, int* width, int* height, bool* transparency)
{
    constexpr size_t kSignatureSize = 8, kFraming = 12;  // length, type, CRC
    for (size_t at = kSignatureSize; size - at >= kFraming;) {
        const uint32_t length = be32(file + at);
        const unsigned char* type = file + at + 4;
        if (length > size - at - kFraming) break;
        if (crc32(type, 4 + length) != be32(type + 4 + length)) {
            SDL_SetError("PNG chunk %.4s damaged (its CRC does not match)", reinterpret_cast<const char*>(type));
            return false;
        }
        if (at == kSignatureSize && (memcmp(type, "IHDR", 4) != 0 || length != 13)) {
            SDL_SetError("PNG without its header chunk first");
            return false;
        }
        if (at == kSignatureSize && !header_is_sound(type + 4, width, height)) return false;
        // An alpha channel (grey or RGB with alpha), or a transparency chunk.
        if (at == kSignatureSize) *transparency = type[13] == 4 || type[13] == 6;
        if (memcmp(type, "tRNS", 4) == 0) *transparency = true;
        if (memcmp(type, "IEND", 4) == 0) return true;
        at += kFraming + length;
    }
    SDL_SetError("PNG file cut short");
    return false;
}

}  // namespace

namespace anim::detail {

bool is_png(const unsigned char* file, size_t size)
{
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return size >= sizeof kSignature && memcmp(file, kSignature, sizeof kSignature) == 0;
}

unsigned char* decode_png(const unsigned char* file, size_t size, int* width, int* height, int* channels)
{
    if (size > INT_MAX) {
        SDL_SetError("PNG file too large");
        return nullptr;
    }
    bool transparency = false;
    if (!chunks_are_sound(file, size, width, height, &transparency)) return nullptr;
    *channels = transparency ? 4 : 3;
    unsigned char* pixels = stb_decode_png(file, static_cast<int>(size), *channels, width, height);
    if (pixels != nullptr) return pixels;
    const char* reason = stb_failure_reason();
    if (reason == nullptr || strcmp(reason, "outofmem") == 0)
        SDL_OutOfMemory();
    else
        SDL_SetError("PNG not decoded: %s", reason);
    return nullptr;
}

}  // namespace anim::detail
