// blink_sprite_test's facts: its window, its running character, and its
// exit statuses. It draws blink_test's cross-fade (blink_test.h) first,
// and its character over it, keyed as the cross-fade is. The program, the
// tool that draws its pictures and its tests read them here.
#ifndef ANIM_BLINK_SPRITE_TEST_H
#define ANIM_BLINK_SPRITE_TEST_H

#include "blink_test.h"

namespace blink_sprite_test {

inline constexpr const char* kName = "blink_sprite_test";

// The window, filled white once: the cross-fade covers its top left corner.
constexpr int kWidth = 150;
constexpr int kHeight = 100;
constexpr Colour kFill{255, 255, 255};

// The running character: ten frames in a cycle, one a frame, at (kRunnerX,
// kRunnerY) in the window.
inline constexpr const char* const kRunner[] = {"x02.bmp", "x03.bmp", "x04.bmp", "x05.bmp", "x06.bmp", "x07.bmp",
                                                "x08.bmp", "x09.bmp", "x10.bmp", "x11.bmp", nullptr};
constexpr int kRunnerX = 50;
constexpr int kRunnerY = 0;

// Exit status when the character cannot be made (the cross-fade's, made
// first, is blink_test's).
constexpr int kRunnerFailureStatus = 2;

}  // namespace blink_sprite_test

#endif
