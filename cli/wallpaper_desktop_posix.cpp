// Linux and other POSIX desktops: the picture is written as a new numbered
// PNG file and set with the desktop's own command.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "cli/cli_owner.h"
#include "cli/run_program.h"
#include "cli/wallpaper_desktop.h"
#include "image/png_file.h"
#include "wallpaper/signin.h"

namespace {

namespace fs = std::filesystem;

// $NAME, or the fallback under the home folder when it is unset or empty.
std::string XdgFolder(const char* name, const char* underHome) {
  const char* value = std::getenv(name);
  if (value && *value == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/" + underHome;
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
  return names;
}

// Writes the picture as the next numbered file and leaves only the newest
// two; the new file's path, or empty with `outcome` saying why.
std::string WriteNumberedPicture(const DibImage& picture, std::string& outcome) {
  const std::string folder = XdgFolder("XDG_DATA_HOME", ".local/share") + "/vitrelle";
  std::error_code error;
  fs::create_directories(folder, error);
  const std::string path = folder + "/" + NextNumberedPicture(NamesIn(folder));
  const Owner owner = CliOwner();
  if (!WritePngFile(&owner, path.c_str(), picture, PngOptions())) {
    outcome = "Cannot write the wallpaper file " + path;
    return std::string();
  }
  for (const std::string& old : OldNumberedPictures(NamesIn(folder), 2)) fs::remove(folder + "/" + old, error);
  return path;
}

DesktopSession CurrentSession() {
  DesktopSession session;
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  session.currentDesktop = desktop ? desktop : "";
  session.swaySocket = std::getenv("SWAYSOCK") != nullptr;
  const char* display = std::getenv("DISPLAY");
  session.x11Display = display && *display;
  for (const std::string& program : DesktopPrograms()) {
    if (ProgramOnPath(program)) session.programs.push_back(program);
  }
  return session;
}

const char* ActionWord(WallpaperAction action) {
  return action == WallpaperAction::kTile ? "tiled" : action == WallpaperAction::kCenter ? "centred" : "cleared";
}

}  // namespace

bool PutOnDesktop(const WallpaperRequest& request, std::string& outcome) {
  std::string picture = request.file;
  if (request.picture && (picture = WriteNumberedPicture(*request.picture, outcome)).empty()) return false;

  DesktopSession session = CurrentSession();
  const LinuxDesktop desktop = ChooseLinuxDesktop(session);
  if (desktop == LinuxDesktop::kNone) {
    outcome = std::string("No desktop found that this tool can set") + (picture.empty() ? "" : " (the picture is " + picture + ")") +
              ". It knows " + KnownLinuxDesktops() + ".";
    return false;
  }
  if (desktop == LinuxDesktop::kXfce) {
    std::string failure, listing;
    if (!RunProgram(XfceListCommand(), failure, &listing)) {
      outcome = failure;
      return false;
    }
    session.xfceImageProperties = XfceImageProperties(listing);
  }
  const std::vector<ArgumentVector> commands = WallpaperCommandLines(desktop, session, picture, request.action);
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
  outcome = std::string(LinuxDesktopName(desktop)) + ": " + ActionWord(request.action) +
            (request.action == WallpaperAction::kClear ? "" : " " + picture);
  return true;
}

std::string WallpaperLogPath() { return XdgFolder("XDG_STATE_HOME", ".local/state") + "/vitrelle/vitrelle-wallpaper.log"; }
