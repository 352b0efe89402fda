// vitrelle-cli autostart: a new wallpaper at every sign-in on the Linux
// desktops, through the freedesktop autostart entry that each of them runs.
#include "cli/autostart_command.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "base/file_io.h"
#include "cli/cli_owner.h"
#include "cli/command_line.h"
#include "cli/executable_folder.h"
#include "cli/home_folder.h"
#include "cli/wallpaper_command.h"
#include "generator/pattern_file.h"
#include "wallpaper/signin.h"

const char kAutostartUsage[] =
    "  autostart on [tile|center] [wallpaper's options] | off | status\n"
    "      Runs vitrelle-cli wallpaper at every sign-in (Linux desktops), or stops it.";

namespace {

const char kAutostartHelp[] =
    "Usage: vitrelle-cli autostart on [tile|center] [OPTIONS] | off | status\n"
    "\n"
    "on writes $XDG_CONFIG_HOME/autostart/vitrelle-wallpaper.desktop (by default\n"
    "~/.config/autostart), which every freedesktop desktop runs at sign-in: it runs\n"
    "\"vitrelle-cli wallpaper\" with the arguments given, tile and --pattern random\n"
    "unless others are said. off removes the entry; status shows it.\n"
    "The options are those of vitrelle-cli wallpaper --help.\n";

// The entry's path; empty, with the reason told, when there is no home folder.
std::string AutostartPath() {
  std::string failure;
  const std::string folder = XdgFolder("XDG_CONFIG_HOME", ".config", failure);
  if (folder.empty()) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    return std::string();
  }
  return folder + "/autostart/" + kAutostartFileName;
}

// The file named after --file or --config as a whole path, so that the
// entry works from any folder; empty, with the reader's message shown, when
// it cannot be read as a picture or a Pattern file.
std::string WholeFilePath(const std::string& option, const std::string& file) {
  std::error_code error;
  const std::string path = std::filesystem::absolute(file, error).string();
  const Owner owner = CliOwner();
  PatternLists lists;
  const bool readable = option == "--file" ? CanReadPicture(&owner, path) : ListEntries(&owner, path, lists);
  return readable ? path : std::string();
}

// The wallpaper arguments the entry runs, checked as wallpaper reads them:
// tile unless the first says center, a random Pattern unless one is named.
int EntryArguments(int argc, char** argv, std::vector<std::string>& arguments) {
  std::vector<char*> words(argv, argv + argc);
  const bool arranged = argc > 0 && (!std::strcmp(argv[0], "tile") || !std::strcmp(argv[0], "center") ||
                                     !std::strcmp(argv[0], "clear"));
  if (!arranged) words.insert(words.begin(), const_cast<char*>("tile"));
  WallpaperArguments parsed;
  const int result = ParseWallpaperArguments("autostart", int(words.size()), words.data(), parsed);
  if (result >= 0) return result;
  if (parsed.request.action == WallpaperAction::kClear) return UsageError("autostart", "autostart on takes tile or center");
  if (parsed.make.haveRecipe) {
    return UsageError("autostart", "autostart on grows a new picture at every sign-in; it takes no --recipe");
  }
  // Every option but the flags has a value, which the parse has found there.
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string word = words[i];
    arguments.push_back(word);
    if (word.rfind("--", 0) != 0 || IsWallpaperFlag(word)) continue;
    const bool file = word == "--file" || word == "--config";
    arguments.push_back(file ? WholeFilePath(word, words[++i]) : words[++i]);
    if (file && arguments.back().empty()) return 1;
  }
  if (parsed.request.file.empty() && parsed.make.pattern.empty()) {
    arguments.insert(arguments.end(), {"--pattern", "random"});
  }
  return -1;
}

int TurnOn(int argc, char** argv) {
  std::vector<std::string> arguments = {"wallpaper"};
  const int parsed = EntryArguments(argc, argv, arguments);
  if (parsed >= 0) return parsed;
  const std::string path = AutostartPath();
  if (path.empty()) return 1;
  std::error_code error;
  std::filesystem::create_directories(FolderOf(path), error);
  const std::string entry = AutostartEntry(ExecutableFolder(nullptr) + "/vitrelle-cli", arguments);
  SafeFileWriter writer;
  if (!writer.Open(path.c_str(), "vitrelle-") || std::fputs(entry.c_str(), writer.file()) < 0 || !writer.Commit()) {
    std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("At every sign-in: %s\n", path.c_str());
  return 0;
}

int TurnOff() {
  const std::string path = AutostartPath();
  if (path.empty()) return 1;
  std::error_code error;
  if (std::filesystem::remove(path, error)) {
    std::printf("Removed %s\n", path.c_str());
    return 0;
  }
  if (error) {
    std::fprintf(stderr, "Cannot remove %s: %s\n", path.c_str(), error.message().c_str());
    return 1;
  }
  std::printf("No new wallpaper at sign-in was set up (%s does not exist)\n", path.c_str());
  return 0;
}

int ShowStatus() {
  const std::string path = AutostartPath();
  if (path.empty()) return 1;
  std::ifstream in(path);
  if (!in) {
    std::printf("off\n");
    return 0;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Exec=", 0) == 0) {
      std::printf("on: %s\n", line.c_str() + 5);
      return 0;
    }
  }
  std::printf("on: %s has no Exec line\n", path.c_str());
  return 0;
}

}  // namespace

int RunAutostartCommand(int argc, char** argv) {
  if (ShowHelpIfAsked(argc, argv, kAutostartHelp)) return 0;
  if (argc < 1) return UsageError("autostart", "Say on, off or status");
  const std::string what = argv[0];
  if (what == "on") return TurnOn(argc - 1, argv + 1);
  if (argc > 1) return UsageError("autostart", std::string("Nothing may follow ") + argv[0]);
  if (what == "off") return TurnOff();
  if (what == "status") return ShowStatus();
  return UsageError("autostart", "Not on, off or status: " + what);
}
