// program_shell: the start-up and event step that every program shares, and
// the facts the programs have in common.
//
//   open_display     init SDL, caption and open the window, fill it once
//   poll_run_flag    take at most one event; a quit clears the run flag
//   report_failure   print one line naming what failed and SDL's reason
#ifndef ANIM_PROGRAM_SHELL_H
#define ANIM_PROGRAM_SHELL_H

#include <SDL.h>

// The title of every program's window (and of its page in a browser).
inline constexpr const char* kCaption = "Blink Test";

// Bits a pixel of every program's window.
constexpr int kDepth = 32;

// The fixed pause that ends every frame, in milliseconds.
constexpr Uint32 kFramePauseMs = 50;

// Exit status of a program whose window cannot be opened.
constexpr int kWindowFailureStatus = 1;

// A colour, as the toolkit's creations take it: red, green, blue.
struct Colour {
    Uint8 r, g, b;
};

// Initialises SDL with `init_flags`, captions the window with kCaption,
// opens a `width` x `height` window at kDepth bits (hardware surface, double
// buffered) and fills it once with `fill`. Returns the display surface,
// which SDL owns; or null when SDL cannot start or open the window, after
// printing the reason on stderr and shutting SDL down.
SDL_Surface* open_display(const char* program, Uint32 init_flags, int width, int height, Colour fill);

// Takes at most one event from SDL's queue into `event` and returns the new
// run flag: 0 when the event is a quit, `running` otherwise. The queue is not
// drained, so events behind the first wait for later frames.
int poll_run_flag(SDL_Event* event, int running);

// Prints "<program>: <what>: <SDL_GetError()>" on stderr.
void report_failure(const char* program, const char* what);

#endif
