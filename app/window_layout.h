// Where the main window's children go: the window is fitted around the
// Pattern panel and the picture, as far as the work area of its monitor
// allows; the view shows what room it gets of the picture and scrolls.
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
// size in device pixels. This is the layout with room for all of the picture.
WindowLayout ComputeLayout(int frameWidth, int frameHeight, int panelWidth, int panelHeight, int imageWidth,
                           int imageHeight, int dpi = kStandardDpi);

struct ScreenRect {
  int left, top, right, bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// The main window's place: the outer size the layout asks for, but no more
// than the work area, where a direction cut short makes room for the scroll
// bar the view then needs across the other. The window moves only as far as
// it must to lie within the work area.
ScreenRect PlaceOnWorkArea(const ScreenRect& window, const WindowLayout& wanted, const ScreenRect& workArea,
                           int barWidth, int barHeight);

// The image view in a client area of the given size: the picture's size
// plus border where there is room, else the room there is, with scroll bars
// inside where the picture does not fit.
struct ViewBox {
  int width, height;  // border and scroll bars included
  bool horizontalBar, verticalBar;
};
ViewBox FitView(const WindowLayout& wanted, int clientWidth, int clientHeight, int dpi, int barWidth, int barHeight);
