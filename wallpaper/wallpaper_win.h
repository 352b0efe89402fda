// The wallpaper commands' system side: the folders, the desktop's registry
// values, the wallpaper call and the Option file dialog.
#pragma once

#include <windows.h>

#include "wallpaper/wallpaper.h"

// The Windows folder, and the user's folder for the program
// (%LOCALAPPDATA%\Vitrelle, made only when a wallpaper file goes there).
WallpaperPlaces SystemWallpaperPlaces();

// The desktop as the system offers it; the Option dialog is owned by the
// window and opens in the Windows folder.
struct SystemDesktop {
  HWND owner = nullptr;
  std::string initialFolder;
};
DesktopCalls SystemDesktopCalls(SystemDesktop& desktop);
