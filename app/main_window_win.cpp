#include "app/main_window_win.h"

#include "app/image_view_win.h"
#include "app/layout_win.h"
#include "app/text_lookup_win.h"
#include "base/texts.h"

static void OnCreate(HWND window, AppState& state) {
  state.mainWindow = window;
  state.imageView = CreateImageView(state);
  LayoutWindows(state);
}

// Frees what the program holds, then takes the windows down: the children
// first, the main window last (its WM_DESTROY ends the message loop).
static void OnClose(AppState& state) {
  ReleaseDibImage(state.currentImage);
  if (state.displayPalette) {
    DeleteObject(state.displayPalette);
    state.displayPalette = nullptr;
  }
  for (HWND* child : {&state.patternPanel, &state.imageView}) {
    if (*child) DestroyWindow(*child);
    *child = nullptr;
  }
  DestroyWindow(state.mainWindow);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      AttachAppState(window, lParam);
      break;
    case WM_CREATE:
      OnCreate(window, *AppStateOf(window));
      return 0;
    case WM_CLOSE:
      OnClose(*AppStateOf(window));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMainWindow(AppState& state) {
  const std::string title = LoadText(state.instance, IDS_PRODUCT_NAME);
  return CreateWindowExA(WS_EX_ACCEPTFILES, kMainWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, 400, 600, nullptr, nullptr, state.instance, &state);
}
