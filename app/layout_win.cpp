#include "app/layout_win.h"

#include "app/window_layout.h"

int WindowDpi(HWND window) {
  // GetDpiForWindow exists from Windows 10 on; asked for by name, so that the
  // program still starts on older systems.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (dpiForWindow) {
    if (const UINT dpi = dpiForWindow(window)) return int(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kStandardDpi;
}

void LayoutWindows(const AppState& state) {
  RECT client, outer;
  GetClientRect(state.mainWindow, &client);
  GetWindowRect(state.mainWindow, &outer);
  RECT panel = {};
  if (state.patternPanel) GetClientRect(state.patternPanel, &panel);
  const WindowLayout layout =
      ComputeLayout(int((outer.right - outer.left) - client.right), int((outer.bottom - outer.top) - client.bottom),
                    int(panel.right), int(panel.bottom), state.imageWidth, state.imageHeight,
                    WindowDpi(state.mainWindow));

  SetWindowPos(state.mainWindow, nullptr, 0, 0, layout.windowWidth, layout.windowHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
  if (state.patternPanel) {
    SetWindowPos(state.patternPanel, nullptr, layout.panelX, layout.panelY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  }
  MoveWindow(state.imageView, layout.viewX, layout.viewY, layout.viewWidth, layout.viewHeight, FALSE);
}
