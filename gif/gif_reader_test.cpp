#include "gif/gif_reader.h"

#include <gtest/gtest.h>

#include "testing/gif_test_pictures.h"
#include "gif/gif_writer.h"
#include "testing/giflib_peer.h"
#include "testing/test_support.h"

namespace {

const std::vector<uint8_t> kOnePixelFile = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xFF, 0xFF, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02,
    0x02, 0x44, 0x01, 0x00, 0x21, 0xFE, 0x03, 0x61, 0x62, 0x63, 0x00, 0x3B};

DibImagePtr Read(const std::vector<uint8_t>& file, GifFileFlags& flags) {
  return ReadGifBytes(file.data(), file.size(), flags);
}

std::vector<uint8_t> ToGif(const DibImage& image, bool interlace = false) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(WriteGif(VectorSink(&bytes), image, GifSaveOptions(), false, interlace));
  return bytes;
}

GifFileFlags DirtyFlags() {
  GifFileFlags flags;
  flags.interlace = flags.transparent = true;
  flags.transparentIndex = 3;
  return flags;
}

void ExpectReset(const GifFileFlags& flags) {
  EXPECT_FALSE(flags.interlace);
  EXPECT_FALSE(flags.transparent);
  EXPECT_EQ(flags.transparentIndex, kTransparentIndexNone);
}

TEST(GifReader, ReadsTheOnePixelFile) {
  GifFileFlags flags = DirtyFlags();
  DibImagePtr image = Read(kOnePixelFile, flags);
  ASSERT_TRUE(image);
  EXPECT_EQ(DibWidth(*image), 1);
  EXPECT_EQ(DibHeight(*image), 1);
  EXPECT_EQ(DibBitCount(*image), 1);
  EXPECT_EQ(DibColorTable(*image)[0].red | DibColorTable(*image)[0].green | DibColorTable(*image)[0].blue, 0);
  EXPECT_EQ(DibColorTable(*image)[1].red & DibColorTable(*image)[1].green & DibColorTable(*image)[1].blue, 255);
  EXPECT_EQ(HeldIndexes(*image), std::vector<uint8_t>{0});
  ExpectReset(flags);
}

TEST(GifReader, RoundTripsEveryDepthPlainAndInterlaced) {
  for (int depth : {1, 4, 8}) {
    for (int width : {1, 7, 161}) {
      DibImagePtr image = width == 161 ? RandomPicture(width, 90, depth, 3)
                                       : RulePicture(width, 23, depth, [](int x, int y) { return x * 5 + y * y; });
      for (bool interlace : {false, true}) {
        GifFileFlags flags;
        DibImagePtr back = Read(ToGif(*image, interlace), flags);
        ASSERT_TRUE(back);
        EXPECT_EQ(DibBitCount(*back), depth);
        EXPECT_EQ(HeldIndexes(*back), HeldIndexes(*image)) << depth << " " << width << " " << interlace;
        EXPECT_EQ(HeldRgb(*back), HeldRgb(*image));
        EXPECT_EQ(flags.interlace, interlace);
      }
    }
  }
}

TEST(GifReader, ReadsFilesOfGiflibAsPillowDoes) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  DibImagePtr source = RulePicture(37, 29, 8, [](int x, int y) { return (x / 3) * (y / 2) % 4; });
  PeerPicture picture = PeerOf(*source);
  picture.bitsPerPixel = 2;  // a 4-colour table: size field 1
  picture.colors.resize(12);
  for (bool gif89 : {false, true}) {
    for (bool local : {false, true}) {
      picture.gif89 = gif89;
      picture.localColorMap = local;
      picture.interlace = local;
      const std::string path = folder.PathOf("peer.gif");
      ASSERT_TRUE(WriteBytes(path, GiflibEncode(picture)));
      GifFileFlags flags;
      DibImagePtr image = ReadGifFile(nullptr, path.c_str(), flags);
      ASSERT_TRUE(image);
      EXPECT_EQ(DibBitCount(*image), 4);
      EXPECT_EQ(HeldIndexes(*image), PillowIndexes(path));
      for (int i = 0; i < 4; ++i) EXPECT_EQ(DibColorTable(*image)[i].green, picture.colors[3 * i + 1]);
      EXPECT_EQ(flags.interlace, local);
    }
  }
}

// The file with its global table moved into the image as a local table, the
// screen's size field left as `screenSizeField`.
std::vector<uint8_t> WithLocalTableOnly(const std::vector<uint8_t>& file, int screenSizeField) {
  const int sizeField = file[10] & 7;
  const size_t tableBytes = 3 * (size_t(2) << sizeField);
  const size_t descriptor = 13 + tableBytes, data = descriptor + 10;
  std::vector<uint8_t> moved = file;
  moved[10] = uint8_t(screenSizeField);
  std::copy(file.begin() + long(descriptor), file.begin() + long(data), moved.begin() + 13);
  moved[13 + 9] = uint8_t(moved[13 + 9] | 0x80 | sizeField);
  std::copy(file.begin() + 13, file.begin() + long(descriptor), moved.begin() + 23);
  return moved;
}

TEST(GifReader, TakesTheDepthFromALocalTableWhenThereIsNoGlobalOne) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  for (int depth : {1, 4, 8}) {
    DibImagePtr source = RulePicture(19, 7, depth, [](int x, int y) { return x * 7 + y * 3; });
    for (int screenSizeField : {0, 7}) {
      const std::string path = folder.PathOf("local.gif");
      ASSERT_TRUE(WriteBytes(path, WithLocalTableOnly(ToGif(*source), screenSizeField)));
      GifFileFlags flags;
      DibImagePtr image = ReadGifFile(nullptr, path.c_str(), flags);
      ASSERT_TRUE(image) << depth;
      EXPECT_EQ(DibBitCount(*image), depth) << screenSizeField;
      EXPECT_EQ(HeldRgb(*image), HeldRgb(*source)) << depth << " " << screenSizeField;
      EXPECT_EQ(HeldIndexes(*image), PillowIndexes(path)) << depth << " " << screenSizeField;
    }
  }
}

// The file with a global table of two made-up colours and its own global
// table moved into the image as a local table.
std::vector<uint8_t> WithTwoColorGlobalTable(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> moved = WithLocalTableOnly(file, 0x80);
  const uint8_t twoColors[] = {9, 8, 7, 6, 5, 4};
  moved.insert(moved.begin() + 13, std::begin(twoColors), std::end(twoColors));
  return moved;
}

TEST(GifReader, TakesTheDepthFromTheLocalTableTheImageIsDrawnWith) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  for (int depth : {4, 8}) {
    DibImagePtr source = RulePicture(23, 9, depth, [](int x, int y) { return x * 11 + y * 5; });
    const std::string path = folder.PathOf("local.gif");
    ASSERT_TRUE(WriteBytes(path, WithTwoColorGlobalTable(ToGif(*source))));
    GifFileFlags flags;
    DibImagePtr image = ReadGifFile(nullptr, path.c_str(), flags);
    ASSERT_TRUE(image) << depth;
    EXPECT_EQ(DibBitCount(*image), depth);
    EXPECT_EQ(HeldRgb(*image), HeldRgb(*source)) << depth;
    EXPECT_EQ(HeldIndexes(*image), PillowIndexes(path)) << depth;
  }
}

TEST(GifReader, ReadsFilesOfImageMagickAsPillowDoes) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  std::vector<uint8_t> rgb;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 50; ++x) rgb.insert(rgb.end(), {uint8_t(x * 5), uint8_t(y * 6), uint8_t((x ^ y) & 0xC0)});
  }
  ASSERT_TRUE(WritePpm(folder.PathOf("in.ppm"), 50, 40, rgb));
  for (const char* arguments : {"", "-interlace GIF", "-transparent black"}) {
    const std::string path = folder.PathOf("magick.gif");
    ASSERT_TRUE(RunCommand("/usr/bin/convert '" + folder.PathOf("in.ppm") + "' " + arguments + " '" + path + "'"));
    GifFileFlags flags;
    DibImagePtr image = ReadGifFile(nullptr, path.c_str(), flags);
    ASSERT_TRUE(image) << arguments;
    EXPECT_EQ(HeldIndexes(*image), PillowIndexes(path)) << arguments;
    EXPECT_EQ(HeldRgb(*image), MagickRgb(path)) << arguments;
  }
}

TEST(GifReader, TakesTransparencyFromTheGraphicControlExtension) {
  SKIP_WITHOUT_LINUX_TOOLS();
  DibImagePtr source = RulePicture(6, 4, 4, [](int x, int y) { return x + y; });
  PeerPicture picture = PeerOf(*source);
  picture.transparentIndex = 5;
  GifFileFlags flags;
  ASSERT_TRUE(Read(GiflibEncode(picture), flags));
  EXPECT_TRUE(flags.transparent);
  EXPECT_EQ(flags.transparentIndex, 5);

  flags = DirtyFlags();
  ASSERT_TRUE(Read(ToGif(*source), flags));
  ExpectReset(flags);
}

TEST(GifReader, SkipsExtensionsBeforeTheImage) {
  std::vector<uint8_t> file(kOnePixelFile.begin(), kOnePixelFile.begin() + 19);
  const uint8_t extensions[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
                                0x03, 0x01, 0x00, 0x00, 0x00, 0x21, 0xFE, 0x00, 0x21, 0xFE, 0x02, 'h', 'i', 0x00};
  file.insert(file.end(), std::begin(extensions), std::end(extensions));
  file.insert(file.end(), kOnePixelFile.begin() + 19, kOnePixelFile.end());
  file[25 + sizeof extensions] = 0x01;  // no pixel 0: let the pixel be 1 (code 1)
  file[31 + sizeof extensions] = 0x4C;
  GifFileFlags flags;
  DibImagePtr image = Read(file, flags);
  ASSERT_TRUE(image);
  EXPECT_EQ(HeldIndexes(*image), std::vector<uint8_t>{1});
}

// A file whose screen is larger or smaller than its image.
std::vector<uint8_t> WithScreen(std::vector<uint8_t> file, int width, int height) {
  file[6] = uint8_t(width), file[7] = uint8_t(width >> 8), file[8] = uint8_t(height), file[9] = uint8_t(height >> 8);
  return file;
}

TEST(GifReader, RefusesFilesWithoutAnImage) {
  GifFileFlags flags = DirtyFlags();
  std::vector<uint8_t> screenOnly(kOnePixelFile.begin(), kOnePixelFile.begin() + 13);
  EXPECT_FALSE(Read(screenOnly, flags));
  std::vector<uint8_t> trailer(kOnePixelFile.begin(), kOnePixelFile.begin() + 19);
  trailer.push_back(0x3B);
  EXPECT_FALSE(Read(trailer, flags));
  std::vector<uint8_t> wrong = kOnePixelFile;
  wrong[3] = '9';
  EXPECT_FALSE(Read(wrong, flags));
  std::vector<uint8_t> noTable(kOnePixelFile.begin(), kOnePixelFile.begin() + 15);
  EXPECT_FALSE(Read(noTable, flags));
  std::vector<uint8_t> empty = kOnePixelFile;
  empty[6] = empty[7] = 0;
  EXPECT_FALSE(Read(empty, flags));
  for (size_t sizeField : {24, 26}) {  // an image of no columns or no rows
    std::vector<uint8_t> emptyImage = kOnePixelFile;
    emptyImage[sizeField] = 0;
    EXPECT_FALSE(Read(emptyImage, flags)) << sizeField;
  }
  // Its few data bytes could never fill a gigabyte screen; a screen they can fill opens.
  EXPECT_FALSE(Read(WithScreen(kOnePixelFile, 32767, 32767), flags));
  GifFileFlags opened;
  EXPECT_TRUE(Read(WithScreen(kOnePixelFile, 100, 100), opened));
  EXPECT_TRUE(flags.transparent);
  EXPECT_EQ(flags.transparentIndex, 3);
}

TEST(GifReader, ShowsProgressInTheTitleAndRestoresIt) {
  TestFolder folder;
  const std::string path = folder.PathOf("progress.gif");
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  GifFileFlags flags;

  ASSERT_TRUE(WriteBytes(path, std::vector<uint8_t>(kOnePixelFile.begin(), kOnePixelFile.begin() + 10)));
  EXPECT_FALSE(ReadGifFile(&owner, path.c_str(), flags));
  EXPECT_EQ(recorder.captions, (std::vector<std::string>{"Reading a file (25 %)", "Reading a file (50 %)",
                                                          "Reading a file (75 %)", "Reading a file (100 %)",
                                                          "Vitrelle"}));
  recorder.captions.clear();
  std::vector<uint8_t> file = ToGif(*RandomPicture(40, 10, 8, 1));
  file.resize(1006);  // 1000 data bytes: pieces of 100
  ASSERT_TRUE(WriteBytes(path, file));
  ASSERT_TRUE(ReadGifFile(&owner, path.c_str(), flags));
  ASSERT_EQ(recorder.captions.size(), 11u);
  EXPECT_EQ(recorder.captions[3], "Reading a file (40 %)");
  EXPECT_EQ(recorder.captions[9], "Reading a file (100 %)");
  EXPECT_EQ(recorder.caption, "Vitrelle");
  EXPECT_FALSE(ReadGifFile(&owner, folder.PathOf("missing.gif").c_str(), flags));
}

TEST(GifReader, PlacesSmallImagesBottomLeftAndCutsLargeOnes) {
  DibImagePtr source = RulePicture(5, 4, 8, [](int x, int y) { return 10 * y + x + 1; });
  const std::vector<uint8_t> file = ToGif(*source, true);
  GifFileFlags flags;
  DibImagePtr large = Read(WithScreen(file, 7, 6), flags);
  ASSERT_TRUE(large);
  std::vector<uint8_t> expected(42, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) expected[size_t(2 + y) * 7 + x] = uint8_t(10 * y + x + 1);
  }
  EXPECT_EQ(HeldIndexes(*large), expected);
  DibImagePtr small = Read(WithScreen(file, 3, 2), flags);
  ASSERT_TRUE(small);
  EXPECT_EQ(HeldIndexes(*small), (std::vector<uint8_t>{1, 2, 3, 11, 12, 13}));
}

TEST(GifReader, LongStringsContinueInTheNextRow) {
  for (int depth : {1, 4, 8}) {
    DibImagePtr image = RulePicture(1, 300, depth, [](int, int y) { return y < 290 ? 1 : y; });
    GifFileFlags flags;
    DibImagePtr back = Read(ToGif(*image), flags);
    ASSERT_TRUE(back);
    EXPECT_EQ(HeldIndexes(*back), HeldIndexes(*image));
  }
}

// The image data sub-blocks of a written file start here.
size_t DataStart(const std::vector<uint8_t>& file) { return file.size() - GifImageData(file).size() - 13 + 1; }

TEST(GifReader, BrokenStreamsKeepTheRowsDecodedBefore) {
  DibImagePtr image = RulePicture(40, 30, 8, [](int x, int y) { return (x * y) % 50; });
  const std::vector<uint8_t> file = ToGif(*image);
  const std::vector<uint8_t> pixels = HeldIndexes(*image);
  auto readRows = [&](const std::vector<uint8_t>& broken) {
    GifFileFlags flags;
    DibImagePtr back = Read(broken, flags);
    EXPECT_TRUE(back);
    return back ? HeldIndexes(*back) : std::vector<uint8_t>();
  };
  auto sameRows = [&](const std::vector<uint8_t>& got) {
    size_t same = 0;
    while (same < got.size() && got[same] == pixels[same]) ++same;
    return same / 40;
  };
  const size_t start = DataStart(file);
  ASSERT_EQ(file[start], 0xFF);  // a full first sub-block

  // Cut inside the second sub-block: that block is lost, the first one decodes.
  std::vector<uint8_t> truncated(file.begin(), file.begin() + long(start) + 300);
  std::vector<uint8_t> got = readRows(truncated);
  EXPECT_GE(sameRows(got), 3u);
  EXPECT_EQ(std::vector<uint8_t>(got.end() - 400, got.end()), std::vector<uint8_t>(400, 0));

  std::vector<uint8_t> zeroBlock = file;
  zeroBlock[start] = 0;
  EXPECT_EQ(readRows(zeroBlock), std::vector<uint8_t>(1200, 0));

  std::vector<uint8_t> undefined = file;
  for (size_t i = start + 100; i < start + 110; ++i) undefined[i] = 0xFF;  // codes far ahead of the table
  got = readRows(undefined);
  EXPECT_GE(sameRows(got), 2u);
  EXPECT_LT(sameRows(got), 30u);

  std::vector<uint8_t> codeSize = file;
  codeSize[start - 1] = 12;
  EXPECT_EQ(readRows(codeSize), std::vector<uint8_t>(1200, 0));
}

TEST(GifReader, MasksPixelValuesToTheDepth) {
  DibImagePtr source = RulePicture(20, 3, 8, [](int x, int y) { return x * 13 + y; });
  std::vector<uint8_t> file = ToGif(*source);
  file[10] = 0x81;  // a 4-colour table: a 4-bit picture
  file.erase(file.begin() + 13 + 12, file.begin() + 13 + 768);
  GifFileFlags flags;
  DibImagePtr image = Read(file, flags);
  ASSERT_TRUE(image);
  std::vector<uint8_t> expected = HeldIndexes(*source);
  for (uint8_t& value : expected) value &= 15;
  EXPECT_EQ(HeldIndexes(*image), expected);
}

}  // namespace
