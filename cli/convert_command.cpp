// vitrelle-cli convert: opens a picture as the program's Open does and saves
// it as Save As does, by the output file's type.
#include "cli/convert_command.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/picture_files.h"
#include "base/texts.h"
#include "cli/cli_owner.h"
#include "cli/command_line.h"
#include "cli/picture_output.h"

const char kConvertUsage[] =
    "  convert [--interlace] [--transparent INDEX] [--comment TEXT] IN OUT\n"
    "      Opens a BMP, GIF or PNG picture and saves it as OUT (.bmp, .gif or .png).";

namespace {

const char kConvertHelp[] =
    "Usage: vitrelle-cli convert [OPTIONS] IN OUT\n"
    "\n"
    "Opens IN (a BMP, GIF or PNG file, recognised by its content) as Vitrelle's\n"
    "Open does and saves it as Save As does: OUT ending in .bmp as a BMP file of\n"
    "the picture's own depth, ending in .gif as a GIF file, ending in .png as a PNG\n"
    "file of the picture's own depth (with the recipe of a grown picture that IN\n"
    "carries). A picture of more than 256 colours is\n"
    "reduced to 256 colours for GIF. OUT is replaced only once the new file is\n"
    "complete. Without options a GIF is written plainly with the comment\n"
    "\"Vitrelle\"; the options set what the GIF options dialog sets:\n"
    "\n"
    "  --interlace          store the rows interlaced (GIF)\n"
    "  --transparent INDEX  make colour-table entry INDEX transparent (GIF, PNG)\n"
    "  --comment TEXT       the comment (GIF; at most 254 characters are kept)\n";

struct ConvertOptions {
  std::string in, out, comment;
  bool interlace = false, haveComment = false;
  int transparentIndex = -1;  // -1: not transparent
};

int Usage(const std::string& text) { return UsageError("convert", text); }

// Parses the arguments; returns -1 to go on, or an exit code.
int ParseConvertOptions(int argc, char** argv, ConvertOptions& options) {
  if (ShowHelpIfAsked(argc, argv, kConvertHelp)) return 0;
  int files = 0;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--interlace") {
      options.interlace = true;
    } else if (arg == "--transparent" || arg == "--comment") {
      std::string value;
      if (!TakeOptionValue(argc, argv, i, value)) return Usage("Missing value for " + arg);
      if (arg == "--comment") {
        options.comment = value.substr(0, kGifCommentMaxLength);
        options.haveComment = true;
        continue;
      }
      char* end = nullptr;
      const long index = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end || index < 0 || index > 255) return Usage("Not a colour index (0 to 255): " + value);
      options.transparentIndex = int(index);
    } else if (arg.rfind("--", 0) == 0) {
      return Usage("Unknown option: " + arg);
    } else {
      if (++files > 2) return Usage("More than two files given: " + arg);
      (files == 1 ? options.in : options.out) = arg;
    }
  }
  if (files < 2) return Usage("Give the input and the output file");
  return -1;
}

}  // namespace

int RunConvertCommand(int argc, char** argv) {
  ConvertOptions options;
  const int parsed = ParseConvertOptions(argc, argv, options);
  if (parsed >= 0) return parsed;
  PictureFileType outType;
  if (!PictureFileTypeOfName(options.out, outType)) {
    return Usage("OUT must end in .bmp, .gif or .png: " + options.out);
  }

  const Owner owner = CliOwner();
  GifSaveOptions gif;
  DibImagePtr image = OpenPictureFile(&owner, options.in.c_str(), gif);
  if (!image) return 1;
  if (options.haveComment) gif.comment = options.comment;
  const bool transparent = options.transparentIndex >= 0;
  if (transparent && outType != PictureFileType::kBmp) {
    // As in the options dialog: a full-colour picture has no colour to pick.
    if (DibBitCount(*image) > 8) {
      OwnerWarn(&owner, TextOf(IDS_TRANSPARENT_NEEDS_PALETTE), TextOf(IDS_ERROR));
      return 1;
    }
    if (options.transparentIndex >= DibColorCount(*image)) {
      std::fprintf(stderr, "The picture has colours 0 to %d only\n", DibColorCount(*image) - 1);
      return 1;
    }
    gif.transparentIndex = options.transparentIndex;
  }
  const std::string recipe = PictureFileRecipe(options.in.c_str(), *image);
  return WritePictureFile(&owner, options.out, *image, gif, transparent, options.interlace, recipe) ? 0 : 1;
}
