#include "app/main_window_win.h"

#include <commctrl.h>

#include <ctime>

#include "app/bars_win.h"
#include "app/commands_win.h"
#include "app/display_palette_win.h"
#include "app/file_dialogs_win.h"
#include "app/history_win.h"
#include "app/image_view_win.h"
#include "app/layout_win.h"
#include "app/registry_store_win.h"
#include "app/settings_store.h"
#include "app/shell_texts.h"
#include "base/file_io.h"
#include "base/texts.h"
#include "generator/screen_sizes.h"
#include "plugins/plugin_library_win.h"
#include "resources/resource.h"

namespace {

// The full path of the running vitrelle.exe; empty when it does not fit
// into the longest path there is.
std::string RunningProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

// The program directory and the paths of the files beside the program. With
// no folder (a path too long for the system) there are no such files.
void FindProgramFiles(AppState& state) {
  const SettingsStore store = RegistrySettingsStore();
  state.programFolder = ProgramFolderOf(RunningProgramPath());
  StoreProgramFolder(store, state.programFolder);
  if (state.programFolder.empty()) return;
  state.helpFilePath = PathInFolder(state.programFolder, "vitrelle.hlp");
  state.patternFilePath = PathInFolder(state.programFolder, "vitrelle.cfg");
  state.pluginPattern = PathInFolder(state.programFolder, "*.spi");
}

void ChooseDetailsMode(AppState& state) {
  state.detailsMode = ReadDetailsMode(RegistrySettingsStore());
  CheckMenuItem(state.menu, IDM_DETAILS, MF_BYCOMMAND | (state.detailsMode ? MF_CHECKED : MF_UNCHECKED));
}

int MeasureScreenDepth() {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

void OnCreate(HWND window, AppState& state) {
  state.mainWindow = window;
  FindProgramFiles(state);
  state.currentImage.reset();
  state.displayPalette = nullptr;
  state.brightnessLevel = BrightnessLevel();
  state.gifOptions = GifSaveOptions();
  state.menu = GetMenu(window);
  AddRecipeItems(state.menu);

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  CreateToolbar(state);
  state.statusBar = CreateStatusBar(state);
  state.imageView = CreateImageView(state);
  ChooseDetailsMode(state);
  state.panelParams.screens = MeasureScreens();
  CreatePanel(state);
  state.imageWidth = state.imageHeight = 100;
  WarmUpAtStartup(state.generator.random, int64_t(std::time(nullptr)));
  LayoutWindows(state);

  const SettingsStore store = RegistrySettingsStore();
  DiscoverPlugins(state.plugins, state.programFolder, FailedPluginMemoryIn(store));
  PrepareFileDialogs(state);
  state.wallpaperPlaces = SystemWallpaperPlaces();
  state.desktop = {window, state.wallpaperPlaces.windowsFolder};
  state.screenDepth = MeasureScreenDepth();
  if (NamesFileToOpen(state.fileToOpen)) PostMessageA(window, WM_COMMAND, IDM_OPEN_NAMED, 0);
}

// Frees what the program holds, then takes the windows down: the children
// first, the main window last (its WM_DESTROY ends the message loop).
void OnClose(AppState& state) {
  ReleaseDibImage(state.currentImage);
  state.history = PictureHistory();
  if (state.displayPalette) {
    DeleteObject(state.displayPalette);
    state.displayPalette = nullptr;
  }
  DestroyToolbar(state);
  for (HWND* child : {&state.patternPanel, &state.statusBar, &state.imageView}) {
    if (*child) DestroyWindow(*child);
    *child = nullptr;
  }
  DestroyWindow(state.mainWindow);
}

// Moved to a monitor of another DPI: the bars are made again at the new
// size, the window takes the place Windows suggests, and the layout follows.
// The picture keeps its size in device pixels.
void FollowDpiChange(AppState& state, const RECT& suggested) {
  const std::string status = StatusText(state);
  DestroyToolbar(state);
  DestroyWindow(state.statusBar);
  SetWindowPos(state.mainWindow, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateToolbar(state);
  state.statusBar = CreateStatusBar(state);
  ShowStatusText(state, status);
  LayoutWindows(state);
  InvalidateRect(state.mainWindow, nullptr, TRUE);
}

// Monitors were added, removed or set to another size: the size list
// learns the new screens, and the window stays on its work area.
void FollowScreenChange(AppState& state) {
  state.panelParams.screens = MeasureScreens();
  if (state.patternPanel) SendMessageA(state.patternPanel, WM_DISPLAYCHANGE, 0, 0);
  LayoutWindows(state);
  InvalidateRect(state.mainWindow, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState* state = AppStateOf(window);
  switch (message) {
    case WM_NCCREATE:
      AttachAppState(window, lParam);
      break;
    case WM_CREATE:
      OnCreate(window, *state);
      return 0;
    case WM_SIZE:
      // The bars follow the new width; the view takes the room it gets.
      SendMessageA(state->statusBar, WM_SIZE, wParam, lParam);
      SendMessageA(state->toolbar, WM_SIZE, wParam, lParam);
      if (wParam != SIZE_MINIMIZED) PlaceImageView(*state);
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      ScrollImageViewByWheel(*state, message, wParam);
      return 0;
    case WM_DISPLAYCHANGE:
      FollowScreenChange(*state);
      break;
    case WM_NOTIFY:
      AnswerTooltipRequest(*state, reinterpret_cast<NMHDR*>(lParam));
      break;
    case WM_COMMAND:
      RunCommand(*state, LOWORD(wParam));
      return 0;
    case WM_INITMENU:
      PrepareMenu(*state, reinterpret_cast<HMENU>(wParam));
      break;
    case WM_DROPFILES:
      OpenDroppedFile(*state, reinterpret_cast<HDROP>(wParam));
      break;
    case WM_DPICHANGED:
      FollowDpiChange(*state, *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      // Exit and the close box: a picture never saved is asked about first.
      if (MayClose(*state)) OnClose(*state);
      return 0;
    case WM_QUERYENDSESSION:
      return MayClose(*state);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMainWindow(AppState& state) {
  return CreateWindowExA(WS_EX_ACCEPTFILES, kMainWindowClass, TextOf(IDS_PRODUCT_NAME), WS_OVERLAPPEDWINDOW,
                         CW_USEDEFAULT, CW_USEDEFAULT, 400, 600, nullptr, nullptr, state.instance, &state);
}
