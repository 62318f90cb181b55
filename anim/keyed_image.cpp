// keyed_image: keyed BMP loading, alpha ladders and their rollback.
#include "anim/keyed_image.h"

#include "anim/bmp_check.h"

#include <algorithm>  // Required for: std::min()
#include <climits>    // Required for: INT_MAX
#include <cstdlib>    // Required for: calloc(), free()
#include <string>     // Required for: std::string

namespace {

// Alpha step used when a surface is given step 0.
constexpr int kDefaultAlphaStep = 50;

}  // namespace

SDL_Surface* load_keyed_image(const char* path, int r, int g, int b)
{
    if (path == nullptr) {
        SDL_SetError("no image path given");
        return nullptr;
    }
    // Opened here rather than through SDL_LoadBMP so that a missing file is
    // told apart from one that does not decode, and a broken one is refused
    // before SDL's decoder sees it.
    SDL_RWops* stream = SDL_RWFromFile(path, "rb");
    if (stream != nullptr && !bmp_header_is_sound(stream)) {
        SDL_RWclose(stream);
        stream = nullptr;
    }
    SDL_Surface* image = stream != nullptr ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (image == nullptr) {
        const std::string reason = SDL_GetError();
        SDL_SetError("cannot load %s: %s", path, reason.c_str());
        return nullptr;
    }
    const Uint32 key = SDL_MapRGB(image->format, static_cast<Uint8>(r & 0xff), static_cast<Uint8>(g & 0xff),
                                  static_cast<Uint8>(b & 0xff));
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
    return image;
}

Uint8 ladder_alpha(int step, int index)
{
    const long long e = step == 0 ? kDefaultAlphaStep : step;
    return static_cast<Uint8>(std::min<long long>(e * index, 255));
}

SDL_Surface** load_alpha_ladder(const char* path, int r, int g, int b, int step, int length)
{
    SDL_Surface** copies = load_keyed_images(
        length, [path](int) { return path; }, r, g, b);
    if (copies == nullptr) return nullptr;
    for (int i = 0; i < length; ++i) SDL_SetAlpha(copies[i], SDL_SRCALPHA, ladder_alpha(step, i));
    return copies;
}

void urgent_free(SDL_Surface** images, int n)
{
    if (images == nullptr) return;
    for (int i = n - 1; i >= 0; --i) SDL_FreeSurface(images[i]);
    free(images);
}

void blit_layers(SDL_Surface* const* layers, int n, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst)
{
    for (int i = 0; i < n; ++i)
        if (layers[i] != nullptr) SDL_BlitSurface(layers[i], src, target, dst);
}

int count_paths(const char* const* paths)
{
    if (paths == nullptr) return 0;
    int n = 0;
    while (n < INT_MAX && paths[n] != nullptr) ++n;
    return n;
}
