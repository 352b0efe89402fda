#include "app/image_view_win.h"

// Draws the current image at its natural size in the top-left corner, through
// the display palette where the screen has one. Without an image only the
// white class background shows.
static void PaintImageView(HWND view, const AppState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(view, &paint);
  if (state.currentImage) {
    HPALETTE previous = nullptr;
    if (state.displayPalette) {
      previous = SelectPalette(dc, state.displayPalette, FALSE);
      RealizePalette(dc);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    const DibImage& image = *state.currentImage;
    SetDIBitsToDevice(dc, 0, 0, state.imageWidth, state.imageHeight, 0, 0, 0, state.imageHeight, DibPixels(image),
                      reinterpret_cast<const BITMAPINFO*>(image.start()), DIB_RGB_COLORS);
    if (previous) SelectPalette(dc, previous, FALSE);
  }
  EndPaint(view, &paint);
}

LRESULT CALLBACK ImageViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      AttachAppState(view, lParam);
      break;
    case WM_PAINT:
      PaintImageView(view, *AppStateOf(view));
      return 0;
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

HWND CreateImageView(AppState& state) {
  return CreateWindowExA(0, kImageViewClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, state.mainWindow,
                         nullptr, state.instance, &state);
}
