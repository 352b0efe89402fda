// The image view: a white child window that shows the current image 1:1 and
// scrolls through it when the image is larger than the view.
#pragma once

#include <windows.h>

#include "app/app_state_win.h"

constexpr const char* kImageViewClass = "VTRCHILD";

LRESULT CALLBACK ImageViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);
// Created at size zero; the layout places it.
HWND CreateImageView(AppState& state);

// The scroll bars for the view's size and the image's: shown only where the
// image does not fit, the positions kept within it.
void UpdateImageViewScrollBars(const AppState& state);

// A new image: shown from its top-left corner.
void ShowImageFromStart(const AppState& state);

// The wheel turned over the main window: the view scrolls as for its own wheel.
void ScrollImageViewByWheel(const AppState& state, UINT message, WPARAM wParam);
