// vitrelle-cli wallpaper: grows a picture as make does, or takes a given
// one, and makes it the desktop wallpaper; or removes the wallpaper. Run at
// sign-in nobody reads its messages, so the outcome is also written, one
// line, to the log file, replaced at every run; every wallpaper set is
// added to the history log with its recipe.
#include "cli/wallpaper_command.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/picture_files.h"
#include "base/file_io.h"
#include "cli/command_line.h"
#include "cli/picture_output.h"
#include "wallpaper/wallpaper_log.h"

const char kWallpaperUsage[] =
    "  wallpaper tile|center|clear [make's options] [--file PICTURE] [--recipe TEXT|PICTURE] [--each-screen]\n"
    "            [--lock-screen]\n"
    "      Grows a picture (or takes PICTURE, or makes the one a recipe tells) and makes\n"
    "      it the desktop wallpaper.";

const char kNoLockScreen[] = "this desktop does not offer a lock screen picture that this tool can set";

namespace {

const std::string kWallpaperHelp =
    std::string(
        "Usage: vitrelle-cli wallpaper tile|center|clear [OPTIONS]\n"
        "\n"
        "tile and center grow a picture as make does and make it the desktop wallpaper,\n"
        "repeated or once in the middle; clear removes the wallpaper. On Windows the\n"
        "picture goes where Vitrelle's Tile puts it; on Linux it is written to\n"
        "$XDG_DATA_HOME/vitrelle/wallpaper-N.png and set on the desktop in use (once it\n"
        "is set, it and the one shown before are kept). The outcome is also written to\n"
        "vitrelle-wallpaper.log, and every wallpaper set is added with its recipe to\n"
        "wallpapers.log beside it (the last 100; see vitrelle-cli history).\n"
        "\n"
        "  --file PICTURE     use this picture file instead of growing one\n"
        "  --each-screen      grow a picture for each screen at that screen's size (--size\n"
        "                     is then the size of the one picture made where no screen\n"
        "                     is known)\n"
        "  --lock-screen      set the lock screen's picture too (GNOME, Cinnamon, KDE Plasma)\n") +
    kRecipeOptionHelp + "                     vitrelle-cli history lists the recipes of earlier wallpapers.\n" +
    kMakeOptionsHelp;

// The time now, as "2026-12-09 14:05:12 UTC".
std::string UtcStamp() {
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  if (const std::tm* utc = std::gmtime(&now)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S UTC", utc);
  return stamp;
}

// Replaces the log with one line: the time, the command and its outcome.
void WriteLogLine(const char* action, const std::string& outcome) {
  const std::string path = WallpaperLogPath();
  if (path.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(FileSystemPath(FolderOf(path)), error);
  const std::string line = UtcStamp() + " wallpaper " + action + ": " + outcome + "\n";
  SafeFileWriter writer;
  if (writer.Open(path.c_str(), "vitrelle-") && std::fputs(line.c_str(), writer.file()) >= 0) writer.Commit();
}

const char* ActionName(WallpaperAction action) {
  return action == WallpaperAction::kTile ? "tile" : action == WallpaperAction::kCenter ? "center" : "clear";
}

// The recipe a picture file carries; empty when it carries none.
std::string FileRecipe(const std::string& path) {
  GifSaveOptions options;
  const DibImagePtr picture = OpenPictureFile(nullptr, path.c_str(), options);
  return picture ? PictureFileRecipe(path.c_str(), *picture) : std::string();
}

// Adds the wallpaper the desktop took to the history log; says so on
// standard error when it cannot.
void LogWallpaper(const WallpaperRequest& request, const std::string& screen, const std::string& recipe) {
  const std::string path = WallpaperHistoryPath();
  if (path.empty()) return;
  WallpaperLogEntry entry{UtcStamp(), ActionName(request.action), screen, recipe, request.file};
  if (entry.recipe.empty()) entry.recipe = FileRecipe(request.file);
  std::error_code error;
  std::filesystem::create_directories(FileSystemPath(FolderOf(path)), error);
  if (!AppendWallpaperLog(path, entry)) std::fprintf(stderr, "Cannot write %s\n", path.c_str());
}

// --each-screen: a picture for every screen at its own size, each its own
// Make (a random choice is drawn anew for each), told one line a screen.
// False, with `outcome` and `exitCode` set, when one cannot be made; true
// with no screens when none is known.
bool GrowScreenPictures(WallpaperArguments& arguments, std::vector<DibImagePtr>& pictures,
                        std::vector<std::string>& recipes, std::string& chosen, std::string& outcome, int& exitCode) {
  WallpaperRequest& request = arguments.request;
  std::string asked;
  request.screens = DesktopScreens(asked);
  if (request.screens.empty()) std::printf("No screen source answered (%s): one picture for the whole desktop\n", asked.c_str());
  for (size_t i = 0; i < request.screens.size(); ++i) {
    const Screen& screen = request.screens[i];
    MakeOptions options = arguments.make;
    options.size = std::to_string(screen.width) + "x" + std::to_string(screen.height);
    options.drawing = int(i);
    std::string line;
    recipes.emplace_back();
    pictures.push_back(GrowPicture(options, line, exitCode, &recipes.back()));
    if (!pictures.back()) {
      outcome = "no picture was made for screen " + screen.name + " (exit code " + std::to_string(exitCode) + ")";
      return false;
    }
    request.screenPictures.push_back(pictures.back().get());
    line = "screen " + screen.name + (screen.primary ? " (primary)" : "") + " at " + std::to_string(screen.left) +
           "," + std::to_string(screen.top) + ": " + line;
    std::printf("%s\n", line.c_str());
    PrintRecipe(recipes.back());
    chosen += (chosen.empty() ? "" : "; ") + line;
  }
  std::fflush(stdout);
  return true;
}

// The run itself: `chosen` says what was grown, `outcome` what came of it.
int PutWallpaper(WallpaperArguments& arguments, std::string& chosen, std::string& outcome) {
  WallpaperRequest& request = arguments.request;
  DibImagePtr picture;
  std::string recipe;
  std::vector<DibImagePtr> screenPictures;
  std::vector<std::string> screenRecipes;
  if (request.action == WallpaperAction::kClear) {
    request.file.clear();
  } else if (!request.file.empty()) {
    if (!FileExists(request.file)) {
      outcome = "Cannot open file: " + request.file;
      return 1;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(request.file, error);
    if (!error) request.file = absolute.string();
  } else {
    int exitCode = 0;
    if (arguments.eachScreen && !GrowScreenPictures(arguments, screenPictures, screenRecipes, chosen, outcome, exitCode)) {
      return exitCode;
    }
    if (!request.screens.empty()) {
      picture = ComposeScreenPictures(request.screens, request.screenPictures);
      if (!picture) {
        const Screen box = BoundingBox(request.screens);
        outcome = "The screens' pictures cannot be put together into one of " + std::to_string(box.width) + "x" +
                  std::to_string(box.height);
        return 1;
      }
    } else {
      picture = MakeChosenPicture(arguments.make, chosen, exitCode, recipe);
      if (!picture) {
        outcome = "no picture was made (exit code " + std::to_string(exitCode) + ")";
        return exitCode;
      }
      if (!chosen.empty()) std::printf("%s\n", chosen.c_str());
      std::fflush(stdout);
      PrintRecipe(recipe);
    }
    request.picture = picture.get();
  }
  std::string screen;
  if (!PutOnDesktop(request, outcome, screen)) return 1;
  if (request.action == WallpaperAction::kClear) return 0;
  if (request.screens.empty()) LogWallpaper(request, screen, recipe);
  for (size_t i = 0; i < request.screens.size(); ++i)
    LogWallpaper(request, screen + ", screen " + request.screens[i].name, screenRecipes[i]);
  return 0;
}

}  // namespace

int ParseWallpaperArguments(const char* command, int argc, char** argv, WallpaperArguments& arguments) {
  for (int i = 0; i < argc; ++i) {
    const int taken = TakeMakeOption(command, argc, argv, i, arguments.make);
    if (taken > 0) return taken;
    if (taken < 0) continue;
    const std::string arg = argv[i];
    if (arg == "--each-screen") {
      arguments.eachScreen = true;
    } else if (arg == "--lock-screen") {
      arguments.request.lockScreen = true;
    } else if (arg == "--file") {
      if (!TakeOptionValue(argc, argv, i, arguments.request.file) || arguments.request.file.empty()) {
        return UsageError(command, "Missing value for --file");
      }
    } else if (arg.rfind("--", 0) == 0) {
      return UsageError(command, "Unknown option: " + arg);
    } else if (arguments.haveAction) {
      return UsageError(command, "More than one of tile, center and clear: " + arg);
    } else if (arg == "tile" || arg == "center" || arg == "clear") {
      arguments.request.action = arg == "tile"     ? WallpaperAction::kTile
                                 : arg == "center" ? WallpaperAction::kCenter
                                                   : WallpaperAction::kClear;
      arguments.haveAction = true;
    } else {
      return UsageError(command, "Not tile, center or clear: " + arg);
    }
  }
  if (!arguments.haveAction) return UsageError(command, "Say tile, center or clear");
  if (!arguments.request.file.empty() && (arguments.make.growOptionGiven || arguments.make.haveRecipe)) {
    return UsageError(command, "--file takes a picture as it is; it cannot be grown with other options too");
  }
  if (arguments.eachScreen && (!arguments.request.file.empty() || arguments.request.action == WallpaperAction::kClear)) {
    return UsageError(command, "--each-screen grows each screen's picture: not with clear or --file");
  }
  if (arguments.eachScreen && arguments.make.haveRecipe) {
    return UsageError(command, "--each-screen grows each screen's picture: not with --recipe");
  }
  if (arguments.request.lockScreen && arguments.request.action == WallpaperAction::kClear) {
    return UsageError(command, "--lock-screen sets a picture: not with clear");
  }
  return CheckRecipeAlone(command, arguments.make);
}

std::string WallpaperHistoryPath() {
  const std::string log = WallpaperLogPath();
  return log.empty() ? std::string() : PathInFolder(FolderOf(log), kWallpaperLogName);
}

bool IsWallpaperFlag(const std::string& word) { return word == "--each-screen" || word == "--lock-screen"; }

bool CanReadPicture(const Owner* owner, const std::string& path) {
  GifSaveOptions options;
  return OpenPictureFile(owner, path.c_str(), options) != nullptr;
}

int RunWallpaperCommand(int argc, char** argv) {
  if (ShowHelpIfAsked(argc, argv, kWallpaperHelp.c_str())) return 0;
  WallpaperArguments arguments;
  const int parsed = ParseWallpaperArguments("wallpaper", argc, argv, arguments);
  if (parsed >= 0) return parsed;
  std::string chosen, outcome;
  const int exitCode = PutWallpaper(arguments, chosen, outcome);
  std::fprintf(exitCode == 0 ? stdout : stderr, "%s\n", outcome.c_str());
  WriteLogLine(ActionName(arguments.request.action), chosen.empty() ? outcome : chosen + "; " + outcome);
  return exitCode;
}
