// png_writer: stored deflate blocks, Adam7 passes and the chunks around them.
#include "png_writer.h"

#include "stb_zlib.h"

#include <algorithm>
#include <array>

namespace png_writer {
namespace {

void put_be32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

uint32_t crc32(const std::string& bytes)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xffffffffu;
    for (const char byte : bytes) c = table[(c ^ static_cast<uint8_t>(byte)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

// The scanlines (filter 0) of the pixels at (x0 + i * dx, y0 + j * dy).
void put_pass(std::string& raw, int width, int height, const PngForm& form, const std::vector<uint16_t>& samples,
              int x0, int y0, int dx, int dy)
{
    const int per_pixel = samples_a_pixel(form.colour_type);
    for (int y = y0; y < height; y += dy) {
        if (x0 >= width) return;
        raw.push_back('\0');
        int bits = 0;
        uint32_t pending = 0;
        for (int x = x0; x < width; x += dx)
            for (int s = 0; s < per_pixel; ++s) {
                const auto at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                                    static_cast<size_t>(per_pixel) +
                                static_cast<size_t>(s);
                const uint16_t value = samples[at];
                if (form.depth == 16) {
                    raw.push_back(static_cast<char>(value >> 8));
                    raw.push_back(static_cast<char>(value & 0xff));
                    continue;
                }
                pending = pending << form.depth | value;
                bits += form.depth;
                if (bits == 8) {
                    raw.push_back(static_cast<char>(pending));
                    pending = 0;
                    bits = 0;
                }
            }
        if (bits != 0) raw.push_back(static_cast<char>(pending << (8 - bits)));
    }
}

}  // namespace

std::string chunk(const char* type, const std::string& data)
{
    std::string out;
    put_be32(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    put_be32(out, crc32(typed));
    return out;
}

std::string zlib_stored(const std::string& raw)
{
    std::string out("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        out.push_back(at + length == raw.size() ? '\1' : '\0');
        for (const uint32_t value : {static_cast<uint32_t>(length), static_cast<uint32_t>(~length & 0xffff)}) {
            out.push_back(static_cast<char>(value & 0xff));
            out.push_back(static_cast<char>(value >> 8));
        }
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (const char byte : raw) {
        a = (a + static_cast<uint8_t>(byte)) % 65521;
        b = (b + a) % 65521;
    }
    put_be32(out, b << 16 | a);
    return out;
}

int samples_a_pixel(ColourType colour_type)
{
    switch (colour_type) {
    case kGreyAlpha: return 2;
    case kRgb: return 3;
    case kRgba: return 4;
    default: return 1;
    }
}

std::string encode_png(int width, int height, const PngForm& form, const std::vector<uint16_t>& samples)
{
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    put_be32(header, static_cast<uint32_t>(width));
    put_be32(header, static_cast<uint32_t>(height));
    header += {static_cast<char>(form.depth), static_cast<char>(form.colour_type), '\0', '\0',
               static_cast<char>(form.interlaced ? 1 : 0)};
    out += chunk("IHDR", header);
    if (!form.palette.empty()) out += chunk("PLTE", std::string(form.palette.begin(), form.palette.end()));
    if (!form.transparency.empty())
        out += chunk("tRNS", std::string(form.transparency.begin(), form.transparency.end()));
    std::string raw;
    if (form.interlaced) {
        constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& pass : kPasses)
            put_pass(raw, width, height, form, samples, pass[0], pass[1], pass[2], pass[3]);
    } else {
        put_pass(raw, width, height, form, samples, 0, 0, 1, 1);
    }
    out += chunk("IDAT", zlib_compressed(raw));
    out += chunk("IEND", "");
    return out;
}

}  // namespace png_writer
