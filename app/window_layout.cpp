#include "app/window_layout.h"

#include <algorithm>

WindowLayout ComputeLayout(int frameWidth, int frameHeight, int panelWidth, int panelHeight, int imageWidth,
                           int imageHeight) {
  WindowLayout layout;
  layout.windowWidth = std::max(frameWidth + panelWidth + imageWidth + 30, 350);
  layout.windowHeight = std::max(frameHeight + panelHeight + 60, frameHeight + imageHeight + 80);
  layout.panelX = 4;
  layout.panelY = 34;
  // Below the toolbar, right of the panel; 2 pixels more for the view's border.
  layout.viewX = panelWidth + 20;
  layout.viewY = 54;
  layout.viewWidth = imageWidth + 2;
  layout.viewHeight = imageHeight + 2;
  return layout;
}
