#include "app/picture_files.h"

#include <gtest/gtest.h>

#include "gif/gif_reader.h"
#include "testing/gif_test_pictures.h"
#include "image/bmp_file.h"
#include "base/byte_order.h"
#include "image/color_reduction.h"
#include "testing/test_support.h"

namespace {

DibImagePtr FullColorPicture() {
  DibImagePtr image = CreateDibImage(30, 20, 24);
  const size_t stride = DibRowStride(30, 24);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 30; ++x) {
      uint8_t* p = DibPixels(*image) + y * stride + 3 * x;
      p[0] = uint8_t(x * 8), p[1] = uint8_t(y * 12), p[2] = uint8_t((x + y) * 4);
    }
  }
  return image;
}

TEST(PictureFiles, OpensBmpAndGifFilesAsHeldImages) {
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  DibImagePtr source = RulePicture(12, 9, 4, [](int x, int y) { return x + y; });
  GifSaveOptions options;
  const std::string bmp = folder.PathOf("a.bmp"), gif = folder.PathOf("a.gif");
  ASSERT_TRUE(WriteBmpFile(&owner, bmp.c_str(), *source));
  ASSERT_TRUE(SavePictureFile(&owner, gif.c_str(), PictureFileType::kGif, *source, options, true, true));

  PictureFileType type;
  options.comment = "old";
  DibImagePtr fromBmp = OpenPictureFile(&owner, bmp.c_str(), options, &type);
  ASSERT_TRUE(fromBmp);
  EXPECT_EQ(type, PictureFileType::kBmp);
  EXPECT_EQ(HeldRgb(*fromBmp), HeldRgb(*source));
  EXPECT_EQ(options.comment, "Vitrelle");

  DibImagePtr fromGif = OpenPictureFile(&owner, gif.c_str(), options, &type);
  ASSERT_TRUE(fromGif);
  EXPECT_EQ(type, PictureFileType::kGif);
  EXPECT_EQ(HeldIndexes(*fromGif), HeldIndexes(*source));
  EXPECT_TRUE(options.interlace);
  EXPECT_TRUE(options.transparent);
  EXPECT_EQ(recorder.warnings.size(), 0u);

  const std::string other = folder.PathOf("text.gif");
  ASSERT_TRUE(WriteBytes(other, {'h', 'e', 'l', 'l', 'o'}));
  EXPECT_FALSE(OpenPictureFile(&owner, other.c_str(), options));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_OPEN_FAILED, other)});
  EXPECT_TRUE(options.interlace && options.transparent) << "a failed open leaves the options of the picture shown";
}

#ifdef VITRELLE_PNG_READER
TEST(PictureFiles, NativeBuildsOpenPngAndRefuseDamagedOnes) {
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  DibImagePtr source = RulePicture(12, 9, 8, [](int x, int y) { return x * y; });
  GifSaveOptions options;
  options.transparent = true;
  options.transparentIndex = 5;
  const std::string png = folder.PathOf("a.png");
  ASSERT_TRUE(SavePictureFile(&owner, png.c_str(), PictureFileType::kPng, *source, options, true, false));

  PictureFileType type = PictureFileType::kBmp;
  DibImagePtr opened = OpenPictureFile(&owner, png.c_str(), options, &type);
  ASSERT_TRUE(opened);
  EXPECT_EQ(type, PictureFileType::kPng);
  EXPECT_EQ(HeldIndexes(*opened), HeldIndexes(*source));
  EXPECT_FALSE(options.transparent);
  EXPECT_EQ(options.transparentIndex, kTransparentIndexNone) << "a PNG keeps no index of the picture before";
  EXPECT_TRUE(recorder.warnings.empty());

  std::string bytes = TestFolder::Read(png);
  bytes.resize(bytes.size() / 2);
  const std::string damaged = folder.Write(bytes, "damaged.png");
  EXPECT_FALSE(OpenPictureFile(&owner, damaged.c_str(), options));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_OPEN_FAILED, damaged)});
}
#endif

// Options that no reader would leave behind.
GifSaveOptions DirtyOptions() {
  GifSaveOptions options;
  options.interlace = options.transparent = true;
  options.transparentIndex = 3;
  options.transparentColor[0] = 9;
  options.comment = "old";
  return options;
}

TEST(PictureFiles, OpeningTakesTheGifOptionsFromTheFile) {
  TestFolder folder;
  DibImagePtr source = RulePicture(6, 4, 4, [](int x, int y) { return x + y; });
  DibColorTable(*source)[5] = {15, 250, 35, 0};
  const std::string bmp = folder.PathOf("a.bmp"), gif = folder.PathOf("a.gif");
  ASSERT_TRUE(WriteBmpFile(nullptr, bmp.c_str(), *source));
  GifSaveOptions picked;
  picked.transparentIndex = 5;
  ASSERT_TRUE(SavePictureFile(nullptr, gif.c_str(), PictureFileType::kGif, *source, picked, true, false));

  GifSaveOptions options = DirtyOptions();
  ASSERT_TRUE(OpenPictureFile(nullptr, gif.c_str(), options));
  EXPECT_FALSE(options.interlace);
  EXPECT_TRUE(options.transparent);
  EXPECT_EQ(options.transparentIndex, 5);
  EXPECT_EQ(options.transparentColor[0], 35);
  EXPECT_EQ(options.transparentColor[1], 250);
  EXPECT_EQ(options.transparentColor[2], 15);

  // Without transparency, and for BMP files, everything but the comment is reset.
  ASSERT_TRUE(SavePictureFile(nullptr, gif.c_str(), PictureFileType::kGif, *source, picked, false, false));
  for (const std::string& path : {gif, bmp}) {
    options = DirtyOptions();
    ASSERT_TRUE(OpenPictureFile(nullptr, path.c_str(), options));
    EXPECT_FALSE(options.transparent) << path;
    EXPECT_EQ(options.transparentIndex, kTransparentIndexNone) << path;
    EXPECT_EQ(options.transparentColor[0] & options.transparentColor[1] & options.transparentColor[2], 255) << path;
    EXPECT_EQ(options.comment, "Vitrelle");
  }

  // An index beyond a 1-bit picture's colours leaves the colour white.
  DibImagePtr mono = RulePicture(9, 2, 1, [](int x, int) { return x; });
  picked.transparentIndex = 200;
  ASSERT_TRUE(SavePictureFile(nullptr, gif.c_str(), PictureFileType::kGif, *mono, picked, true, false));
  options = DirtyOptions();
  ASSERT_TRUE(OpenPictureFile(nullptr, gif.c_str(), options));
  EXPECT_EQ(options.transparentIndex, 200);
  EXPECT_EQ(options.transparentColor[0] & options.transparentColor[1] & options.transparentColor[2], 255);
}

// A fallback reader that records the files it is asked about and gives a
// 16-colour picture for names ending in ".pic".
struct RecordingFallback {
  std::vector<std::string> asked;
  FallbackReader reader() {
    return {this, [](void* context, const char* path) -> DibImagePtr {
              static_cast<RecordingFallback*>(context)->asked.push_back(path);
              const std::string name = path;
              return name.size() > 4 && name.substr(name.size() - 4) == ".pic" ? CreateDibImage(7, 5, 4) : nullptr;
            }};
  }
};

TEST(PictureFiles, AsksTheFallbackReaderOnlyWhenBothOwnReadersRefuse) {
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  RecordingFallback fallback;
  const FallbackReader reader = fallback.reader();
  const std::string bmp = folder.PathOf("real.bmp.pic"), damaged = folder.PathOf("damaged.bmp.pic"),
                    neither = folder.PathOf("neither.png");
  ASSERT_TRUE(WriteBmpFile(&owner, bmp.c_str(), *FullColorPicture()));
  ASSERT_TRUE(WriteBytes(damaged, {'B', 'M', 1, 2, 3}));
  ASSERT_TRUE(WriteBytes(neither, {'x'}));

  GifSaveOptions options = DirtyOptions();
  PictureFileType type = PictureFileType::kGif;
  DibImagePtr own = OpenPictureFile(&owner, bmp.c_str(), options, &type, &reader);
  ASSERT_TRUE(own);
  EXPECT_EQ(DibWidth(*own), 30);
  EXPECT_TRUE(fallback.asked.empty());

  options = DirtyOptions();
  DibImagePtr fromFallback = OpenPictureFile(&owner, damaged.c_str(), options, &type, &reader);
  ASSERT_TRUE(fromFallback);
  EXPECT_EQ(DibWidth(*fromFallback), 7);
  EXPECT_EQ(DibBitCount(*fromFallback), 4);
  EXPECT_EQ(fallback.asked, std::vector<std::string>{damaged});
  EXPECT_FALSE(options.interlace || options.transparent);
  EXPECT_EQ(options.transparentIndex, kTransparentIndexNone);
  EXPECT_EQ(options.comment, "Vitrelle");
  EXPECT_EQ(recorder.warnings.size(), 0u);

  EXPECT_FALSE(OpenPictureFile(&owner, neither.c_str(), options, &type, &reader));
  EXPECT_EQ(fallback.asked.back(), neither);
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_OPEN_FAILED, neither)});
}

TEST(PictureFiles, PastingClearsTheFlagsAndKeepsThePickedColour) {
  GifSaveOptions options = DirtyOptions();
  DibImagePtr source = RulePicture(5, 3, 8, [](int x, int y) { return x * y; });
  DibImagePtr pasted = PastePicture(nullptr, CopyDibImage(*source), options);
  ASSERT_TRUE(pasted);
  EXPECT_EQ(HeldIndexes(*pasted), HeldIndexes(*source));
  EXPECT_FALSE(options.interlace);
  EXPECT_FALSE(options.transparent);
  EXPECT_EQ(options.transparentIndex, 3);
  EXPECT_EQ(options.transparentColor[0], 9);
  EXPECT_EQ(options.comment, "Vitrelle");

  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  DibImagePtr broken = CreateDibImage(4, 4, 8);
  StoreU16(broken->start() + 14, 2);  // 2 bits per pixel: no bitmap to make
  options = DirtyOptions();
  EXPECT_FALSE(PastePicture(&owner, std::move(broken), options));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_CANNOT_MAKE_BITMAP, IDS_ERROR)});
  EXPECT_TRUE(options.transparent);
}

TEST(PictureFiles, OpeningNormalisesWhatTheBmpFileHolds) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  const std::string ppm = folder.PathOf("in.ppm"), bmp = folder.PathOf("in.bmp");
  ASSERT_TRUE(WritePpm(ppm, 30, 20, HeldRgb(*FullColorPicture())));
  const struct {
    const char* options;
    int heldDepth;
  } kinds[] = {{"-define bmp:subtype=RGB565 BMP:", 24}, {"-colors 50 -type Palette -compress RLE BMP3:", 8}};
  for (const auto& kind : kinds) {
    ASSERT_TRUE(RunCommand("/usr/bin/convert '" + ppm + "' " + kind.options + "'" + bmp + "'"));
    GifSaveOptions options;
    DibImagePtr image = OpenPictureFile(&owner, bmp.c_str(), options);
    ASSERT_TRUE(image) << kind.options;
    EXPECT_EQ(DibBitCount(*image), kind.heldDepth);
    EXPECT_EQ(DibInfoField(*image, kBiCompression), uint32_t(kBiRgb));
    EXPECT_EQ(HeldRgb(*image), MagickRgb(bmp)) << kind.options;
  }
  EXPECT_TRUE(recorder.warnings.empty());

  std::vector<uint8_t> jpeg(14 + 40 + 16, 0);  // JPEG data inside a BMP file
  jpeg[0] = 'B', jpeg[1] = 'M';
  StoreU32(&jpeg[2], uint32_t(jpeg.size()));
  StoreU32(&jpeg[14], 40);
  StoreU32(&jpeg[18], 2);
  StoreU32(&jpeg[22], 2);
  StoreU16(&jpeg[28], 24);
  StoreU32(&jpeg[30], kBiJpeg);
  ASSERT_TRUE(WriteBytes(bmp, jpeg));
  GifSaveOptions options;
  EXPECT_FALSE(OpenPictureFile(&owner, bmp.c_str(), options));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_CANNOT_MAKE_BITMAP, IDS_ERROR)});
}

TEST(PictureFiles, SavesFullColourPicturesAsGifReducedAndBmpUnchanged) {
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  DibImagePtr full = FullColorPicture();
  const std::string gif = folder.PathOf("full.gif"), bmp = folder.PathOf("full.bmp");
  ASSERT_TRUE(SavePictureFile(&owner, gif.c_str(), PictureFileType::kGif, *full, GifSaveOptions(), false, false));
  GifFileFlags flags;
  DibImagePtr back = ReadGifFile(nullptr, gif.c_str(), flags);
  ASSERT_TRUE(back);
  EXPECT_EQ(DibBitCount(*back), 8);
  DibImagePtr reduced = ReduceTo256Colors(nullptr, *full);
  EXPECT_EQ(HeldRgb(*back), HeldRgb(*reduced));
  EXPECT_EQ(DibBitCount(*full), 24);

  ASSERT_TRUE(SavePictureFile(&owner, bmp.c_str(), PictureFileType::kBmp, *full, GifSaveOptions(), false, false));
  back = ReadBmpFile(bmp.c_str());
  ASSERT_TRUE(back);
  EXPECT_EQ(HeldRgb(*back), HeldRgb(*full));
}

TEST(PictureFiles, FailedSavesAreShownAndKeepTheOldFile) {
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  DibImagePtr image = RulePicture(4, 4, 8, [](int x, int) { return x; });
  const std::string missing = folder.PathOf("none/x.gif");
  EXPECT_FALSE(SavePictureFile(&owner, missing.c_str(), PictureFileType::kGif, *image, GifSaveOptions(), false, false));
  EXPECT_EQ(recorder.warnings, (std::vector<std::string>{Shown(IDS_CANNOT_OPEN_FILE, missing), Shown(IDS_SAVE_GIF_FAILED, IDS_ERROR)}));

  recorder.warnings.clear();
  const std::string path = folder.PathOf("old.gif");
  ASSERT_TRUE(WriteBytes(path, {1, 2, 3}));
  DibImagePtr broken = CreateDibImage(64, 64, 8);
  broken->blockSize = 100;
  EXPECT_FALSE(SavePictureFile(&owner, path.c_str(), PictureFileType::kGif, *broken, GifSaveOptions(), false, false));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_SAVE_GIF_FAILED, IDS_ERROR)});
  EXPECT_EQ(std::filesystem::file_size(path), 3u);
}

// A run-length bitmap block of a few bytes that claims the given size.
std::vector<uint8_t> RunLengthBlock(int width, int height) {
  std::vector<uint8_t> block(kInfoHeaderSize + 2 * 4 + 2);
  StoreU32(block.data() + kBiSize, kInfoHeaderSize);
  StoreI32(block.data() + kBiWidth, width);
  StoreI32(block.data() + kBiHeight, height);
  StoreU16(block.data() + kBiPlanes, 1);
  StoreU16(block.data() + kBiBitCount, 8);
  StoreU32(block.data() + kBiCompression, kBiRle8);
  StoreU32(block.data() + kBiClrUsed, 2);
  block[block.size() - 1] = 1;  // end of bitmap
  return block;
}

DibImagePtr BlockOf(const std::vector<uint8_t>& bytes) {
  DibImagePtr image = AllocateDibBlock(bytes.size());
  std::copy(bytes.begin(), bytes.end(), image->start());
  return image;
}

// Every reader refuses a picture that would not fit in memory before making
// it, and the size is told in place of the usual message.
TEST(PictureFiles, PicturesTooLargeToHoldAreRefusedWithTheirSize) {
  TestFolder folder;
  const std::vector<uint8_t> block = RunLengthBlock(32767, 32767);
  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 14 + 48, 0, 0, 0};
  bmp.insert(bmp.end(), block.begin(), block.end());
  std::vector<uint8_t> flat(bmp.begin(), bmp.begin() + 14 + kInfoHeaderSize);  // 24 bits, no rows at all
  StoreI32(flat.data() + 14 + kBiWidth, 10000);
  StoreU16(flat.data() + 14 + kBiBitCount, 24);
  StoreU32(flat.data() + 14 + kBiCompression, kBiRgb);
  StoreU32(flat.data() + 14 + kBiClrUsed, 0);
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0x20, 0x4E, 0x20, 0x4E, 0x80, 0, 0,
                                    0, 0, 0, 255, 255, 255, 0x2C, 0, 0, 0, 0, 0x20, 0x4E, 0x20, 0x4E,
                                    0, 2, 2, 0x44, 0x01, 0, 0x3B};
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    const char* text;
  };
  const Case cases[] = {
      {"run lengths.bmp", bmp, "The picture is too large: 32767 x 32767"},
      {"rows missing.bmp", flat, "The picture is too large: 10000 x 32767"},
      {"screen.gif", gif, "The picture is too large: 20000 x 20000"},
      {"for a plug-in.png", {'x'}, "The picture is too large: 32767 x 32767"},
  };
  // Delivers the run-length block for every file, as a plug-in would.
  const FallbackReader plugin = {const_cast<std::vector<uint8_t>*>(&block), [](void* context, const char*) {
                                   return BlockOf(*static_cast<const std::vector<uint8_t>*>(context));
                                 }};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OwnerRecorder recorder;
    const Owner owner = recorder.owner();
    const std::string path = folder.PathOf(c.name);
    ASSERT_TRUE(WriteBytes(path, c.file));
    GifSaveOptions options;
    EXPECT_FALSE(OpenPictureFile(&owner, path.c_str(), options, nullptr, &plugin));
    EXPECT_EQ(recorder.warnings, std::vector<std::string>{std::string(c.text) + "|" + path});
  }

  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  GifSaveOptions options;
  EXPECT_FALSE(PastePicture(&owner, BlockOf(block), options));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{"The picture is too large: 32767 x 32767|Error"});
}

}  // namespace
