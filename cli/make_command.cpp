// vitrelle-cli make: grows a picture as the program's Make does, starting
// from the state line of the Pattern file, and writes it to a file. The
// Pattern file is only read.
#include "cli/make_command.h"

#include <string>

#include "cli/cli_owner.h"
#include "cli/command_line.h"
#include "cli/make_options.h"
#include "cli/picture_output.h"

const char kMakeUsage[] =
    "  make [--config FILE] [--time SECONDS] [--pattern INDEX|NAME|random] [--colors INDEX|NAME|random]\n"
    "       [--size INDEX|LABEL|WIDTHxHEIGHT|screen] [--mirror normal|vertical|cross|kaleidoscope|random] OUT\n"
    "  make --recipe TEXT|PICTURE OUT\n"
    "      Grows a wallpaper picture, or the one a recipe tells, and writes it to OUT\n"
    "      (.bmp, .gif or .png); prints its recipe.";

namespace {

const std::string kMakeHelp = std::string(
                                  "Usage: vitrelle-cli make [OPTIONS] OUT\n"
                                  "\n"
                                  "Grows a picture as Vitrelle's Make does: from the settings saved in the state\n"
                                  "line of the Pattern file, changed by the options below. OUT ending in .bmp is\n"
                                  "written as a BMP file, ending in .gif as a GIF file, ending in .png as a PNG\n"
                                  "file. The Pattern file is never written. The picture's recipe is printed as\n"
                                  "\"recipe: TEXT\", and a PNG file carries it too.\n"
                                  "\n") +
                              kRecipeOptionHelp + kMakeOptionsHelp;

}  // namespace

int RunMakeCommand(int argc, char** argv) {
  if (ShowHelpIfAsked(argc, argv, kMakeHelp.c_str())) return 0;
  MakeOptions options;
  std::string out;
  for (int i = 0; i < argc; ++i) {
    const int taken = TakeMakeOption("make", argc, argv, i, options);
    if (taken > 0) return taken;
    if (taken < 0) continue;
    const std::string arg = argv[i];
    if (arg.rfind("--", 0) == 0) return UsageError("make", "Unknown option: " + arg);
    if (!out.empty()) return UsageError("make", "More than one output file: " + arg);
    out = arg;
  }
  if (out.empty()) return UsageError("make", "No output file given");
  const int alone = CheckRecipeAlone("make", options);
  if (alone >= 0) return alone;

  std::string chosen, recipe;
  int exitCode = 1;
  DibImagePtr image = MakeChosenPicture(options, chosen, exitCode, recipe);
  if (!image) return exitCode;
  PrintRecipe(recipe);
  const Owner owner = CliOwner();
  return WritePictureFile(&owner, out, *image, GifSaveOptions(), false, false, recipe) ? 0 : 1;
}
