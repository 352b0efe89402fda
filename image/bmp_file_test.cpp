#include "image/bmp_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "testing/gif_test_pictures.h"
#include "testing/test_support.h"

namespace {

std::vector<uint8_t> ToBmp(const DibImage& image) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(WriteBmp(VectorSink(&bytes), image));
  return bytes;
}

// An image whose pixels follow a simple rule, so that any decoder can check them.
DibImagePtr PatternImage(int width, int height, int depth) {
  if (depth <= 8) return RulePicture(width, height, depth, [](int x, int y) { return x * 3 + y * 5; });
  DibImagePtr image = CreateDibImage(width, height, depth);
  const size_t stride = DibRowStride(width, depth);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = DibPixels(*image) + y * stride;
    for (int x = 0; x < width; ++x) row[3 * x] = uint8_t(x * 3 + y * 5), row[3 * x + 1] = uint8_t(x), row[3 * x + 2] = uint8_t(y);
  }
  return image;
}

TEST(BmpFile, WrittenHeaderFields) {
  DibImagePtr image = CreateDibImage(100, 50, 8);
  SetDibInfoField(*image, kBiClrUsed, 20);
  std::vector<uint8_t> file = ToBmp(*image);
  ASSERT_EQ(file.size(), 5134u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(LoadU32(&file[2]), 5134u);
  EXPECT_EQ(LoadU16(&file[6]), 0);
  EXPECT_EQ(LoadU16(&file[8]), 0);
  EXPECT_EQ(LoadU32(&file[10]), 134u);

  std::vector<uint8_t> full = ToBmp(*CreateDibImage(5, 2, 24));
  EXPECT_EQ(full.size(), 86u);
  EXPECT_EQ(LoadU32(&full[10]), 54u);
}

TEST(BmpFile, RoundTripGivesTheSameBlock) {
  for (int depth : {1, 4, 8, 24}) {
    DibImagePtr image = PatternImage(13, 7, depth);
    std::vector<uint8_t> file = ToBmp(*image);
      DibImagePtr back = ReadBmpBytes(file.data(), file.size());
    ASSERT_TRUE(back) << depth;
    ASSERT_EQ(back->blockSize, DibTotalSize(*image));
    EXPECT_EQ(0, std::memcmp(back->start(), image->start(), back->blockSize)) << depth;
  }
}

// A minimal 8-bit file with the given header size and everything else valid.
std::vector<uint8_t> FileWithHeaderSize(uint32_t headerSize) {
  const bool core = headerSize == kCoreHeaderSize;
  const size_t table = core ? 768 : 1024;
  std::vector<uint8_t> file(14 + headerSize + table + 4 * 2);
  file[0] = 'B';
  file[1] = 'M';
  StoreU32(&file[2], uint32_t(file.size()));
  uint8_t* header = &file[14];
  StoreU32(header, headerSize);
  if (core) {
    StoreU16(header + 4, 3);
    StoreU16(header + 6, 2);
    StoreU16(header + 10, 8);
  } else if (headerSize >= 16) {
    StoreI32(header + 4, 3);
    StoreI32(header + 8, 2);
    StoreU16(header + 14, 8);
  }
  return file;
}

TEST(BmpFile, HeaderSizes) {
  for (uint32_t size : {0u, 4u, 11u, 13u, 14u, 15u}) {
    std::vector<uint8_t> file = FileWithHeaderSize(size);
    EXPECT_FALSE(ReadBmpBytes(file.data(), file.size())) << size;
  }
  for (uint32_t size : {12u, 16u, 40u, 108u, 124u}) {
    std::vector<uint8_t> file = FileWithHeaderSize(size);
    DibImagePtr image = ReadBmpBytes(file.data(), file.size());
    ASSERT_TRUE(image) << size;
    EXPECT_EQ(DibWidth(*image), 3);
    EXPECT_EQ(DibHeight(*image), 2);
  }
  std::vector<uint8_t> huge = FileWithHeaderSize(40);
  StoreU32(&huge[14], 0xFFFFFFF0u);
  EXPECT_FALSE(ReadBmpBytes(huge.data(), huge.size()));
}

TEST(BmpFile, RefusesFilesThatDoNotHoldWhatTheyPromise) {
  const std::vector<uint8_t> good = ToBmp(*PatternImage(9, 5, 8));
  ASSERT_TRUE(ReadBmpBytes(good.data(), good.size()));

  for (size_t cut = 0; cut < good.size(); cut += 37) {
    std::vector<uint8_t> shorter(good.begin(), good.begin() + cut);
    EXPECT_FALSE(ReadBmpBytes(shorter.data(), shorter.size())) << cut;
    if (cut < 6) continue;
    StoreU32(&shorter[2], uint32_t(cut));  // the file size agrees, the header still promises more
    EXPECT_FALSE(ReadBmpBytes(shorter.data(), shorter.size())) << cut;
  }
  std::vector<uint8_t> understated = good;  // a file size below the content does not cut rows off
  StoreU32(&understated[2], 0);
  EXPECT_TRUE(ReadBmpBytes(understated.data(), understated.size()));

  std::vector<uint8_t> overstated = good;
  StoreU32(&overstated[2], uint32_t(good.size() + 1));
  EXPECT_FALSE(ReadBmpBytes(overstated.data(), overstated.size()));

  std::vector<uint8_t> zeroWidth = good;
  StoreI32(&zeroWidth[18], 0);
  EXPECT_FALSE(ReadBmpBytes(zeroWidth.data(), zeroWidth.size()));

  std::vector<uint8_t> tooManyColors = good;
  StoreU32(&tooManyColors[14 + kBiClrUsed], 257);
  EXPECT_FALSE(ReadBmpBytes(tooManyColors.data(), tooManyColors.size()));

  std::vector<uint8_t> tallerThanData = good;
  StoreI32(&tallerThanData[22], 6);
  EXPECT_FALSE(ReadBmpBytes(tallerThanData.data(), tallerThanData.size()));
}

TEST(BmpFile, RowsPlacedFurtherBackAreMovedUp) {
  DibImagePtr image = PatternImage(6, 3, 8);
  std::vector<uint8_t> file = ToBmp(*image);
  const size_t offset = LoadU32(&file[10]);
  file.insert(file.begin() + offset, 10, 0xEE);  // a gap between table and rows
  StoreU32(&file[2], uint32_t(file.size()));
  StoreU32(&file[10], uint32_t(offset + 10));
  DibImagePtr back = ReadBmpBytes(file.data(), file.size());
  ASSERT_TRUE(back);
  ASSERT_EQ(back->blockSize, DibTotalSize(*image));
  EXPECT_EQ(0, std::memcmp(back->start(), image->start(), back->blockSize));
}

TEST(BmpFile, TopDownRowsCountByMagnitude) {
  DibImagePtr image = PatternImage(4, 3, 24);
  std::vector<uint8_t> file = ToBmp(*image);
  StoreI32(&file[22], -3);
  EXPECT_TRUE(ReadBmpBytes(file.data(), file.size()));
  file.pop_back();
  StoreU32(&file[2], uint32_t(file.size()));
  EXPECT_FALSE(ReadBmpBytes(file.data(), file.size()));
}

TEST(BmpFile, BitFieldMasksStayAfterTheHeader) {
  const int width = 2, height = 2, stride = 4;
  std::vector<uint8_t> file(14 + 40 + 12 + stride * height);
  file[0] = 'B';
  file[1] = 'M';
  StoreU32(&file[2], uint32_t(file.size()));
  StoreU32(&file[10], 14 + 40 + 12);
  StoreU32(&file[14], 40);
  StoreI32(&file[18], width);
  StoreI32(&file[22], height);
  StoreU16(&file[26], 1);
  StoreU16(&file[28], 16);
  StoreU32(&file[30], kBiBitFields);
  StoreU32(&file[54], 0xF800);
  StoreU32(&file[58], 0x07E0);
  StoreU32(&file[62], 0x001F);
  DibImagePtr image = ReadBmpBytes(file.data(), file.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(DibMaskBytes(*image), 12u);
  EXPECT_EQ(LoadU32(image->start() + 40), 0xF800u);
  EXPECT_EQ(image->blockSize, 40u + 12 + stride * height);
}

TEST(BmpFileOnDisk, WritesReplacesAndReadsBack) {
  TestFolder folder;
  const std::string path = folder.Write("older content", "picture.bmp");
  DibImagePtr image = PatternImage(17, 9, 4);
  OwnerRecorder recorder;
  Owner owner = recorder.owner();
  ASSERT_TRUE(WriteBmpFile(&owner, path.c_str(), *image));
  EXPECT_TRUE(recorder.warnings.empty());
  EXPECT_EQ(folder.FileCount(), 1u);  // no temporary file left behind
  DibImagePtr back = ReadBmpFile(path.c_str());
  ASSERT_TRUE(back);
  EXPECT_EQ(0, std::memcmp(back->start(), image->start(), back->blockSize));
  EXPECT_FALSE(ReadBmpFile(folder.PathOf("missing.bmp").c_str()));
}

TEST(BmpFileOnDisk, UnwritableFolderIsReportedWithThePath) {
  TestFolder folder;
  const std::string path = folder.PathOf("no such folder/picture.bmp");
  OwnerRecorder recorder;
  Owner owner = recorder.owner();
  EXPECT_FALSE(WriteBmpFile(&owner, path.c_str(), *PatternImage(4, 4, 8)));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_CANNOT_OPEN_FILE, path)});
}

TEST(BmpFileOnDisk, IndependentDecoderReadsTheSamePixels) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  for (int depth : {1, 4, 8, 24}) {
    DibImagePtr image = PatternImage(11, 6, depth);
    const std::string path = folder.PathOf("depth" + std::to_string(depth) + ".bmp");
    ASSERT_TRUE(WriteBmpFile(nullptr, path.c_str(), *image));
    EXPECT_EQ(MagickRgb(path), HeldRgb(*image)) << "depth " << depth;
  }
}

}  // namespace
