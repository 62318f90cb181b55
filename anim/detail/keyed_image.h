// keyed_image: how every image enters the toolkit (internal to the toolkit, not installed).
//
// A keyed image is a picture file (BMP or PNG, told apart by their
// contents) loaded by path, with one colour made transparent; a picture
// with soft transparency (alpha between opaque and transparent) is drawn by
// its alpha channel instead, the same on every SDL. An alpha ladder is a row
// of separately loaded copies of one file whose alpha rises step by step;
// the blinking surfaces draw their fades from such rows, so a fade costs
// nothing but plain blits at run time.
//
//   PictureFiles       the files of one creation, each read from disk once
//   load_keyed_image   load one picture, or one cell of a sheet, keyed
//   uses_alpha_channel whether SDL blends an image by its alpha channel
//   key_colour         the key colour of (r, g, b) as the loaders take it
//   key_value          that colour's value in a pixel format
//   urgent_free        release a half-built array of images, newest first
//   load_image_array   load an array of images, rolled back on failure
//   load_keyed_images  load an array of keyed images from paths
//   load_alpha_ladder  load N copies of one picture with rising alpha
//   fade_alpha_channel a picture's own alpha channel times an opacity
//   ladder_alpha       the alpha of one copy of a ladder
//   complex_row_length copies in each ladder row of a complex surface
//   simple_ladder_top  highest copy of a simple surface's ladder
//   blit_image         SDL_BlitSurface, with one answer in `dst` on every SDL
//   blit_layers        draw a stack of images through one pair of rectangles
//   count_paths        number of entries of a null-terminated path list
//
// Errors: every loader returns null on failure and leaves SDL's reason (or
// its own) in SDL_GetError(). Nothing here throws: memory that runs out,
// from malloc or from operator new, is a null result with SDL_OutOfMemory's
// reason.
#ifndef ANIM_DETAIL_KEYED_IMAGE_H
#define ANIM_DETAIL_KEYED_IMAGE_H

#include <SDL.h>

#include <cstdlib>  // Required for: calloc()
#include <memory>   // Required for: std::unique_ptr
#include <vector>   // Required for: std::vector

namespace anim::detail {

// The picture files one creation loads its images from. Each file is read
// from disk, checked and prepared for SDL's decoder (a PNG decoded and
// written as a BMP) the first time a path asks for it, and kept until the
// PictureFiles goes, so that a ladder of any length, or a picture loaded in
// several places, costs one read; every image is still decoded by a load of
// its own.
class PictureFiles {
public:
    struct File;

    PictureFiles();
    ~PictureFiles();
    PictureFiles(const PictureFiles&) = delete;
    PictureFiles& operator=(const PictureFiles&) = delete;

    // The file at `path` as SDL's decoder gets it for the key colour `key`
    // (0xRRGGBB), read on the first asking; null, with the reason in
    // SDL_GetError(), when it cannot be read, is neither a sound BMP nor a
    // PNG that decodes, or memory runs out (a failure is not kept).
    const File* file(const char* path, Uint32 key);

    // Stores the size of the picture at `path` (read as file() reads it) in
    // `width` and `height`; false when file() fails, with SDL_GetError()
    // naming the path and the reason.
    bool size_of(const char* path, Uint32 key, int* width, int* height);

private:
    // file(), which may throw std::bad_alloc.
    const File* find_or_read(const char* path, Uint32 key);

    std::vector<std::unique_ptr<File>> files_;
};

// Loads the picture at `path` from `files` and makes the colour (r, g, b)
// transparent, using only the low 8 bits of each component (256 keys as 0,
// -1 as 255). The image keeps the pixel format of its file, save that a
// picture with transparency is loaded as its 24-bit picture with the
// transparent pixels in the key colour, or, with soft transparency, as a
// 32-bit picture blended by its alpha channel and not keyed; a 32-bit
// picture without alpha is loaded as its 24-bit twin. While
// use_display_format(1) holds, the image is then converted to the
// display's format (see display_format.h).
// With `cell`, only that rectangle of the picture is loaded, which must lie
// within it (a BMP cut so must be uncompressed at 8 bits a pixel or more).
// The caller owns the result and releases it with SDL_FreeSurface.
// Returns null when the file cannot be read, is neither a sound BMP nor a
// PNG that decodes, or does not load; SDL_GetError() then names the path
// and the reason.
SDL_Surface* load_keyed_image(PictureFiles& files, const char* path, int r, int g, int b,
                              const SDL_Rect* cell = nullptr);

// True when SDL blends the image by its own alpha channel: SDL 1.2 then
// ignores its colour key and its per-surface alpha.
bool uses_alpha_channel(const SDL_Surface* image);

// The key colour (r, g, b) as the loaders take it, 0xRRGGBB of the low 8
// bits of each component.
Uint32 key_colour(int r, int g, int b);

// The value of the key colour `key` (0xRRGGBB) in the pixel format `format`.
Uint32 key_value(const SDL_PixelFormat* format, Uint32 key);

// Rolls back a half-built array: releases images[n-1] down to images[0]
// with SDL_FreeSurface, newest first, then frees the array itself. With
// n = 0 only the array is freed. Null entries are skipped.
void urgent_free(SDL_Surface** images, int n);

// Makes an array of `n` images, image i by load(i), which returns null,
// with the reason set, when it fails. Returns a malloc'ed array of `n`
// surfaces owned by the caller (release each image, then free the array;
// urgent_free(images, n) does both), or null when `n` is not positive, an
// image fails to load or memory runs out; the images loaded so far are
// released then.
template <typename Load>
SDL_Surface** load_image_array(int n, Load load)
{
    if (n <= 0) {
        SDL_SetError("an image array needs at least one image");
        return nullptr;
    }
    auto* images = static_cast<SDL_Surface**>(calloc(static_cast<size_t>(n), sizeof(SDL_Surface*)));
    if (images == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    for (int i = 0; i < n; ++i) {
        images[i] = load(i);
        if (images[i] == nullptr) {
            urgent_free(images, i);
            return nullptr;
        }
    }
    return images;
}

// load_image_array of `n` keyed images from `files`, image i from path_of(i).
template <typename PathOf>
SDL_Surface** load_keyed_images(PictureFiles& files, int n, PathOf path_of, int r, int g, int b)
{
    return load_image_array(n, [&](int i) { return load_keyed_image(files, path_of(i), r, g, b); });
}

// Gives an image that SDL blends by its own alpha channel an opacity as
// well: each pixel's alpha a becomes a * opacity / 255, scaled by 256 / 255
// and rounded (at most 255), since SDL 1.2's blend by a pixel's alpha
// divides by 256: the drawn pixels then come within 1.5 of the exact
// blend. Only a 32-bit image is changed: every picture with an alpha
// channel is loaded at 32 bits, and any other image is left alone. False,
// with SDL's reason set, when the image cannot be locked.
bool fade_alpha_channel(SDL_Surface* image, Uint8 opacity);

// The per-surface alpha of copy `index` of a ladder built with `step`:
// min(index * e, 255), where e is `step`, or 50 when `step` is 0.
// `step` and `index` must not be negative.
Uint8 ladder_alpha(int step, int index);

// The two ladder lengths, side by side; step 0 counts as 50 in both. They
// differ because the two surfaces climb their ladders differently:
//
// A complex surface fades each front in over the one before, and the next
// row starts with that front drawn opaque beneath it, so a row stops short
// of opaque: it holds ceil(255 / step) copies, 0 up to the last multiple of
// the step below 255 (step 51: 0 to 204; steps of 255 and more: copy 0 only,
// which makes hard cuts).
//
// A simple surface's ladder rises to its top and falls back, showing each
// end twice, so it holds every multiple of the step up to 255 itself: its
// top index is floor(255 / step) (step 51: 0 to 255; steps of 256 and
// more: copy 0 only, so the overlay never shows).
//
// `step` must not be negative.
int complex_row_length(int step);
int simple_ladder_top(int step);

// Loads `length` keyed copies of the picture at `path` from `files`, as
// load_keyed_image loads it; copy i carries the alpha ladder_alpha(step, i)
// (per surface, or in its alpha channel), so copy 0 is invisible. Returns
// a malloc'ed array of `length` surfaces owned by the caller (release each
// copy, then free the array), or null when `length` is not positive, a copy
// fails to load or memory runs out; nothing is left allocated then.
SDL_Surface** load_alpha_ladder(PictureFiles& files, const char* path, int r, int g, int b, int step, int length);

// SDL_BlitSurface(image, src, target, dst), which stores the final blit
// rectangle in `dst`; a blit clipped away entirely stores its position, with
// a negative corner of the source window added, held no further left or up
// than the target's clip rectangle's left and top edges (the right and
// bottom edges do not move it), at 0 x 0, as SDL 1.2 does. Some SDL 1.2
// implementations (the compatibility library 1.2.68) leave that position
// where it was instead; the toolkit places later layers and frames by what
// a blit stored, so it stores the one answer itself.
void blit_image(SDL_Surface* image, SDL_Rect* src, SDL_Surface* target, SDL_Rect* dst);

// Draws the non-null entries of `layers`, bottom first, onto `target`. Every
// layer gets the same `src` and `dst` objects (either may be null, as for
// SDL_BlitSurface), so SDL's clipping of one layer places the next: a layer
// is drawn where the rectangle the previous blit stored says.
void blit_layers(SDL_Surface* const* layers, int n, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst);

// Number of non-null entries of a null-terminated path list before its
// terminator; 0 for a null list. Saturates at INT_MAX.
int count_paths(const char* const* paths);

}  // namespace anim::detail

#endif
