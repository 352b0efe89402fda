#include "image/brightness.h"

#include <algorithm>

void ApplyBrightness(const DibImage& source, DibImage& target, int level) {
  const size_t size = DibTotalSize(source);
  if (size > source.blockSize || size > target.blockSize) return;
  const int v = std::clamp(level, 0, 255);
  uint8_t lightened[256];
  for (int c = 0; c < 256; ++c) lightened[c] = uint8_t(c * v / 255 + 255 - v);

  if (DibBitCount(source) < 16) {
    const RgbQuad* from = DibColorTable(source);
    RgbQuad* to = DibColorTable(target);
    for (int i = 0; i < DibColorCount(source); ++i) {
      to[i].blue = lightened[from[i].blue];
      to[i].green = lightened[from[i].green];
      to[i].red = lightened[from[i].red];
    }
    return;
  }
  const uint8_t* from = DibPixels(source);
  uint8_t* to = DibPixels(target);
  const size_t rowBytes = size_t(DibHeight(source)) * DibRowStride(DibWidth(source), DibBitCount(source));
  for (size_t i = 0; i < rowBytes; ++i) to[i] = lightened[from[i]];
}
