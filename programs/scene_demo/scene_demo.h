// scene_demo's facts: its view onto a world twice as wide, its keys, its
// exit status, and its 26 pictures by their paths in the program's folder.
// The program and its scene, the tool that draws its pictures and its tests
// read them here.
#ifndef ANIM_SCENE_DEMO_H
#define ANIM_SCENE_DEMO_H

#include "program_shell.h"

namespace scene_demo {

inline constexpr const char* kName = "scene_demo";

// The view, which is the window, filled white once; the world it scrolls
// over.
constexpr int kViewWidth = 256;
constexpr int kViewHeight = 256;
constexpr Colour kFill{255, 255, 255};
constexpr int kWorldWidth = 512;

// The decors' key colour, and the sprites'.
constexpr Colour kDecorKey{0, 0, 0};
constexpr Colour kSpriteKey{255, 255, 255};

// Exit status when the view, the world or the scene cannot be made.
constexpr int kSceneFailureStatus = 1;

namespace pictures {

inline constexpr const char* kBackground = "./Ressources/background/background.bmp";  // 256 x 256, behind everything
inline constexpr const char* kPlatform = "./Ressources/background/plateform.bmp";     // the ground, 512 wide
inline constexpr const char* kIcePeak = "./Ressources/background/icepeak.bmp";
inline constexpr const char* kSnow = "./Ressources/background/snow.bmp";  // loaded, never shown
inline constexpr const char* kLantern = "./Ressources/background/blink1_1.bmp";
inline constexpr const char* kLanternGlow = "./Ressources/background/blink1_2.bmp";
inline constexpr const char* kCrystals = "./Ressources/background/blink2_1.bmp";
inline constexpr const char* kCrystalsGlow = "./Ressources/background/blink2_2.bmp";
inline constexpr const char* kRunning[] = {"./Ressources/x_running/x02.bmp", "./Ressources/x_running/x03.bmp",
                                           "./Ressources/x_running/x04.bmp", "./Ressources/x_running/x05.bmp",
                                           "./Ressources/x_running/x06.bmp", "./Ressources/x_running/x07.bmp",
                                           "./Ressources/x_running/x08.bmp", "./Ressources/x_running/x09.bmp",
                                           "./Ressources/x_running/x10.bmp", "./Ressources/x_running/x11.bmp"};
inline constexpr const char* kWaiting[] = {"./Ressources/x_waiting/x_waiting1.bmp",
                                           "./Ressources/x_waiting/x_waiting2.bmp",
                                           "./Ressources/x_waiting/x_waiting3.bmp"};
inline constexpr const char* kClosedBalloon[] = {
    "./Ressources/balloon/balloon1.bmp", "./Ressources/balloon/balloon2.bmp", "./Ressources/balloon/balloon3.bmp"};
inline constexpr const char* kOpenBalloon[] = {"./Ressources/balloon/openballoon1.bmp",
                                               "./Ressources/balloon/openballoon2.bmp"};

}  // namespace pictures

}  // namespace scene_demo

#endif
