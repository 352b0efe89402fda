#include "plugins/wic_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/normalize.h"
#include "plugins/plugin_blocks.h"

namespace {

WicFormat Sniff(const std::string& head) {
  return SniffWicFormat(reinterpret_cast<const uint8_t*>(head.data()), head.size());
}

TEST(WicPicture, TakesFilesByTheirFirstBytes) {
  EXPECT_EQ(Sniff(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), WicFormat::kPng);
  EXPECT_EQ(Sniff("\xFF\xD8\xFF\xE0"), WicFormat::kJpeg);
  EXPECT_EQ(Sniff(std::string("II*\0\x08\0\0\0", 8)), WicFormat::kTiff);
  EXPECT_EQ(Sniff(std::string("MM\0*\0\0\0\x08", 8)), WicFormat::kTiff);
  EXPECT_EQ(Sniff(std::string("\0\0\1\0\1\0", 6)), WicFormat::kIco);
  EXPECT_EQ(Sniff(std::string("RIFF\x10\0\0\0WEBPVP8 ", 16)), WicFormat::kWebp);
  EXPECT_EQ(Sniff(std::string("\0\0\0\x18" "ftypheic", 12)), WicFormat::kHeif);
  EXPECT_EQ(Sniff(std::string("\0\0\0\x18" "ftypmif1", 12)), WicFormat::kHeif);

  // Near misses, and heads too short to hold the signature.
  EXPECT_EQ(Sniff(std::string("\x89PNG\r\n\x1a", 7)), WicFormat::kNone);
  EXPECT_EQ(Sniff("\xFF\xD8"), WicFormat::kNone);
  EXPECT_EQ(Sniff(std::string("\0\0\1\0\0\0", 6)), WicFormat::kNone);  // an icon of no pictures
  EXPECT_EQ(Sniff(std::string("\0\0\2\0\1\0", 6)), WicFormat::kNone);  // a cursor
  EXPECT_EQ(Sniff(std::string("RIFF\x10\0\0\0WAVEfmt ", 16)), WicFormat::kNone);
  EXPECT_EQ(Sniff(std::string("\0\0\0\x18" "ftypisom", 12)), WicFormat::kNone);
  EXPECT_EQ(Sniff("BM"), WicFormat::kNone);
  EXPECT_EQ(Sniff("GIF89a"), WicFormat::kNone);
  EXPECT_EQ(Sniff(""), WicFormat::kNone);
}

// A 3 x 2 BGRA picture, top-down, every pixel distinct.
std::vector<uint8_t> Bgra(uint8_t alpha) {
  std::vector<uint8_t> bgra(6 * 4, 255);
  for (int i = 0; i < 6; ++i) {
    bgra[4 * i] = uint8_t(i);
    bgra[4 * i + 1] = uint8_t(10 + i);
    bgra[4 * i + 2] = uint8_t(20 + i);
  }
  bgra[4 * 4 + 3] = alpha;
  return bgra;
}

// The blocks the plug-in hands back, joined and held as the program does.
DibImagePtr HandBack(const std::vector<uint8_t>& bgra, int width, int height, int& depth) {
  depth = WicOutputDepth(bgra.data(), uint64_t(width) * height);
  std::vector<uint8_t> header(kWicHeaderBlockSize), pixels(WicPixelBlockSize(width, height, depth));
  WriteWicHeader(header.data(), width, height, depth);
  WriteWicPixels(bgra.data(), width, height, depth, pixels.data());
  DibImagePtr joined = JoinPluginBlocks(header.data(), header.size(), pixels.data(), pixels.size());
  return joined ? NormalizeImage(nullptr, std::move(joined)) : nullptr;
}

TEST(WicPicture, HandsBackBottomUpRowsThatTheProgramHolds) {
  for (uint8_t alpha : {uint8_t(255), uint8_t(0)}) {
    int depth = 0;
    DibImagePtr image = HandBack(Bgra(alpha), 3, 2, depth);
    EXPECT_EQ(depth, alpha == 255 ? 24 : 32);
    ASSERT_TRUE(image);
    ASSERT_EQ(DibWidth(*image), 3);
    ASSERT_EQ(DibHeight(*image), 2);
    // Stored row 0 is the bottom row: source pixels 3, 4, 5; colours kept
    // under transparency too.
    const uint8_t* pixels = DibPixels(*image);
    const size_t stride = DibRowStride(3, 24);
    for (int i = 0; i < 6; ++i) {
      const uint8_t* pixel = pixels + (i < 3 ? stride : 0) + 3 * (i % 3);
      EXPECT_EQ(pixel[0], i);
      EXPECT_EQ(pixel[1], 10 + i);
      EXPECT_EQ(pixel[2], 20 + i);
    }
  }
}

TEST(WicPicture, RefusesPicturesBeyondItsLimits) {
  EXPECT_EQ(WicPixelBlockSize(3, 2, 24), 2u * 12);
  EXPECT_EQ(WicPixelBlockSize(3, 2, 32), 2u * 12);
  EXPECT_EQ(WicPixelBlockSize(1, 1, 24), 4u);
  EXPECT_EQ(WicPixelBlockSize(0, 5, 24), 0u);
  EXPECT_EQ(WicPixelBlockSize(5, 0, 24), 0u);
  EXPECT_EQ(WicPixelBlockSize(32768, 1, 24), 0u);
  EXPECT_EQ(WicPixelBlockSize(32767, 32767, 32), 0u);  // above the pixel limit
  EXPECT_NE(WicPixelBlockSize(8192, 8192, 32), 0u);
}

}  // namespace
