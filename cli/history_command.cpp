#include "cli/history_command.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "base/file_io.h"
#include "cli/cli_owner.h"
#include "cli/command_line.h"
#include "cli/make_options.h"
#include "cli/picture_output.h"
#include "cli/recipe_argument.h"
#include "cli/wallpaper_command.h"
#include "generator/pattern_file.h"
#include "generator/pattern_image.h"
#include "generator/recipe.h"
#include "wallpaper/wallpaper_log.h"

const char kHistoryUsage[] =
    "  history\n"
    "      Lists the wallpapers set by wallpaper, newest first: 1 is the current one.";
const char kKeepUsage[] =
    "  keep [--name NAME] [--config FILE] [N]\n"
    "      Keeps the Nth newest wallpaper (default 1) as a PNG file in your pictures\n"
    "      folder and as a Pattern in the Pattern file.";

namespace {

const char kHistoryHelp[] =
    "Usage: vitrelle-cli history\n"
    "\n"
    "Lists the last 100 wallpapers that vitrelle-cli wallpaper has set (at sign-in\n"
    "too), newest first and numbered, 1 being the current one: the time, tile or\n"
    "center, the desktop, and the recipe (or the picture file of a picture that\n"
    "has none). Set one again with vitrelle-cli wallpaper tile --recipe RECIPE;\n"
    "keep one with vitrelle-cli keep N.\n";

const std::string kKeepHelp =
    std::string(
        "Usage: vitrelle-cli keep [--name NAME] [--config FILE] [N]\n"
        "\n"
        "Keeps wallpaper N of vitrelle-cli history (default 1, the current one): its\n"
        "picture is made again from its recipe and written, with the recipe, as a new\n"
        "PNG file in the Vitrelle folder of your pictures folder (on Linux\n"
        "$XDG_PICTURES_DIR, else the one ~/.config/user-dirs.dirs names, else\n"
        "~/Pictures; %USERPROFILE%\\Pictures on Windows); no file is ever replaced.\n"
        "Its Pattern is added to the Pattern file, with its colour set unless the file\n"
        "has one of the same colours, so that make --pattern NAME grows pictures like it.\n"
        "\n"
        "  --name NAME        the new Pattern's name (default: \"Kept\" and the date and\n"
        "                     time); no comma, and not a number or \"random\"\n") +
    "  --config FILE      the Pattern file (default: vitrelle.cfg beside vitrelle-cli)\n";

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 1;
}

// The logged wallpapers, newest first; false, with the reason told, when
// there is no log yet.
bool ReadHistory(std::vector<WallpaperLogEntry>& entries, std::string& path) {
  path = WallpaperHistoryPath();
  if (path.empty()) return Fail("No folder is known for the wallpaper log") == 0;
  if (ReadWallpaperLogFile(path, entries) && !entries.empty()) return true;
  return Fail("No wallpaper has been logged yet (" + path + "): set one with vitrelle-cli wallpaper") == 0;
}

// base, or base with " (2)", " (3)", ... : the first that is not taken.
std::string FirstFreeName(const std::string& base, const std::string& ending,
                          const std::function<bool(const std::string&)>& taken) {
  std::string name = base + ending;
  for (int n = 2; taken(name); ++n) name = base + " (" + std::to_string(n) + ")" + ending;
  return name;
}

// Why the Pattern file cannot take a Pattern of this name; empty when it can.
std::string NameRefusal(const std::string& name, const PatternLists& lists) {
  if (name.empty()) return "The Pattern name is empty";
  if (name.find_first_of(",\r\n") != std::string::npos) {
    return "A Pattern name cannot hold a comma or a line break: " + name;
  }
  if (name == "random" || name.find_first_not_of("0123456789") == std::string::npos) {
    return "make --pattern would read \"" + name + "\" as a position or a random choice, not a name: choose another";
  }
  for (const std::string& taken : lists.patterns) {
    if (taken == name) return "The Pattern file already has a Pattern named " + name;
  }
  return std::string();
}

std::string DefaultName() {
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  if (const std::tm* local = std::localtime(&now)) std::strftime(stamp, sizeof stamp, "Kept %Y-%m-%d %H:%M", local);
  return stamp;
}

// The 0-based index of a colour set of the Pattern file with the same colour
// ramp as `colors`; the count of colour sets when there is none.
int32_t SameColorSet(const Owner* owner, const std::string& config, const PatternLists& lists, const ColorSet& colors) {
  RgbQuad wanted[kMaxRampColors], ramp[kMaxRampColors];
  int wantedCount = 0, count = 0;
  ExpandColorRamp(colors, wanted, wantedCount);
  for (int k = 0; k < int(lists.colorSets.size()); ++k) {
    ColorSet set;
    if (ReadColorSet(owner, config, k, set) == EntryRead::kFound && ExpandColorRamp(set, ramp, count) &&
        count == wantedCount && std::memcmp(ramp, wanted, sizeof(RgbQuad) * size_t(count)) == 0) {
      return k;
    }
  }
  return int32_t(lists.colorSets.size());
}

// A file name made of the Pattern name, without the characters that file
// names cannot hold.
std::string FileNameOf(std::string name) {
  for (char& c : name) {
    if ((c >= 0 && c < ' ') || std::strchr("\\/:*?\"<>|", c)) c = '-';
  }
  return name;
}

struct KeepRequest {
  size_t number = 1;
  std::string name, config;
};

int ParseKeepArguments(int argc, char** argv, KeepRequest& request) {
  bool haveNumber = false, haveName = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--name" || arg == "--config") {
      std::string& value = arg == "--name" ? request.name : request.config;
      if (!TakeOptionValue(argc, argv, i, value)) return UsageError("keep", "Missing value for " + arg);
      haveName = haveName || arg == "--name";
    } else if (arg.rfind("--", 0) == 0) {
      return UsageError("keep", "Unknown option: " + arg);
    } else {
      const bool number = !haveNumber && !arg.empty() && arg.size() < 10 &&
                          arg.find_first_not_of("0123456789") == std::string::npos;
      request.number = number ? std::strtoul(arg.c_str(), nullptr, 10) : 0;
      if (request.number == 0) {
        return UsageError("keep", "Not the number of a wallpaper in vitrelle-cli history: " + arg);
      }
      haveNumber = true;
    }
  }
  if (haveName && request.name.empty()) return UsageError("keep", "The Pattern name is empty");
  return -1;
}

}  // namespace

int RunHistoryCommand(int argc, char** argv) {
  if (ShowHelpIfAsked(argc, argv, kHistoryHelp)) return 0;
  if (argc > 0) return UsageError("history", std::string("history takes no arguments: ") + argv[0]);
  std::vector<WallpaperLogEntry> entries;
  std::string path;
  if (!ReadHistory(entries, path)) return 1;
  for (size_t i = 0; i < entries.size(); ++i) {
    const WallpaperLogEntry& entry = entries[i];
    std::printf("%3zu  %s  %s  %s  %s\n", i + 1, entry.time.c_str(), entry.arrangement.c_str(), entry.screen.c_str(),
                entry.recipe.empty() ? ("file " + entry.file).c_str() : entry.recipe.c_str());
  }
  return 0;
}

int RunKeepCommand(int argc, char** argv) {
  if (ShowHelpIfAsked(argc, argv, kKeepHelp.c_str())) return 0;
  KeepRequest request;
  const int parsed = ParseKeepArguments(argc, argv, request);
  if (parsed >= 0) return parsed;
  std::vector<WallpaperLogEntry> entries;
  std::string logPath;
  if (!ReadHistory(entries, logPath)) return 1;
  if (request.number > entries.size()) {
    return Fail("There is no wallpaper " + std::to_string(request.number) + ": the log holds " +
                std::to_string(entries.size()) + " (see vitrelle-cli history)");
  }
  const WallpaperLogEntry& entry = entries[request.number - 1];
  Recipe recipe;
  if (entry.recipe.empty()) {
    return Fail("Wallpaper " + std::to_string(request.number) + " was the picture " + entry.file +
                ", which carries no recipe: there is no Pattern to keep");
  }
  if (!ReadRecipe(entry.recipe, recipe)) {
    return Fail("The recipe of wallpaper " + std::to_string(request.number) + " in " + logPath + " is not valid");
  }

  MakeOptions options;
  options.config = request.config;
  const std::string config = ConfigPath(options);
  const Owner owner = CliOwner();
  PatternLists lists;
  if (!ListEntries(&owner, config, lists)) return 1;
  const bool named = !request.name.empty();
  const std::string name = named ? request.name : FirstFreeName(DefaultName(), "", [&](const std::string& candidate) {
    return !NameRefusal(candidate, lists).empty();
  });
  const std::string refusal = NameRefusal(name, lists);
  if (!refusal.empty()) return Fail(refusal);

  std::string recipeLine, failure;
  const DibImagePtr picture = MakeFromRecipeArgument(entry.recipe, recipeLine);
  if (!picture) return 1;
  const std::string folder = KeptPicturesFolder(failure);
  if (folder.empty()) return Fail(failure);
  std::error_code error;
  std::filesystem::create_directories(FileSystemPath(folder), error);
  const std::string file =
      PathInFolder(folder, FirstFreeName(FileNameOf(name), ".png", [&](const std::string& candidate) {
        const std::filesystem::path path = FileSystemPath(PathInFolder(folder, candidate));
        return std::filesystem::exists(std::filesystem::symlink_status(path, error));
      }));
  if (!WritePictureFile(&owner, file, *picture, GifSaveOptions(), false, false, recipeLine)) return 1;

  MakeSettings settings;
  ApplyRecipe(recipe, settings);
  settings[kColorSetIndex] = SameColorSet(&owner, config, lists, recipe.colors);
  const bool newColors = settings[kColorSetIndex] == int32_t(lists.colorSets.size());
  if (!(newColors ? AddPatternWithColorSet(&owner, config, name, settings, recipe.colors)
                  : AddPattern(&owner, config, name, settings))) {
    std::filesystem::remove(FileSystemPath(file), error);
    return 1;
  }
  std::printf("Kept wallpaper %zu as %s\nand as the Pattern \"%s\" in %s, with %s colour set \"%s\"\n",
              request.number, file.c_str(), name.c_str(), config.c_str(), newColors ? "the new" : "its",
              newColors ? name.c_str() : lists.colorSets[size_t(settings[kColorSetIndex])].c_str());
  return 0;
}
