// keyed_image: keyed BMP loading, each file read once a creation, alpha
// ladders and their rollback.
#include "anim/detail/keyed_image.h"

#include "anim/detail/bmp_file.h"

#include <sys/stat.h>  // Required for: fstat(), S_ISDIR()

#include <algorithm>  // Required for: std::min(), std::max()
#include <cerrno>     // Required for: errno
#include <climits>    // Required for: INT_MAX
#include <cstddef>    // Required for: ptrdiff_t
#include <cstdio>     // Required for: fopen(), fread(), fseek()
#include <cstdlib>    // Required for: calloc(), malloc(), free()
#include <cstring>    // Required for: strerror()
#include <memory>     // Required for: std::unique_ptr
#include <string>     // Required for: std::string
#include <utility>    // Required for: std::move()

namespace {

// Alpha step used when a surface is given step 0.
constexpr int kDefaultAlphaStep = 50;

// The step a ladder is built with: the given one, or the default for 0.
int effective_step(int step)
{
    return step == 0 ? kDefaultAlphaStep : step;
}

// Closes a file opened by read_file (a type, since the C library's fclose may
// carry attributes that a function pointer type would drop).
struct CloseFile {
    void operator()(FILE* file) const { fclose(file); }
};

// A file's bytes, in a malloc'ed buffer.
struct FileBytes {
    std::unique_ptr<unsigned char, decltype(&free)> data{nullptr, free};
    size_t size = 0;
};

// Reads the file at `path` whole; data is null, with the reason set, when it
// cannot be opened or read, is empty or too large for SDL's memory streams.
FileBytes read_file(const char* path)
{
    FileBytes bytes;
    const std::unique_ptr<FILE, CloseFile> file(fopen(path, "rb"));
    if (!file) {
        SDL_SetError("%s", strerror(errno));
        return bytes;
    }
    struct stat status;
    if (fstat(fileno(file.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
        SDL_SetError("is a folder, not a picture");
        return bytes;
    }
    long size = -1;
    if (fseek(file.get(), 0, SEEK_END) == 0) size = ftell(file.get());
    if (size <= 0 || size > INT_MAX || fseek(file.get(), 0, SEEK_SET) != 0) {
        SDL_SetError(size == 0 ? "empty file" : "cannot be read");
        return bytes;
    }
    bytes.data.reset(static_cast<unsigned char*>(malloc(static_cast<size_t>(size))));
    if (!bytes.data) {
        SDL_OutOfMemory();
        return bytes;
    }
    if (fread(bytes.data.get(), 1, static_cast<size_t>(size), file.get()) != static_cast<size_t>(size)) {
        SDL_SetError("cannot be read");
        bytes.data.reset();
        return bytes;
    }
    bytes.size = static_cast<size_t>(size);
    return bytes;
}

// Replaces a file with an alpha mask (16 or 32 bits a pixel, in any masks)
// by the usual 32-bit file of the same picture, which every SDL decodes
// alike; leaves any other file as it is. False, with the reason set, when
// the widened file would be too large or memory runs out for it.
bool widen_alpha_masked(FileBytes& file)
{
    const size_t size = anim::detail::widened_size(file.data.get(), file.size);
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
    anim::detail::widen_to_32_bit(file.data.get(), file.size, widened.data.get());
    widened.size = size;
    file = std::move(widened);
    return true;
}

// True when SDL blends the image by its own alpha channel: SDL 1.2 then
// ignores its colour key and its per-surface alpha.
bool uses_alpha_channel(const SDL_Surface* image)
{
    return image->format->Amask != 0 && (image->flags & SDL_SRCALPHA) != 0;
}

// Calls change(pixel) on every pixel of a 32-bit image. Leaves an image of
// any other depth alone, as one it cannot lock: every picture with an alpha
// channel is loaded at 32 bits (see widen_alpha_masked), and a loop over
// 4-byte pixels would run past the end of a narrower image.
template <typename Change>
void change_pixels(SDL_Surface* image, Change change)
{
    if (image->format->BytesPerPixel != 4 || (SDL_MUSTLOCK(image) && SDL_LockSurface(image) != 0)) return;
    for (int y = 0; y < image->h; ++y) {
        auto* row =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(image->pixels) + static_cast<ptrdiff_t>(y) * image->pitch);
        for (int x = 0; x < image->w; ++x) change(row[x]);
    }
    if (SDL_MUSTLOCK(image)) SDL_UnlockSurface(image);
}

// A picture whose fourth byte holds an alpha channel, as SDL decoded it.
// Blended by that channel, its key colour's pixels get alpha 0, since the
// colour key no longer applies; read without one (classic SDL keeps the
// byte in every pixel value, where the key misses it), the byte is cleared,
// and the picture draws opaque. A decoding with a channel that its blits do
// not use (the browser's) keys by colour alone and is left as it is.
void settle_alpha_channel(SDL_Surface* image, Uint32 key)
{
    const SDL_PixelFormat* f = image->format;
    const Uint32 colour = f->Rmask | f->Gmask | f->Bmask;
    if (uses_alpha_channel(image)) {
        change_pixels(image, [&](Uint32& p) {
            if ((p & colour) == (key & colour)) p &= ~f->Amask;
        });
    } else if (f->Amask == 0) {
        change_pixels(image, [&](Uint32& p) { p &= colour; });
    }
}

}  // namespace

namespace anim::detail {

// A picture file as SDL's decoder gets it: read whole and checked, a
// picture with an alpha mask widened to the usual 32-bit picture of its
// pixels, a 32-bit picture without alpha repacked as its 24-bit twin.
struct PictureFiles::File {
    std::string path;
    FileBytes bytes;
    FourthByte fourth = FourthByte::absent;  // what its fourth byte held, before any repacking
};

PictureFiles::PictureFiles() = default;
PictureFiles::~PictureFiles() = default;

const PictureFiles::File* PictureFiles::file(const char* path)
{
    for (const std::unique_ptr<File>& known : files_)
        if (known->path == path) return known.get();
    auto file = std::make_unique<File>();
    file->bytes = read_file(path);
    FileBytes& bytes = file->bytes;
    if (bytes.data == nullptr || !bmp_header_is_sound(bytes.data.get(), bytes.size) || !widen_alpha_masked(bytes))
        return nullptr;
    file->fourth = fourth_byte(bytes.data.get(), bytes.size);
    if (file->fourth == FourthByte::constant) bytes.size = repack_as_24_bit(bytes.data.get(), bytes.size);
    file->path = path;
    files_.push_back(std::move(file));
    return files_.back().get();
}

SDL_Surface* load_keyed_image(PictureFiles& files, const char* path, int r, int g, int b)
{
    if (path == nullptr) {
        SDL_SetError("no image path given");
        return nullptr;
    }
    // SDL's decoder reads the file from memory, the same prepared bytes for
    // every image the creation loads from it.
    const PictureFiles::File* file = files.file(path);
    SDL_Surface* image = nullptr;
    if (file != nullptr)
        image = SDL_LoadBMP_RW(SDL_RWFromConstMem(file->bytes.data.get(), static_cast<int>(file->bytes.size)), 1);
    if (image == nullptr) {
        const std::string reason = SDL_GetError();
        SDL_SetError("cannot load %s: %s", path, reason.c_str());
        return nullptr;
    }
    const Uint32 key = SDL_MapRGB(image->format, static_cast<Uint8>(r & 0xff), static_cast<Uint8>(g & 0xff),
                                  static_cast<Uint8>(b & 0xff));
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
    if (file->fourth == FourthByte::varying) settle_alpha_channel(image, key);
    return image;
}

void fade_alpha_channel(SDL_Surface* image, Uint8 alpha)
{
    if (!uses_alpha_channel(image)) return;
    const SDL_PixelFormat* f = image->format;
    change_pixels(image, [&](Uint32& p) {
        const Uint32 own = (p & f->Amask) >> f->Ashift;
        p = (p & ~f->Amask) | ((own * alpha + 127) / 255) << f->Ashift;
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
    return load_keyed_images(
        files, length, [path](int) { return path; }, r, g, b,
        [step](int i, SDL_Surface* copy) {
            fade_alpha_channel(copy, ladder_alpha(step, i));
            SDL_SetAlpha(copy, SDL_SRCALPHA, ladder_alpha(step, i));
        });
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
