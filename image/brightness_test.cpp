#include "image/brightness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A 24-bit image of one row holding the given bytes.
DibImagePtr RowOf(const std::vector<uint8_t>& bytes) {
  DibImagePtr image = CreateDibImage(int(bytes.size() + 2) / 3, 1, 24);
  std::memcpy(DibPixels(*image), bytes.data(), bytes.size());
  return image;
}

std::vector<uint8_t> Lightened(const std::vector<uint8_t>& bytes, int level) {
  DibImagePtr source = RowOf(bytes);
  DibImagePtr target = CopyDibImage(*source);
  ApplyBrightness(*source, *target, level);
  return std::vector<uint8_t>(DibPixels(*target), DibPixels(*target) + bytes.size());
}

TEST(ApplyBrightness, BlendsEveryChannelTowardsWhite) {
  const std::vector<uint8_t> bytes = {0, 100, 255, 1, 254, 128};
  EXPECT_EQ(Lightened(bytes, 255), bytes);
  EXPECT_EQ(Lightened(bytes, 0), std::vector<uint8_t>(6, 255));
  EXPECT_EQ(Lightened({0, 100, 255}, 128), (std::vector<uint8_t>{127, 177, 255}));
  EXPECT_EQ(Lightened({0, 100, 255}, 200), (std::vector<uint8_t>{55, 133, 255}));
  EXPECT_EQ(Lightened({0, 100, 255}, -5), (std::vector<uint8_t>{255, 255, 255}));  // taken as 0
}

TEST(ApplyBrightness, TargetComesFromTheSourceEachTime) {
  DibImagePtr source = RowOf({0, 0, 0});
  DibImagePtr target = CopyDibImage(*source);
  ApplyBrightness(*source, *target, 128);
  ApplyBrightness(*source, *target, 128);
  EXPECT_EQ(DibPixels(*target)[0], 127);  // not accumulated
  // Keeping the result and applying the level again lightens it once more.
  DibImagePtr kept = CopyDibImage(*target);
  ApplyBrightness(*kept, *target, 128);
  EXPECT_EQ(DibPixels(*target)[0], 190);
}

TEST(ApplyBrightness, PaletteImagesChangeOnlyTheirTable) {
  DibImagePtr source = CreateDibImage(4, 2, 8);
  SetDibInfoField(*source, kBiClrUsed, 20);
  for (int i = 0; i < 20; ++i) DibColorTable(*source)[i] = {uint8_t(i), 100, 0, uint8_t(i + 7)};
  for (int i = 0; i < 8; ++i) DibPixels(*source)[i] = uint8_t(i);
  DibImagePtr target = CopyDibImage(*source);
  ApplyBrightness(*source, *target, 128);
  const RgbQuad& entry = DibColorTable(*target)[19];
  EXPECT_EQ(entry.blue, 19 * 128 / 255 + 127);
  EXPECT_EQ(entry.green, 177);
  EXPECT_EQ(entry.red, 127);
  EXPECT_EQ(entry.reserved, 26);
  EXPECT_EQ(0, std::memcmp(DibPixels(*target), DibPixels(*source), 8));
}

}  // namespace
