// vitrelle-cli make: grows a picture as the program's Make does, starting
// from the state line of the Pattern file, and writes it to a file. The
// Pattern file is only read.
#include "cli/make_command.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "cli/cli_owner.h"
#include "cli/command_line.h"
#include "cli/executable_folder.h"
#include "cli/picture_output.h"
#include "generator/pattern_file.h"
#include "generator/pattern_image.h"

const char kMakeUsage[] =
    "  make [--config FILE] [--time SECONDS] [--pattern INDEX|NAME] [--colors INDEX|NAME]\n"
    "       [--size INDEX|LABEL|WIDTHxHEIGHT] [--mirror normal|vertical|cross|kaleidoscope] OUT\n"
    "      Grows a wallpaper picture and writes it to OUT (.bmp, .gif or .png).";

namespace {

const char kMakeHelp[] =
    "Usage: vitrelle-cli make [OPTIONS] OUT\n"
    "\n"
    "Grows a picture as Vitrelle's Make does: from the settings saved in the state\n"
    "line of the Pattern file, changed by the options below. OUT ending in .bmp is\n"
    "written as a BMP file, ending in .gif as a GIF file, ending in .png as a PNG\n"
    "file. The Pattern file is never written.\n"
    "\n"
    "  --config FILE      the Pattern file (default: vitrelle.cfg beside vitrelle-cli)\n"
    "  --time SECONDS     the clock for the random warm-ups; the same time and options\n"
    "                     give the same picture again (default: now)\n"
    "  --pattern P        select Pattern P: its values, and its colour set if it names one\n"
    "  --colors C         the colour set C\n"
    "  --size S           the image size S, or WIDTHxHEIGHT such as 1024x768\n"
    "  --mirror M         normal, vertical, cross or kaleidoscope\n"
    "\n"
    "P, C and S are 0-based positions in the lists of the Pattern file when they are\n"
    "plain numbers, and names (labels for sizes) otherwise.\n";

struct MakeOptions {
  std::string config, pattern, colors, size, mirror, out;
  bool haveTime = false;
  int64_t time = 0;
};

bool IsPlainNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The 0-based index that a number or a name chooses in a list; -1 if none.
int ChooseEntry(const std::string& choice, const std::vector<std::string>& names) {
  if (IsPlainNumber(choice)) {
    const long index = std::strtol(choice.c_str(), nullptr, 10);
    return index < long(names.size()) ? int(index) : -1;
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == choice) return int(i);
  }
  return -1;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 1;
}

int Usage(const std::string& text) { return UsageError("make", text); }

// Parses the arguments; returns -1 to go on, or an exit code.
int ParseMakeOptions(int argc, char** argv, MakeOptions& options) {
  if (ShowHelpIfAsked(argc, argv, kMakeHelp)) return 0;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--", 0) != 0) {
      if (!options.out.empty()) return Usage("More than one output file: " + arg);
      options.out = arg;
      continue;
    }
    std::string value;
    if (!TakeOptionValue(argc, argv, i, value)) return Usage("Missing value for " + arg);
    if (arg == "--config") options.config = value;
    else if (arg == "--pattern") options.pattern = value;
    else if (arg == "--colors") options.colors = value;
    else if (arg == "--size") options.size = value;
    else if (arg == "--mirror") options.mirror = value;
    else if (arg == "--time") {
      char* end = nullptr;
      options.time = std::strtoll(value.c_str(), &end, 10);
      if (value.empty() || *end) return Usage("Not a number of seconds: " + value);
      options.haveTime = true;
    } else {
      return Usage("Unknown option: " + arg);
    }
  }
  if (options.out.empty()) return Usage("No output file given");
  return -1;
}

// Applies --pattern, --colors, --size and --mirror; returns -1 to go on, or an exit code.
int ApplyChoices(const Owner* owner, const MakeOptions& options, const PatternLists& lists, MakeSettings& settings) {
  if (!options.pattern.empty()) {
    const int k = ChooseEntry(options.pattern, lists.patterns);
    Pattern pattern;
    if (k < 0 || ReadPattern(owner, options.config, k, pattern) != EntryRead::kFound) {
      return Fail("No such Pattern: " + options.pattern);
    }
    SelectPattern(settings, pattern, k);
  }
  if (!options.colors.empty()) {
    const int k = ChooseEntry(options.colors, lists.colorSets);
    if (k < 0) return Fail("No such color set: " + options.colors);
    settings[kColorSetIndex] = k;
  }
  if (!options.size.empty()) {
    int width = 0, height = 0;
    char x = 0, rest = 0;
    if (std::sscanf(options.size.c_str(), "%d%c%d%c", &width, &x, &height, &rest) == 3 && (x == 'x' || x == 'X')) {
      settings[kWidth] = width;
      settings[kHeight] = height;
    } else {
      const int k = ChooseEntry(options.size, lists.sizes);
      SizeChoice size;
      if (k < 0 || ReadSizeChoice(owner, options.config, k, size) != EntryRead::kFound) {
        return Fail("No such image size: " + options.size);
      }
      settings[kSizeIndex] = k;
      settings[kWidth] = size.width;
      settings[kHeight] = size.height;
    }
  }
  if (!options.mirror.empty()) {
    const char* names[] = {"normal", "vertical", "cross", "kaleidoscope"};
    int kind = 0;
    while (kind < 4 && options.mirror != names[kind]) ++kind;
    if (kind == 4) return Usage("Unknown mirror mode: " + options.mirror);
    settings[kMirrorMode] = WithMirrorKind(settings[kMirrorMode], MirrorKind(kind));
  }
  return -1;
}

}  // namespace

int RunMakeCommand(int argc, char** argv) {
  MakeOptions options;
  const int parsed = ParseMakeOptions(argc, argv, options);
  if (parsed >= 0) return parsed;
  if (options.config.empty()) options.config = ExecutableFolder(nullptr) + "/vitrelle.cfg";
  const int64_t now = options.haveTime ? options.time : int64_t(std::time(nullptr));

  const Owner owner = CliOwner();
  PatternLists lists;
  if (!ListEntries(&owner, options.config, lists)) return 1;
  MakeSettings settings;
  if (!LoadMakeSettings(&owner, options.config, SettingsLine::kState, settings)) return Fail("No state line in " + options.config);
  const int applied = ApplyChoices(&owner, options, lists, settings);
  if (applied >= 0) return applied;

  // As if the program had started and Make were pressed in the same second.
  GeneratorState state;
  WarmUpAtStartup(state.random, now);
  DibImagePtr image =
      MakePatternImage(&owner, settings, settings[kWidth], settings[kHeight], options.config, now, state);
  if (!image) return 1;
  return WritePictureFile(&owner, options.out, *image) ? 0 : 1;
}
