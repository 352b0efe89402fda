// The wallpaper commands: install the current picture as the desktop
// wallpaper, tiled or centred; install it again with the other arrangement;
// install any bitmap file; remove the wallpaper.
//
// The picture goes into the file "vitrelle.BMP", in the Windows folder when
// the program may write there and otherwise in the user's own folder for the
// program. The arrangement ("TileWallpaper", and "WallpaperStyle" "0" so that
// today's desktops do not stretch a centred picture) is always written before
// the wallpaper is set, so that the desktop takes both up together, and put
// back when the desktop refuses the wallpaper. A picture centred that has the
// size of all of several screens spans them instead ("WallpaperStyle" "22"):
// one picture across every monitor.
#pragma once

#include <string>
#include <vector>

#include "base/owner.h"
#include "generator/screen_sizes.h"
#include "image/dib_image.h"

constexpr const char* kWallpaperFileName = "vitrelle.BMP";

enum class WallpaperArrangement { Tiled, Centered };

// The folders and names the commands work with; one record for the run.
struct WallpaperPlaces {
  std::string windowsFolder;  // read once at start-up
  std::string userFolder;     // made when the Windows folder cannot be written
  // The file last chosen with Option_Tile or Option_Center, offered again.
  std::string optionFileName;
};

// A monitor as the desktop's wallpaper interface names it.
struct DesktopMonitor {
  std::string path;       // its device path
  Screen place;           // its rectangle in pixels
  std::string wallpaper;  // the picture it shows now
};

// How a monitor answered a new picture: taken, not ready yet (as early in a
// session, at sign-in), or refused.
enum class MonitorAnswer { kTaken, kNotYet, kRefused };

// What the commands ask of the desktop.
struct DesktopCalls {
  void* context = nullptr;
  // Reads a string value under the user's "Control Panel\desktop" key; false
  // when there is none.
  bool (*readValue)(void* context, const char* name, std::string& data) = nullptr;
  // Writes a string value under that key, or removes it when data is null;
  // a value that cannot be written is left as it was.
  void (*writeValue)(void* context, const char* name, const char* data) = nullptr;
  // Makes the named file the wallpaper and records it in the user's profile;
  // an empty name removes the wallpaper. False when the desktop refused.
  bool (*setWallpaper)(void* context, const char* fileName) = nullptr;
  // Lets the user choose a bitmap file, offering fileName; true with the
  // chosen full path in fileName, false (fileName unchanged) on cancel.
  bool (*chooseFile)(void* context, std::string& fileName) = nullptr;
  // The screens as they are now; may be null where none is known.
  ScreenSizes (*measureScreens)(void* context) = nullptr;
  // The wallpaper interface's attached monitors; false, or null, where the
  // system has no such interface.
  bool (*listMonitors)(void* context, std::vector<DesktopMonitor>& monitors) = nullptr;
  // Arranges every monitor's picture (tile or centre) and gives one monitor
  // the named file.
  MonitorAnswer (*setMonitorWallpaper)(void* context, const std::string& monitor, const std::string& fileName,
                                       WallpaperArrangement arrangement) = nullptr;
  // Waits between the tries of a monitor that is not ready yet.
  void (*pause)(void* context, int milliseconds) = nullptr;
};

// The wallpaper file in the Windows folder and in the user's folder.
std::string WindowsWallpaperPath(const WallpaperPlaces& places);
std::string UserWallpaperPath(const WallpaperPlaces& places);
// Where Tile and Center last put the wallpaper file: the Windows folder's
// file when it exists, else the user folder's.
std::string InstalledWallpaperPath(const WallpaperPlaces& places);

// Every command that sets the wallpaper tells the owner when the desktop
// refused it ("The desktop did not take the wallpaper", with the file as
// caption) and then puts the arrangement values back as they were.

// Tile and Center: writes the picture (in its own depth) as the wallpaper
// file, replacing the old one only once the new one is whole, then sets the
// arrangement (Center spans a picture of all screens' size) and the
// wallpaper. Without a picture the owner is told "No image"; when the file
// cannot be written it is told "Cannot open file" or, when the file was begun
// but not finished, "The wallpaper file could not be written completely", and
// the desktop is left alone.
void InstallWallpaper(const Owner* owner, const DesktopCalls& desktop, const WallpaperPlaces& places,
                      const DibImage* image, WallpaperArrangement arrangement);
// Recall_Tile and Recall_Center: the last wallpaper file with a new
// arrangement. Like Center, Recall_Center and Option_Center span a file whose
// headers give all screens' size.
void RecallWallpaper(const Owner* owner, const DesktopCalls& desktop, const WallpaperPlaces& places,
                     WallpaperArrangement arrangement);
// Option_Tile and Option_Center: a file the user chooses, used where it is.
void InstallChosenWallpaper(const Owner* owner, const DesktopCalls& desktop, WallpaperPlaces& places,
                            WallpaperArrangement arrangement);
// Each screen its own picture: writes each screen's picture (in the layout's
// order) as "vitrelle-N.BMP" beside the wallpaper file and gives it to the
// monitor at that screen's place, trying a monitor that is not ready yet
// again for a few seconds. When one still is not ready, a screen has no
// monitor of its place, or the interface is missing, the composed picture
// is installed as the wallpaper file and spanned across every monitor. When
// a monitor refuses, the monitors given a picture get back the one they
// showed, and the owner is told. True when every monitor took its own.
bool InstallScreenWallpapers(const Owner* owner, const DesktopCalls& desktop, const WallpaperPlaces& places,
                             const ScreenLayout& screens, const std::vector<const DibImage*>& pictures,
                             const DibImage& composed, WallpaperArrangement arrangement);
// Clear: no wallpaper. Neither the arrangement nor any file is touched.
void ClearWallpaper(const Owner* owner, const DesktopCalls& desktop);
