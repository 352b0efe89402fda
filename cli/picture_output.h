// Pictures out of vitrelle-cli: writing a picture as the type its name ends
// with.
#pragma once

#include <string>

#include "base/owner.h"
#include "app/picture_files.h"
#include "image/dib_image.h"

// Writes the picture as its name's type, a GIF with the given options, a
// PNG with the recipe if there is one; true when it was written, otherwise
// what went wrong has been shown.
bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image,
                      const GifSaveOptions& options = GifSaveOptions(), bool transparent = false,
                      bool interlace = false, const std::string& recipe = std::string());

// The line make and wallpaper print for a picture they grew: "recipe: TEXT";
// nothing for a picture without one.
void PrintRecipe(const std::string& recipe);
