#include "gif/gif_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/gif_test_pictures.h"
#include "testing/giflib_peer.h"
#include "testing/writer_checks.h"
#include "testing/test_support.h"

namespace {

std::vector<uint8_t> ToGif(const DibImage& image, const GifSaveOptions& options, bool transparent = false,
                           bool interlace = false) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(WriteGif(VectorSink(&bytes), image, options, transparent, interlace));
  return bytes;
}

std::vector<uint8_t> Hex(std::initializer_list<int> values) { return std::vector<uint8_t>(values.begin(), values.end()); }

TEST(GifWriter, OnePixelFileIsExact) {
  DibImagePtr image = CreateDibImage(1, 1, 1);
  DibColorTable(*image)[1] = {255, 255, 255, 0};
  GifSaveOptions options;
  options.comment = "abc";
  EXPECT_EQ(ToGif(*image, options),
            Hex({0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
                 0x00, 0xFF, 0xFF, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02,
                 0x02, 0x44, 0x01, 0x00, 0x21, 0xFE, 0x03, 0x61, 0x62, 0x63, 0x00, 0x3B}));
}

TEST(GifWriter, UniformRowsCompressAsExpected) {
  DibImagePtr image = RulePicture(4, 2, 8, [](int, int) { return 7; });
  std::vector<uint8_t> file = ToGif(*image, GifSaveOptions());
  EXPECT_EQ(GifImageData(file), Hex({0x08, 0x07, 0x00, 0x0F, 0x08, 0x1C, 0x28, 0x30, 0x20, 0x00}));
}

TEST(GifWriter, ScreenFlagsAndColourTableFollowTheDepth) {
  const struct { int depth, flags, entries; } kCases[] = {{1, 0x80, 2}, {4, 0xB3, 16}, {8, 0xF7, 256}};
  for (const auto& c : kCases) {
    DibImagePtr image = RulePicture(3, 2, c.depth, [](int x, int y) { return x + y; });
    SetDibInfoField(*image, kBiClrUsed, 2);  // fewer colours than the table holds
    std::vector<uint8_t> file = ToGif(*image, GifSaveOptions());
    EXPECT_EQ(file[10], c.flags);
    EXPECT_EQ(file[13 + 3 * 1 + 1], 254);  // green of colour 1
    for (int i = 2; i < c.entries; ++i) EXPECT_EQ(file[13 + 3 * i] | file[14 + 3 * i] | file[15 + 3 * i], 0);
    EXPECT_EQ(file[13 + 3 * c.entries], 0x2C);
    EXPECT_EQ(GifImageData(file)[0], c.depth < 2 ? 2 : c.depth);
  }
}

TEST(GifWriter, TransparentIndexIsPickedOrWhiteOrUnused) {
  DibImagePtr image = RulePicture(4, 4, 4, [](int x, int) { return x; });  // uses indexes 0 to 3
  auto extensionIndex = [&](const GifSaveOptions& options) {
    std::vector<uint8_t> file = ToGif(*image, options, true);
    const size_t at = 13 + 3 * 16;
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + at, file.begin() + at + 6), Hex({0x21, 0xF9, 0x04, 0x01, 0, 0}));
    EXPECT_EQ(file[at + 7], 0);
    return file[at + 6];
  };
  GifSaveOptions options;
  EXPECT_EQ(extensionIndex(options), 4);  // no white: the lowest index no pixel uses
  DibColorTable(*image)[3] = DibColorTable(*image)[7] = {255, 255, 255, 0};
  EXPECT_EQ(extensionIndex(options), 7);  // the last white entry
  options.transparentIndex = 2;
  EXPECT_EQ(extensionIndex(options), 2);

  DibImagePtr full = RulePicture(16, 1, 4, [](int x, int) { return x; });
  EXPECT_EQ(GifTransparentIndex(*full, GifSaveOptions()), 15);
}

TEST(GifWriter, CommentIsWrittenAndCut) {
  DibImagePtr image = RulePicture(2, 2, 8, [](int x, int) { return x; });
  GifSaveOptions options;
  options.comment = "";
  std::vector<uint8_t> file = ToGif(*image, options);
  EXPECT_EQ(std::vector<uint8_t>(file.end() - 5, file.end()), Hex({0x00, 0x21, 0xFE, 0x00, 0x3B}));
  options.comment = std::string(300, 'x');
  file = ToGif(*image, options);
  EXPECT_EQ(file[file.size() - 257], 254);
  EXPECT_EQ(file[file.size() - 2], 0);
}

TEST(GifWriter, InterlacedRowsGoInPassOrder) {
  SKIP_WITHOUT_LINUX_TOOLS();
  DibImagePtr image = RulePicture(3, 10, 8, [](int, int y) { return y; });
  std::vector<uint8_t> file = ToGif(*image, GifSaveOptions(), false, true);
  // The interlace flag, then the rows as the file stores them.
  EXPECT_EQ(file[13 + 768 + 9], 0x40);
  PeerPicture peer;
  ASSERT_TRUE(GiflibDecode(file, peer));
  EXPECT_TRUE(peer.interlace);
  EXPECT_EQ(peer.indexes, HeldIndexes(*image));
  std::vector<uint8_t> rows;
  for (int y : {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}) rows.insert(rows.end(), 3, uint8_t(y));
  EXPECT_EQ(peer.fileOrderIndexes, rows);
  PeerPicture plain = PeerOf(*image);
  plain.interlace = true;
  EXPECT_EQ(GifImageData(file), GifImageData(GiflibEncode(plain)));
}

// Reads the codes of an image data stream as any decoder does.
std::vector<std::pair<int, int>> CodesAndWidths(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes;
  for (size_t p = 1; p < data.size() && data[p]; p += data[p] + 1u) bytes.insert(bytes.end(), &data[p + 1], &data[p + 1 + data[p]]);
  const int clear = 1 << data[0];
  int width = data[0] + 1, next = clear + 2;
  std::vector<std::pair<int, int>> codes;
  uint64_t bits = 0;
  int held = 0;
  size_t p = 0;
  while (true) {
    while (held < width && p < bytes.size()) bits |= uint64_t(bytes[p++]) << held, held += 8;
    if (held < width) break;
    const int code = int(bits & ((1u << width) - 1));
    bits >>= width;
    held -= width;
    codes.push_back({code, width});
    if (code == clear + 1) break;
    if (code == clear) {
      width = data[0] + 1;
      next = clear + 2;
    } else if (codes.size() > 1 && codes[codes.size() - 2].first != clear && ++next >= (1 << width) && width < 12) {
      ++width;
    }
  }
  return codes;
}

TEST(GifWriter, FullTableIsClearedAtTwelveBits) {
  SKIP_WITHOUT_LINUX_TOOLS();
  DibImagePtr image = RandomPicture(200, 100, 8, 7);
  std::vector<uint8_t> file = ToGif(*image, GifSaveOptions());
  const std::vector<std::pair<int, int>> codes = CodesAndWidths(GifImageData(file));
  // Clear, then 3837 codes that assign 258 to 4094, one more code, and the clear at 12 bits.
  ASSERT_GT(codes.size(), 3841u);
  EXPECT_EQ(codes[0], std::make_pair(256, 9));
  EXPECT_NE(codes[3838].first, 256);
  EXPECT_EQ(codes[3839], std::make_pair(256, 12));
  EXPECT_EQ(codes[3840].second, 9);
  PeerPicture peer;
  ASSERT_TRUE(GiflibDecode(file, peer));
  EXPECT_EQ(peer.indexes, HeldIndexes(*image));
}

TEST(GifWriter, ImageDataMatchesGiflibAndDecodersAgree) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  for (int depth : {1, 4, 8}) {
    for (bool interlace : {false, true}) {
      for (int width : {1, 13, 300}) {
        DibImagePtr image = width == 300 ? RandomPicture(width, 70, depth, unsigned(depth))
                                         : RulePicture(width, 17, depth, [](int x, int y) { return x * y + y / 3; });
        std::vector<uint8_t> file = ToGif(*image, GifSaveOptions(), false, interlace);
        PeerPicture expected = PeerOf(*image);
        expected.interlace = interlace;
        EXPECT_EQ(GifImageData(file), GifImageData(GiflibEncode(expected))) << depth << " " << width;
        PeerPicture peer;
        ASSERT_TRUE(GiflibDecode(file, peer));
        EXPECT_EQ(peer.indexes, expected.indexes);
        EXPECT_EQ(peer.colors, expected.colors);
        if (width == 13) {
          const std::string path = folder.PathOf("picture.gif");
          ASSERT_TRUE(WriteBytes(path, file));
          EXPECT_EQ(PillowIndexes(path), expected.indexes) << depth;
        }
      }
    }
  }
}

TEST(GifWriter, BitsBeyondTheRowAreIgnored) {
  ExpectBitsBeyondTheRowIgnored([](const DibImage& image) { return ToGif(image, GifSaveOptions()); });
}

TEST(GifWriter, RefusesPicturesItCannotWrite) {
  std::vector<uint8_t> bytes;
  DibImagePtr full = CreateDibImage(2, 2, 24);
  EXPECT_FALSE(WriteGif(VectorSink(&bytes), *full, GifSaveOptions(), false, false));
  DibImagePtr shortBlock = CreateDibImage(64, 64, 8);
  shortBlock->blockSize = 1000;
  EXPECT_FALSE(WriteGif(VectorSink(&bytes), *shortBlock, GifSaveOptions(), false, false));
}

TEST(GifWriter, FileIsReplacedOnlyWhenComplete) {
  SKIP_WITHOUT_LINUX_TOOLS();
  DibImagePtr image = RulePicture(8, 8, 4, [](int x, int y) { return x + y; });
  PeerPicture peer;
  ASSERT_TRUE(GiflibDecode(ToGif(*image, GifSaveOptions()), peer));
  const auto write = [](const Owner* owner, const char* path, const DibImage& picture) {
    return WriteGifFile(owner, path, picture, GifSaveOptions(), false, false);
  };
  ExpectFileReplacedOnlyWhenComplete(".gif", *image, *CreateDibImage(2, 2, 24), write, PillowIndexes, peer.indexes);
}

}  // namespace
