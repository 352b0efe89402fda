#include "app/image_view_win.h"

#include "app/layout_win.h"
#include "app/view_scroll.h"
#include "app/window_layout.h"

namespace {

// A scroll line, in pixels at 100 %.
constexpr int kScrollLine = 20;

struct ViewAxis {
  int bar;     // SB_HORZ or SB_VERT
  int extent;  // the image's length along it
  int page;    // the view's client length along it
};

ViewAxis AxisOf(HWND view, const AppState& state, int bar) {
  RECT client;
  GetClientRect(view, &client);
  const bool across = bar == SB_HORZ;
  const int extent = state.currentImage ? (across ? state.imageWidth : state.imageHeight) : 0;
  return {bar, extent, int(across ? client.right : client.bottom)};
}

int ScrollLine(HWND view) { return ScaledToDpi(kScrollLine, WindowDpi(view)); }

void SetAxis(HWND view, const ViewAxis& axis, int position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = axis.extent > 0 ? axis.extent - 1 : 0;
  info.nPage = UINT(axis.page > 0 ? axis.page : 0);
  info.nPos = ClampScrollPosition(position, axis.extent, axis.page);
  SetScrollInfo(view, axis.bar, &info, TRUE);
}

// Moves one direction to a new position and repaints what it shows.
void ScrollTo(HWND view, const AppState& state, int bar, int position) {
  const ViewAxis axis = AxisOf(view, state, bar);
  position = ClampScrollPosition(position, axis.extent, axis.page);
  if (position == GetScrollPos(view, bar)) return;
  SetAxis(view, axis, position);
  InvalidateRect(view, nullptr, FALSE);
}

void Move(HWND view, const AppState& state, int bar, ScrollMove move) {
  const ViewAxis axis = AxisOf(view, state, bar);
  ScrollTo(view, state, bar, ScrollPositionAfter(GetScrollPos(view, bar), move, axis.extent, axis.page, ScrollLine(view)));
}

// A scroll bar's own request; a drag follows the thumb as it moves.
void OnScrollBar(HWND view, const AppState& state, int bar, int request) {
  switch (request) {
    case SB_LINEUP: Move(view, state, bar, ScrollMove::kLineBack); break;
    case SB_LINEDOWN: Move(view, state, bar, ScrollMove::kLineOn); break;
    case SB_PAGEUP: Move(view, state, bar, ScrollMove::kPageBack); break;
    case SB_PAGEDOWN: Move(view, state, bar, ScrollMove::kPageOn); break;
    case SB_TOP: Move(view, state, bar, ScrollMove::kToStart); break;
    case SB_BOTTOM: Move(view, state, bar, ScrollMove::kToEnd); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(view, bar, &info);
      ScrollTo(view, state, bar, info.nTrackPos);
      break;
    }
  }
}

// Arrows by lines, Page Up and Down by pages, Home and End to the corners.
bool OnKey(HWND view, const AppState& state, WPARAM key) {
  switch (key) {
    case VK_LEFT: Move(view, state, SB_HORZ, ScrollMove::kLineBack); return true;
    case VK_RIGHT: Move(view, state, SB_HORZ, ScrollMove::kLineOn); return true;
    case VK_UP: Move(view, state, SB_VERT, ScrollMove::kLineBack); return true;
    case VK_DOWN: Move(view, state, SB_VERT, ScrollMove::kLineOn); return true;
    case VK_PRIOR: Move(view, state, SB_VERT, ScrollMove::kPageBack); return true;
    case VK_NEXT: Move(view, state, SB_VERT, ScrollMove::kPageOn); return true;
    case VK_HOME:
    case VK_END: {
      const ScrollMove move = key == VK_HOME ? ScrollMove::kToStart : ScrollMove::kToEnd;
      Move(view, state, SB_HORZ, move);
      Move(view, state, SB_VERT, move);
      return true;
    }
  }
  return false;
}

// The wheel scrolls down and up, sideways with Shift held or by a tilt.
void OnWheel(HWND view, const AppState& state, UINT message, WPARAM wParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  const bool sideways = message == WM_MOUSEHWHEEL || (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT);
  UINT lines = 3;
  SystemParametersInfoA(sideways ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int linesPerNotch = lines == WHEEL_PAGESCROLL ? -1 : int(lines);
  const int bar = sideways ? SB_HORZ : SB_VERT;
  const ViewAxis axis = AxisOf(view, state, bar);
  // A tilt to the right is a positive delta and scrolls on.
  const int towardsStart = message == WM_MOUSEHWHEEL ? -delta : delta;
  ScrollTo(view, state, bar,
           WheelScrollPosition(GetScrollPos(view, bar), towardsStart, linesPerNotch, axis.extent, axis.page,
                               ScrollLine(view)));
}

// Draws the current image at its natural size, shifted by the scroll
// positions, through the display palette where the screen has one. Without
// an image only the white class background shows.
void PaintImageView(HWND view, const AppState& state) {
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
    SetDIBitsToDevice(dc, -GetScrollPos(view, SB_HORZ), -GetScrollPos(view, SB_VERT), state.imageWidth,
                      state.imageHeight, 0, 0, 0, state.imageHeight, DibPixels(image),
                      reinterpret_cast<const BITMAPINFO*>(image.start()), DIB_RGB_COLORS);
    if (previous) SelectPalette(dc, previous, FALSE);
  }
  EndPaint(view, &paint);
}

void UpdateScrollBars(HWND view, const AppState& state) {
  for (int bar : {SB_HORZ, SB_VERT}) SetAxis(view, AxisOf(view, state, bar), GetScrollPos(view, bar));
}

}  // namespace

void UpdateImageViewScrollBars(const AppState& state) { UpdateScrollBars(state.imageView, state); }

void ShowImageFromStart(const AppState& state) {
  HWND view = state.imageView;
  for (int bar : {SB_HORZ, SB_VERT}) SetAxis(view, AxisOf(view, state, bar), 0);
  InvalidateRect(view, nullptr, TRUE);
}

void ScrollImageViewByWheel(const AppState& state, UINT message, WPARAM wParam) {
  OnWheel(state.imageView, state, message, wParam);
}

LRESULT CALLBACK ImageViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      AttachAppState(view, lParam);
      break;
    case WM_PAINT:
      PaintImageView(view, *AppStateOf(view));
      return 0;
    case WM_SIZE:
      // Showing or hiding a bar sizes the view again, and comes back here.
      UpdateScrollBars(view, *AppStateOf(view));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScrollBar(view, *AppStateOf(view), message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      OnWheel(view, *AppStateOf(view), message, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(view);  // so that the keys scroll
      return 0;
    case WM_KEYDOWN:
      if (OnKey(view, *AppStateOf(view), wParam)) return 0;
      break;
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

HWND CreateImageView(AppState& state) {
  return CreateWindowExA(0, kImageViewClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL, 0, 0,
                         0, 0, state.mainWindow, nullptr, state.instance, &state);
}
