#include "cli/picture_output.h"

#include <cstdio>

bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image,
                      const GifSaveOptions& options, bool transparent, bool interlace, const std::string& recipe) {
  PictureFileType type;
  if (!PictureFileTypeOfName(path, type)) {
    OwnerWarn(owner, "Unsupported output file type (use .bmp, .gif or .png)", path.c_str());
    return false;
  }
  return SavePictureFile(owner, path.c_str(), type, image, options, transparent, interlace, recipe);
}

void PrintRecipe(const std::string& recipe) {
  if (recipe.empty()) return;
  std::printf("recipe: %s\n", recipe.c_str());
  std::fflush(stdout);
}
