// The shell-wide state of the Windows program: one record, made by the
// start-up entry and reached by each window procedure through its window.
#pragma once

#include <windows.h>

#include "image/dib_image.h"

struct AppState {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HWND imageView = nullptr;
  HWND patternPanel = nullptr;  // the modeless Pattern panel, once it exists
  DibImagePtr currentImage;
  HPALETTE displayPalette = nullptr;  // only on screens below 16 bits per pixel
  // The size the layout and the view work with: that of the current image.
  int imageWidth = 100;
  int imageHeight = 100;
};

// A window is created with the state as its creation parameter; its
// procedure stores it on WM_NCCREATE and finds it there afterwards.
inline void AttachAppState(HWND window, LPARAM createStruct) {
  auto* create = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

inline AppState* AppStateOf(HWND window) {
  return reinterpret_cast<AppState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
