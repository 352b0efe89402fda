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
  // Which drawing of the random choices this picture takes: the pictures of
  // one run draw 0, 1, 2, ... in turn from the same warmed-up source.
  int drawing = 0;
};

// The options' lines for a command's --help.
extern const char kMakeOptionsHelp[];

// When argv[i] is one of the options, takes it and its value (moving i onto
// the value) and returns -1; returns 0 when argv[i] is no such option, and
// the usage error's exit code when its value is missing or wrong.
int TakeMakeOption(const char* command, int argc, char** argv, int& i, MakeOptions& options);

// Grows the picture: the Pattern file's state line changed by the options,
// "random" choosing an entry (or mirror kind) with the random source after
// the start-up warm-up, so that the same --time repeats the same choices.
// `chosen` says in one line what was used. None, with `exitCode` set, when
// the options name nothing the Pattern file has or the picture cannot be
// made (the message has been written to standard error).
DibImagePtr GrowPicture(MakeOptions options, std::string& chosen, int& exitCode);
