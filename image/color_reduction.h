// The popularity count of a full-colour image's colours, and the two uses of
// it: the display palette's colours (ComputeDisplayColorTable) and the 8-bit
// copy of a full-colour image for GIF files (ReduceTo256Colors).
//
// The count tallies colour keys (red | green << 8 | blue << 16, each channel
// masked) in a tally of at most 1500 distinct keys after the two preset ones,
// black and white. When it would hold more, the mask loses its lowest bit
// and the count begins again. The most frequent keys, in falling order with
// the earlier key first on equal counts, fill the 256 slots; slots left over
// are black.
#pragma once

#include <cstdint>

#include "base/owner.h"
#include "image/dib_image.h"

// The colours of the last full-colour image analysed, for the display
// palette. One record for the whole run, zero at start.
struct DisplayColorTable {
  uint8_t red[256] = {};
  uint8_t green[256] = {};
  uint8_t blue[256] = {};
};

// Renews the table from the popularity count of about 200 x 200 pixels of a
// full-colour image, starting with the mask 0xF0. Returns 1; 0 for an image
// below 16 bits per pixel, which leaves the table as it was.
bool ComputeDisplayColorTable(const DibImage& image, DisplayColorTable& table);

// A new 8-bit image of a full-colour image: its table holds the 256 most
// frequent colours (every third row and column counted in a direction longer
// than 300 pixels) and every pixel becomes the index of the nearest entry
// (squared distance in red, green and blue; the lower index on a tie; no
// dithering). The owner's caption reads "Reducing to 256 color" meanwhile.
// None, without a message, for an image below 16 bits per pixel (caption
// untouched) and when memory runs out. The source is not changed.
DibImagePtr ReduceTo256Colors(const Owner* owner, const DibImage& image);
