// Fits the main window around the Pattern panel and the current image.
#pragma once

#include "app/app_state_win.h"

// The DPI of the window's monitor (of the system before Windows 10).
int WindowDpi(HWND window);

// Resizes the main window (its top-left corner stays), puts the panel at
// (4, 34) and the image view beside it at the image's size plus its border,
// the gaps scaled to the window's DPI.
// Nothing is repainted: callers hide the main window around the layout.
void LayoutWindows(const AppState& state);
