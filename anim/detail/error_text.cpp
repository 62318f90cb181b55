// error_text: long reasons, in pieces classic SDL keeps whole.
#include "anim/detail/error_text.h"

#include <SDL.h>

#include <cstdio>   // Required for: snprintf()
#include <cstring>  // Required for: strlen()

namespace anim::detail {

void set_error_text(const char* text)
{
    constexpr size_t kPiece = 127;
    char pieces[4][kPiece + 1] = {};
    const size_t length = strlen(text);
    for (size_t i = 0; i < 4 && i * kPiece < length; ++i)
        snprintf(pieces[i], sizeof pieces[i], "%.*s", static_cast<int>(kPiece), text + i * kPiece);
    SDL_SetError("%s%s%s%s", pieces[0], pieces[1], pieces[2], pieces[3]);
}

}  // namespace anim::detail
