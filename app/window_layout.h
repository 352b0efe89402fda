// Where the main window's children go: the window is fitted around the
// Pattern panel and the picture, which keep their sizes.
#pragma once

struct WindowLayout {
  int windowWidth, windowHeight;  // outer size of the main window
  int panelX, panelY;             // the panel's top-left corner, client coordinates
  int viewX, viewY, viewWidth, viewHeight;  // the image view, border included
};

// The DPI at which the layout's pixel constants hold as written (100 %).
constexpr int kStandardDpi = 96;

// A length in pixels at 100 %, in pixels at the given DPI.
int ScaledToDpi(int pixels, int dpi);

// frameWidth/Height: the main window's outer size minus its client size.
// The gaps and the minimum width grow with the DPI; the picture keeps its
// size in device pixels.
WindowLayout ComputeLayout(int frameWidth, int frameHeight, int panelWidth, int panelHeight, int imageWidth,
                           int imageHeight, int dpi = kStandardDpi);
