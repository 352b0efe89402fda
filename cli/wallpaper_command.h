// vitrelle-cli wallpaper, and the reading of its arguments that autostart
// shares.
#pragma once

#include "base/owner.h"
#include "cli/make_options.h"
#include "cli/wallpaper_desktop.h"

extern const char kWallpaperUsage[];
int RunWallpaperCommand(int argc, char** argv);

struct WallpaperArguments {
  WallpaperRequest request;
  MakeOptions make;
  bool haveAction = false;
  bool eachScreen = false;  // --each-screen: a picture for each screen
};
// True for the options that take no value (--each-screen, --lock-screen).
bool IsWallpaperFlag(const std::string& word);

// Reads the arguments after "wallpaper"; returns -1 to go on, or the exit
// code of the usage error that was reported under the command's name.
int ParseWallpaperArguments(const char* command, int argc, char** argv, WallpaperArguments& arguments);

// The history log, wallpapers.log beside the log of the last run; empty
// when the system names no folder for it.
std::string WallpaperHistoryPath();

// True when the file reads as a picture (as convert opens it); otherwise the
// reader's message has been shown to the owner.
bool CanReadPicture(const Owner* owner, const std::string& path);
