#include "app/layout_win.h"

#include "app/window_layout.h"

void LayoutWindows(const AppState& state) {
  RECT client, outer;
  GetClientRect(state.mainWindow, &client);
  GetWindowRect(state.mainWindow, &outer);
  RECT panel = {};
  if (state.patternPanel) GetClientRect(state.patternPanel, &panel);
  const WindowLayout layout =
      ComputeLayout(int((outer.right - outer.left) - client.right), int((outer.bottom - outer.top) - client.bottom),
                    int(panel.right), int(panel.bottom), state.imageWidth, state.imageHeight);

  SetWindowPos(state.mainWindow, nullptr, 0, 0, layout.windowWidth, layout.windowHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
  if (state.patternPanel) {
    SetWindowPos(state.patternPanel, nullptr, layout.panelX, layout.panelY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  }
  MoveWindow(state.imageView, layout.viewX, layout.viewY, layout.viewWidth, layout.viewHeight, FALSE);
}
