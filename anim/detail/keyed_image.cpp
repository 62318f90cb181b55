// keyed_image: keyed BMP loading, each file read once a creation, alpha
// ladders and their rollback.
#include "anim/detail/keyed_image.h"

#include "anim/detail/bmp_file.h"
#include "anim/detail/display_image.h"
#include "anim/detail/file_bytes.h"
#include "anim/detail/png_file.h"

#include <algorithm>  // Required for: std::min(), std::max()
#include <climits>    // Required for: INT_MAX
#include <cstddef>    // Required for: ptrdiff_t
#include <cstdint>    // Required for: uint8_t
#include <cstdio>     // Required for: snprintf()
#include <cstdlib>    // Required for: calloc(), malloc(), free()
#include <cstring>    // Required for: memcpy()
#include <memory>     // Required for: std::unique_ptr
#include <new>        // Required for: std::bad_alloc
#include <optional>   // Required for: std::optional
#include <string>     // Required for: std::string
#include <utility>    // Required for: std::move()

using anim::detail::FileBytes;

namespace {

// Alpha step used when a surface is given step 0.
constexpr int kDefaultAlphaStep = 50;

// The step a ladder is built with: the given one, or the default for 0.
int effective_step(int step)
{
    return step == 0 ? kDefaultAlphaStep : step;
}

// Replaces a file with an alpha mask (16 or 32 bits a pixel, in any masks),
// and its checked view, by the usual 32-bit file of the same picture, which
// every SDL decodes alike; leaves any other file as it is. False, with the
// reason set, when the widened file would be too large or memory runs out
// for it.
bool widen_alpha_masked(FileBytes& file, anim::detail::SoundBmp& bmp)
{
    const size_t size = bmp.widened_size();
    if (size == 0) return true;
    if (size > INT_MAX) {
        SDL_SetError("too large once widened to 32 bits a pixel");
        return false;
    }
    FileBytes widened;
    widened.data.reset(static_cast<unsigned char*>(malloc(size)));
    if (!widened.data) {
        SDL_OutOfMemory();
        return false;
    }
    bmp = bmp.widen_to_32_bit(widened.data.get());
    widened.size = size;
    file = std::move(widened);
    return true;
}

// Calls change(pixel) on every pixel of a 32-bit image. Leaves an image of
// any other depth alone: every picture with an alpha channel is loaded at
// 32 bits, and a loop over 4-byte pixels would run past the end of a
// narrower image. False, with SDL's reason set, when the image cannot be
// locked.
template <typename Change>
bool change_pixels(SDL_Surface* image, Change change)
{
    if (image->format->BytesPerPixel != 4) return true;
    if (SDL_MUSTLOCK(image) && SDL_LockSurface(image) != 0) return false;
    for (int y = 0; y < image->h; ++y) {
        auto* row =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(image->pixels) + static_cast<ptrdiff_t>(y) * image->pitch);
        for (int x = 0; x < image->w; ++x) change(row[x]);
    }
    if (SDL_MUSTLOCK(image)) SDL_UnlockSurface(image);
    return true;
}

// The pixels of a PNG or a BMP with alpha, as the file held them.
struct Pixels {
    std::unique_ptr<unsigned char, decltype(&free)> rgba{nullptr, free};
    int width = 0, height = 0;
    int channels = 4;  // red, green, blue, and alpha with 4

    size_t count() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }
    size_t bytes() const { return static_cast<size_t>(channels) * count(); }
};

// The alpha of a picture's pixels: all opaque (keyed by colour as any
// picture); only fully transparent and opaque, with no opaque pixel of the
// key colour (drawn exactly as the same picture keyed); or soft, or keyed
// but for an opaque pixel of the key colour, drawn by its alpha channel.
enum class Transparency : uint8_t { none, keyed, soft };

Transparency transparency_of(const Pixels& pixels, Uint32 key)
{
    if (pixels.channels == 3) return Transparency::none;
    const size_t count = pixels.count();
    const unsigned char* p = pixels.rgba.get();
    // Most pictures are opaque: one pass over the alpha bytes alone tells.
    unsigned char all = 0xff;
    for (size_t i = 0; i < count; ++i) all &= p[4 * i + 3];
    if (all == 0xff) return Transparency::none;
    bool transparent = false, opaque_key = false;
    for (size_t i = 0; i < count; ++i, p += 4) {
        if (p[3] != 0 && p[3] != 255) return Transparency::soft;
        const Uint32 colour = static_cast<Uint32>(p[0]) << 16 | static_cast<Uint32>(p[1]) << 8 | p[2];
        transparent = transparent || p[3] == 0;
        opaque_key = opaque_key || (p[3] == 255 && colour == key);
    }
    if (!transparent) return Transparency::none;
    return opaque_key ? Transparency::soft : Transparency::keyed;
}

// A copy of `image`, which SDL decoded without the alpha channel of its
// fourth byte (classic SDL reads no alpha mask from a BMP), that SDL blends
// by that channel: its alpha byte stays, its red and blue swap places, so
// that the copy is laid out as SDL 1.2's own 32-bit surfaces (red in the
// third byte), whose blend by the pixels' alpha is the one exact to a
// level. `image` is released; null, with the reason set, when memory runs
// out (`image` is released then too).
SDL_Surface* with_alpha_channel(SDL_Surface* image)
{
    const std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> decoded(image, SDL_FreeSurface);
    SDL_Surface* copy =
        SDL_CreateRGBSurface(SDL_SWSURFACE, image->w, image->h, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
    if (copy == nullptr) return nullptr;
    const SDL_PixelFormat* f = image->format;
    SDL_SetAlpha(copy, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    for (int y = 0; y < image->h; ++y) {
        const auto* in = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(image->pixels) +
                                                         static_cast<ptrdiff_t>(y) * image->pitch);
        auto* out =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(copy->pixels) + static_cast<ptrdiff_t>(y) * copy->pitch);
        for (int x = 0; x < image->w; ++x) {
            const Uint32 p = in[x];
            const Uint32 red = (p & f->Rmask) >> f->Rshift, green = (p & f->Gmask) >> f->Gshift;
            const Uint32 blue = (p & f->Bmask) >> f->Bshift, alpha = p >> 24;
            out[x] = alpha << 24 | red << 16 | green << 8 | blue;
        }
    }
    return copy;
}

}  // namespace

namespace anim::detail {

// A picture file as SDL's decoder gets it: a BMP read whole and checked, a
// picture with an alpha mask widened to the usual 32-bit picture of its
// pixels, a 32-bit picture without alpha repacked as its 24-bit twin; and
// every picture with transparency (a PNG, a BMP whose fourth byte varies)
// written as the BMP of how it is drawn (see prepare_pixels).
struct PictureFiles::File {
    FileBytes bytes;
    SoundBmp bmp;  // `bytes` checked, as size_of and the cutting of cells read them
    std::string path;
    Transparency transparency = Transparency::none;
    Pixels keyed;    // the pixels of a picture with keyed transparency, to write it again for another key
    Uint32 key = 0;  // the key colour its transparent pixels are written in
};

namespace {

// The file at `path` whose pixels are `pixels`, written as SDL decodes it,
// by their transparency: opaque or soft, the pixels as they are (at 24
// bits, or at 32 with their alpha); keyed, at 24 bits with every
// transparent pixel in the key colour, so that they draw exactly as the
// same picture keyed, fades included. Null, with the reason set, when
// memory runs out.
std::unique_ptr<PictureFiles::File> prepare_pixels(const char* path, Pixels pixels, Uint32 key)
{
    const Transparency transparency = transparency_of(pixels, key);
    const bool alpha = transparency == Transparency::soft, keyed = transparency == Transparency::keyed;
    if (keyed) {
        const size_t count = pixels.count();
        unsigned char* p = pixels.rgba.get();
        for (size_t i = 0; i < count; ++i, p += 4)
            if (p[3] == 0) {
                p[0] = static_cast<unsigned char>(key >> 16);
                p[1] = static_cast<unsigned char>(key >> 8);
                p[2] = static_cast<unsigned char>(key);
            }
    }
    FileBytes bytes;
    bytes.size = SoundBmp::picture_size(pixels.width, pixels.height, alpha);
    bytes.data.reset(static_cast<unsigned char*>(malloc(bytes.size)));
    if (!bytes.data) {
        SDL_OutOfMemory();
        return nullptr;
    }
    const SoundBmp bmp = SoundBmp::write_picture(pixels.rgba.get(), pixels.channels, pixels.width, pixels.height, alpha,
                                                 bytes.data.get());
    return std::make_unique<PictureFiles::File>(
        PictureFiles::File{std::move(bytes), bmp, path, transparency, keyed ? std::move(pixels) : Pixels{}, key});
}

// The file at `path`, read from disk as `bytes`: a PNG decoded, for
// prepare_pixels; a BMP checked, widened when it has an alpha mask, then
// unpacked for prepare_pixels when its fourth byte varies, or repacked as its
// 24-bit twin when that is constant. Null, with the reason set, when the
// check, the decoding or memory fails.
std::unique_ptr<PictureFiles::File> prepare_file(const char* path, FileBytes bytes, Uint32 key)
{
    Pixels pixels;
    if (is_png(bytes.data.get(), bytes.size)) {
        pixels.rgba.reset(decode_png(bytes.data.get(), bytes.size, &pixels.width, &pixels.height, &pixels.channels));
        if (!pixels.rgba) return nullptr;
        return prepare_pixels(path, std::move(pixels), key);
    }
    std::optional<SoundBmp> bmp = SoundBmp::check(bytes.data.get(), bytes.size);
    if (!bmp || !widen_alpha_masked(bytes, *bmp)) return nullptr;
    const FourthByte fourth = bmp->fourth_byte();
    if (fourth == FourthByte::varying) {
        pixels.width = bmp->width();
        pixels.height = bmp->rows();
        pixels.rgba.reset(static_cast<unsigned char*>(malloc(pixels.bytes())));
        if (!pixels.rgba) {
            SDL_OutOfMemory();
            return nullptr;
        }
        bmp->unpack_32_bit(pixels.rgba.get());
        return prepare_pixels(path, std::move(pixels), key);
    }
    if (fourth == FourthByte::constant) {
        bmp = bmp->repack_as_24_bit(bytes.data.get());
        bytes.size = bmp->size();
    }
    return std::make_unique<PictureFiles::File>(
        PictureFiles::File{std::move(bytes), *bmp, path, Transparency::none, Pixels{}, 0});
}

// A copy of SDL_GetError(), which SDL_SetError overwrites as it formats.
// SDL keeps a message of at most 1024 bytes; the copy takes no memory from
// the heap, so reporting a failure cannot fail for want of it.
struct ErrorCopy {
    ErrorCopy() { std::snprintf(text, sizeof text, "%s", SDL_GetError()); }
    char text[1024];
};

// Puts the path before the reason SDL_GetError() holds, as the loaders
// report a failure: "cannot load <path>: <reason>". Returns false.
bool name_path(const char* path)
{
    const ErrorCopy reason;
    SDL_SetError("cannot load %s: %s", path, reason.text);
    return false;
}

// SDL_GetError() as a load found it, put back when the load succeeds: SDL's
// functions leave messages of their own on the way (the compatibility
// library's loader says "Surface doesn't have a colorkey"), which a caller
// would take for the reason of a later failure of its own.
class KeptError {
public:
    void put_back() const
    {
        if (found_.text[0] == '\0')
            SDL_ClearError();
        else
            SDL_SetError("%s", found_.text);
    }

private:
    ErrorCopy found_;
};

}  // namespace

PictureFiles::PictureFiles() = default;
PictureFiles::~PictureFiles() = default;

const PictureFiles::File* PictureFiles::file(const char* path, Uint32 key)
{
    // The files' records, paths and list are the only memory of a creation
    // that comes from operator new; running out of it fails the read as
    // running out of malloc's does, and everything the read had made is
    // released by its owners on the way out.
    try {
        return find_or_read(path, key);
    } catch (const std::bad_alloc&) {
        SDL_OutOfMemory();
        return nullptr;
    }
}

const PictureFiles::File* PictureFiles::find_or_read(const char* path, Uint32 key)
{
    for (std::unique_ptr<File>& known : files_) {
        if (known->path != path) continue;
        if (known->transparency != Transparency::keyed || known->key == key) return known.get();
        // Written for another key: written again from its pixels.
        Pixels pixels;
        pixels.width = known->keyed.width;
        pixels.height = known->keyed.height;
        pixels.channels = known->keyed.channels;
        pixels.rgba.reset(static_cast<unsigned char*>(malloc(pixels.bytes())));
        if (!pixels.rgba) {
            SDL_OutOfMemory();
            return nullptr;
        }
        memcpy(pixels.rgba.get(), known->keyed.rgba.get(), pixels.bytes());
        std::unique_ptr<File> again = prepare_pixels(path, std::move(pixels), key);
        if (again == nullptr) return nullptr;
        known = std::move(again);
        return known.get();
    }
    FileBytes bytes = read_file(path, "a picture");
    if (bytes.data == nullptr) return nullptr;
    std::unique_ptr<File> file = prepare_file(path, std::move(bytes), key);
    if (file == nullptr) return nullptr;
    files_.push_back(std::move(file));
    return files_.back().get();
}

bool PictureFiles::size_of(const char* path, Uint32 key, int* width, int* height)
{
    const File* known = file(path, key);
    if (known == nullptr) return name_path(path);
    *width = known->bmp.width();
    *height = known->bmp.rows();
    return true;
}

namespace {

// load_keyed_image; with `copy_alpha`, a copy of a ladder, which carries
// that alpha in its alpha channel (a soft-edged picture) or as its
// per-surface alpha (a keyed one); converted to the display's format last,
// when that is asked for.
SDL_Surface* load_image(PictureFiles& files, const char* path, int r, int g, int b, const SDL_Rect* cell,
                        std::optional<Uint8> copy_alpha)
{
    if (path == nullptr) {
        SDL_SetError("no image path given");
        return nullptr;
    }
    const KeptError kept;
    const Uint32 key = key_colour(r, g, b);
    // SDL's decoder reads the file from memory, the same prepared bytes for
    // every image the creation loads from it; a cell of a sheet from bytes
    // of its own, cut out of them.
    const PictureFiles::File* file = files.file(path, key);
    SDL_Surface* image = nullptr;
    if (file != nullptr) {
        FileBytes cut;
        const unsigned char* data = file->bytes.data.get();
        size_t size = file->bytes.size;
        if (cell != nullptr) {
            cut.size = file->bmp.cell_size(cell->w, cell->h);
            if (cut.size != 0) cut.data.reset(static_cast<unsigned char*>(malloc(cut.size)));
            if (cut.data) file->bmp.cut_cell(cell->x, cell->y, cell->w, cell->h, cut.data.get());
            data = cut.data.get();
            size = cut.size;
        }
        if (data == nullptr && size == 0)
            SDL_SetError("a sheet is cut from a PNG, or a BMP uncompressed at 8 bits a pixel or more");
        else if (data == nullptr)
            SDL_OutOfMemory();
        else
            image = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
        if (image != nullptr && file->transparency == Transparency::soft) {
            if (!uses_alpha_channel(image)) image = with_alpha_channel(image);
            if (image != nullptr && !fade_alpha_channel(image, copy_alpha.value_or(SDL_ALPHA_OPAQUE))) {
                SDL_FreeSurface(image);
                image = nullptr;
            }
        } else if (image != nullptr && !display_format_on()) {
            SDL_SetColorKey(image, SDL_SRCCOLORKEY, key_value(image->format, key));
            if (copy_alpha) SDL_SetAlpha(image, SDL_SRCALPHA, *copy_alpha);
        }
        // Converted, the image is keyed, and given its alpha, in the
        // display's format.
        if (image != nullptr && display_format_on()) image = to_display_format(image, key, copy_alpha);
    }
    if (image == nullptr)
        name_path(path);
    else
        kept.put_back();
    return image;
}

}  // namespace

bool uses_alpha_channel(const SDL_Surface* image)
{
    return image->format->Amask != 0 && (image->flags & SDL_SRCALPHA) != 0;
}

SDL_Surface* load_keyed_image(PictureFiles& files, const char* path, int r, int g, int b, const SDL_Rect* cell)
{
    return load_image(files, path, r, g, b, cell, std::nullopt);
}

Uint32 key_value(const SDL_PixelFormat* format, Uint32 key)
{
    return SDL_MapRGB(format, static_cast<Uint8>(key >> 16), static_cast<Uint8>(key >> 8), static_cast<Uint8>(key));
}

Uint32 key_colour(int r, int g, int b)
{
    return static_cast<Uint32>(r & 0xff) << 16 | static_cast<Uint32>(g & 0xff) << 8 | static_cast<Uint32>(b & 0xff);
}

bool fade_alpha_channel(SDL_Surface* image, Uint8 opacity)
{
    if (!uses_alpha_channel(image)) return true;
    // The channel's place, from its mask: the browser's SDL leaves the
    // format's shifts unset.
    const Uint32 mask = image->format->Amask;
    int shift = 0;
    while ((mask >> shift & 1u) == 0) ++shift;
    return change_pixels(image, [&](Uint32& p) {
        const Uint32 own = (p & mask) >> shift;
        const Uint32 alpha = std::min<Uint32>((own * opacity * 256 / 255 + 127) / 255, 255);
        p = (p & ~mask) | alpha << shift;
    });
}

Uint8 ladder_alpha(int step, int index)
{
    return static_cast<Uint8>(std::min<long long>(static_cast<long long>(effective_step(step)) * index, 255));
}

int complex_row_length(int step)
{
    const int e = effective_step(step);
    return 255 / e + (255 % e != 0 ? 1 : 0);
}

int simple_ladder_top(int step)
{
    return 255 / effective_step(step);
}

SDL_Surface** load_alpha_ladder(PictureFiles& files, const char* path, int r, int g, int b, int step, int length)
{
    return load_image_array(length,
                            [&](int i) { return load_image(files, path, r, g, b, nullptr, ladder_alpha(step, i)); });
}

void urgent_free(SDL_Surface** images, int n)
{
    if (images == nullptr) return;
    for (int i = n - 1; i >= 0; --i) SDL_FreeSurface(images[i]);
    free(images);
}

void blit_image(SDL_Surface* image, SDL_Rect* src, SDL_Surface* target, SDL_Rect* dst)
{
    const SDL_Rect asked = dst != nullptr ? *dst : SDL_Rect{};
    if (SDL_BlitSurface(image, src, target, dst) != 0 || dst == nullptr || (dst->w != 0 && dst->h != 0)) return;
    // Nothing drawn: the source window's negative corner moves the position
    // first, then the clip rectangle's edges hold it in.
    int x = asked.x, y = asked.y;
    if (src != nullptr) {
        x -= std::min(0, static_cast<int>(src->x));
        y -= std::min(0, static_cast<int>(src->y));
    }
    dst->x = static_cast<decltype(dst->x)>(std::max(x, static_cast<int>(target->clip_rect.x)));
    dst->y = static_cast<decltype(dst->y)>(std::max(y, static_cast<int>(target->clip_rect.y)));
}

void blit_layers(SDL_Surface* const* layers, int n, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst)
{
    for (int i = 0; i < n; ++i)
        if (layers[i] != nullptr) blit_image(layers[i], src, target, dst);
}

int count_paths(const char* const* paths)
{
    if (paths == nullptr) return 0;
    int n = 0;
    while (n < INT_MAX && paths[n] != nullptr) ++n;
    return n;
}

}  // namespace anim::detail
