// The Linux wallpaper file: the picture as a PNG file (the desktops' setters
// read PNG, not BMP), written through the safe writer.
#pragma once

#include <string>

#include "base/owner.h"
#include "image/dib_image.h"

// Writes the picture (1, 4, 8 or 24 bits) as an RGB PNG file, replacing the
// file only once the new one is whole; false after the owner was told why.
bool WriteWallpaperPng(const Owner* owner, const DibImage& image, const std::string& path);
