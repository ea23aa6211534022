// Small rules of the main window's size and of the mouse wheel.
#pragma once

// Lines scrolled per wheel notch from the system's setting: kept within 1..10 (0 and the page-scroll
// setting, a negative value here, give 1). Without a system setting the window keeps 3.
int ClampWheelScrollLines(int systemLines);
inline constexpr int kDefaultWheelScrollLines = 3;

// The main window's smallest size: a smaller proposed size is raised to it.
inline constexpr int kMinMainWidth = 680;
inline constexpr int kMinMainHeight = 550;
void CorrectMainWindowSize(int& width, int& height);
