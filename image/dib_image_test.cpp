#include "image/dib_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_order.h"

namespace {

// A block with the given header fields, for layouts the program never makes itself.
DibImagePtr BlockWithHeader(uint32_t headerSize, int depth, uint32_t colorsUsed, size_t extra) {
  DibImagePtr image = AllocateDibBlock(headerSize + extra);
  uint8_t* p = image->start();
  StoreU32(p, headerSize);
  if (headerSize == kCoreHeaderSize) {
    StoreU16(p + 4, 10);
    StoreU16(p + 6, 10);
    StoreU16(p + 8, 1);
    StoreU16(p + 10, uint16_t(depth));
  } else {
    StoreI32(p + kBiWidth, 10);
    StoreI32(p + kBiHeight, 10);
    StoreU16(p + kBiPlanes, 1);
    StoreU16(p + kBiBitCount, uint16_t(depth));
    if (headerSize >= 36) StoreU32(p + kBiClrUsed, colorsUsed);
  }
  return image;
}

TEST(DibImage, CreateWritesTheHeader) {
  struct Case {
    int width, height, depth;
    int heldWidth, heldHeight, heldDepth;
  };
  const Case cases[] = {
      {100, 50, 8, 100, 50, 8},
      {4, 4, 16, 4, 4, 24},  // deeper depths become full colour
      {4, 4, 32, 4, 4, 24},
      {4, 4, 0, 4, 4, 0},                     // filled in later by the caller
      {0x10005, 0x10003, 8, 5, 3, 8},         // only the low 16 bits count
  };
  for (const Case& c : cases) {
    DibImagePtr image = CreateDibImage(c.width, c.height, c.depth);
    ASSERT_TRUE(image);
    EXPECT_EQ(DibHeaderSize(*image), 40u);
    EXPECT_EQ(DibWidth(*image), c.heldWidth);
    EXPECT_EQ(DibHeight(*image), c.heldHeight);
    EXPECT_EQ(DibBitCount(*image), c.heldDepth);
    EXPECT_EQ(DibInfoField(*image, kBiPlanes), 1u);
    EXPECT_EQ(DibInfoField(*image, kBiCompression), 0u);
    EXPECT_EQ(DibInfoField(*image, kBiClrUsed), 0u);
  }
}

// Every picture the block may come to hold, at the depth asked for or any
// palette depth chosen later, with a full colour table, fits the block.
TEST(DibImage, CreateReservesEnoughForEveryLaterTableAndDepth) {
  for (int width : {1, 3, 5, 33, 1601, 32767}) {
    for (int height : {1, 2, 7, 30}) {
      for (int depth : {0, 1, 4, 8, 16, 24, 32}) {
        DibImagePtr image = CreateDibImage(width, height, depth);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->blockSize, DibBlockReservation(width, height, depth));
        for (int later : depth > 8 ? std::vector<int>{24} : std::vector<int>{1, 4, 8}) {
          SetDibInfoField(*image, kBiBitCount, uint32_t(later));
          SetDibInfoField(*image, kBiClrUsed, 256);
          EXPECT_LE(DibTotalSize(*image), image->blockSize) << width << "x" << height << " " << depth << "/" << later;
        }
      }
    }
  }
}

TEST(DibImage, RowStrides) {
  EXPECT_EQ(DibRowStride(1, 1), 4u);
  EXPECT_EQ(DibRowStride(33, 1), 8u);
  EXPECT_EQ(DibRowStride(9, 4), 8u);
  EXPECT_EQ(DibRowStride(5, 8), 8u);
  EXPECT_EQ(DibRowStride(5, 24), 16u);
  EXPECT_EQ(DibRowStride(640, 24), 1920u);
  EXPECT_EQ(DibRowStride(5, 32), 16u);  // every depth above 8 takes the 24-bit stride
  EXPECT_EQ(DibRowStride(5, 2), 0u);
  // A bitmap from outside keeps its own depth in its rows.
  EXPECT_EQ(BitmapRowStride(5, 2), 4u);
  EXPECT_EQ(BitmapRowStride(5, 16), 12u);
  EXPECT_EQ(BitmapRowStride(5, 32), 20u);
  EXPECT_EQ(BitmapRowStride(32767, 32), 131068u);
}

TEST(DibImage, ColorTableFollowsHeaderAndColorsUsed) {
  DibImagePtr full = CreateDibImage(10, 10, 24);
  EXPECT_EQ(DibPixels(*full) - full->start(), 40);
  EXPECT_EQ(DibColorCount(*full), 0);

  DibImagePtr generated = CreateDibImage(10, 10, 8);
  SetDibInfoField(*generated, kBiClrUsed, 20);
  EXPECT_EQ(DibPixels(*generated) - generated->start(), 120);
  EXPECT_EQ(DibColorCount(*generated), 20);

  DibImagePtr table = CreateDibImage(10, 10, 8);
  EXPECT_EQ(DibColorCount(*table), 256);
  EXPECT_EQ(DibTotalSize(*table), 1184u);

  DibImagePtr withTable = CreateDibImage(10, 10, 24);
  SetDibInfoField(*withTable, kBiClrUsed, 3);
  EXPECT_EQ(DibColorCount(*withTable), 3);
}

TEST(DibImage, HeaderKindsFromOutside) {
  DibImagePtr core = BlockWithHeader(kCoreHeaderSize, 8, 0, 768 + 120);
  EXPECT_EQ(DibPixels(*core) - core->start(), 780);
  EXPECT_EQ(DibWidth(*core), 10);
  EXPECT_EQ(DibHeight(*core), 10);
  EXPECT_EQ(DibBitCount(*core), 8);

  // A 16-byte header has no biClrUsed: the table follows the depth.
  DibImagePtr shortHeader = BlockWithHeader(16, 4, 0, 64 + 80);
  EXPECT_EQ(DibPixels(*shortHeader) - shortHeader->start(), 16 + 64);

  DibImagePtr longHeader = BlockWithHeader(124, 8, 2, 8 + 120);
  EXPECT_EQ(DibPixels(*longHeader) - longHeader->start(), 124 + 8);
}

TEST(DibImage, FindColorKeepsTheLastMatch) {
  DibImagePtr image = CreateDibImage(4, 4, 8);
  RgbQuad* table = DibColorTable(*image);
  table[3] = {255, 255, 255, 0};
  table[200] = {255, 255, 255, 0};
  EXPECT_EQ(DibFindColor(*image, 255, 255, 255), 200);
  EXPECT_EQ(DibFindColor(*image, 1, 2, 3), 256);
  table[7] = {3, 2, 1, 0};
  EXPECT_EQ(DibFindColor(*image, 1, 2, 3), 7);
  EXPECT_EQ(DibFindColor(*CreateDibImage(4, 4, 24), 255, 255, 255), 0);
}

TEST(DibImage, CopyDuplicatesTheWholeBlock) {
  DibImagePtr image = CreateDibImage(3, 3, 4);
  DibPixels(*image)[0] = 0x12;
  DibImagePtr copy = CopyDibImage(*image);
  ASSERT_EQ(copy->blockSize, image->blockSize);
  EXPECT_EQ(0, std::memcmp(copy->start(), image->start(), image->blockSize));
  ReleaseDibImage(copy);
  EXPECT_FALSE(copy);
}

// The rows are counted as CreateDibImage reserves them: palette pictures at
// 8 bits a pixel, deeper ones at 24, each row padded to 4 bytes.
TEST(DibImage, PicturesFitInMemoryUpTo256MegabytesOfRows) {
  const struct {
    int width, height, depth;
    bool fits;
  } cases[] = {
      {16384, 16384, 8, true},  {16384, 16385, 8, false}, {16384, 16385, 1, false}, {32767, 8192, 4, true},
      {8192, 10922, 24, true},  {8192, 10923, 24, false}, {8192, 10923, 32, false}, {1600, 32767, 8, true},
      {32767, 32767, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" + std::to_string(c.depth));
    EXPECT_EQ(PictureFitsInMemory(c.width, c.height, c.depth), c.fits);
  }
  EXPECT_FALSE(CreateDibImage(32767, 32767, 8));
}

}  // namespace
