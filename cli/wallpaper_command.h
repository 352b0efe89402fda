// vitrelle-cli wallpaper, and the reading of its arguments that autostart
// shares.
#pragma once

#include "cli/make_options.h"
#include "cli/wallpaper_desktop.h"

extern const char kWallpaperUsage[];
int RunWallpaperCommand(int argc, char** argv);

struct WallpaperArguments {
  WallpaperRequest request;
  MakeOptions make;
  bool haveAction = false;
  bool makeOptionGiven = false;
};
// Reads the arguments after "wallpaper"; returns -1 to go on, or the exit
// code of the usage error that was reported under the command's name.
int ParseWallpaperArguments(const char* command, int argc, char** argv, WallpaperArguments& arguments);
