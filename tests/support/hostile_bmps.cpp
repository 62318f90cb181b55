// hostile_bmps: broken BMP files, built field by field.
#include "support/hostile_bmps.h"

#include "png_writer.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace test_support {

namespace {

// Field offsets of the file header and the 40-byte info header.
constexpr size_t kFileSize = 2, kPixelOffset = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                 kBitCount = 28, kCompression = 30, kImageSize = 34, kColoursUsed = 46, kHeaderEnd = 54;
constexpr size_t kFieldEnds[] = {1, 2, 6, 10, 14, 18, 22, 26, 28, 30, 34, 38, 42, 46, 50};
// The red, green and blue masks of the bit-fields compression: the usual
// ones of 16 and of 32 bits a pixel.
constexpr uint32_t kMasks555[] = {0x7c00, 0x3e0, 0x1f}, kMasks888[] = {0xff0000, 0xff00, 0xff};

void put32(std::string& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
}

void put16(std::string& b, size_t at, uint16_t v)
{
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A valid BMP with one field set to `value` (the 16-bit depth too: the
// compression after it is 0 either way).
std::string with32(int bits, size_t at, uint32_t value)
{
    std::string b = valid_bmp(bits);
    put32(b, at, value);
    return b;
}

}  // namespace

std::string valid_bmp(int bits, uint32_t w, uint32_t h, uint32_t info_size, bool masks)
{
    const size_t headers = 14 + info_size + (masks ? 12 : 0), palette = bits <= 8 ? 2 * 4 : 0;
    const size_t row = (size_t{w} * static_cast<size_t>(bits) + 31) / 32 * 4;
    std::string b(headers + palette + row * h, bits <= 8 ? '\x01' : '\x40');
    if (bits == 16)
        for (size_t at = headers; at + 1 < b.size(); at += 2) put16(b, at, 3 << 10 | 3 << 5 | 3);
    std::fill_n(b.begin(), headers + palette, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, kFileSize, static_cast<uint32_t>(b.size()));
    put32(b, kPixelOffset, static_cast<uint32_t>(headers + palette));
    put32(b, kInfoSize, info_size);
    if (info_size == 12) {
        put16(b, 18, static_cast<uint16_t>(w));
        put16(b, 20, static_cast<uint16_t>(h));
        put16(b, 22, 1);
        put16(b, 24, static_cast<uint16_t>(bits));
        return b;
    }
    put32(b, kWidth, w);
    put32(b, kHeight, h);
    put16(b, kPlanes, 1);
    put16(b, kBitCount, static_cast<uint16_t>(bits));
    put32(b, kImageSize, static_cast<uint32_t>(row * h));
    if (bits <= 8) {
        put32(b, kColoursUsed, 2);
        put32(b, headers, 0x00ff0000);
        put32(b, headers + 4, 0x000000ff);
    }
    if (masks) {
        put32(b, kCompression, 3);
        const uint32_t* channels = bits == 16 ? kMasks555 : kMasks888;
        for (size_t i = 0; i < 3; ++i) put32(b, kHeaderEnd + 4 * i, channels[i]);
    }
    return b;
}

std::string run_length_bmp(uint32_t w, uint32_t h)
{
    std::string b = valid_bmp(8, 1, 1);
    b.replace(b.size() - 4, 4, std::string("\0\1", 2));  // the end of the bitmap: every pixel stays blank
    put32(b, kFileSize, static_cast<uint32_t>(b.size()));
    put32(b, kWidth, w);
    put32(b, kHeight, h);
    put32(b, kCompression, 1);
    put32(b, kImageSize, 2);
    return b;
}

std::string true_colour_row(const std::vector<uint32_t>& pixels, uint32_t rows)
{
    return masked_row(32, 40, {}, pixels, rows);
}

std::string masked_row(int bits, uint32_t info_size, const std::vector<uint32_t>& masks,
                       const std::vector<uint32_t>& pixels, uint32_t rows)
{
    const auto width = static_cast<uint32_t>(pixels.size());
    // A 40-byte header is followed by its masks; the longer ones hold them.
    const bool masks_follow = !masks.empty() && info_size < 52;
    std::string b = valid_bmp(bits, width, rows, info_size, masks_follow);
    if (!masks.empty()) put32(b, kCompression, 3);
    for (size_t i = 0; i < masks.size(); ++i) put32(b, kHeaderEnd + 4 * i, masks[i]);
    const size_t pixel_bytes = static_cast<size_t>(bits) / 8, row_bytes = (width * pixel_bytes + 3) / 4 * 4;
    const size_t pixels_at = 14 + info_size + (masks_follow ? 12 : 0);
    for (size_t y = 0; y < rows; ++y)
        for (size_t x = 0; x < pixels.size(); ++x)
            for (size_t i = 0; i < pixel_bytes; ++i)
                b[pixels_at + y * row_bytes + pixel_bytes * x + i] = static_cast<char>((pixels[x] >> (8 * i)) & 0xff);
    return b;
}

std::vector<AlphaMaskedBmp> alpha_masked_bmps()
{
    // Masks, the values of the four pixels repeated along each row (an
    // opaque colour, magenta, a colour and white, at falling alphas), and
    // the same pixels at 8 bits a channel.
    const struct {
        const char* name;
        int bits;
        uint32_t info_size;
        std::vector<uint32_t> masks, pixels, twin;
    } kForms[] = {
        {"alpha_4444.bmp",
         16,
         108,
         {0x0f00, 0xf0, 0xf, 0xf000},
         {0xf333, 0x8f0f, 0x4a51, 0x0fff},
         {0xff333333, 0x88ff00ff, 0x44aa5511, 0x00ffffff}},
        {"alpha_1555.bmp",
         16,
         56,
         {0x7c00, 0x3e0, 0x1f, 0x8000},
         {0x8c63, 0xfc1f, 0xc104, 0x7fff},
         {0xff181818, 0xffff00ff, 0xff844221, 0x00ffffff}},
        {"alpha_3544.bmp",
         16,
         124,
         {0x1f00, 0xf0, 0xf, 0xe000},
         {0xe311, 0x7f0f, 0xaa92, 0x1fff},
         {0xff181111, 0x6dff00ff, 0xb6529922, 0x00ffffff}},
        {"alpha_2_10_10_10.bmp",
         32,
         108,
         {0x3ff00000, 0xffc00, 0x3ff, 0xc0000000},
         {0xd0040100, 0xbff003ff, 0x6a855044, 0x3fffffff},
         {0xff404040, 0xaaff00ff, 0x55aa5511, 0x00ffffff}},
    };
    // Rows wide enough that a pixel loop taking their pixels for wider ones
    // runs far past the end of the image.
    constexpr size_t kRepeats = 16;
    constexpr uint32_t kRows = 2;
    const auto repeated = [](const std::vector<uint32_t>& pixels) {
        std::vector<uint32_t> row;
        for (size_t i = 0; i < kRepeats; ++i) row.insert(row.end(), pixels.begin(), pixels.end());
        return row;
    };
    std::vector<AlphaMaskedBmp> files;
    for (const auto& form : kForms)
        files.push_back({{form.name, masked_row(form.bits, form.info_size, form.masks, repeated(form.pixels), kRows)},
                         true_colour_row(repeated(form.twin), kRows),
                         form.twin[0]});
    return files;
}

std::vector<HostileBmp> hostile_bmps()
{
    std::vector<HostileBmp> files;
    const std::string rgb = valid_bmp(24);
    const std::string indexed = valid_bmp(8);
    files.push_back({"empty.bmp", ""});
    for (size_t end : kFieldEnds) files.push_back({"cut_at_" + std::to_string(end) + ".bmp", rgb.substr(0, end)});
    files.push_back({"cut_in_palette.bmp", indexed.substr(0, kHeaderEnd + 5)});
    files.push_back({"cut_in_pixels.bmp", rgb.substr(0, kHeaderEnd + 17)});
    for (const char* magic : {"BN", "AM", "MB", "\x00\x00", "PK"}) {
        std::string b = rgb;
        b.replace(0, 2, std::string(magic, 2));
        files.push_back({"magic_" + std::to_string(files.size()) + ".bmp", b});
    }
    for (uint32_t width : {0u, 0xfffffffcu, 0x80000000u, 0x7fffffffu, 65536u, 65537u})
        files.push_back({"width_" + std::to_string(width) + ".bmp", with32(24, kWidth, width)});
    for (uint32_t height : {0u, 0x80000000u, 0x7fffffffu})
        files.push_back({"height_" + std::to_string(height) + ".bmp", with32(24, kHeight, height)});
    files.push_back({"width_32768.bmp", valid_bmp(24, 32768, 1)});
    files.push_back({"height_32768.bmp", valid_bmp(24, 1, 32768)});
    std::string huge = with32(24, kWidth, 65536);
    put32(huge, kHeight, 65536);
    files.push_back({"both_65536.bmp", huge});
    for (uint32_t bits : {0u, 2u, 3u, 7u, 12u, 64u, 65535u})
        files.push_back({"depth_" + std::to_string(bits) + ".bmp", with32(24, kBitCount, bits)});
    for (uint32_t used : {257u, 0x7fffffffu, 0x80000000u, 0xffffffffu})
        files.push_back({"palette_" + std::to_string(used) + ".bmp", with32(8, kColoursUsed, used)});
    files.push_back({"palette_past_end.bmp", indexed.substr(0, kHeaderEnd + 4)});
    files.push_back({"pixels_past_end.bmp", with32(24, kPixelOffset, 0x10000)});
    files.push_back({"pixels_at_2_31.bmp", with32(24, kPixelOffset, 0x80000000u)});
    // 16 and 36: OS/2 2.x headers that only classic SDL decodes.
    for (uint32_t size : {0u, 12u, 16u, 36u, 200u, 0xffffffffu})
        files.push_back({"info_size_" + std::to_string(size) + ".bmp", with32(24, kInfoSize, size)});
    // Compressions that do not fit the depth, and unknown ones.
    for (uint32_t compression : {1u, 2u, 4u, 99u})
        files.push_back({"compression_" + std::to_string(compression) + ".bmp", with32(24, kCompression, compression)});
    files.push_back({"compression_3_on_8_bits.bmp", with32(8, kCompression, 3)});
    // OS/2's Huffman coding, in its own header sizes.
    for (uint32_t info_size : {48u, 64u}) {
        std::string huffman = valid_bmp(32, 4, 3, info_size);
        put32(huffman, kCompression, 3);
        files.push_back({"os2_huffman_" + std::to_string(info_size) + ".bmp", huffman});
    }
    files.push_back({"run_length_bomb.bmp", run_length_bmp(20000, 20000)});
    std::string masked_rows_missing = valid_bmp(32, 4, 3, 40, true);
    put32(masked_rows_missing, kHeight, 30000);
    files.push_back({"bit_fields_cut_short.bmp", masked_rows_missing});
    const std::vector<HostileBmp> pngs = hostile_pngs();
    files.insert(files.end(), pngs.begin(), pngs.end());
    return files;
}

std::string valid_png(uint32_t w, uint32_t h)
{
    return png_writer::encode_png(static_cast<int>(w), static_cast<int>(h), {},
                                  std::vector<uint16_t>(3 * static_cast<size_t>(w) * h, 0x40));
}

SamplePng sample_png(png_writer::ColourType type, int depth, bool interlaced, bool transparency, int w, int h)
{
    SamplePng png;
    png.form.colour_type = type;
    png.form.depth = depth;
    png.form.interlaced = interlaced;
    const auto per_pixel = static_cast<size_t>(png_writer::samples_a_pixel(type));
    const unsigned top = (1u << depth) - 1;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h) * per_pixel;
    for (size_t i = 0; i < count; ++i) png.samples.push_back(static_cast<uint16_t>((i * 40503 + i / 7) & top));
    for (unsigned n = 0; type == png_writer::kPalette && n <= top; ++n) {
        png.form.palette.insert(png.form.palette.end(), {uint8_t(n * 37), uint8_t(n * 91 + 7), uint8_t(n * 53 + 100)});
        if (transparency) png.form.transparency.push_back(static_cast<uint8_t>(n * 67));
    }
    for (size_t k = 0; transparency && type != png_writer::kPalette && k < per_pixel; ++k) {
        const uint16_t sample = png.samples[5 * per_pixel + k];
        png.form.transparency.insert(png.form.transparency.end(), {uint8_t(sample >> 8), uint8_t(sample & 0xff)});
    }
    return png;
}

std::vector<PngType> png_types()
{
    using namespace png_writer;
    return {
        {kGrey, {1, 2, 4, 8, 16}}, {kRgb, {8, 16}}, {kPalette, {1, 2, 4, 8}}, {kGreyAlpha, {8, 16}}, {kRgba, {8, 16}}};
}

// A PNG file of a header (w x h, `depth` bits, colour type `colour`,
// interlace method `interlace`) and the chunks that follow it.
std::string png_file(uint32_t w, uint32_t h, int depth, int colour, int interlace, const std::string& chunks)
{
    std::string header;
    for (const uint32_t value : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<char>(value >> shift));
    header += {static_cast<char>(depth), static_cast<char>(colour), '\0', '\0', static_cast<char>(interlace)};
    return std::string("\x89PNG\r\n\x1a\n", 8) + png_writer::chunk("IHDR", header) + chunks;
}

std::vector<HostileBmp> hostile_pngs()
{
    using png_writer::chunk;
    const std::string valid = valid_png(), end = chunk("IEND", "");
    // Rows of 4 RGB pixels, each after its filter byte.
    const std::string rows = chunk("IDAT", png_writer::zlib_stored(std::string(size_t{3} * 13, '\0')));
    std::vector<HostileBmp> files;
    // Cut in the signature, the header, the pixels, before the end chunk.
    for (size_t end_at : {4u, 8u, 20u, 33u, 50u})
        files.push_back({"png_cut_at_" + std::to_string(end_at) + ".png", valid.substr(0, end_at)});
    files.push_back({"png_cut_before_end.png", valid.substr(0, valid.size() - 12)});
    std::string damaged = valid;
    damaged[45] = static_cast<char>(damaged[45] ^ 0x10);
    files.push_back({"png_crc_mismatch.png", damaged});
    files.push_back({"png_no_header.png", std::string("\x89PNG\r\n\x1a\n", 8) + rows + end});
    files.push_back({"png_no_pixels.png", png_file(4, 3, 8, 2, 0, end)});
    files.push_back({"png_too_few_rows.png", png_file(4, 30, 8, 2, 0, rows + end)});
    files.push_back({"png_bad_zlib.png", png_file(4, 3, 8, 2, 0, chunk("IDAT", "\x78\x02rubbish") + end)});
    for (const auto& [name, depth, colour] : {std::tuple{"depth_3", 3, 2},
                                              {"colour_type_5", 8, 5},
                                              {"palette_of_16_bits", 16, 3},
                                              {"grey_alpha_of_4_bits", 4, 4}})
        files.push_back({std::string("png_") + name + ".png", png_file(4, 3, depth, colour, 0, rows + end)});
    files.push_back({"png_palette_missing.png", png_file(4, 3, 8, 3, 0, rows + end)});
    files.push_back({"png_interlace_2.png", png_file(4, 3, 8, 2, 2, rows + end)});
    files.push_back({"png_width_0.png", png_file(0, 3, 8, 2, 0, rows + end)});
    // A row of 16,384 RGBA pixels is 65,536 bytes, more than an SDL 1.2
    // surface's pitch holds; 16,383 x 16,383 pixels would inflate from a
    // few hundred kB to a gigabyte. Both are refused from their header.
    files.push_back({"png_row_of_65536_bytes.png", png_file(16384, 1, 8, 6, 0, rows + end)});
    files.push_back({"png_inflation_bomb.png", png_file(16383, 16383, 8, 6, 0, rows + end)});
    return files;
}

std::vector<UnusualBmp> unusual_bmps()
{
    constexpr uint8_t kGrey = 0x40;
    std::vector<UnusualBmp> files{
        {{"top_down.bmp", with32(24, kHeight, static_cast<uint32_t>(-3))}, kGrey, kGrey, kGrey},
        {{"indexed.bmp", valid_bmp(8)}, 0, 0, 255},
        {{"core_header.bmp", valid_bmp(24, 300, 3, 12)}, kGrey, kGrey, kGrey},  // wide: both bytes of its 16-bit width
        {{"high_colour.bmp", valid_bmp(16)}, 24, 24, 24},
        {{"true_colour.bmp", valid_bmp(32)}, kGrey, kGrey, kGrey},
        {{"bit_fields.bmp", valid_bmp(32, 4, 3, 40, true)}, kGrey, kGrey, kGrey},
        {{"bit_fields_16.bmp", valid_bmp(16, 4, 3, 40, true)}, 24, 24, 24},
        {{"one_bit.bmp", valid_bmp(1)}, 255, 0, 0},
        {{"four_bits.bmp", valid_bmp(4)}, 255, 0, 0},
        {{"tallest.bmp", valid_bmp(24, 1, 32767)}, kGrey, kGrey, kGrey}};
    // Windows' longer headers, and OS/2 2.x's cut at several of its fields.
    for (uint32_t info_size : {42u, 46u, 52u, 56u, 64u, 108u, 124u})
        files.push_back(
            {{"info_" + std::to_string(info_size) + ".bmp", valid_bmp(24, 4, 3, info_size)}, kGrey, kGrey, kGrey});
    files.push_back({{"rgb.png", valid_png()}, kGrey, kGrey, kGrey});
    for (const auto& [file, twin, first] : alpha_masked_bmps())
        files.push_back(
            {file, static_cast<uint8_t>(first >> 16), static_cast<uint8_t>(first >> 8), static_cast<uint8_t>(first)});
    return files;
}

std::vector<std::string> write_hostile_corpus(const std::string& dir)
{
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    for (const HostileBmp& file : hostile_bmps()) {
        paths.push_back(dir + "/" + file.name);
        std::ofstream(paths.back(), std::ios::binary) << file.bytes;
    }
    paths.push_back(dir + "/directory.bmp");
    fs::create_directory(paths.back());
    paths.push_back(dir + "/loop.bmp");
    fs::create_symlink("loop.bmp", paths.back());
    // Opening works, reading fails: page 0 of the process is never mapped.
    paths.push_back(dir + "/unreadable.bmp");
    fs::create_symlink("/proc/self/mem", paths.back());
    return paths;
}

}  // namespace test_support
