#include "image/png_reader.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "image/png_file.h"
#include "testing/gif_test_pictures.h"
#include "testing/test_support.h"

namespace {

std::vector<uint8_t> ToPng(const DibImage& image, const PngOptions& options = PngOptions()) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(WritePng(VectorSink(&bytes), image, options));
  return bytes;
}

DibImagePtr FromPng(const std::vector<uint8_t>& bytes) { return ReadPngBytes(bytes.data(), bytes.size()); }

// Red, green, blue of every colour-table entry.
std::vector<uint8_t> TableOf(const DibImage& image) {
  std::vector<uint8_t> colors;
  for (int i = 0; i < DibColorCount(image); ++i) {
    const RgbQuad& color = DibColorTable(image)[i];
    colors.insert(colors.end(), {color.red, color.green, color.blue});
  }
  return colors;
}

TEST(PngReader, ReadsWhatTheWriterWroteAsItWas) {
  for (int depth : {1, 4, 8, 24}) {
    for (int width : {1, 7, 301}) {
      DibImagePtr image = RandomPicture(width, 5, depth == 24 ? 8 : depth, unsigned(width * depth));
      if (depth == 24) {
        image = CreateDibImage(width, 5, 24);
        for (size_t i = 0; i < DibRowStride(width, 24) * 5; ++i) DibPixels(*image)[i] = uint8_t(i * 37 % 251);
      }
      PngOptions options;
      options.transparentIndex = 0;
      DibImagePtr read = FromPng(ToPng(*image, options));
      ASSERT_TRUE(read) << depth << " " << width;
      EXPECT_EQ(DibBitCount(*read), depth);
      EXPECT_EQ(HeldRgb(*read), HeldRgb(*image)) << depth << " " << width;
      if (depth == 24) continue;
      EXPECT_EQ(HeldIndexes(*read), HeldIndexes(*image));
      EXPECT_EQ(TableOf(*read), TableOf(*image));
    }
  }
}

TEST(PngReader, ReadsEveryKindOfPngAsImageMagickDoes) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  std::vector<uint8_t> rgb;
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 13; ++x) rgb.insert(rgb.end(), {uint8_t(x * 19), uint8_t(y * 23), uint8_t((x ^ y) * 16)});
  }
  const std::string source = folder.PathOf("source.ppm");
  ASSERT_TRUE(WritePpm(source, 13, 11, rgb));
  // 8-bit grey levels, so that 16-bit grey holds exact multiples of 257.
  const std::string grey = folder.PathOf("grey.pgm");
  ASSERT_TRUE(RunCommand("/usr/bin/convert '" + source + "' -colorspace Gray -depth 8 '" + grey + "'"));
  const struct {
    const char* options;
    int depth;
    bool fromGrey = false;
  } kCases[] = {
      {"-colorspace Gray -depth 1 -type Bilevel", 1},
      {"-colorspace Gray -depth 2", 4},
      {"-colorspace Gray -depth 4", 4},
      {"-depth 16 -define png:bit-depth=16 -define png:color-type=0", 8, true},
      {"-colors 3 -type Palette -define png:bit-depth=2", 4},
      {"-colors 60 PNG8:", 8},
      {"-depth 16 PNG48:", 24},
      {"-interlace PNG PNG24:", 24},
      {"-alpha on -channel A -fx 0.5 PNG32:", 24},
      {"-colorspace Gray -alpha on -channel A -fx 0.5 -type GrayscaleAlpha", 24},
  };
  for (const auto& c : kCases) {
    std::string options = c.options, prefix;
    const size_t colon = options.rfind(' ');
    if (options.back() == ':') {
      prefix = colon == std::string::npos ? options : options.substr(colon + 1);
      options = colon == std::string::npos ? "" : options.substr(0, colon);
    }
    const std::string path = folder.PathOf("picture.png");
    ASSERT_TRUE(RunCommand("/usr/bin/convert '" + (c.fromGrey ? grey : source) + "' " + options + " '" + prefix + path + "'")) << c.options;
    DibImagePtr image = ReadPngFile(path.c_str());
    ASSERT_TRUE(image) << c.options;
    EXPECT_EQ(DibBitCount(*image), c.depth) << c.options;
    EXPECT_EQ(HeldRgb(*image), MagickRgb(path)) << c.options;
  }
}

// A chunk as a PNG file holds it, with its checksum.
std::vector<uint8_t> Chunk(const char* type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunk(8 + data.size());
  const uint32_t size = uint32_t(data.size());
  for (int i = 0; i < 4; ++i) {
    chunk[size_t(i)] = uint8_t(size >> (24 - 8 * i));
    chunk[size_t(4 + i)] = uint8_t(type[i]);
  }
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  const uLong crc = crc32(0L, chunk.data() + 4, uInt(chunk.size() - 4));
  chunk.insert(chunk.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
  return chunk;
}

// A grey picture of the given size and depth whose IDAT holds `idat`.
std::vector<uint8_t> GreyPng(uint32_t width, uint32_t height, const std::vector<uint8_t>& idat, uint8_t depth = 8) {
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const std::vector<uint8_t> header = {uint8_t(width >> 24),  uint8_t(width >> 16),  uint8_t(width >> 8),
                                       uint8_t(width),        uint8_t(height >> 24), uint8_t(height >> 16),
                                       uint8_t(height >> 8),  uint8_t(height),       depth, 0, 0, 0, 0};
  for (const auto& chunk : {Chunk("IHDR", header), Chunk("IDAT", idat), Chunk("IEND", {})}) {
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

std::vector<uint8_t> Compressed(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out(compressBound(uLong(raw.size())));
  uLongf size = uLongf(out.size());
  compress(out.data(), &size, raw.data(), uLong(raw.size()));
  out.resize(size);
  return out;
}

TEST(PngReader, RefusesDamagedFiles) {
  const std::vector<uint8_t> good = ToPng(*RandomPicture(40, 30, 8, 3));
  ASSERT_TRUE(FromPng(good));
  std::vector<std::pair<std::string, std::vector<uint8_t>>> damaged;
  for (size_t cut : {size_t(7), size_t(20), size_t(40), good.size() / 2, good.size() - 13}) {
    damaged.push_back({"cut at " + std::to_string(cut), std::vector<uint8_t>(good.begin(), good.begin() + long(cut))});
  }
  std::vector<uint8_t> flipped = good;
  flipped[flipped.size() / 2] ^= 0x40;
  damaged.push_back({"a changed byte in the pixel data", flipped});
  std::vector<uint8_t> noSignature = good;
  noSignature[1] = 'Q';
  damaged.push_back({"no signature", noSignature});

  const std::vector<uint8_t> rows(3 * 4, 0);  // 3 rows of 3 pixels and a filter byte
  ASSERT_TRUE(FromPng(GreyPng(3, 3, Compressed(rows))));
  damaged.push_back({"width 0", GreyPng(0, 3, Compressed(rows))});
  damaged.push_back({"wider than a held picture", GreyPng(32768, 1, Compressed(std::vector<uint8_t>(32769, 0)))});
  damaged.push_back({"fewer rows than promised", GreyPng(3, 4, Compressed(rows))});
  damaged.push_back({"a bad row filter", GreyPng(3, 3, Compressed(std::vector<uint8_t>(12, 9)))});
  // 8000 x 8000 pixels from a few hundred bytes: more than deflate can make.
  damaged.push_back({"rows out of all proportion", GreyPng(8000, 8000, Compressed(std::vector<uint8_t>(8001, 0)))});
  // A text chunk that claims 2 GB, which must not be made room for.
  std::vector<uint8_t> longText = good;
  const std::vector<uint8_t> claim = {0x79, 0, 0, 0, 't', 'E', 'X', 't', 'a', '=', 'b'};
  longText.insert(longText.begin() + 33, claim.begin(), claim.end());
  damaged.push_back({"a chunk longer than the file", longText});
  for (const auto& [what, bytes] : damaged) {
    PictureSize tooLarge;
    EXPECT_FALSE(ReadPngBytes(bytes.data(), bytes.size(), &tooLarge)) << what;
    EXPECT_EQ(tooLarge.width, 0) << what;
  }
  // A picture beyond what the program holds is told by its size.
  const std::vector<uint8_t> huge = GreyPng(30000, 30000, Compressed(std::vector<uint8_t>(30001, 0)));
  PictureSize tooLarge;
  EXPECT_FALSE(ReadPngBytes(huge.data(), huge.size(), &tooLarge));
  EXPECT_EQ(tooLarge.width, 30000);
  EXPECT_EQ(tooLarge.height, 30000);
}

// A blank picture unpacks to a thousand times its file: the check against
// decompression bombs must count the bytes each depth really needs.
TEST(PngReader, ReadsLargeBlankAndBusyPicturesOfEveryDepth) {
  constexpr int kSide = 6000;
  for (int depth : {1, 4, 8, 24}) {
    for (bool busy : {false, true}) {
      DibImagePtr image = CreateDibImage(kSide, kSide, depth);
      const size_t stride = DibRowStride(kSide, depth), rowBytes = size_t(kSide) * depth / 8;
      for (size_t y = 0; busy && y < kSide; ++y) {
        for (size_t i = 0; i < rowBytes; ++i) DibPixels(*image)[y * stride + i] = uint8_t(i * 37 % 251 + y);
      }
      const std::string what = std::to_string(depth) + (busy ? " bits, busy" : " bits, blank");
      DibImagePtr read = FromPng(ToPng(*image));
      ASSERT_TRUE(read && DibBitCount(*read) == depth) << what;
      EXPECT_EQ(std::memcmp(DibPixels(*read), DibPixels(*image), stride * kSide), 0) << what;
    }
  }
  // 2 bits, which other programs write, are held as 4.
  DibImagePtr twoBits = FromPng(GreyPng(kSide, kSide, Compressed(std::vector<uint8_t>(kSide * (1 + kSide / 4))), 2));
  EXPECT_TRUE(twoBits && DibBitCount(*twoBits) == 4);
}

}  // namespace
