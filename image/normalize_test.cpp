#include "image/normalize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "image/bmp_file.h"
#include "base/byte_order.h"
#include "testing/test_support.h"

namespace {

constexpr int kWidth = 23, kHeight = 7;  // odd, so that rows carry padding

// A colourful picture with a different colour in every pixel.
std::vector<uint8_t> SourceRgb() {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) rgb.insert(rgb.end(), {uint8_t(x * 11), uint8_t(y * 36 + x), uint8_t(x * y * 7)});
  }
  return rgb;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  FilePtr file = OpenFile(path.c_str(), "rb");
  std::vector<uint8_t> bytes(file ? size_t(FileSizeOf(file.get())) : 0);
  if (file && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) bytes.clear();
  return bytes;
}

DibImagePtr BlockOf(const std::vector<uint8_t>& bytes) {
  DibImagePtr image = AllocateDibBlock(bytes.size());
  std::memcpy(image->start(), bytes.data(), bytes.size());
  return image;
}

DibImagePtr NormalizeFile(const std::vector<uint8_t>& file, const Owner* owner = nullptr) {
  DibImagePtr read = ReadBmpBytes(file.data(), file.size());
  return read ? NormalizeImage(owner, std::move(read)) : nullptr;
}

void ExpectHeldHeader(const DibImage& image, int depth) {
  EXPECT_EQ(DibHeaderSize(image), kInfoHeaderSize);
  EXPECT_EQ(DibInfoField(image, kBiPlanes), 1u);
  EXPECT_EQ(DibInfoField(image, kBiCompression), uint32_t(kBiRgb));
  EXPECT_EQ(DibInfoField(image, kBiClrUsed), 0u);
  EXPECT_EQ(DibBitCount(image), depth);
  EXPECT_LE(DibTotalSize(image), image.blockSize);
}

// The parts of a BMP file, to build other kinds of file from one a tool made.
struct BmpParts {
  std::vector<uint8_t> header, masks, table, pixels;
};

BmpParts SplitBmp(const std::vector<uint8_t>& file) {
  BmpParts parts;
  DibHeader header;
  EXPECT_TRUE(file.size() > 14 && ReadDibHeader(&file[14], file.size() - 14, header));
  const auto block = file.begin() + 14, rows = file.begin() + LoadU32(&file[10]);
  parts.header.assign(block, block + header.headerSize);
  parts.masks.assign(block + header.headerSize, block + header.tableOffset);
  parts.table.assign(block + header.tableOffset, rows);
  parts.pixels.assign(rows, file.end());
  return parts;
}

std::vector<uint8_t> JoinBmp(const BmpParts& parts) {
  std::vector<uint8_t> file(14);
  file[0] = 'B';
  file[1] = 'M';
  for (const auto* part : {&parts.header, &parts.masks, &parts.table}) file.insert(file.end(), part->begin(), part->end());
  StoreU32(&file[10], uint32_t(file.size()));
  file.insert(file.end(), parts.pixels.begin(), parts.pixels.end());
  StoreU32(&file[2], uint32_t(file.size()));
  StoreU32(&file[14], uint32_t(parts.header.size()));
  return file;
}

// The same picture stored top row first, with a negative height.
std::vector<uint8_t> TopDown(const std::vector<uint8_t>& file) {
  BmpParts parts = SplitBmp(file);
  const int32_t height = LoadI32(&parts.header[kBiHeight]);
  const size_t stride = parts.pixels.size() / size_t(height);
  std::vector<uint8_t> flipped;
  for (int32_t y = height - 1; y >= 0; --y) {
    flipped.insert(flipped.end(), parts.pixels.begin() + y * stride, parts.pixels.begin() + (y + 1) * stride);
  }
  parts.pixels = flipped;
  StoreI32(&parts.header[kBiHeight], -height);
  return JoinBmp(parts);
}

// Stored header size, depth and compression of a BMP file, as "12/24/0".
std::string KindOf(const std::vector<uint8_t>& file) {
  DibHeader header;
  if (file.size() <= 14 || !ReadDibHeader(&file[14], file.size() - 14, header)) return "none";
  return std::to_string(header.headerSize) + "/" + std::to_string(header.depth) + "/" + std::to_string(header.compression);
}

class NormalizeToolFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_LINUX_TOOLS();
    ASSERT_TRUE(WritePpm(source_, kWidth, kHeight, SourceRgb()));
  }

  // A BMP file made by ImageMagick from the source picture with these options.
  std::vector<uint8_t> MagickBmp(const std::string& options) {
    const std::string path = folder_.PathOf("magick.bmp");
    std::filesystem::remove(path);
    EXPECT_TRUE(RunCommand("/usr/bin/convert '" + source_ + "' " + options + "'" + path + "'")) << options;
    return ReadAll(path);
  }
  std::string Saved(const std::vector<uint8_t>& file) {
    const std::string path = folder_.PathOf("saved.bmp");
    EXPECT_TRUE(WriteBytes(path, file));
    return path;
  }

  TestFolder folder_;
  std::string source_ = folder_.PathOf("source.ppm");
};

TEST_F(NormalizeToolFiles, EveryKindGivesThePixelsImageMagickDecodes) {
  struct Case {
    const char* options;
    const char* kind;  // header size, depth, compression of the file
    int heldDepth;
  } cases[] = {
      {"BMP3:", "40/24/0", 24},
      {"BMP2:", "12/24/0", 24},
      {"-colors 12 -type Palette BMP2:", "12/4/0", 4},
      {"-colors 100 -type Palette BMP2:", "12/8/0", 8},
      {"-colors 2 -type Palette BMP3:", "40/1/0", 1},
      {"-colors 12 -type Palette BMP3:", "40/4/0", 4},
      {"-colors 100 -type Palette -compress None BMP3:", "40/8/0", 8},
      {"-colors 100 -type Palette -compress RLE BMP3:", "40/8/1", 8},
      {"-define bmp:subtype=RGB565 BMP:", "124/16/3", 24},
      {"-alpha on -define bmp:subtype=ARGB1555 BMP:", "124/16/3", 24},
      {"-alpha on BMP:", "124/32/3", 24},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> file = MagickBmp(c.options);
    ASSERT_EQ(KindOf(file), c.kind) << c.options;
    DibImagePtr image = NormalizeFile(file);
    ASSERT_TRUE(image) << c.options;
    ExpectHeldHeader(*image, c.heldDepth);
    const std::string path = Saved(file);
    EXPECT_EQ(HeldRgb(*image), MagickRgb(path)) << c.options;
    if (c.heldDepth <= 8) {
      EXPECT_EQ(HeldIndexes(*image), PillowIndexes(path)) << c.options;
    }
  }
}

TEST_F(NormalizeToolFiles, TopDownRowsBecomeBottomUp) {
  for (const char* options : {"BMP3:", "-colors 12 -type Palette BMP3:", "-colors 100 -type Palette -compress None BMP3:",
                              "-define bmp:subtype=RGB565 BMP:", "-alpha on BMP:"}) {
    const std::vector<uint8_t> file = MagickBmp(options);
    DibImagePtr bottomUp = NormalizeFile(file);
    DibImagePtr topDown = NormalizeFile(TopDown(file));
    ASSERT_TRUE(bottomUp && topDown) << options;
    EXPECT_EQ(DibHeight(*topDown), kHeight);
    ASSERT_EQ(DibTotalSize(*topDown), DibTotalSize(*bottomUp));
    EXPECT_EQ(0, std::memcmp(topDown->start(), bottomUp->start(), DibTotalSize(*bottomUp))) << options;
    EXPECT_EQ(HeldRgb(*topDown), MagickRgb(Saved(TopDown(file)))) << options;
  }
}

// Other header layouts of the same pixels give the same held image.
TEST_F(NormalizeToolFiles, HeaderLayoutsWindowsDraws) {
  const std::vector<uint8_t> rgb565 = MagickBmp("-define bmp:subtype=RGB565 BMP:");
  const std::vector<uint8_t> argb1555 = MagickBmp("-alpha on -define bmp:subtype=ARGB1555 BMP:");
  const std::vector<uint8_t> argb32 = MagickBmp("-alpha on BMP:");
  const std::vector<uint8_t> rgb24 = MagickBmp("BMP3:");
  const std::vector<uint8_t> pal8 = MagickBmp("-colors 100 -type Palette -compress None BMP3:");
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> pairs;  // (variant, original)

  BmpParts v4 = SplitBmp(rgb24);  // a 108-byte header
  v4.header.resize(108);
  pairs.push_back({JoinBmp(v4), rgb24});

  BmpParts v4Fields = SplitBmp(rgb565);  // masks inside a 108-byte header
  v4Fields.header.resize(108);
  pairs.push_back({JoinBmp(v4Fields), rgb565});

  BmpParts fields40 = SplitBmp(rgb565);  // masks after a 40-byte header, as in CF_DIB
  fields40.masks.assign(fields40.header.begin() + 40, fields40.header.begin() + 52);
  fields40.header.resize(40);
  pairs.push_back({JoinBmp(fields40), rgb565});

  BmpParts alphaFields40 = SplitBmp(argb1555);  // BI_ALPHABITFIELDS: four masks after a 40-byte header
  alphaFields40.masks.assign(alphaFields40.header.begin() + 40, alphaFields40.header.begin() + 56);
  alphaFields40.header.resize(40);
  StoreU32(&alphaFields40.header[kBiCompression], kBiAlphaBitFields);
  pairs.push_back({JoinBmp(alphaFields40), argb1555});

  BmpParts rgb555 = SplitBmp(argb1555);  // 16-bit BI_RGB is 5-5-5, the top bit ignored
  rgb555.header.resize(40);
  StoreU32(&rgb555.header[kBiCompression], kBiRgb);
  for (size_t i = 1; i < rgb555.pixels.size(); i += 2) rgb555.pixels[i] ^= 0x80;
  pairs.push_back({JoinBmp(rgb555), argb1555});

  BmpParts xrgb32 = SplitBmp(argb32);  // 32-bit BI_RGB is 8-8-8, the fourth byte ignored
  xrgb32.header.resize(40);
  StoreU32(&xrgb32.header[kBiCompression], kBiRgb);
  for (size_t i = 3; i < xrgb32.pixels.size(); i += 4) xrgb32.pixels[i] = uint8_t(i);
  pairs.push_back({JoinBmp(xrgb32), argb32});

  BmpParts short16 = SplitBmp(pal8);  // a 16-byte header: no colour count, a full table
  short16.header.resize(16);
  short16.table.resize(1024);
  pairs.push_back({JoinBmp(short16), pal8});

  for (size_t i = 0; i < pairs.size(); ++i) {
    DibImagePtr variant = NormalizeFile(pairs[i].first);
    DibImagePtr original = NormalizeFile(pairs[i].second);
    ASSERT_TRUE(variant && original) << i;
    ExpectHeldHeader(*variant, DibBitCount(*original));
    EXPECT_EQ(HeldRgb(*variant), HeldRgb(*original)) << i;
  }
}

// An 8-bit block as the clipboard would hold it: 40-byte header, table, rows.
std::vector<uint8_t> PaletteBlock(int width, int height, uint32_t colorsUsed, uint32_t compression,
                                  const std::vector<uint8_t>& pixels, int depth = 8) {
  std::vector<uint8_t> block(40);
  StoreU32(&block[kBiSize], kInfoHeaderSize);
  StoreI32(&block[kBiWidth], width);
  StoreI32(&block[kBiHeight], height);
  StoreU16(&block[kBiPlanes], 1);
  StoreU16(&block[kBiBitCount], uint16_t(depth));
  StoreU32(&block[kBiCompression], compression);
  StoreU32(&block[kBiClrUsed], colorsUsed);
  const uint32_t entries = colorsUsed ? colorsUsed : depth <= 8 ? 1u << depth : 0;
  for (uint32_t i = 0; i < entries; ++i) block.insert(block.end(), {uint8_t(i * 5), uint8_t(255 - i), uint8_t(i * 9 + 1), 77});
  block.insert(block.end(), pixels.begin(), pixels.end());
  return block;
}

TEST(NormalizeImage, PaletteSourcesKeepTableAndIndexes) {
  SKIP_WITHOUT_LINUX_TOOLS();
  // 20 colours; a pixel names entry 100, beyond them.
  DibImagePtr image = NormalizeImage(nullptr, BlockOf(PaletteBlock(3, 1, 20, kBiRgb, {0, 19, 100, 0})));
  ASSERT_TRUE(image);
  ExpectHeldHeader(*image, 8);
  ASSERT_EQ(DibColorCount(*image), 256);
  const RgbQuad* table = DibColorTable(*image);
  EXPECT_EQ(table[19].blue, 19 * 5);
  EXPECT_EQ(table[19].green, 255 - 19);
  EXPECT_EQ(table[19].red, 19 * 9 + 1);
  EXPECT_EQ(table[19].reserved, 0);
  for (int i = 20; i < 256; ++i) EXPECT_TRUE(!table[i].red && !table[i].green && !table[i].blue) << i;
  EXPECT_EQ(HeldIndexes(*image), (std::vector<uint8_t>{0, 19, 100}));
}

// Run-length data built here: runs, literal groups (odd and even), moves,
// ends of line and the end of the bitmap; ImageMagick decodes the same file.
TEST_F(NormalizeToolFiles, RunLengthCodesDecodeAsImageMagickDecodesThem) {
  struct Case {
    int depth;
    uint32_t compression;
    std::vector<uint8_t> data;
    std::vector<uint8_t> indexes;  // top row first
  } cases[] = {
      {8, kBiRle8,
       {3, 7, 0, 3, 1, 2, 9, 0, 0, 0,  // row 0: 7 7 7, literal 1 2 9 (padded), end of line
        0, 2, 2, 0, 2, 5, 0, 0,        // row 1: move right 2, 5 5, end of line
        0, 4, 1, 2, 3, 4, 0, 2, 1, 1,  // row 2: literal 1 2 3 4, move to row 3 column 5
        1, 8, 0, 1},                   // row 3: 8 at column 5, end of bitmap
       {0, 0, 0, 0, 0, 8,  //
        1, 2, 3, 4, 0, 0,  //
        0, 0, 5, 5, 0, 0,  //
        7, 7, 7, 1, 2, 9}},
      {4, kBiRle4,
       {3, 0x12, 0, 3, 0x34, 0x50, 0, 0,  // row 0: 1 2 1, literal 3 4 5, end of line
        0, 2, 2, 0, 2, 0x77, 0, 0,        // row 1: move right 2, 7 7, end of line
        0, 5, 0xAB, 0xCD, 0xE0, 0,        // row 2: literal a b c d e (3 bytes, padded)
        0, 2, 0, 1, 1, 0xF0, 0, 1},       // move to row 3 column 5: 15, end of bitmap
       {0, 0, 0, 0, 0, 15,     //
        10, 11, 12, 13, 14, 0, //
        0, 0, 7, 7, 0, 0,      //
        1, 2, 1, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> block = PaletteBlock(6, 4, 16, c.compression, c.data, c.depth);
    std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 14 + 40 + 64, 0, 0, 0};
    file.insert(file.end(), block.begin(), block.end());
    StoreU32(&file[2], uint32_t(file.size()));
    DibImagePtr image = NormalizeFile(file);
    ASSERT_TRUE(image) << c.depth;
    ExpectHeldHeader(*image, c.depth);
    EXPECT_EQ(HeldIndexes(*image), c.indexes) << c.depth;
    EXPECT_EQ(HeldRgb(*image), MagickRgb(Saved(file))) << c.depth;
  }
}

// Bit fields scale to 8 bits: wider fields keep their top bits, narrower
// ones repeat theirs, so that a full field is 255; a missing field is 0.
TEST(NormalizeImage, BitFieldsOfAnyWidth) {
  std::vector<uint8_t> block(40 + 12 + 8);
  StoreU32(&block[kBiSize], kInfoHeaderSize);
  StoreI32(&block[4], 2);
  StoreI32(&block[8], 1);
  StoreU16(&block[14], 32);
  StoreU32(&block[16], kBiBitFields);
  StoreU32(&block[40], 0x3FF00000);  // red: 10 bits
  StoreU32(&block[44], 0x000000F0);  // green: 4 bits
  StoreU32(&block[48], 0x00000001);  // blue: 1 bit
  StoreU32(&block[52], 0x3FF000F1);
  StoreU32(&block[56], 0x20000050);
  DibImagePtr image = NormalizeImage(nullptr, BlockOf(block));
  ASSERT_TRUE(image);
  EXPECT_EQ(HeldRgb(*image), (std::vector<uint8_t>{255, 255, 255, 128, 0x55, 0}));
  StoreU32(&block[44], 0);
  image = NormalizeImage(nullptr, BlockOf(block));
  ASSERT_TRUE(image);
  EXPECT_EQ(HeldRgb(*image), (std::vector<uint8_t>{255, 0, 255, 128, 0, 0}));
}

TEST(NormalizeImage, RunLengthDataEndingEarlyOrFillingRowPadding) {
  DibImagePtr early = NormalizeImage(nullptr, BlockOf(PaletteBlock(4, 2, 16, kBiRle8, {2, 9, 0})));
  ASSERT_TRUE(early);
  EXPECT_EQ(HeldIndexes(*early), (std::vector<uint8_t>{0, 0, 0, 0, 9, 9, 0, 0}));
  // Rows of 3 pixels are stored in 4 bytes (8 nibbles at 4 bits): runs may fill them.
  DibImagePtr padded8 = NormalizeImage(nullptr, BlockOf(PaletteBlock(3, 1, 16, kBiRle8, {4, 9, 0, 1})));
  DibImagePtr padded4 = NormalizeImage(nullptr, BlockOf(PaletteBlock(3, 1, 16, kBiRle4, {8, 0x56, 0, 1}, 4)));
  ASSERT_TRUE(padded8 && padded4);
  EXPECT_EQ(HeldIndexes(*padded8), (std::vector<uint8_t>{9, 9, 9}));
  EXPECT_EQ(DibPixels(*padded8)[3], 0);
  EXPECT_EQ(HeldIndexes(*padded4), (std::vector<uint8_t>{5, 6, 5}));
}

TEST(NormalizeImage, WhatCannotBeConvertedIsReportedOnce) {
  std::vector<std::vector<uint8_t>> refused = {
      PaletteBlock(4, 2, 0, kBiRgb, std::vector<uint8_t>(8), 2),                  // depth 2
      PaletteBlock(4, 2, 0, kBiJpeg, std::vector<uint8_t>(100), 24),              // JPEG inside
      PaletteBlock(4, 2, 0, kBiPng, std::vector<uint8_t>(100), 0),                // PNG inside
      PaletteBlock(4, 2, 16, kBiRle8, {0, 1}, 4),                                 // RLE8 at 4 bits
      PaletteBlock(1, 1, 0, kBiBitFields, std::vector<uint8_t>(16), 24),          // bit fields at 24 bits
      PaletteBlock(4, 2, 16, kBiRle8, {5, 1, 0, 1}),                              // a run past the row
      PaletteBlock(4, 2, 16, kBiRle4, {0, 9, 0x11, 0x11, 0x11, 0x11, 0x10, 0}, 4),  // literals past it
      PaletteBlock(4, 2, 16, kBiRle8, {0, 2, 0, 2, 1, 1, 0, 1}),                  // a move above the top
      PaletteBlock(4, 2, 16, kBiRgb, std::vector<uint8_t>(7)),                    // rows cut short
      PaletteBlock(0, 2, 16, kBiRgb, {}),                                         // no width
  };
  refused.push_back(PaletteBlock(4, 2, 16, kBiRgb, {}));  // table cut short
  refused.back().resize(40 + 63);
  refused.push_back(PaletteBlock(4, 2, 16, kBiRgb, std::vector<uint8_t>(8)));  // header cut short
  refused.back().resize(30);
  refused.push_back(PaletteBlock(4, 2, 16, kBiRgb, std::vector<uint8_t>(8)));  // a table beyond the block
  StoreU32(&refused.back()[32], 0x40000001);
  for (size_t i = 0; i < refused.size(); ++i) {
    OwnerRecorder recorder;
    Owner owner = recorder.owner();
    EXPECT_FALSE(NormalizeImage(&owner, BlockOf(refused[i]))) << i;
    EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_CANNOT_MAKE_BITMAP, IDS_ERROR)}) << i;
    EXPECT_TRUE(recorder.captions.empty());
  }
}

}  // namespace
