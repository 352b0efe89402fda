// Save As, Make and Paste as the main window's commands run them.
#include "app/command_flows.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

#include "generator/pattern_file.h"
#include "gif/gif_reader.h"
#include "image/bmp_file.h"
#include "testing/gif_test_pictures.h"
#include "testing/test_support.h"

namespace {

// Records warnings and questions, answering each question from a script.
struct Dialogue {
  std::vector<std::string> shown;  // "text|caption"
  std::vector<bool> answers;       // the next answers, OK = true

  Owner owner() {
    Owner o;
    o.context = this;
    o.warn = [](void* c, const char* text, const char* caption) {
      static_cast<Dialogue*>(c)->shown.push_back(std::string(text) + "|" + caption);
    };
    o.ask = [](void* c, const char* text, const char* caption) {
      auto& self = *static_cast<Dialogue*>(c);
      self.shown.push_back(std::string("?") + text + "|" + caption);
      if (self.answers.empty()) return false;
      const bool answer = self.answers.front();
      self.answers.erase(self.answers.begin());
      return answer;
    };
    return o;
  }
};

DibImagePtr FullColorPicture(int width, int height) {
  DibImagePtr image = CreateDibImage(width, height, 24);
  const size_t stride = DibRowStride(width, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = DibPixels(*image) + y * stride + 3 * x;
      p[0] = uint8_t(x * 9), p[1] = uint8_t(y * 7), p[2] = 200;
    }
  }
  return image;
}

TEST(SaveAsFlow, AsksBeforeReplacingAndBeforeReducing) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  Dialogue dialogue;
  const Owner owner = dialogue.owner();
  GifSaveOptions options;
  DibImagePtr full = FullColorPicture(20, 10);
  const std::string path = folder.Write("old", "a.gif");

  // Cancel to the overwrite question: nothing more is asked, the file stays.
  EXPECT_EQ(SaveAsFlow(&owner, path.c_str(), kSaveGif, *full, options), SaveOutcome::kCancelled);
  EXPECT_EQ(dialogue.shown, std::vector<std::string>{"?exist same file name \n overwrite OK ?|" + path});
  EXPECT_EQ(TestFolder::Read(path), "old");

  // OK, then Cancel to the reduction: the file still stays.
  dialogue.shown.clear();
  dialogue.answers = {true, false};
  EXPECT_EQ(SaveAsFlow(&owner, path.c_str(), kSaveGifWithOptions, *full, options), SaveOutcome::kCancelled);
  ASSERT_EQ(dialogue.shown.size(), 2u);
  EXPECT_EQ(dialogue.shown[1], "?Cannot save full color image for GIF file\n reduce to 256 color?|" + path);
  EXPECT_EQ(TestFolder::Read(path), "old");

  // OK to both: an 8-bit GIF, the picture itself still full colour.
  dialogue.answers = {true, true};
  bool saved = false;
  EXPECT_EQ(SaveAsFlow(&owner, path.c_str(), kSaveGif, *full, options, &saved), SaveOutcome::kAttempted);
  EXPECT_TRUE(saved);
  EXPECT_EQ(DibBitCount(*full), 24);
  EXPECT_EQ(PillowIndexes(path).size(), 200u);
  EXPECT_EQ(folder.FileCount(), 1u);

  // A new BMP file: no question, the full-colour picture written unchanged.
  dialogue.shown.clear();
  const std::string bmp = folder.PathOf("new.bmp");
  EXPECT_EQ(SaveAsFlow(&owner, bmp.c_str(), kSaveBmp, *full, options, &saved), SaveOutcome::kAttempted);
  EXPECT_TRUE(saved);
  EXPECT_TRUE(dialogue.shown.empty());
  EXPECT_EQ(MagickRgb(bmp), HeldRgb(*full));
}

TEST(SaveAsFlow, TheOptionsTypeAloneCarriesTransparencyAndInterlace) {
  TestFolder folder;
  Dialogue dialogue;
  const Owner owner = dialogue.owner();
  DibImagePtr picture = RulePicture(8, 8, 8, [](int x, int y) { return x * y; });
  GifSaveOptions options;
  options.interlace = true;
  options.transparent = true;
  const std::string plain = folder.PathOf("plain.gif"), withOptions = folder.PathOf("options.gif");
  ASSERT_EQ(SaveAsFlow(&owner, plain.c_str(), kSaveGif, *picture, options), SaveOutcome::kAttempted);
  ASSERT_EQ(SaveAsFlow(&owner, withOptions.c_str(), kSaveGifWithOptions, *picture, options), SaveOutcome::kAttempted);

  GifFileFlags read;
  ASSERT_TRUE(ReadGifFile(nullptr, plain.c_str(), read));
  EXPECT_FALSE(read.interlace);
  EXPECT_FALSE(read.transparent);
  ASSERT_TRUE(ReadGifFile(nullptr, withOptions.c_str(), read));
  EXPECT_TRUE(read.interlace);
  EXPECT_TRUE(read.transparent);
}

TEST(SaveTargetOf, TheTypedExtensionDecidesElseTheChosenType) {
  const struct {
    const char* typed;
    int chosen;
    const char* path;
    int filterIndex;
  } kCases[] = {
      {"pic.png", kSaveBmp, "pic.png", kSavePng},
      {"PIC.PNG", kSaveGifWithOptions, "PIC.PNG", kSavePng},
      {"pic.bmp", kSavePng, "pic.bmp", kSaveBmp},
      {"pic.Gif", kSaveBmp, "pic.Gif", kSaveGif},
      {"pic.gif", kSavePng, "pic.gif", kSaveGif},
      {"pic.gif", kSaveGifWithOptions, "pic.gif", kSaveGifWithOptions},
      {"pic.jpg", kSaveBmp, "pic.jpg.bmp", kSaveBmp},
      {"pic", kSavePng, "pic.png", kSavePng},
      {"pic", kSaveGifWithOptions, "pic.gif", kSaveGifWithOptions},
      {"my.png.folder\\pic", kSaveGif, "my.png.folder\\pic.gif", kSaveGif},
      {"pic", 0, "pic.bmp", kSaveBmp},  // no type reported: the first
  };
  for (const auto& c : kCases) {
    const SaveTarget target = SaveTargetOf(c.typed, c.chosen);
    EXPECT_EQ(target.path, c.path) << c.typed << " " << c.chosen;
    EXPECT_EQ(target.filterIndex, c.filterIndex) << c.typed << " " << c.chosen;
  }
}

TEST(SaveAsFlow, PngKeepsTheDepthAndTakesThePickedTransparency) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  Dialogue dialogue;
  const Owner owner = dialogue.owner();
  GifSaveOptions options;
  options.transparent = true;
  options.transparentIndex = 3;
  DibImagePtr palette = RulePicture(9, 5, 4, [](int x, int y) { return x + y; });
  const std::string path = folder.PathOf("palette.png");
  ASSERT_EQ(SaveAsFlow(&owner, path.c_str(), kSavePng, *palette, options), SaveOutcome::kAttempted);
  PillowPicture read = ReadWithPillow(path);
  EXPECT_EQ(read.pixels, HeldIndexes(*palette));
  EXPECT_EQ(read.transparency, 3);

  // Transparency off, or on with nothing picked: no transparent colour.
  for (int index : {3, int(kTransparentIndexNone)}) {
    options.transparent = index != 3;
    options.transparentIndex = index;
    dialogue.answers = {true};
    ASSERT_EQ(SaveAsFlow(&owner, path.c_str(), kSavePng, *palette, options), SaveOutcome::kAttempted);
    EXPECT_EQ(ReadWithPillow(path).transparency, -1) << index;
  }

  // Full colour is written as it is: no question about reducing.
  dialogue.shown.clear();
  DibImagePtr full = FullColorPicture(20, 10);
  const std::string fullPath = folder.PathOf("full.png");
  bool saved = false;
  ASSERT_EQ(SaveAsFlow(&owner, fullPath.c_str(), kSavePng, *full, options, &saved), SaveOutcome::kAttempted);
  EXPECT_TRUE(saved);
  EXPECT_TRUE(dialogue.shown.empty());
  read = ReadWithPillow(fullPath);
  EXPECT_EQ(read.mode, "RGB");
  EXPECT_EQ(read.pixels, HeldRgb(*full));
}

TEST(SaveAsFlow, AFailedSaveLeavesTheOldFileWhole) {
  TestFolder folder;
  Dialogue dialogue;
  const Owner owner = dialogue.owner();
  DibImagePtr picture = RulePicture(8, 8, 8, [](int x, int y) { return x + y; });
  const std::string path = folder.Write("old", "locked.bmp");
  // A picture whose header promises more rows than its block holds cannot be written.
  DibImagePtr broken = CopyDibImage(*picture);
  SetDibInfoField(*broken, kBiHeight, 30000);
  dialogue.answers = {true};
  bool saved = true;
  EXPECT_EQ(SaveAsFlow(&owner, path.c_str(), kSaveBmp, *broken, GifSaveOptions(), &saved), SaveOutcome::kAttempted);
  EXPECT_FALSE(saved);
  EXPECT_EQ(dialogue.shown.back(), Shown(IDS_SAVE_BMP_FAILED, IDS_ERROR));
  EXPECT_EQ(TestFolder::Read(path), "old");
  dialogue.answers = {true};
  EXPECT_EQ(SaveAsFlow(&owner, path.c_str(), kSavePng, *broken, GifSaveOptions(), &saved), SaveOutcome::kAttempted);
  EXPECT_EQ(dialogue.shown.back(), Shown(IDS_SAVE_PNG_FAILED, IDS_ERROR));
  EXPECT_EQ(TestFolder::Read(path), "old");
  EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(MakePicture, RecordsTheSettingsThenGrowsThePicture) {
  TestFolder folder;
  Dialogue dialogue;
  const Owner owner = dialogue.owner();
  const std::string path =
      folder.Write(TestFolder::Read(std::string(VITRELLE_SOURCE_DIR) + "/resources/vitrelle.cfg"));
  MakeSettings settings;
  ASSERT_TRUE(LoadMakeSettings(&owner, path, SettingsLine::kDefault, settings));
  settings[kWidth] = 40;
  settings[kHeight] = 30;
  settings[kMirrorMode] = 3;
  GeneratorState generator;
  GifSaveOptions options;  // as an opened GIF with transparent index 5 left them
  options.interlace = options.transparent = true;
  options.transparentIndex = 5;
  options.comment = "old";
  DibImagePtr picture = MakePicture(&owner, settings, path, 1000, generator, options);
  ASSERT_TRUE(picture);
  EXPECT_TRUE(!options.interlace && !options.transparent && options.transparentIndex == kTransparentIndexNone);
  EXPECT_EQ(options.comment, "Vitrelle");
  EXPECT_EQ(DibWidth(*picture), 40);
  EXPECT_EQ(DibHeight(*picture), 30);
  MakeSettings stored;
  ASSERT_TRUE(LoadMakeSettings(&owner, path, SettingsLine::kState, stored));
  EXPECT_EQ(stored[kMirrorMode], 3);
  EXPECT_EQ(stored[kWidth], 40);

  // A read-only Pattern file: the message, and no picture.
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  if (!OpenFile(path.c_str(), "r+")) {  // root may write anyway
    dialogue.shown.clear();
    EXPECT_FALSE(MakePicture(&owner, settings, path, 1000, generator, options));
    EXPECT_EQ(dialogue.shown,
              std::vector<std::string>{Shown(IDS_CANNOT_SAVE_CONFIG, path)});
  }
  chmod(path.c_str(), 0644);
}

TEST(PastedPicture, NormalisesClipboardDataAndRefusesNone) {
  Dialogue dialogue;
  const Owner owner = dialogue.owner();
  GifSaveOptions options;
  EXPECT_FALSE(PastedPicture(&owner, nullptr, options));
  EXPECT_EQ(dialogue.shown, std::vector<std::string>{Shown(IDS_PASTE_FAILED, IDS_ERROR)});

  DibImagePtr picture = RulePicture(9, 5, 4, [](int x, int y) { return x ^ y; });
  options.interlace = options.transparent = true;
  options.transparentIndex = 3;
  options.comment = "old";
  DibImagePtr pasted = PastedPicture(&owner, CopyDibImage(*picture), options);
  ASSERT_TRUE(pasted);
  EXPECT_EQ(HeldIndexes(*pasted), HeldIndexes(*picture));
  EXPECT_FALSE(options.interlace);
  EXPECT_FALSE(options.transparent);
  EXPECT_EQ(options.transparentIndex, 3);
  EXPECT_EQ(options.comment, "Vitrelle");

  // Data too short for what its header promises are refused.
  dialogue.shown.clear();
  DibImagePtr shortData = AllocateDibBlock(60);
  std::memcpy(shortData->start(), picture->start(), 60);
  EXPECT_FALSE(PastedPicture(&owner, std::move(shortData), options));
  EXPECT_EQ(dialogue.shown, std::vector<std::string>{Shown(IDS_CANNOT_MAKE_BITMAP, IDS_ERROR)});
}

TEST(FileFilters, BecomeZeroSeparatedLists) {
  EXPECT_EQ(DialogFilterList("A\n*.a\n"), std::string("A\0*.a\0\0", 7));
}

}  // namespace
