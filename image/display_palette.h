// The colours of the logical palettes the Windows program makes for screens
// with a palette (fewer than 16 bits per pixel), as plain lists that it turns
// into palettes: the palette of an image, and the display palette renewed
// whenever the current image changes.
#pragma once

#include <cstdint>

#include "image/color_reduction.h"
#include "image/dib_image.h"

struct PaletteColor {
  uint8_t red, green, blue;
};

struct PaletteColors {
  int count = 0;
  PaletteColor entries[256] = {};
};

// The palette of an image: for a palette image its colour table (its colour
// count of entries, RGBTRIPLE entries after a core header), for a full-colour
// image the first 224 colours of the display table, which the caller renews
// for that image first.
PaletteColors ImagePaletteColors(const DibImage& image, const DisplayColorTable& table);

// The display palette for the current image on a screen of the given depth
// (bits per pixel times planes): below 16 bits, the image's palette, with a
// full-colour image counted afresh into the display table; true then. False
// when there is to be no display palette (a deeper screen, or no image).
bool DisplayPaletteColors(const DibImage* image, int screenDepth, DisplayColorTable& table, PaletteColors& colors);
