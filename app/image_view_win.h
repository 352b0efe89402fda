// The image view: a white child window that shows the current image 1:1.
#pragma once

#include <windows.h>

#include "app/app_state_win.h"

constexpr const char* kImageViewClass = "VTRCHILD";

LRESULT CALLBACK ImageViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);
// Created at size zero; the layout places it.
HWND CreateImageView(AppState& state);
