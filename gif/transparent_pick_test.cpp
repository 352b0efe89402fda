#include "gif/transparent_pick.h"

#include <gtest/gtest.h>

namespace {

// A picture of 3 x 2 pixels whose table entry i is (i, 255 - i, 7) and whose
// stored rows hold the given indexes, bottom row first.
DibImagePtr Picture(int depth, std::initializer_list<uint8_t> bottomRow, std::initializer_list<uint8_t> topRow) {
  DibImagePtr image = CreateDibImage(3, 2, depth);
  for (int i = 0; i < DibColorCount(*image); ++i) DibColorTable(*image)[i] = {7, uint8_t(255 - i), uint8_t(i), 0};
  const size_t stride = DibRowStride(3, depth);
  std::copy(bottomRow.begin(), bottomRow.end(), DibPixels(*image));
  std::copy(topRow.begin(), topRow.end(), DibPixels(*image) + stride);
  return image;
}

void ExpectPicked(const GifSaveOptions& options, int index) {
  EXPECT_TRUE(options.transparent);
  EXPECT_EQ(options.transparentIndex, index);
  EXPECT_EQ(options.transparentColor[0], index);
  EXPECT_EQ(options.transparentColor[1], 255 - index);
  EXPECT_EQ(options.transparentColor[2], 7);
}

TEST(PickTransparentColor, EightBitsTakeTheByteCountingRowsFromTheTop) {
  DibImagePtr image = Picture(8, {10, 11, 12}, {200, 201, 202});
  GifSaveOptions options;
  EXPECT_EQ(PickTransparentColor(*image, 0, 0, options), PickOutcome::Picked);
  ExpectPicked(options, 200);
  EXPECT_EQ(PickTransparentColor(*image, 2, 1, options), PickOutcome::Picked);
  ExpectPicked(options, 12);
}

TEST(PickTransparentColor, FourBitsTakeTheHighNibbleForEvenColumns) {
  DibImagePtr image = Picture(4, {0x12, 0x30}, {0xAB, 0xC0});
  GifSaveOptions options;
  const int expected[3] = {0xA, 0xB, 0xC};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(PickTransparentColor(*image, x, 0, options), PickOutcome::Picked);
    ExpectPicked(options, expected[x]);
  }
  EXPECT_EQ(PickTransparentColor(*image, 1, 1, options), PickOutcome::Picked);
  ExpectPicked(options, 0x2);
}

TEST(PickTransparentColor, TwoColoursAlwaysGiveWhiteIndexOneAndKeepTheSwitch) {
  DibImagePtr image = Picture(1, {0x00}, {0x00});
  for (bool transparent : {false, true}) {
    GifSaveOptions options;
    options.transparent = transparent;
    EXPECT_EQ(PickTransparentColor(*image, 1, 1, options), PickOutcome::Picked);
    EXPECT_EQ(options.transparent, transparent);
    EXPECT_EQ(options.transparentIndex, 1);
    EXPECT_EQ(options.transparentColor[0] & options.transparentColor[1] & options.transparentColor[2], 255);
  }
}

TEST(PickTransparentColor, PressesBesideThePictureOrOnFullColourChangeNothing) {
  DibImagePtr palette = Picture(8, {1, 2, 3}, {4, 5, 6});
  DibImagePtr fullColour = CreateDibImage(3, 2, 24);
  GifSaveOptions options;
  options.transparentColor[0] = 9;
  const int outside[][2] = {{3, 0}, {0, 2}, {-1, 0}, {0, -1}};
  for (const auto& position : outside) {
    EXPECT_EQ(PickTransparentColor(*palette, position[0], position[1], options), PickOutcome::Outside);
    EXPECT_EQ(PickTransparentColor(*fullColour, position[0], position[1], options), PickOutcome::Outside);
  }
  EXPECT_EQ(PickTransparentColor(*fullColour, 2, 1, options), PickOutcome::NeedsPalette);
  EXPECT_FALSE(options.transparent);
  EXPECT_EQ(options.transparentIndex, kTransparentIndexNone);
  EXPECT_EQ(options.transparentColor[0], 9);
}

}  // namespace
