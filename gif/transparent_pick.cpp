#include "gif/transparent_pick.h"

// The colour-table index of pixel x in a stored row at 4 or 8 bits.
static int IndexAt(const uint8_t* row, int x, int depth) {
  if (depth == 8) return row[x];
  const uint8_t pair = row[x / 2];
  return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

PickOutcome PickTransparentColor(const DibImage& image, int x, int y, GifSaveOptions& options) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  if (x < 0 || x >= width || y < 0 || y >= height) return PickOutcome::Outside;
  if (depth > 8) return PickOutcome::NeedsPalette;
  if (depth == 1) {
    options.transparentIndex = 1;
    options.transparentColor[0] = options.transparentColor[1] = options.transparentColor[2] = 255;
    return PickOutcome::Picked;
  }
  // Rows are stored bottom-up: the top row of the picture is the last one.
  const uint8_t* row = DibPixels(image) + size_t(height - 1 - y) * DibRowStride(width, depth);
  const int index = IndexAt(row, x, depth);
  options.transparent = true;
  options.transparentIndex = index;
  // A pixel beyond a short colour table has no colour of its own: black.
  const RgbQuad color = index < DibColorCount(image) ? DibColorTable(image)[index] : RgbQuad{0, 0, 0, 0};
  options.transparentColor[0] = color.red;
  options.transparentColor[1] = color.green;
  options.transparentColor[2] = color.blue;
  return PickOutcome::Picked;
}
