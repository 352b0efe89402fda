// Pictures that scenarios hand to the program, written as BMP files with the
// program's own writer (for the scenario files, which link the core).
#pragma once

#include <string>

#include "image/bmp_file.h"

// Writes the picture to the path and returns the path.
inline std::string WritePictureFile(const std::string& path, const DibImage& image) {
  WriteBmpFile(nullptr, path.c_str(), image);
  return path;
}
