// Lightening an image: every channel c blends towards white by the level v
// (0 to 255) as c * v / 255 + 255 - v, so that 255 leaves the image as it
// is and 0 makes it white.
#pragma once

#include "image/dib_image.h"

// The level last chosen in the brightness dialog: one value for the whole
// run, 255 at start, never stored.
struct BrightnessLevel {
  int value = 255;
};

// Writes the lightened source into the target, an image of the same layout
// (the dialog's target is the current image, its source the backup copy).
// A palette image changes only its colour table (red, green and blue of the
// source's colour count of entries; rgbReserved and the pixels stay); a
// full-colour image changes every byte of its rows, padding included.
void ApplyBrightness(const DibImage& source, DibImage& target, int level);
