// error_text: a reason of any length set as SDL's error, whole on every SDL
// (internal to the toolkit, not installed).
#ifndef ANIM_DETAIL_ERROR_TEXT_H
#define ANIM_DETAIL_ERROR_TEXT_H

namespace anim::detail {

// SDL_SetError("%s", text), whole up to 508 bytes: classic SDL 1.2 keeps
// 127 bytes of each argument of the message (and five arguments), so the
// text goes in pieces of that size.
void set_error_text(const char* text);

}  // namespace anim::detail

#endif
