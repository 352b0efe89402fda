#include "wallpaper/wallpaper.h"

#include <sys/stat.h>

#include <iterator>

#include "base/file_io.h"
#include "base/texts.h"
#include "image/bmp_file.h"

#ifdef _WIN32
#include <direct.h>
#endif

// Makes the folder unless it exists; its parent must exist.
static void MakeFolder(const std::string& folder) {
#ifdef _WIN32
  _mkdir(folder.c_str());
#else
  mkdir(folder.c_str(), 0777);
#endif
}

std::string WindowsWallpaperPath(const WallpaperPlaces& places) {
  return PathInFolder(places.windowsFolder, kWallpaperFileName);
}

std::string UserWallpaperPath(const WallpaperPlaces& places) { return PathInFolder(places.userFolder, kWallpaperFileName); }

std::string InstalledWallpaperPath(const WallpaperPlaces& places) {
  const std::string inWindowsFolder = WindowsWallpaperPath(places);
  return FileExists(inWindowsFolder) ? inWindowsFolder : UserWallpaperPath(places);
}

// The desktop's values "TileWallpaper" and "WallpaperStyle" of an arrangement.
struct DesktopArrangement {
  const char* tile;
  const char* style;
};
constexpr DesktopArrangement kTiled = {"1", "0"}, kCentered = {"0", "0"}, kSpanned = {"0", "22"};
constexpr const char* kArrangementValues[] = {"TileWallpaper", "WallpaperStyle"};

static DesktopArrangement ValuesOf(WallpaperArrangement arrangement) {
  return arrangement == WallpaperArrangement::Tiled ? kTiled : kCentered;
}

// Centring a picture that covers every screen would show it cut to each
// monitor's middle; spanning shows it whole across them.
static DesktopArrangement ValuesFor(const DesktopCalls& desktop, PictureSize size, WallpaperArrangement arrangement) {
  if (arrangement != WallpaperArrangement::Centered || !desktop.measureScreens) return ValuesOf(arrangement);
  const ScreenSizes screens = desktop.measureScreens(desktop.context);
  return CoversAllScreens(screens, size.width, size.height) ? kSpanned : kCentered;
}

// The same for a file already on disk (Recall, Option), by the size its
// headers give; a file whose size cannot be read is centred.
static DesktopArrangement ValuesForFile(const DesktopCalls& desktop, const std::string& path,
                                        WallpaperArrangement arrangement) {
  PictureSize size;
  return ReadBmpFileSize(path.c_str(), size) ? ValuesFor(desktop, size, arrangement) : ValuesOf(arrangement);
}

static void ReportRefusedWallpaper(const Owner* owner, const std::string& fileName) {
  OwnerWarn(owner, TextOf(IDS_WALLPAPER_REFUSED), fileName.empty() ? TextOf(IDS_ERROR) : fileName.c_str());
}

// The arrangement first, so that the desktop finds it with the new picture.
// When the desktop refuses the picture, the arrangement values go back to
// what they were, a value that was missing is removed again, and the owner
// is told.
static void SetWallpaper(const Owner* owner, const DesktopCalls& desktop, const std::string& fileName,
                         DesktopArrangement values) {
  struct Saved {
    bool present = false;
    std::string data;
  } saved[std::size(kArrangementValues)];
  for (size_t i = 0; i < std::size(kArrangementValues); ++i) {
    saved[i].present = desktop.readValue(desktop.context, kArrangementValues[i], saved[i].data);
  }
  const char* arranged[] = {values.tile, values.style};
  for (size_t i = 0; i < std::size(kArrangementValues); ++i) {
    desktop.writeValue(desktop.context, kArrangementValues[i], arranged[i]);
  }
  if (desktop.setWallpaper(desktop.context, fileName.c_str())) return;
  for (size_t i = 0; i < std::size(kArrangementValues); ++i) {
    desktop.writeValue(desktop.context, kArrangementValues[i], saved[i].present ? saved[i].data.c_str() : nullptr);
  }
  ReportRefusedWallpaper(owner, fileName);
}

// Passes the writer's own messages on and notes that one was shown, so that
// a failure the writer kept to itself is still told, and told once.
struct NotingOwner {
  const Owner* owner = nullptr;
  bool told = false;

  Owner Record() {
    Owner record;
    record.context = this;
    record.warn = [](void* context, const char* text, const char* caption) {
      auto* noting = static_cast<NotingOwner*>(context);
      noting->told = true;
      OwnerWarn(noting->owner, text, caption);
    };
    return record;
  }
};

// Writes the picture into the Windows folder, or, where that is not allowed,
// into the user's folder; returns the file's path, or an empty text after the
// owner was told that not even the user's folder took it.
static std::string WriteWallpaperFile(const Owner* owner, const WallpaperPlaces& places, const DibImage& image,
                                      const char* fileName = kWallpaperFileName) {
  const std::string inWindowsFolder = PathInFolder(places.windowsFolder, fileName);
  if (!places.windowsFolder.empty() && WriteBmpFile(nullptr, inWindowsFolder.c_str(), image)) return inWindowsFolder;
  MakeFolder(places.userFolder);
  const std::string inUserFolder = PathInFolder(places.userFolder, fileName);
  NotingOwner writer{owner};
  const Owner writerOwner = writer.Record();
  if (WriteBmpFile(&writerOwner, inUserFolder.c_str(), image)) return inUserFolder;
  if (!writer.told) OwnerWarn(owner, TextOf(IDS_WALLPAPER_FILE_INCOMPLETE), inUserFolder.c_str());
  return std::string();
}

void InstallWallpaper(const Owner* owner, const DesktopCalls& desktop, const WallpaperPlaces& places,
                      const DibImage* image, WallpaperArrangement arrangement) {
  if (!image) {
    OwnerWarn(owner, TextOf(IDS_WALLPAPER_NO_IMAGE), TextOf(IDS_CAUTION));
    return;
  }
  const std::string path = WriteWallpaperFile(owner, places, *image);
  const PictureSize size = {DibWidth(*image), DibHeight(*image)};
  if (!path.empty()) SetWallpaper(owner, desktop, path, ValuesFor(desktop, size, arrangement));
}

void RecallWallpaper(const Owner* owner, const DesktopCalls& desktop, const WallpaperPlaces& places,
                     WallpaperArrangement arrangement) {
  const std::string path = InstalledWallpaperPath(places);
  SetWallpaper(owner, desktop, path, ValuesForFile(desktop, path, arrangement));
}

void InstallChosenWallpaper(const Owner* owner, const DesktopCalls& desktop, WallpaperPlaces& places,
                            WallpaperArrangement arrangement) {
  if (!desktop.chooseFile(desktop.context, places.optionFileName)) return;
  SetWallpaper(owner, desktop, places.optionFileName, ValuesForFile(desktop, places.optionFileName, arrangement));
}

// A monitor's answer, asked again while it is not ready, up to ten times
// half a second apart.
static MonitorAnswer SetMonitorTrying(const DesktopCalls& desktop, const std::string& monitor, const std::string& file,
                                      WallpaperArrangement arrangement) {
  constexpr int kTries = 11, kPause = 500;
  MonitorAnswer answer = MonitorAnswer::kNotYet;
  for (int tried = 0; tried < kTries && answer == MonitorAnswer::kNotYet; ++tried) {
    if (tried > 0) desktop.pause(desktop.context, kPause);
    answer = desktop.setMonitorWallpaper(desktop.context, monitor, file, arrangement);
  }
  return answer;
}

static const DesktopMonitor* MonitorAt(const std::vector<DesktopMonitor>& monitors, const Screen& screen) {
  for (const DesktopMonitor& monitor : monitors) {
    const Screen& place = monitor.place;
    if (place.left == screen.left && place.top == screen.top && place.width == screen.width &&
        place.height == screen.height) {
      return &monitor;
    }
  }
  return nullptr;
}

bool InstallScreenWallpapers(const Owner* owner, const DesktopCalls& desktop, const WallpaperPlaces& places,
                             const ScreenLayout& screens, const std::vector<const DibImage*>& pictures,
                             const DibImage& composed, WallpaperArrangement arrangement) {
  std::vector<DesktopMonitor> monitors;
  std::vector<const DesktopMonitor*> matched;
  if (desktop.listMonitors && desktop.listMonitors(desktop.context, monitors)) {
    for (const Screen& screen : screens) {
      if (const DesktopMonitor* monitor = MonitorAt(monitors, screen)) matched.push_back(monitor);
    }
  }
  bool eachTook = !screens.empty() && matched.size() == screens.size() && pictures.size() == screens.size();
  for (size_t i = 0; eachTook && i < screens.size(); ++i) {
    const std::string name = "vitrelle-" + std::to_string(i + 1) + ".BMP";
    const std::string path = WriteWallpaperFile(owner, places, *pictures[i], name.c_str());
    if (path.empty()) return false;
    const MonitorAnswer answer = SetMonitorTrying(desktop, matched[i]->path, path, arrangement);
    if (answer == MonitorAnswer::kRefused) {
      for (size_t given = 0; given < i; ++given) {
        desktop.setMonitorWallpaper(desktop.context, matched[given]->path, matched[given]->wallpaper, arrangement);
      }
      ReportRefusedWallpaper(owner, path);
      return false;
    }
    eachTook = answer == MonitorAnswer::kTaken;
  }
  if (eachTook) return true;
  const std::string path = WriteWallpaperFile(owner, places, composed);
  if (!path.empty()) SetWallpaper(owner, desktop, path, kSpanned);
  return false;
}

void ClearWallpaper(const Owner* owner, const DesktopCalls& desktop) {
  if (!desktop.setWallpaper(desktop.context, "")) ReportRefusedWallpaper(owner, "");
}
