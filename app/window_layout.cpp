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
