// display_format: images prepared in the display's own pixel format.
//
// By default every image keeps the pixel format of its file (a 24-bit BMP
// stays at 24 bits on a 32-bit or a 16-bit display), so each blit converts
// every pixel it draws, every frame. After use_display_format(1), every
// later creation converts each of its images, every ladder copy included,
// once to the format of the display surface:
//
//   - a keyed image becomes the display's pixels, keyed with run-length
//     encoding, which SDL draws as runs of opaque pixels (classic SDL 1.2.15
//     encodes it at the image's first blit and then frees its raw pixels;
//     the compatibility library keeps them and draws it keyed);
//   - an image without a pixel of its key colour becomes a plain copy,
//     unkeyed, where the SDL does not encode runs (classic SDL copies it
//     run by run, with fewer instructions than its plain copy);
//   - a ladder copy keeps its alpha;
//   - a soft-edged picture (drawn by its alpha channel) becomes SDL's
//     picture with an alpha channel for the display; on a 32-bit display it
//     stays as it is, since it is drawn as fast in its own layout, and more
//     exactly on some SDLs.
//
// The frames then come within a few levels of the unconverted ones, as
// SDL's blends round in the display's format: on a 32-bit display they are
// the same on the compatibility library, and within a level a channel in
// fades on classic SDL, whose encoded blends round apart; on a 16-bit
// display, opaque pictures draw the same, keyed ones within one unit of the
// display's channels in fades (two on classic SDL), soft-edged ones within
// three (a cross-fade blends three layers). An opaque pixel that the
// display's format would give the key colour's value is moved one unit off
// it, so no opaque pixel turns transparent. Creation pays one conversion an
// image (and, at 16 bits, a pass over its pixels); memory is the display's
// bytes a pixel for each image (4 on a 32-bit display, 2 on a 16-bit one)
// until classic SDL's encoding frees them.
#ifndef ANIM_DISPLAY_FORMAT_H
#define ANIM_DISPLAY_FORMAT_H

// Makes every later creation convert its images to the format of the
// display surface that SDL_SetVideoMode opened (`on` non-zero), or keep
// them in their files' formats (`on` 0, the default). Objects made before
// keep their images as they are; a creation made while no video mode is set
// then fails, naming the reason. Returns 0, or -1 when `on` is non-zero
// and no video mode is set (the setting is then left as it was, and
// SDL_GetError() says so).
int use_display_format(int on);

#endif
