// Pictures the size of the screen: the size list's Screen entry, Make with
// it, a main window that stays on the screen, and a view that scrolls. Run
// on a screen of 1920 x 1080 (scripts/e2e.sh gives the screen-* scenarios
// a display of that size).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;

// The part of a picture (top row first) that starts at (left, top).
std::vector<uint32_t> Cut(const std::vector<uint32_t>& picture, int pictureWidth, int left, int top, SIZE size) {
  std::vector<uint32_t> part;
  for (int y = top; y < top + size.cy; ++y) {
    part.insert(part.end(), picture.begin() + ptrdiff_t(y) * pictureWidth + left,
                picture.begin() + ptrdiff_t(y) * pictureWidth + left + size.cx);
  }
  return part;
}

// The wheel turned by `notches` (positive away from the user), with Shift
// held when sideways.
void TurnWheel(int notches, bool sideways) {
  std::vector<INPUT> inputs;
  if (sideways) inputs.push_back(KeyInput(VK_SHIFT, false));
  for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) {
    INPUT wheel = MouseInput(MOUSEEVENTF_WHEEL);
    wheel.mi.mouseData = DWORD(notches < 0 ? -WHEEL_DELTA : WHEEL_DELTA);
    inputs.push_back(wheel);
  }
  if (sideways) inputs.push_back(KeyInput(VK_SHIFT, true));
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(200);
}

bool WithinWorkArea(HWND window) {
  RECT work = {}, outer = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(window, &outer);
  return outer.left >= work.left && outer.top >= work.top && outer.right <= work.right && outer.bottom <= work.bottom;
}

// The size list ends with "Screen (1920 x 1080)"; Make with it gives a
// picture of the screen's size in a window that stays on the screen, and
// the view shows every part of it: scrolled by End to the bottom right, by
// the wheel to the top, by Shift and the wheel to the left.
bool ScreenSizeMakesAScrollingPicture() {
  if (!ExpectEqual(GetSystemMetrics(SM_CXSCREEN), kScreenWidth, "the screen's width") ||
      !ExpectEqual(GetSystemMetrics(SM_CYSCREEN), kScreenHeight, "the screen's height")) {
    return false;
  }
  const std::string folder = MakeProgramCopy("screen");
  Program program;
  HWND main = StartMainWindow(program, folder);
  if (!main) return false;
  HWND panel = nullptr;
  WaitUntil([&] { return (panel = FindChild(main, "#32770")) != nullptr; });
  HWND view = FindChild(main, "VTRCHILD"), status = FindChild(main, STATUSCLASSNAMEA);
  if (!Expect(panel && view && status, "the panel, the view and the status bar exist")) return false;

  const std::vector<std::string> sizes = ComboEntries(GetDlgItem(panel, IDC_SIZE_LIST));
  bool ok = ExpectEqual(sizes.empty() ? "" : sizes.back(), "Screen (1920 x 1080)", "the size list's last entry");
  const int screenEntry = int(sizes.size()) - 1;
  ok &= ChooseLastSize(panel);

  SendCommand(main, IDM_MAKE);
  ok &= Expect(WaitUntil([&] { return WindowText(main) == "Vitrelle -No title-"; }), "Make shows a new picture");
  ok &= Expect(WindowText(status).rfind("Image Info.(1920x1080 ", 0) == 0, "the status: " + WindowText(status));
  const std::string stateLine = FileBytes(folder + "\\vitrelle.cfg").substr(0, 80);
  ok &= Expect(stateLine.rfind("0," + std::to_string(screenEntry) + ",", 0) == 0, "the state line keeps the Screen entry: " + stateLine);
  ok &= Expect(stateLine.find(",1920,1080,") != std::string::npos, "the state line holds the size: " + stateLine);
  ok &= Expect(WithinWorkArea(main), "the main window stays within the work area");

  int width = 0, height = 0;
  const std::vector<uint32_t> picture = CopiedColors(main, &width, &height);
  if (!Expect(width == kScreenWidth && height == kScreenHeight, "the picture is 1920 x 1080")) return false;

  const SIZE shown = ClientSize(view);
  ok &= Expect(shown.cx > 0 && shown.cy > 0 && shown.cx < width && shown.cy < height,
               "the view shows a part of the picture: " + std::to_string(shown.cx) + " x " + std::to_string(shown.cy));
  ok &= Expect(ScreenShows(view, shown.cx, shown.cy, Cut(picture, width, 0, 0, shown)), "the view shows the top left");

  ClickAt(ScreenPointOf(view, shown.cx / 2, shown.cy / 2));  // the view takes the focus
  Sleep(200);
  PressKey(main, VK_END);
  ok &= Expect(ScreenShows(view, shown.cx, shown.cy, Cut(picture, width, width - shown.cx, height - shown.cy, shown)),
               "End scrolls to the bottom right");
  TurnWheel(200, false);
  ok &= Expect(ScreenShows(view, shown.cx, shown.cy, Cut(picture, width, width - shown.cx, 0, shown)),
               "the wheel scrolls up to the top");
  TurnWheel(200, true);
  ok &= Expect(ScreenShows(view, shown.cx, shown.cy, Cut(picture, width, 0, 0, shown)),
               "Shift and the wheel scroll left to the start");

  // A window made smaller by hand: the view keeps within it and still scrolls.
  SetWindowPos(main, nullptr, 100, 100, 900, 700, SWP_NOZORDER);
  Sleep(300);
  RECT viewRect = {}, client = {};
  GetWindowRect(view, &viewRect);
  GetClientRect(main, &client);
  POINT clientEnd = {client.right, client.bottom};
  ClientToScreen(main, &clientEnd);
  ok &= Expect(viewRect.right <= clientEnd.x && viewRect.bottom <= clientEnd.y, "the view stays within the smaller window");
  const SIZE smaller = ClientSize(view);
  ok &= Expect(smaller.cx < shown.cx && smaller.cy < shown.cy, "the view gives up the room it lost");
  PressKey(main, VK_END);
  ok &= Expect(ScreenShows(view, smaller.cx, smaller.cy,
                           Cut(picture, width, width - smaller.cx, height - smaller.cy, smaller)),
               "End still reaches the bottom right");

  return CloseProgram(program, main) && ok;
}

}  // namespace

VITRELLE_SCENARIO("screen-make-and-scroll", ScreenSizeMakesAScrollingPicture);
