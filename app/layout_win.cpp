#include "app/layout_win.h"

#include <algorithm>

void LayoutWindows(const AppState& state) {
  RECT client, outer;
  GetClientRect(state.mainWindow, &client);
  GetWindowRect(state.mainWindow, &outer);
  const int frameWidth = int((outer.right - outer.left) - client.right);
  const int frameHeight = int((outer.bottom - outer.top) - client.bottom);

  RECT panel = {};
  if (state.patternPanel) GetClientRect(state.patternPanel, &panel);
  const int panelWidth = int(panel.right), panelHeight = int(panel.bottom);

  const int width = std::max(frameWidth + panelWidth + state.imageWidth + 30, 350);
  const int height = std::max(frameHeight + panelHeight + 60, frameHeight + state.imageHeight + 80);
  SetWindowPos(state.mainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
  if (state.patternPanel) {
    SetWindowPos(state.patternPanel, nullptr, 4, 34, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  }
  MoveWindow(state.imageView, panelWidth + 20, 54, state.imageWidth + 2, state.imageHeight + 2, FALSE);
}
