// The start-up entry of vitrelle.exe: registers the window classes, creates
// the main window and runs the message loop until the main window is gone.
#include <windows.h>

#include "app/app_state_win.h"
#include "app/image_view_win.h"
#include "app/main_window_win.h"
#include "base/owner_win.h"
#include "app/shell_texts.h"
#include "base/texts.h"
#include "resources/resource.h"

static void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, HICON icon,
                                HBRUSH background, const char* menu) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszMenuName = menu;
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

static void RegisterWindowClasses(HINSTANCE instance) {
  RegisterWindowClass(instance, kMainWindowClass, MainWindowProc, LoadIconA(instance, kResourceName),
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), kResourceName);
  RegisterWindowClass(instance, kImageViewClass, ImageViewProc, nullptr,
                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr);
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

static bool IsExistingFile(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  RegisterWindowClasses(instance);
  static AppState state;  // large, and alive as long as the program
  state.instance = instance;
  state.owner = WindowOwner(&state.mainWindow);
  std::string fileName;
  const bool fits = FileNameFromCommandLine(commandLine, kFileToOpenSize, IsExistingFile, fileName);
  if (fits) lstrcpynA(state.fileToOpen, fileName.c_str(), kFileToOpenSize);
  state.patternPanel = nullptr;
  // Without a main window nothing could ever end the message loop.
  if (!CreateMainWindow(state)) return 1;
  ShowWindow(state.mainWindow, show);
  // A name too long for the file-to-open buffer is refused, never cut.
  if (!fits) OwnerWarn(&state.owner, TextOf(IDS_OPEN_FAILED), fileName.c_str());
  return RunMessageLoop(state, LoadAcceleratorsA(instance, kResourceName));
}
