// vitrelle-cli info: what the program holds after opening a picture file.
#include "cli/info_command.h"

#include <cstdio>
#include <string>

#include "app/picture_files.h"
#include "cli/cli_owner.h"
#include "cli/command_line.h"

const char kInfoUsage[] =
    "  info FILE\n"
    "      Shows the size, depth and colours of a picture as opened, and its recipe.";

namespace {

const char kInfoHelp[] =
    "Usage: vitrelle-cli info FILE\n\n"
    "Opens FILE as Vitrelle's Open does and shows the picture it holds: width,\n"
    "height, bits per pixel and colour count, and for a GIF file the interlace and\n"
    "transparency options that a later GIF save with options starts from, and for a\n"
    "PNG file of a grown picture its recipe (see make --recipe).\n";

}  // namespace

int RunInfoCommand(int argc, char** argv) {
  if (ShowHelpIfAsked(argc, argv, kInfoHelp)) return 0;
  if (argc != 1) return UsageError("info", "Give one file");
  const Owner owner = CliOwner();
  GifSaveOptions options;
  PictureFileType type;
  DibImagePtr image = OpenPictureFile(&owner, argv[0], options, &type);
  if (!image) return 1;
  std::printf("width: %d\nheight: %d\nbits per pixel: %d\n", DibWidth(*image), DibHeight(*image),
              DibBitCount(*image));
  if (DibBitCount(*image) > 8) {
    std::printf("colors: full color\n");
  } else {
    std::printf("colors: %d\n", DibColorCount(*image));
  }
  if (type == PictureFileType::kGif) {
    std::printf("interlace: %s\ntransparent: %s\ntransparentIndex: %d\n", options.interlace ? "true" : "false",
                options.transparent ? "true" : "false", options.transparentIndex);
  }
  const std::string recipe = PictureFileRecipe(argv[0], *image);
  if (!recipe.empty()) std::printf("recipe: %s\n", recipe.c_str());
  return 0;
}
