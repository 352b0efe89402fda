#include "tests/e2e/scenarios.h"

#include "base/texts.h"
#include "tests/e2e/driver.h"

namespace {

// The main window appears with its title, its image view shows the empty
// 100 x 100 start size inside a border, unknown commands change nothing, and
// closing the window ends the program with exit code 0.
bool MainWindowOpensAndCloses() {
  Program program;
  HWND main = StartMainWindow(program);
  if (!main) return false;

  bool ok = ExpectEqual(WindowText(main), "Vitrelle", "the main window's title");
  const LONG style = GetWindowLongA(main, GWL_STYLE), exStyle = GetWindowLongA(main, GWL_EXSTYLE);
  ok &= Expect((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW, "the main window is an overlapped window");
  ok &= Expect((exStyle & WS_EX_ACCEPTFILES) != 0, "the main window accepts dropped files");
  HWND view = FindChild(main, "VTRCHILD");
  if (Expect(view != nullptr, "the image view exists")) {
    const SIZE size = WindowSize(view);
    ok &= ExpectEqual(size.cx, 102, "the image view's width");
    ok &= ExpectEqual(size.cy, 102, "the image view's height");
  }

  SendCommand(main, 12345);
  ok &= ExpectEqual(WindowText(main), "Vitrelle", "the title after an unknown command");

  PostMessageA(main, WM_CLOSE, 0, 0);
  ok &= ExpectEqual(WaitForExit(program), 0, "the exit code after WM_CLOSE");
  return ok;
}

// Every numbered text reads back from the program's string table exactly as
// the C++ code has it: escapes, backslashes and percent signs included.
bool StringTableMatchesTexts() {
  const std::string exe = DriverFolder() + "\\vitrelle.exe";
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!Expect(module != nullptr, "vitrelle.exe loads as a data file")) return false;
  bool ok = true;
  char text[512];
#define VTR_TEXT(name, number, expected)                                        \
  {                                                                             \
    const int length = LoadStringA(module, number, text, sizeof text);          \
    ok &= ExpectEqual(std::string(text, length > 0 ? length : 0), TextOf(number), \
                      "string " #number);                                       \
  }
#include "resources/strings.def"
#undef VTR_TEXT
  FreeLibrary(module);
  return ok;
}

}  // namespace

VITRELLE_SCENARIO("main-window", MainWindowOpensAndCloses);
VITRELLE_SCENARIO("string-table", StringTableMatchesTexts);
