// The shell-wide state of the Windows program: one record, made by the
// start-up entry and reached by each window procedure through its window.
#pragma once

#include <windows.h>

#include <string>

#include "base/owner.h"
#include "generator/make_settings.h"
#include "generator/pattern_image.h"
#include "generator/pattern_panel_win.h"
#include "gif/gif_save_options.h"
#include "image/brightness.h"
#include "image/color_reduction.h"
#include "image/dib_image.h"
#include "plugins/plugin_table.h"
#include "wallpaper/wallpaper_win.h"

// The file-to-open buffer's size; longer names are refused, never cut.
constexpr size_t kFileToOpenSize = 512;
// What the file dialogs offer for a file name.
constexpr DWORD kDialogNameSize = 260;

struct AppState {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HWND toolbar = nullptr;
  HBITMAP toolbarStrip = nullptr;  // the toolbar's button images, deleted with it
  HWND statusBar = nullptr;
  HWND imageView = nullptr;
  HWND patternPanel = nullptr;  // the modeless Pattern panel, while it exists
  HMENU menu = nullptr;
  // Message boxes and progress captions of the core, on the main window.
  Owner owner;

  DibImagePtr currentImage;
  HPALETTE displayPalette = nullptr;  // only on screens below 16 bits per pixel
  DisplayColorTable displayTable;
  int screenDepth = 24;  // bits per pixel times planes, measured at start-up
  // The size the layout and the view work with: that of the current image.
  int imageWidth = 100;
  int imageHeight = 100;
  bool detailsMode = false;  // the full Pattern panel

  std::string programFolder;
  std::string helpFilePath;
  std::string patternFilePath;
  std::string pluginPattern;
  char fileToOpen[kFileToOpenSize] = "";

  // Program-wide records of the core.
  MakeSettings makeSettings;
  GeneratorState generator;
  GifSaveOptions gifOptions;
  BrightnessLevel brightnessLevel;
  PluginTable plugins;
  PatternPanelParams panelParams;

  // The file dialogs: their filter lists (zero-separated), and what Save As
  // remembers from one use to the next during a run.
  std::string openFilter;
  std::string saveFilter;
  char saveName[kDialogNameSize] = "";
  DWORD saveFilterIndex = 1;

  // The wallpaper commands' folders and remembered Option file, and the
  // desktop they work on.
  WallpaperPlaces wallpaperPlaces;
  SystemDesktop desktop;
};

// A window is created with the state as its creation parameter; its
// procedure stores it on WM_NCCREATE and finds it there afterwards.
inline void AttachAppState(HWND window, LPARAM createStruct) {
  auto* create = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

inline AppState* AppStateOf(HWND window) {
  return reinterpret_cast<AppState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
