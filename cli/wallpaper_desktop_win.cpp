// Windows: the program's own wallpaper commands, with the same file, folder
// fallback and desktop values as its Tile, Center, Option and Clear, so that
// the program's Recall commands find what the tool installed.
#include <cstdio>
#include <cstdlib>

#include "base/file_io.h"
#include "cli/wallpaper_desktop.h"
#include "wallpaper/wallpaper_win.h"

namespace {

// Warnings go to standard error and the first is kept for the outcome.
struct WarningKeeper {
  std::string first;
};

void KeepWarning(void* context, const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", text, caption);
  auto* keeper = static_cast<WarningKeeper*>(context);
  if (keeper->first.empty()) keeper->first = std::string(text) + ": " + caption;
}

// The file named on the command line stands in for the Option dialog's choice.
bool ChooseGivenFile(void* context, std::string& fileName) {
  fileName = *static_cast<const std::string*>(context);
  return true;
}

}  // namespace

bool PutOnDesktop(const WallpaperRequest& request, std::string& outcome, std::string& screen) {
  WarningKeeper keeper;
  Owner owner;
  owner.context = &keeper;
  owner.warn = KeepWarning;
  WallpaperPlaces places = SystemWallpaperPlaces();
  SystemDesktop system = {nullptr, places.windowsFolder};
  DesktopCalls desktop = SystemDesktopCalls(system);
  const WallpaperArrangement arrangement =
      request.action == WallpaperAction::kTile ? WallpaperArrangement::Tiled : WallpaperArrangement::Centered;
  std::string installed = request.file;
  if (request.action == WallpaperAction::kClear) {
    ClearWallpaper(&owner, desktop);
  } else if (!request.screens.empty()) {
    if (InstallScreenWallpapers(&owner, desktop, places, request.screens, request.screenPictures, *request.picture,
                                arrangement)) {
      installed = "each screen's picture on its monitor";
    } else {
      installed = InstalledWallpaperPath(places) + ", spanned";
    }
  } else if (request.picture) {
    InstallWallpaper(&owner, desktop, places, request.picture, arrangement);
    installed = InstalledWallpaperPath(places);
  } else {
    // Only the file choice uses the context; the registry and wallpaper
    // calls need none.
    std::string file = request.file;
    desktop.context = &file;
    desktop.chooseFile = ChooseGivenFile;
    InstallChosenWallpaper(&owner, desktop, places, arrangement);
  }
  if (!keeper.first.empty()) {
    outcome = keeper.first;
    return false;
  }
  screen = "Windows desktop";
  outcome = request.action == WallpaperAction::kClear ? "cleared"
            : std::string(arrangement == WallpaperArrangement::Tiled ? "tiled " : "centred ") + installed;
  if (request.lockScreen) outcome += std::string("; ") + kNoLockScreen;
  return true;
}

ScreenLayout DesktopScreens(std::string& asked) {
  asked = "asked EnumDisplayMonitors";
  return MeasureScreenLayout();
}

std::string WallpaperLogPath() {
  const std::string folder = SystemWallpaperPlaces().userFolder;
  return folder.empty() ? std::string() : PathInFolder(folder, "vitrelle-wallpaper.log");
}

std::string KeptPicturesFolder(std::string& failure) {
  const char* profile = std::getenv("USERPROFILE");
  if (!profile || !*profile) {
    failure = "USERPROFILE names no user folder";
    return std::string();
  }
  return PathInFolder(PathInFolder(profile, "Pictures"), "Vitrelle");
}
