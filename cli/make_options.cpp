#include "cli/make_options.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

#include "cli/cli_owner.h"
#include "cli/command_line.h"
#include "cli/executable_folder.h"
#include "cli/recipe_argument.h"
#include "generator/pattern_file.h"
#include "generator/pattern_image.h"
#include "cli/wallpaper_desktop.h"
#include "generator/screen_sizes.h"

const char kMakeOptionsHelp[] =
    "  --config FILE      the Pattern file (default: vitrelle.cfg beside vitrelle-cli)\n"
    "  --time SECONDS     the clock for the random warm-ups; the same time and options\n"
    "                     give the same picture again (default: now)\n"
    "  --pattern P        select Pattern P: its values, and its colour set if it names one\n"
    "  --colors C         the colour set C\n"
    "  --size S           the image size S, or WIDTHxHEIGHT such as 1024x768, or\n"
    "                     screen for the primary screen's size (Windows, X11, and Sway,\n"
    "                     GNOME and KDE Plasma on Wayland)\n"
    "  --mirror M         normal, vertical, cross or kaleidoscope\n"
    "\n"
    "P, C and S are 0-based positions in the lists of the Pattern file when they are\n"
    "plain numbers, and names (labels for sizes) otherwise. P, C and M may be\n"
    "\"random\": an entry picked anew each time, printed with the other choices.\n";

const char kRecipeOptionHelp[] =
    "  --recipe R         make again the very picture that recipe R tells, whatever\n"
    "                     the Pattern file and the time; R is the recipe line or a\n"
    "                     PNG file that carries one. Takes no other option.\n";

namespace {

const char* const kMirrorNames[] = {"normal", "vertical", "cross", "kaleidoscope"};

// The mirror kind of a name; 4 when it names none.
int MirrorIndex(const std::string& name) {
  int kind = 0;
  while (kind < 4 && name != kMirrorNames[kind]) ++kind;
  return kind;
}

bool IsPlainNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The 0-based index that a number, a name or "random" chooses in a list; -1 if none.
int ChooseEntry(const std::string& choice, const std::vector<std::string>& names, RandomSource& random) {
  if (choice == "random") return names.empty() ? -1 : int(RandomNext(random, int32_t(names.size())));
  if (IsPlainNumber(choice)) {
    const long index = std::strtol(choice.c_str(), nullptr, 10);
    return index < long(names.size()) ? int(index) : -1;
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == choice) return int(i);
  }
  return -1;
}

// A whole number with an optional sign, after optional white space.
bool IsSignedNumber(const std::string& text) {
  const size_t start = text.find_first_not_of(" \t\n\v\f\r");
  const size_t digits = start == std::string::npos ? start : start + (text[start] == '+' || text[start] == '-');
  return digits < text.size() && IsPlainNumber(text.substr(digits));
}

// A size typed as WIDTHxHEIGHT, each side read as the Pattern file reads
// one (a side beyond 32 bits is kept too large, never wrapped); false for
// text of any other form.
bool ReadTypedSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos || !IsSignedNumber(text.substr(0, x)) || !IsSignedNumber(text.substr(x + 1))) return false;
  width = ParseSideNumber(text.substr(0, x));
  height = ParseSideNumber(text.substr(x + 1));
  return true;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 1;
}

constexpr char kScreenSize[] = "screen";

// The primary screen's size; none, with `asked` saying what was asked,
// where no screen is known.
std::optional<SizeChoice> MeasuredScreenSize(std::string& asked) {
  const ScreenLayout screens = DesktopScreens(asked);
  if (const Screen* primary = PrimaryScreen(screens)) return SizeChoice{primary->name, primary->width, primary->height};
  return std::nullopt;
}

// Applies --pattern, --colors, --size and --mirror; returns -1 to go on, or an exit code.
int ApplyChoices(const Owner* owner, const MakeOptions& options, const PatternLists& lists, RandomSource& random,
                 MakeSettings& settings) {
  if (!options.pattern.empty()) {
    const int k = ChooseEntry(options.pattern, lists.patterns, random);
    Pattern pattern;
    if (k < 0 || ReadPattern(owner, options.config, k, pattern) != EntryRead::kFound) {
      return Fail("No such Pattern: " + options.pattern);
    }
    SelectPattern(settings, pattern, k);
  }
  if (!options.colors.empty()) {
    const int k = ChooseEntry(options.colors, lists.colorSets, random);
    if (k < 0) return Fail("No such color set: " + options.colors);
    settings[kColorSetIndex] = k;
  }
  if (options.size == kScreenSize) {
    std::string asked;
    const std::optional<SizeChoice> screen = MeasuredScreenSize(asked);
    if (!screen) return Fail("No screen is known here (" + asked + "); give a size such as 1920x1080");
    settings[kWidth] = screen->width;
    settings[kHeight] = screen->height;
  } else if (!options.size.empty()) {
    int32_t width = 0, height = 0;
    if (ReadTypedSize(options.size, width, height)) {
      settings[kWidth] = width;
      settings[kHeight] = height;
    } else {
      const int k = ChooseEntry(options.size, lists.sizes, random);
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
    const int kind = options.mirror == "random" ? int(RandomNext(random, 4)) : MirrorIndex(options.mirror);
    settings[kMirrorMode] = WithMirrorKind(settings[kMirrorMode], MirrorKind(kind));
  }
  return -1;
}

std::string EntryName(const std::vector<std::string>& names, int32_t index) {
  return index >= 0 && size_t(index) < names.size() ? names[size_t(index)] : "?";
}

std::string ChosenLine(const MakeSettings& settings, const PatternLists& lists, int64_t time) {
  const MirrorKind mirror = MirrorKindOf(settings[kMirrorMode]);
  return "pattern " + EntryName(lists.patterns, settings[kPatternIndex]) + ", colors " +
         EntryName(lists.colorSets, settings[kColorSetIndex]) + ", mirror " +
         (mirror >= 0 && mirror < 4 ? kMirrorNames[mirror] : "none") + ", size " + std::to_string(settings[kWidth]) +
         "x" + std::to_string(settings[kHeight]) + ", time " + std::to_string(time);
}

}  // namespace

std::string ConfigPath(const MakeOptions& options) {
  return options.config.empty() ? ExecutableFolder(nullptr) + "/vitrelle.cfg" : options.config;
}

int TakeMakeOption(const char* command, int argc, char** argv, int& i, MakeOptions& options) {
  const std::string arg = argv[i];
  std::string* target = arg == "--config"    ? &options.config
                        : arg == "--pattern" ? &options.pattern
                        : arg == "--colors"  ? &options.colors
                        : arg == "--size"    ? &options.size
                        : arg == "--mirror"  ? &options.mirror
                        : arg == "--recipe"  ? &options.recipe
                                             : nullptr;
  if (!target && arg != "--time") return 0;
  std::string value;
  if (!TakeOptionValue(argc, argv, i, value)) return UsageError(command, "Missing value for " + arg);
  (target == &options.recipe ? options.haveRecipe : options.growOptionGiven) = true;
  if (target == &options.mirror && value != "random" && MirrorIndex(value) == 4) {
    return UsageError(command, "Unknown mirror mode: " + value);
  }
  if (target) {
    *target = value;
    return -1;
  }
  char* end = nullptr;
  options.time = std::strtoll(value.c_str(), &end, 10);
  if (value.empty() || *end) return UsageError(command, "Not a number of seconds: " + value);
  options.haveTime = true;
  return -1;
}

DibImagePtr GrowPicture(MakeOptions options, std::string& chosen, int& exitCode, std::string* recipe) {
  exitCode = 1;
  options.config = ConfigPath(options);
  const int64_t now = options.haveTime ? options.time : int64_t(std::time(nullptr));

  const Owner owner = CliOwner();
  PatternLists lists;
  if (!ListEntries(&owner, options.config, lists)) return nullptr;
  MakeSettings settings;
  if (!LoadMakeSettings(&owner, options.config, SettingsLine::kState, settings)) {
    Fail("No state line in " + options.config);
    return nullptr;
  }
  // As if the program had started and Make were pressed in the same second;
  // the random choices come between the two.
  GeneratorState state;
  WarmUpAtStartup(state.random, now);
  for (int drawing = 0; drawing <= options.drawing; ++drawing) {
    MakeSettings drawn = settings;
    const int applied = ApplyChoices(&owner, options, lists, state.random, drawn);
    if (applied >= 0) {
      exitCode = applied;
      return nullptr;
    }
    if (drawing == options.drawing) settings = drawn;
  }
  chosen = ChosenLine(settings, lists, now);
  DibImagePtr image =
      MakePatternImage(&owner, settings, settings[kWidth], settings[kHeight], options.config, now, state, recipe);
  if (image) exitCode = 0;
  return image;
}

int CheckRecipeAlone(const char* command, const MakeOptions& options) {
  if (!options.haveRecipe || !options.growOptionGiven) return -1;
  return UsageError(command, "--recipe makes the picture it tells; it takes no other make options");
}

DibImagePtr MakeChosenPicture(const MakeOptions& options, std::string& chosen, int& exitCode, std::string& recipe) {
  exitCode = 1;
  if (options.haveRecipe) return MakeFromRecipeArgument(options.recipe, recipe);
  return GrowPicture(options, chosen, exitCode, &recipe);
}
