// Writing a picture to the file type its name ends with.
#pragma once

#include <string>

#include "app/owner.h"
#include "image/dib_image.h"

// True when the picture was written; otherwise what went wrong has been shown.
bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image);
