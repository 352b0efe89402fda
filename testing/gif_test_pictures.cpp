#include "testing/gif_test_pictures.h"

#include <random>

#include "testing/test_support.h"

DibImagePtr RulePicture(int width, int height, int depth, const std::function<int(int, int)>& rule) {
  DibImagePtr image = CreateDibImage(width, height, depth);
  RgbQuad* table = DibColorTable(*image);
  for (int i = 0; i < (1 << depth); ++i) table[i] = {uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7), 0};
  const size_t stride = DibRowStride(width, depth);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = DibPixels(*image) + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const int value = rule(x, y) & ((1 << depth) - 1);
      if (depth == 8) row[x] = uint8_t(value);
      if (depth == 4) row[x / 2] |= uint8_t(value << (x % 2 ? 0 : 4));
      if (depth == 1) row[x / 8] |= uint8_t(value << (7 - x % 8));
    }
  }
  return image;
}

DibImagePtr RandomPicture(int width, int height, int depth, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(size_t(width) * height);
  for (uint8_t& b : bytes) b = uint8_t(random());
  return RulePicture(width, height, depth, [&](int x, int y) { return bytes[size_t(y) * width + x]; });
}

PeerPicture PeerOf(const DibImage& image) {
  PeerPicture picture;
  picture.width = DibWidth(image);
  picture.height = DibHeight(image);
  picture.bitsPerPixel = DibBitCount(image);
  const RgbQuad* table = DibColorTable(image);
  for (int i = 0; i < (1 << picture.bitsPerPixel); ++i) {
    picture.colors.insert(picture.colors.end(), {table[i].red, table[i].green, table[i].blue});
  }
  picture.indexes = HeldIndexes(image);
  return picture;
}
