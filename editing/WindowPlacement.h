// Window placements as the options keep them, read from a top-level window and applied to it: the main
// window's and the list window's.
#pragma once

#include "model/support/Prefs.h"

class QWidget;

// Where the window stands: its position and size unless it is maximized or minimized (then those of
// placement stay), and whether it is maximized.
SWindowPlacement PlacementOf(const QWidget& window, SWindowPlacement placement);
// Moves and sizes the window to a kept placement, maximized when it was; nothing for a placement without
// a size. correctSize, when given, may change the size first (the main window's smallest size).
void ApplyPlacement(QWidget& window, const SWindowPlacement& placement,
                    void (*correctSize)(int& width, int& height) = nullptr);
