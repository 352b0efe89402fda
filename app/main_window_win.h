// The main window: frame of the toolbar, the status bar, the Pattern panel
// and the image view. Every user action reaches its procedure as a command.
#pragma once

#include <windows.h>

#include "app/app_state_win.h"

constexpr const char* kMainWindowClass = "vitrelle";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Titled with the product name, 400 x 600 at the default position until its
// creation lays it out; not yet shown.
HWND CreateMainWindow(AppState& state);
