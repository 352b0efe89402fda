// The start-up entry of vitrelle.exe: registers the window classes, creates
// the main window and runs the message loop until the main window is gone.
#include <windows.h>

#include "app/app_state_win.h"
#include "app/image_view_win.h"
#include "app/main_window_win.h"
#include "resources/resource.h"

static void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, HICON icon,
                                HBRUSH background) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

static void RegisterWindowClasses(HINSTANCE instance) {
  RegisterWindowClass(instance, kMainWindowClass, MainWindowProc, LoadIconA(instance, kResourceName),
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  RegisterWindowClass(instance, kImageViewClass, ImageViewProc, nullptr,
                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// Each message goes first to the accelerator table, then to the modeless
// Pattern panel (keyboard navigation), and only then to its window.
static int RunMessageLoop(const AppState& state, HACCEL accelerators) {
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (accelerators && TranslateAcceleratorA(state.mainWindow, accelerators, &message)) continue;
    if (state.patternPanel && IsDialogMessageA(state.patternPanel, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  RegisterWindowClasses(instance);
  AppState state;
  state.instance = instance;
  // Without a main window nothing could ever end the message loop.
  if (!CreateMainWindow(state)) return 1;
  ShowWindow(state.mainWindow, show);
  return RunMessageLoop(state, LoadAcceleratorsA(instance, kResourceName));
}
