// Linux and other POSIX desktops: a grown picture is written as a new
// numbered PNG file, and the picture is set with the desktop's own command.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/file_io.h"
#include "cli/cli_owner.h"
#include "cli/home_folder.h"
#include "cli/run_program.h"
#include "cli/wallpaper_command.h"
#include "cli/wallpaper_desktop.h"
#include "image/png_file.h"
#include "wallpaper/screen_sources.h"
#include "wallpaper/signin.h"

namespace {

namespace fs = std::filesystem;

// Beside the numbered pictures: the path of the picture the desktop took last.
constexpr char kShownRecordName[] = "shown-wallpaper.txt";

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
  return names;
}

// Writes the picture as the next numbered file in the folder; the new
// file's path, or empty with `outcome` saying why.
std::string WriteNumberedPicture(const std::string& folder, const DibImage& picture, std::string& outcome) {
  std::error_code error;
  fs::create_directories(folder, error);
  const std::string path = folder + "/" + NextNumberedPicture(NamesIn(folder));
  const Owner owner = CliOwner();
  if (!WritePngFile(&owner, path.c_str(), picture, PngOptions())) {
    outcome = "Cannot write the wallpaper file " + path;
    return std::string();
  }
  return path;
}

// Once the desktop has taken the `shown` pictures: removes the numbered
// pictures but those and the ones shown before, and records them as shown,
// one a line.
void RemoveOldPictures(const std::string& folder, const std::vector<std::string>& shown) {
  const std::string record = folder + "/" + kShownRecordName;
  std::ifstream in(record, std::ios::binary);
  const bool known = static_cast<bool>(in);
  std::vector<std::string> shownBefore, newest;
  for (std::string line; std::getline(in, line);) {
    if (FolderOf(line) == folder) shownBefore.push_back(fs::path(line).filename().string());
  }
  std::string lines;
  for (const std::string& picture : shown) {
    if (FolderOf(picture) == folder) newest.push_back(fs::path(picture).filename().string());
    lines += picture + "\n";
  }
  std::error_code error;
  if (!newest.empty()) {
    for (const std::string& old : OldNumberedPictures(NamesIn(folder), newest, known ? &shownBefore : nullptr)) {
      fs::remove(folder + "/" + old, error);
    }
  }
  fs::create_directories(folder, error);
  SafeFileWriter writer;
  if (writer.Open(record.c_str(), "vitrelle-") && std::fputs(lines.c_str(), writer.file()) >= 0) writer.Commit();
}

DesktopSession CurrentSession() {
  DesktopSession session;
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  session.currentDesktop = desktop ? desktop : "";
  session.swaySocket = std::getenv("SWAYSOCK") != nullptr;
  const char* display = std::getenv("DISPLAY");
  session.x11Display = display && *display;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  session.waylandDisplay = wayland && *wayland;
  for (const std::string& program : DesktopPrograms()) {
    if (!ProgramPath(program).empty()) session.programs.push_back(program);
  }
  return session;
}

const char* ActionWord(WallpaperAction action) {
  return action == WallpaperAction::kTile ? "tiled" : action == WallpaperAction::kCenter ? "centred" : "cleared";
}

// The display a session shows on: Wayland's, else X11's; empty when none is named.
std::string DisplayName() {
  for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return std::string();
}

// Runs the desktop's commands for the picture; with `eachScreen`, for each
// screen's picture where the desktop takes them, or else for the picture
// spanned across all screens. True when the desktop took them.
bool SetOnDesktop(DesktopSession& session, LinuxDesktop desktop, const std::string& picture, bool eachScreen,
                  const std::vector<ScreenPicture>& screens, WallpaperAction action, std::string& outcome) {
  if (desktop == LinuxDesktop::kNone) {
    outcome = std::string("No desktop found that this tool can set") + (picture.empty() ? "" : " (the picture is " + picture + ")") +
              ". It knows " + KnownLinuxDesktops() + ".";
    return false;
  }
  if (action != WallpaperAction::kClear && !(outcome = PictureNameRefused(desktop, picture)).empty()) return false;
  for (const ScreenPicture& each : screens) {
    if (!(outcome = PictureNameRefused(desktop, each.picture)).empty()) return false;
  }
  if (std::string failure, keys; desktop == LinuxDesktop::kGnome && RunProgram(GnomeKeysCommand(), failure, &keys)) {
    session.noDarkPicture = keys.find("picture-uri-dark") == std::string::npos;
  }
  if (desktop == LinuxDesktop::kXfce) {
    std::string failure, listing;
    if (!RunProgram(XfceListCommand(), failure, &listing)) {
      outcome = failure;
      return false;
    }
    session.xfceImageProperties = XfceImageProperties(listing);
  }
  const std::vector<ArgumentVector> commands = eachScreen
                                                   ? EachScreenCommandLines(desktop, session, screens, picture, action)
                                                   : WallpaperCommandLines(desktop, session, picture, action);
  if (commands.empty()) {
    outcome = std::string(LinuxDesktopName(desktop)) + " cannot be left without a wallpaper by this tool";
    return false;
  }
  for (const ArgumentVector& command : commands) {
    std::string failure;
    if (!RunProgram(command, failure)) {
      outcome = std::string(LinuxDesktopName(desktop)) + ": " + failure;
      return false;
    }
  }
  std::string shown = action == WallpaperAction::kClear || !screens.empty() ? "" : " " + picture;
  if (eachScreen && screens.empty()) shown += " spanned";
  for (const ScreenPicture& each : screens) shown += std::string(shown.empty() ? " " : ", ") + each.screen + " " + each.picture;
  outcome = std::string(LinuxDesktopName(desktop)) + ": " + ActionWord(action) + shown;
  return true;
}

// Makes the picture the lock screen's too; where the desktop offers none,
// the outcome says so and the wallpaper stands.
bool SetLockScreen(const DesktopSession& session, LinuxDesktop desktop, const std::string& picture, bool spanned,
                   WallpaperAction action, std::string& outcome) {
  const std::vector<ArgumentVector> commands = LockScreenCommandLines(desktop, session, picture, action, spanned);
  if (commands.empty()) {
    outcome += std::string("; ") + kNoLockScreen;
    return true;
  }
  for (const ArgumentVector& command : commands) {
    std::string failure;
    if (!RunProgram(command, failure)) {
      outcome += "; the lock screen was not set: " + failure;
      return false;
    }
  }
  outcome += "; the lock screen too";
  return true;
}

// The screens' pictures, the primary's first, written as numbered files;
// false with `outcome` saying why when one cannot be written.
bool WriteScreenPictures(const std::string& folder, const WallpaperRequest& request, std::vector<ScreenPicture>& written,
                         std::string& outcome) {
  const Screen* primary = PrimaryScreen(request.screens);
  std::vector<size_t> order = {size_t(primary - request.screens.data())};
  for (size_t i = 0; i < request.screens.size(); ++i) {
    if (i != order[0]) order.push_back(i);
  }
  for (size_t i : order) {
    const std::string path = WriteNumberedPicture(folder, *request.screenPictures[i], outcome);
    if (path.empty()) return false;
    written.push_back({request.screens[i].name, path});
  }
  return true;
}

}  // namespace

bool PutOnDesktop(const WallpaperRequest& request, std::string& outcome, std::string& screen) {
  const std::string folder = XdgFolder("XDG_DATA_HOME", ".local/share", outcome);
  if (folder.empty()) return false;
  const std::string pictures = folder + "/vitrelle";
  DesktopSession session = CurrentSession();
  const LinuxDesktop desktop = ChooseLinuxDesktop(session);
  std::vector<ScreenPicture> screens;
  std::string picture = request.file;
  if (!picture.empty()) {
    const Owner owner = MessageKeepingOwner(outcome);
    if (!CanReadPicture(&owner, picture)) return false;
  } else if (!request.screens.empty() && TakesEachScreensPicture(desktop)) {
    if (!WriteScreenPictures(pictures, request, screens, outcome)) return false;
  } else if (request.picture && (picture = WriteNumberedPicture(pictures, *request.picture, outcome)).empty()) {
    return false;
  }
  if (!SetOnDesktop(session, desktop, picture, !request.screens.empty(), screens, request.action, outcome)) {
    return false;
  }
  const std::string display = DisplayName();
  screen = LinuxDesktopName(desktop) + (display.empty() ? "" : " on " + display);
  // The desktop shows them now, whatever comes of the lock screen.
  std::vector<std::string> shown;
  for (const ScreenPicture& each : screens) shown.push_back(each.picture);
  if (screens.empty()) shown.push_back(picture);
  if (request.action != WallpaperAction::kClear) RemoveOldPictures(pictures, shown);
  return !request.lockScreen || SetLockScreen(session, desktop, screens.empty() ? picture : screens[0].picture,
                                              !request.screens.empty() && screens.empty(), request.action, outcome);
}

ScreenLayout DesktopScreens(std::string& asked) {
  for (const ScreenQuery& query : ScreenQueries(CurrentSession())) {
    std::string failure, answer;
    asked += (asked.empty() ? "" : ", ") + query.command[0];
    if (!RunProgram(query.command, failure, &answer)) continue;
    ScreenLayout screens = ReadScreens(query.source, answer);
    if (!screens.empty()) return screens;
  }
  if (asked.empty()) asked = "found none of xrandr, swaymsg, gdbus and kscreen-doctor for this session";
  else asked = "asked " + asked;
  return {};
}

std::string WallpaperLogPath() {
  std::string failure;
  const std::string folder = XdgFolder("XDG_STATE_HOME", ".local/state", failure);
  return folder.empty() ? std::string() : folder + "/vitrelle/vitrelle-wallpaper.log";
}

std::string KeptPicturesFolder(std::string& failure) {
  const char* named = std::getenv("XDG_PICTURES_DIR");
  if (named && *named == '/') return std::string(named) + "/Vitrelle";
  const std::string home = HomeFolder(failure);
  if (home.empty()) return std::string();
  std::string pictures = home + "/Pictures";
  // The line the desktop's user-dirs tool writes: XDG_PICTURES_DIR="$HOME/Pictures".
  const std::string config = XdgFolder("XDG_CONFIG_HOME", ".config", failure);
  std::ifstream dirs(config + "/user-dirs.dirs");
  const std::string key = "XDG_PICTURES_DIR=\"";
  for (std::string line; std::getline(dirs, line);) {
    if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
    std::string value = line.substr(key.size(), line.size() - key.size() - 1);
    if (value.rfind("$HOME/", 0) == 0) value = home + value.substr(5);
    if (!value.empty() && value[0] == '/') pictures = value;
  }
  return pictures + "/Vitrelle";
}
