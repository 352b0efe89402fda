// Fits the main window around the Pattern panel and the current image, on
// the work area of its monitor, and gives the image view its room.
#pragma once

#include "app/app_state_win.h"

// The DPI of the window's monitor (of the system before Windows 10).
int WindowDpi(HWND window);

// Resizes the main window to hold the panel and the picture 1:1, but never
// past the work area of its monitor (moving it only as far as needed to stay
// on it); a maximised window keeps its place. Puts the panel at (4, 34) and
// the view beside it, the gaps scaled to the window's DPI.
// Nothing is repainted: callers hide the main window around the layout.
void LayoutWindows(const AppState& state);

// The view in the room the main window's client area gives it now, up to
// the picture's size plus its border; called whenever the window is sized.
void PlaceImageView(const AppState& state);
