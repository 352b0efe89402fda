// The options that choose a picture, shared by make and wallpaper, and
// growing the picture they choose as the program's Make does.
#pragma once

#include <cstdint>
#include <string>

#include "generator/make_settings.h"
#include "image/dib_image.h"

struct MakeOptions {
  std::string config, pattern, colors, size, mirror;
  bool haveTime = false;
  int64_t time = 0;
  bool growOptionGiven = false;  // any of the options above
  std::string recipe;            // --recipe TEXT|PICTURE, which takes none of them
  bool haveRecipe = false;
  // Which drawing of the random choices this picture takes: the pictures of
  // one run draw 0, 1, 2, ... in turn from the same warmed-up source.
  int drawing = 0;
};

// The Pattern file the options name, or the one beside the tool.
std::string ConfigPath(const MakeOptions& options);

// The options' lines for a command's --help.
extern const char kMakeOptionsHelp[];
extern const char kRecipeOptionHelp[];

// When argv[i] is one of the options (or --recipe), takes it and its value (moving i onto
// the value) and returns -1; returns 0 when argv[i] is no such option, and
// the usage error's exit code when its value is missing or wrong.
int TakeMakeOption(const char* command, int argc, char** argv, int& i, MakeOptions& options);

// Grows the picture: the Pattern file's state line changed by the options,
// "random" choosing an entry (or mirror kind) with the random source after
// the start-up warm-up, so that the same --time repeats the same choices.
// `chosen` says in one line what was used, `recipe` (when given) receives
// the picture's recipe line. None, with `exitCode` set, when the options name
// nothing the Pattern file has or the picture cannot be made (the message
// has been written to standard error).
DibImagePtr GrowPicture(MakeOptions options, std::string& chosen, int& exitCode, std::string* recipe = nullptr);

// The usage error's exit code when --recipe was given beside the other
// options; -1 when not.
int CheckRecipeAlone(const char* command, const MakeOptions& options);
// The picture the options choose: the one their recipe tells, or a grown
// one, as GrowPicture grows it.
DibImagePtr MakeChosenPicture(const MakeOptions& options, std::string& chosen, int& exitCode, std::string& recipe);
