// The system side of vitrelle-cli wallpaper: putting a picture on the
// desktop of the system it runs on, where the run's log line goes, and
// where kept pictures go.
#pragma once

#include <string>

#include "generator/screen_sizes.h"
#include "image/dib_image.h"
#include "wallpaper/desktop_setters.h"

struct WallpaperRequest {
  WallpaperAction action = WallpaperAction::kTile;
  const DibImage* picture = nullptr;  // grown for this run, written as the wallpaper file
  std::string file;                   // or a picture file used where it is (an absolute path)
  // --each-screen: the screens, and the picture grown for each, in order.
  ScreenLayout screens;
  std::vector<const DibImage*> screenPictures;
  bool lockScreen = false;  // --lock-screen: the lock screen's picture too
};

// Told, after the wallpaper is set, where the desktop has no lock screen
// picture that the tool can set.
extern const char kNoLockScreen[];

// The screens of the desktop in use; empty, with `asked` saying what was
// asked, when no source answered.
ScreenLayout DesktopScreens(std::string& asked);

// Does the request; true when the desktop took it. `outcome` says in one
// line what was done, or what failed and why; `screen` names the desktop
// that took it.
bool PutOnDesktop(const WallpaperRequest& request, std::string& outcome, std::string& screen);

// The log file of the last run: %LOCALAPPDATA%\Vitrelle or
// $XDG_STATE_HOME/vitrelle (~/.local/state/vitrelle), "vitrelle-wallpaper.log";
// empty when the system names no such folder.
std::string WallpaperLogPath();

// The folder vitrelle-cli keep puts pictures in: "Vitrelle" in the user's
// pictures folder ($XDG_PICTURES_DIR, else the one ~/.config/user-dirs.dirs
// names, else ~/Pictures; %USERPROFILE%\Pictures on Windows). Empty, with
// `failure` saying why, when no such folder is known.
std::string KeptPicturesFolder(std::string& failure);
