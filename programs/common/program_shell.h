// program_shell: the start-up and event step that every program shares.
//
//   open_display     init SDL, caption and open the window, fill it once
//   poll_run_flag    take at most one event; a quit clears the run flag
//   report_failure   print one line naming what failed and SDL's reason
#ifndef ANIM_PROGRAM_SHELL_H
#define ANIM_PROGRAM_SHELL_H

#include "anim_programs.h"

#include <SDL.h>

// The fixed pause that ends every frame, in milliseconds.
constexpr Uint32 kFramePauseMs = anim_programs::kPauseMs;

// Exit status of a program whose window cannot be opened.
constexpr int kWindowFailureStatus = anim_programs::kWindowFailureStatus;

// Initialises SDL with `init_flags`, captions the window with the programs'
// caption, opens a `width` x `height` window at the programs' depth
// (hardware surface, double buffered) and fills it once with (r, g, b).
// Returns the display surface, which SDL owns; or null when SDL cannot start
// or open the window, after printing the reason on stderr and shutting SDL
// down.
SDL_Surface* open_display(const char* program, Uint32 init_flags, int width, int height, Uint8 r, Uint8 g, Uint8 b);

// Takes at most one event from SDL's queue into `event` and returns the new
// run flag: 0 when the event is a quit, `running` otherwise. The queue is not
// drained, so events behind the first wait for later frames.
int poll_run_flag(SDL_Event* event, int running);

// Prints "<program>: <what>: <SDL_GetError()>" on stderr.
void report_failure(const char* program, const char* what);

#endif
