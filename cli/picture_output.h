// Pictures in and out of vitrelle-cli: the file type a name ends with, and
// writing a picture as that type.
#pragma once

#include <string>

#include "base/owner.h"
#include "app/picture_files.h"
#include "image/dib_image.h"

// The type of a file name ending in .bmp or .gif (any case); false otherwise.
bool PictureFileTypeOfName(const std::string& path, PictureFileType& type);

// Writes the picture as its name's type, a GIF with the given options; true
// when it was written, otherwise what went wrong has been shown.
bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image,
                      const GifSaveOptions& options = GifSaveOptions(), bool transparent = false,
                      bool interlace = false);
