#include "app/window_layout.h"

#include <algorithm>

int ScaledToDpi(int pixels, int dpi) { return (pixels * dpi + kStandardDpi / 2) / kStandardDpi; }

WindowLayout ComputeLayout(int frameWidth, int frameHeight, int panelWidth, int panelHeight, int imageWidth,
                           int imageHeight, int dpi) {
  const auto scaled = [dpi](int pixels) { return ScaledToDpi(pixels, dpi); };
  WindowLayout layout;
  layout.windowWidth = std::max(frameWidth + panelWidth + imageWidth + scaled(30), scaled(350));
  layout.windowHeight = std::max(frameHeight + panelHeight + scaled(60), frameHeight + imageHeight + scaled(80));
  layout.panelX = scaled(4);
  layout.panelY = scaled(34);
  // Below the toolbar, right of the panel; 2 pixels more for the view's border.
  layout.viewX = panelWidth + scaled(20);
  layout.viewY = scaled(54);
  layout.viewWidth = imageWidth + 2;
  layout.viewHeight = imageHeight + 2;
  return layout;
}

// Moves [start, start + length) into [low, high) as far as it must; the low
// end wins when it cannot fit.
static int KeptWithin(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

ScreenRect PlaceOnWorkArea(const ScreenRect& window, const WindowLayout& wanted, const ScreenRect& workArea,
                           int barWidth, int barHeight) {
  int width = wanted.windowWidth, height = wanted.windowHeight;
  const bool narrowed = width > workArea.Width(), lowered = height > workArea.Height();
  if (narrowed) height += barHeight;
  if (lowered) width += barWidth;
  width = std::min(width, workArea.Width());
  height = std::min(height, workArea.Height());
  const int left = KeptWithin(window.left, width, workArea.left, workArea.right);
  const int top = KeptWithin(window.top, height, workArea.top, workArea.bottom);
  return {left, top, left + width, top + height};
}

ViewBox FitView(const WindowLayout& wanted, int clientWidth, int clientHeight, int dpi, int barWidth, int barHeight) {
  // The gaps right of and below the view that ComputeLayout leaves.
  const int rightGap = ScaledToDpi(30, dpi) - ScaledToDpi(20, dpi) - 2;
  const int bottomGap = ScaledToDpi(80, dpi) - ScaledToDpi(54, dpi) - 2;
  const int roomWidth = std::max(0, clientWidth - wanted.viewX - rightGap);
  const int roomHeight = std::max(0, clientHeight - wanted.viewY - bottomGap);
  ViewBox box;
  box.horizontalBar = wanted.viewWidth > roomWidth;
  box.verticalBar = wanted.viewHeight > roomHeight;
  // A bar across one direction takes room from the other.
  if (box.horizontalBar && !box.verticalBar) box.verticalBar = wanted.viewHeight + barHeight > roomHeight;
  if (box.verticalBar && !box.horizontalBar) box.horizontalBar = wanted.viewWidth + barWidth > roomWidth;
  box.width = std::min(wanted.viewWidth + (box.verticalBar ? barWidth : 0), roomWidth);
  box.height = std::min(wanted.viewHeight + (box.horizontalBar ? barHeight : 0), roomHeight);
  return box;
}
