#include "image/png_file.h"

#include <gtest/gtest.h>

#include <random>

#include "testing/gif_test_pictures.h"
#include "testing/writer_checks.h"
#include "testing/test_support.h"

namespace {

std::vector<uint8_t> ToPng(const DibImage& image, const PngOptions& options = PngOptions()) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(WritePng(VectorSink(&bytes), image, options));
  return bytes;
}

// A full-colour picture with smooth runs, edges and noise, so that every row
// filter has rows it suits.
DibImagePtr FullColorPicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  DibImagePtr image = CreateDibImage(width, height, 24);
  const size_t stride = DibRowStride(width, 24);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = DibPixels(*image) + y * stride;
    for (int x = 0; x < width; ++x) {
      row[3 * x] = uint8_t(x * 5 + y);
      row[3 * x + 1] = uint8_t((x / 7 + y / 3) % 2 ? 200 : 30);
      row[3 * x + 2] = uint8_t(y % 4 == 0 ? random() : x * y);
    }
  }
  return image;
}

// The colour of each pixel of a Pillow palette picture, red-green-blue.
std::vector<uint8_t> PillowColors(const PillowPicture& picture) {
  std::vector<uint8_t> rgb;
  for (uint8_t index : picture.pixels) {
    for (int c = 0; c < 3; ++c) rgb.push_back(3u * index + c < picture.palette.size() ? picture.palette[3 * index + c] : 0);
  }
  return rgb;
}

TEST(PngWriter, EveryDepthReadsBackInPillow) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  const std::string path = folder.PathOf("picture.png");
  for (int depth : {1, 4, 8, 24}) {
    for (int width : {1, 13, 301}) {
      for (int transparent : {-1, 1}) {
        if (depth == 24 && transparent >= 0) continue;
        DibImagePtr image = depth == 24 ? FullColorPicture(width, 9, unsigned(width))
                                        : RandomPicture(width, 9, depth, unsigned(width + depth));
        PngOptions options;
        if (transparent >= 0) options.transparentIndex = transparent;
        ASSERT_TRUE(WriteBytes(path, ToPng(*image, options)));
        const PillowPicture read = ReadWithPillow(path);
        SCOPED_TRACE(std::to_string(depth) + " bits, width " + std::to_string(width));
        ASSERT_EQ(read.mode, depth == 24 ? "RGB" : "P");
        if (depth == 24) {
          EXPECT_EQ(read.pixels, HeldRgb(*image));
          continue;
        }
        EXPECT_EQ(read.pixels, HeldIndexes(*image));
        EXPECT_EQ(PillowColors(read), HeldRgb(*image));
        EXPECT_EQ(read.transparency, transparent);
      }
    }
  }
}

TEST(PngWriter, ColourTableCoversEveryIndexUsed) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  const std::string path = folder.PathOf("short_table.png");
  // Two table entries, but pixels of index 5 and a transparent index 9.
  DibImagePtr image = RulePicture(6, 2, 8, [](int x, int) { return x == 3 ? 5 : x % 2; });
  SetDibInfoField(*image, kBiClrUsed, 2);
  PngOptions options;
  options.transparentIndex = 9;
  ASSERT_TRUE(WriteBytes(path, ToPng(*image, options)));
  const PillowPicture read = ReadWithPillow(path);
  ASSERT_EQ(read.mode, "P");
  EXPECT_EQ(read.pixels, HeldIndexes(*image));
  EXPECT_EQ(read.transparency, 9);
  ASSERT_GE(read.palette.size(), 30u);
  EXPECT_EQ(std::vector<uint8_t>(read.palette.begin() + 15, read.palette.begin() + 18), (std::vector<uint8_t>{0, 0, 0}));
}

TEST(PngWriter, BitsBeyondTheRowAreIgnored) {
  ExpectBitsBeyondTheRowIgnored([](const DibImage& image) { return ToPng(image); });
}

TEST(PngWriter, RefusesPicturesItCannotWrite) {
  std::vector<uint8_t> bytes;
  DibImagePtr shortBlock = CreateDibImage(64, 64, 8);
  shortBlock->blockSize = 1000;
  EXPECT_FALSE(WritePng(VectorSink(&bytes), *shortBlock, PngOptions()));
  DibImagePtr compressed = CreateDibImage(4, 4, 8);
  SetDibInfoField(*compressed, kBiCompression, kBiRle8);
  EXPECT_FALSE(WritePng(VectorSink(&bytes), *compressed, PngOptions()));
  DibImagePtr deep = CreateDibImage(4, 4, 24);
  SetDibInfoField(*deep, kBiBitCount, 32);
  EXPECT_FALSE(WritePng(VectorSink(&bytes), *deep, PngOptions()));
}

TEST(PngWriter, FileIsReplacedOnlyWhenComplete) {
  SKIP_WITHOUT_LINUX_TOOLS();
  DibImagePtr image = RulePicture(8, 8, 4, [](int x, int y) { return x + y; });
  DibImagePtr broken = CreateDibImage(8, 8, 4);
  broken->blockSize = 100;
  const auto write = [](const Owner* owner, const char* path, const DibImage& picture) {
    return WritePngFile(owner, path, picture, PngOptions());
  };
  const auto read = [](const std::string& path) { return ReadWithPillow(path).pixels; };
  ExpectFileReplacedOnlyWhenComplete(".png", *image, *broken, write, read, HeldIndexes(*image));
}

}  // namespace
