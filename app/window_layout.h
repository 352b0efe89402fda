// Where the main window's children go: the window is fitted around the
// Pattern panel and the picture, which keep their sizes.
#pragma once

struct WindowLayout {
  int windowWidth, windowHeight;  // outer size of the main window
  int panelX, panelY;             // the panel's top-left corner, client coordinates
  int viewX, viewY, viewWidth, viewHeight;  // the image view, border included
};

// frameWidth/Height: the main window's outer size minus its client size.
WindowLayout ComputeLayout(int frameWidth, int frameHeight, int panelWidth, int panelHeight, int imageWidth,
                           int imageHeight);
