// blink_test's facts: its window, its pictures and how they cross-fade, and
// its exit status. The program, the tool that draws its pictures and its
// tests read them here.
#ifndef ANIM_BLINK_TEST_H
#define ANIM_BLINK_TEST_H

#include "program_shell.h"

namespace blink_test {

inline constexpr const char* kName = "blink_test";

// The window, filled black once.
constexpr int kWidth = 100;
constexpr int kHeight = 50;
constexpr Colour kFill{0, 0, 0};

// The cross-fade, at the window's top left corner: the backdrop, then each
// front fading in over it by kStep of alpha a frame, the next front over
// that one, and the backdrop fading back in, over and over. Magenta is
// transparent in every picture.
inline constexpr const char* kBackdrop = "img_fond.bmp";
inline constexpr const char* const kFronts[] = {"img_devant1.bmp", "img_devant2.bmp", "img_devant3.bmp", nullptr};
constexpr int kStep = 10;
constexpr Colour kKey{255, 0, 255};

// Exit status when the cross-fade cannot be made.
constexpr int kFadeFailureStatus = 42;

}  // namespace blink_test

#endif
