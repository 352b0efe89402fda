// Screenshots of the real program for the README's gallery, taken by
// scripts/gallery.sh under Wine: vitrelle-gallery NAME writes NAME.bmp into
// the current folder. The program runs from %VITRELLE_CHECK_FOLDER%, a copy
// the shots may change.
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

// Writes the screen's pixels inside the area as a 24-bit BMP file.
bool SaveScreenArea(const RECT& area, const char* path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(size_t(stride) * height);
  const bool read = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                              DIB_RGB_COLORS) == height;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!read) return false;

  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
  BITMAPFILEHEADER file = {0x4D42, DWORD(offset + pixels.size()), 0, 0, offset};
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                 std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return std::fclose(out) == 0 && written;
}

bool SaveWindowShot(HWND window, const char* path) {
  RECT area;
  GetWindowRect(window, &area);
  return Expect(SaveScreenArea(area, path), std::string("the screenshot ") + path + " is written");
}

std::wstring ProgramFolder() {
  wchar_t folder[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"VITRELLE_CHECK_FOLDER", folder, MAX_PATH);
  return folder;
}

// Starts the program and makes a picture, of the screen's size when asked;
// the main window, or null.
HWND StartAndMake(Program& program, bool screenSize = false) {
  const std::wstring folder = ProgramFolder();
  if (!Expect(StartProgramAt(program, folder + L"\\vitrelle.exe", folder), "the program starts")) return nullptr;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return nullptr;
  if (screenSize) {
    // The size list's last entry is the screen.
    HWND panel = nullptr;
    WaitUntil([&] { return (panel = FindChild(main, "#32770")) != nullptr; });
    if (!Expect(panel != nullptr, "the panel appears")) return nullptr;
    if (!ChooseLastSize(panel)) return nullptr;
  }
  SendCommand(main, IDM_MAKE);
  if (!Expect(WaitUntil([&] { return WindowText(main) == "Vitrelle -No title-"; }), "Make shows a new picture")) {
    return nullptr;
  }
  Sleep(500);  // let the window repaint
  return main;
}

// The main window with a picture and the full panel; with a picture of the
// screen's size, the window fills the screen and its view is scrolled a
// little way in.
bool MainWindowShotOf(const char* path, bool screenSize) {
  Program program;
  HWND main = StartAndMake(program, screenSize);
  if (!main) return false;
  HWND view = FindChild(main, "VTRCHILD");
  if (screenSize && view) {
    for (int i = 0; i < 6; ++i) PostMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
    for (int i = 0; i < 10; ++i) PostMessageA(view, WM_HSCROLL, SB_LINEDOWN, 0);
  }
  SetForegroundWindow(main);
  Sleep(800);
  const bool ok = SaveWindowShot(main, path);
  return CloseProgram(program, main) && ok;
}

bool MainWindowShot() { return MainWindowShotOf("main-window.bmp", false); }
bool ScreenMakeShot() { return MainWindowShotOf("screen-make.bmp", true); }

// The GIF options dialog, opened by Save As with "GIF (with option)", over
// the main window; then cancelled.
bool GifOptionsShot() {
  Program program;
  HWND main = StartAndMake(program);
  if (!main) return false;
  SendCommand(main, IDM_SAVE_AS);
  if (!Expect(FillFileDialog(program, "Save file", ScenarioFolder() + "shot.gif", 3), "the Save dialog takes a name")) {
    return false;
  }
  HWND options = WaitForDialog(program, "GIF Save Option");
  if (!Expect(options != nullptr, "the GIF options dialog opens")) return false;
  // Centre the dialog over the picture, as a person would look at it.
  RECT dialog, window, area;
  GetWindowRect(options, &dialog);
  GetWindowRect(main, &window);
  SetWindowPos(options, nullptr, window.right - (dialog.right - dialog.left) - 40, window.top + 120, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  Sleep(500);
  GetWindowRect(options, &dialog);
  UnionRect(&area, &window, &dialog);
  bool ok = Expect(SaveScreenArea(area, "gif-options.bmp"), "the screenshot gif-options.bmp is written");
  ClickButton(options, IDCANCEL);
  ok &= Expect(WaitForClose(options), "Cancel closes the dialog");
  return CloseProgram(program, main) && ok;
}

// The whole (virtual) desktop after Tile; run inside a Wine desktop window.
bool TiledDesktopShot() {
  Program program;
  HWND main = StartAndMake(program);
  if (!main) return false;
  SendCommand(main, IDM_TILE);
  Sleep(1500);
  // The wallpaper stays when the program ends: the desktop alone is shown.
  const bool closed = CloseProgram(program, main);
  Sleep(1000);
  return closed && Expect(SaveScreenArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                                         "tiled-desktop.bmp"),
                          "the desktop screenshot is written");
}

}  // namespace

VITRELLE_SCENARIO("gif-options", GifOptionsShot);
VITRELLE_SCENARIO("main-window", MainWindowShot);
VITRELLE_SCENARIO("screen-make", ScreenMakeShot);
VITRELLE_SCENARIO("tiled-desktop", TiledDesktopShot);
