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

// Once the desktop has taken `picture`: removes the numbered pictures but
// the new one and the one shown before, and records the new one as shown.
void RemoveOldPictures(const std::string& folder, const std::string& picture) {
  const std::string record = folder + "/" + kShownRecordName;
  std::ifstream in(record, std::ios::binary);
  const bool known = static_cast<bool>(in);
  std::string shownBefore((std::istreambuf_iterator<char>(in)), {});
  if (!shownBefore.empty()) shownBefore.pop_back();  // the line's end
  shownBefore = FolderOf(shownBefore) == folder ? fs::path(shownBefore).filename().string() : std::string();
  std::error_code error;
  if (FolderOf(picture) == folder) {
    for (const std::string& old : OldNumberedPictures(NamesIn(folder), fs::path(picture).filename().string(),
                                                      known ? &shownBefore : nullptr)) {
      fs::remove(folder + "/" + old, error);
    }
  }
  fs::create_directories(folder, error);
  SafeFileWriter writer;
  if (writer.Open(record.c_str(), "vitrelle-") && std::fputs((picture + "\n").c_str(), writer.file()) >= 0) {
    writer.Commit();
  }
}

DesktopSession CurrentSession() {
  DesktopSession session;
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  session.currentDesktop = desktop ? desktop : "";
  session.swaySocket = std::getenv("SWAYSOCK") != nullptr;
  const char* display = std::getenv("DISPLAY");
  session.x11Display = display && *display;
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

// Runs the desktop's commands for the picture; true when it took them.
bool SetOnDesktop(const std::string& picture, WallpaperAction action, std::string& outcome, std::string& screen) {
  DesktopSession session = CurrentSession();
  const LinuxDesktop desktop = ChooseLinuxDesktop(session);
  if (desktop == LinuxDesktop::kNone) {
    outcome = std::string("No desktop found that this tool can set") + (picture.empty() ? "" : " (the picture is " + picture + ")") +
              ". It knows " + KnownLinuxDesktops() + ".";
    return false;
  }
  if (action != WallpaperAction::kClear && !(outcome = PictureNameRefused(desktop, picture)).empty()) return false;
  if (desktop == LinuxDesktop::kXfce) {
    std::string failure, listing;
    if (!RunProgram(XfceListCommand(), failure, &listing)) {
      outcome = failure;
      return false;
    }
    session.xfceImageProperties = XfceImageProperties(listing);
  }
  const std::vector<ArgumentVector> commands = WallpaperCommandLines(desktop, session, picture, action);
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
  outcome = std::string(LinuxDesktopName(desktop)) + ": " + ActionWord(action) +
            (action == WallpaperAction::kClear ? "" : " " + picture);
  const std::string display = DisplayName();
  screen = LinuxDesktopName(desktop) + (display.empty() ? "" : " on " + display);
  return true;
}

}  // namespace

bool PutOnDesktop(const WallpaperRequest& request, std::string& outcome, std::string& screen) {
  const std::string folder = XdgFolder("XDG_DATA_HOME", ".local/share", outcome);
  if (folder.empty()) return false;
  const std::string pictures = folder + "/vitrelle";
  std::string picture = request.file;
  if (!picture.empty()) {
    const Owner owner = MessageKeepingOwner(outcome);
    if (!CanReadPicture(&owner, picture)) return false;
  } else if (request.picture && (picture = WriteNumberedPicture(pictures, *request.picture, outcome)).empty()) {
    return false;
  }
  if (!SetOnDesktop(picture, request.action, outcome, screen)) return false;
  if (request.action != WallpaperAction::kClear) RemoveOldPictures(pictures, picture);
  return true;
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
