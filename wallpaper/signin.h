// A new wallpaper at every sign-in: the command that the sign-in runs (the
// "Run" value on Windows, an autostart entry on Linux), whether a registered
// command is this copy's, and the numbered picture files on Linux, where the
// desktops cache a picture by its name.
#pragma once

#include <string>
#include <vector>

#include "base/owner.h"
#include "generator/make_settings.h"
#include "wallpaper/wallpaper.h"

// The name of the value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
constexpr const char* kSigninRunValueName = "Vitrelle wallpaper";
// The Windows-subsystem build of the tool, which shows no console at sign-in.
constexpr const char* kSigninToolName = "vitrelle-wallpaper.exe";
// The freedesktop autostart entry's file name.
constexpr const char* kAutostartFileName = "vitrelle-wallpaper.desktop";

// What the user chose for the sign-in pictures.
struct SigninChoice {
  WallpaperArrangement arrangement = WallpaperArrangement::Tiled;
  MirrorKind mirror = kMirrorNormal;
  int width = 640, height = 480;
  bool eachScreen = false;  // a picture for each screen, at its size
};

// The name vitrelle-cli gives a mirror kind ("normal", "vertical", "cross",
// "kaleidoscope"); kMirrorNone counts as normal.
const char* MirrorOptionName(MirrorKind kind);

// "wallpaper tile|center --pattern random --mirror M --size WxH", and
// "--each-screen" when chosen (the size then serves where no screen is known).
std::vector<std::string> SigninWallpaperArguments(const SigninChoice& choice);

// The Run value's text: the tool's full path in double quotes, then the
// arguments.
std::string SigninRunCommand(const std::string& toolPath, const std::vector<std::string>& arguments);
// True when a Run value's text starts the tool at this path (compared
// without regard to case, as Windows compares paths).
bool RunCommandNamesTool(const std::string& runCommand, const std::string& toolPath);

// The autostart entry that runs the tool (an absolute path) with the
// arguments at sign-in, quoted as the desktop entry format requires.
std::string AutostartEntry(const std::string& toolPath, const std::vector<std::string>& arguments);

// The numbered pictures "wallpaper-N.png" (N of any length) among the names
// of a folder: the name of the next one (one above the highest), and, once
// the desktop has taken the `newest` (one a screen), the ones to remove: all
// but those and the ones the desktop showed before them, `shownBefore`, or,
// when that is not known (null), the highest numbered of the others.
std::string NextNumberedPicture(const std::vector<std::string>& names);
std::vector<std::string> OldNumberedPictures(const std::vector<std::string>& names,
                                             const std::vector<std::string>& newest,
                                             const std::vector<std::string>* shownBefore);

// The sign-in registration as the program's menu item works it, through
// the Run value and the dialog that asks for the choice.
struct SigninCalls {
  void* context = nullptr;
  // The Run value's text; false when there is none.
  bool (*readRunValue)(void* context, std::string& value) = nullptr;
  bool (*writeRunValue)(void* context, const std::string& value) = nullptr;
  // True when the value is gone (or was never there).
  bool (*deleteRunValue)(void* context) = nullptr;
  // Shows the choice and lets the user change it; false on Cancel.
  bool (*askChoice)(void* context, SigninChoice& choice) = nullptr;
};

// Whether the sign-in runs the tool at this path: the menu item's check mark.
bool SigninIsOn(const SigninCalls& calls, const std::string& toolPath);
// The menu item: when the sign-in runs this tool, the Run value is removed;
// otherwise the user is asked, starting from `choice`, and the value is
// written for this tool, replacing one that names another copy. A missing
// tool and a value that cannot be written or removed are told to the owner.
void SwitchSignin(const Owner* owner, const SigninCalls& calls, const std::string& toolPath, SigninChoice choice);
