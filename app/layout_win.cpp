#include "app/layout_win.h"

#include "app/image_view_win.h"
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

namespace {

// The layout with room for the whole picture, for the window as it is now.
WindowLayout WantedLayout(const AppState& state) {
  RECT client, outer;
  GetClientRect(state.mainWindow, &client);
  GetWindowRect(state.mainWindow, &outer);
  RECT panel = {};
  if (state.patternPanel) GetClientRect(state.patternPanel, &panel);
  return ComputeLayout(int((outer.right - outer.left) - client.right), int((outer.bottom - outer.top) - client.bottom),
                       int(panel.right), int(panel.bottom), state.imageWidth, state.imageHeight,
                       WindowDpi(state.mainWindow));
}

ScreenRect ScreenRectOf(const RECT& rect) {
  return {int(rect.left), int(rect.top), int(rect.right), int(rect.bottom)};
}

ScreenRect WorkAreaOf(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return ScreenRectOf(monitor.rcWork);
  }
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return ScreenRectOf(work);
}

}  // namespace

void LayoutWindows(const AppState& state) {
  const WindowLayout wanted = WantedLayout(state);
  if (!IsZoomed(state.mainWindow)) {
    RECT outer;
    GetWindowRect(state.mainWindow, &outer);
    const ScreenRect placed = PlaceOnWorkArea(ScreenRectOf(outer), wanted, WorkAreaOf(state.mainWindow),
                                              GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
    SetWindowPos(state.mainWindow, nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
                 SWP_NOZORDER | SWP_NOREDRAW);
  }
  if (state.patternPanel) {
    SetWindowPos(state.patternPanel, nullptr, wanted.panelX, wanted.panelY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  }
  PlaceImageView(state);
}

void PlaceImageView(const AppState& state) {
  if (!state.imageView) return;
  const WindowLayout wanted = WantedLayout(state);
  RECT client;
  GetClientRect(state.mainWindow, &client);
  const ViewBox box = FitView(wanted, int(client.right), int(client.bottom), WindowDpi(state.mainWindow),
                              GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
  MoveWindow(state.imageView, wanted.viewX, wanted.viewY, box.width, box.height, TRUE);
  UpdateImageViewScrollBars(state);
}
