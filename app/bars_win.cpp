#include "app/bars_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/layout_win.h"
#include "app/window_layout.h"
#include "resources/resource.h"

namespace {

constexpr int kToolbarImages = 7;

struct ToolbarEntry {
  int image;  // -1 for a separator
  int command;
};

constexpr ToolbarEntry kToolbarEntries[] = {
    {-1, 0},       {0, IDM_OPEN},   {-1, 0},         {1, IDM_SAVE_AS}, {-1, 0},         {2, IDM_MAKE},
    {-1, 0},       {3, IDM_TILE},   {4, IDM_CENTER}, {5, IDM_CLEAR},   {-1, 0},         {6, IDM_HELP},
};

// Two parts: the first ends at firstEdge, the second at 2000 pixels.
void SetStatusParts(HWND statusBar, int firstEdge) {
  int rightEdges[] = {firstEdge, 2000};
  SendMessageA(statusBar, SB_SETPARTS, std::size(rightEdges), reinterpret_cast<LPARAM>(rightEdges));
}

}  // namespace

// The strip of button images with its grey mapped to the button face, each
// pixel repeated to the DPI's size so that the drawn images stay crisp. The
// toolbar draws from it but does not delete it.
HBITMAP ToolbarStrip(HINSTANCE instance, int dpi) {
  HBITMAP strip = CreateMappedBitmap(instance, IDB_TOOLBAR, 0, nullptr, 0);
  if (!strip || dpi == kStandardDpi) return strip;
  BITMAP size = {};
  GetObjectA(strip, sizeof size, &size);
  const int width = ScaledToDpi(size.bmWidth, dpi), height = ScaledToDpi(size.bmHeight, dpi);
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ oldFrom = SelectObject(from, strip), oldTo = SelectObject(to, scaled);
  SetStretchBltMode(to, COLORONCOLOR);
  StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  ReleaseDC(nullptr, screen);
  DeleteObject(strip);
  return scaled;
}

void CreateToolbar(AppState& state) {
  const int dpi = WindowDpi(state.mainWindow);
  const auto scaled = [dpi](int pixels) { return ScaledToDpi(pixels, dpi); };
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | TBSTYLE_TOOLTIPS | CCS_ADJUSTABLE | CCS_NORESIZE,
                                 0, 0, GetSystemMetrics(SM_CXSCREEN), scaled(28), state.mainWindow,
                                 reinterpret_cast<HMENU>(IDC_TOOLBAR), state.instance, nullptr);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(scaled(16), scaled(16)));
  SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(scaled(24), scaled(22)));
  state.toolbarStrip = ToolbarStrip(state.instance, dpi);
  TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(state.toolbarStrip)};
  SendMessageA(toolbar, TB_ADDBITMAP, kToolbarImages, reinterpret_cast<LPARAM>(&bitmap));

  TBBUTTON buttons[std::size(kToolbarEntries)] = {};
  for (size_t i = 0; i < std::size(kToolbarEntries); ++i) {
    const ToolbarEntry& entry = kToolbarEntries[i];
    buttons[i].iBitmap = entry.image < 0 ? 0 : entry.image;
    buttons[i].idCommand = entry.command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = entry.image < 0 ? BTNS_SEP : BTNS_BUTTON;
  }
  SendMessageA(toolbar, TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  ShowWindow(toolbar, SW_SHOW);
  state.toolbar = toolbar;
}

void DestroyToolbar(AppState& state) {
  if (state.toolbar) DestroyWindow(state.toolbar);
  if (state.toolbarStrip) DeleteObject(state.toolbarStrip);
  state.toolbar = nullptr;
  state.toolbarStrip = nullptr;
}

HWND CreateStatusBar(const AppState& state) {
  HWND statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   state.mainWindow, reinterpret_cast<HMENU>(IDC_STATUS_BAR), state.instance, nullptr);
  SetStatusParts(statusBar, ScaledToDpi(150, WindowDpi(state.mainWindow)));
  ShowWindow(statusBar, SW_SHOW);
  return statusBar;
}

// The toolbar asks in the main window's character set, or in Unicode when
// it was told to.
void AnswerTooltipRequest(const AppState& state, NMHDR* notification) {
  const UINT_PTR textId = notification->idFrom + 1000;
  if (notification->code == TTN_NEEDTEXTA) {
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(notification);
    request->hinst = state.instance;
    request->lpszText = MAKEINTRESOURCEA(textId);
  } else if (notification->code == TTN_NEEDTEXTW) {
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(notification);
    request->hinst = state.instance;
    request->lpszText = MAKEINTRESOURCEW(textId);
  }
}

// The first part is 150 pixels wide (at 100 %), or as wide as its text needs
// with the status bar's font, so that the text is never cut.
void ShowStatusText(const AppState& state, const std::string& text) {
  HDC dc = GetDC(state.statusBar);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(state.statusBar, WM_GETFONT, 0, 0)));
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(state.statusBar, dc);
  const int dpi = WindowDpi(state.mainWindow);
  SetStatusParts(state.statusBar, std::max(ScaledToDpi(150, dpi), int(extent.cx) + ScaledToDpi(16, dpi)));
  SendMessageA(state.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
