// vitrelle-cli make to GIF, convert and info, as a user runs them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/picture_files.h"
#include "cli/cli_test_support.h"
#include "gif/gif_reader.h"
#include "testing/gif_test_pictures.h"
#include "image/bmp_file.h"
#include "testing/test_support.h"

namespace {

std::vector<uint8_t> FullColorRgb() {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 32; ++x) rgb.insert(rgb.end(), {uint8_t(x * 8), uint8_t(y * 10), uint8_t(x * y)});
  }
  return rgb;
}

// The gradient above as ImageMagick saves it in a BMP file of the given kind.
std::string FullColorBmp(const TestFolder& folder, const std::string& kind) {
  const std::string ppm = folder.PathOf("in.ppm"), bmp = folder.PathOf("in.bmp");
  EXPECT_TRUE(WritePpm(ppm, 32, 24, FullColorRgb()));
  EXPECT_TRUE(RunCommand("/usr/bin/convert '" + ppm + "' " + kind + "'" + bmp + "'"));
  return bmp;
}

// What `info` prints about a file.
std::string InfoOf(const std::string& path) {
  std::string errors, output;
  EXPECT_EQ(RunCli("info '" + path + "'", &errors, &output), 0) << errors;
  return output;
}

TEST(CliPictures, MakeWritesAGifOfTheSamePicture) {
  TestFolder folder;
  const std::string options = "make --time 77 --pattern Reef --size 64x48 ";
  const std::string bmp = folder.PathOf("a.bmp"), gif = folder.PathOf("a.GIF");
  ASSERT_EQ(RunCli(options + bmp), 0);
  ASSERT_EQ(RunCli(options + gif), 0);
  EXPECT_EQ(MagickRgb(gif), MagickRgb(bmp));
  GifFileFlags read;
  DibImagePtr image = ReadGifFile(nullptr, gif.c_str(), read);
  ASSERT_TRUE(image);
  EXPECT_FALSE(read.interlace);
  EXPECT_FALSE(read.transparent);
}

TEST(CliPictures, ConvertReducesFullColourForGifAndSetsOptions) {
  TestFolder folder;
  const std::string bmp = FullColorBmp(folder, "-type truecolor BMP3:"), gif = folder.PathOf("out.gif");
  std::string errors;
  ASSERT_EQ(RunCli("convert '" + bmp + "' '" + gif + "'", &errors), 0) << errors;
  EXPECT_EQ(InfoOf(gif), "width: 32\nheight: 24\nbits per pixel: 8\ncolors: 256\n"
                         "interlace: false\ntransparent: false\ntransparentIndex: 1000\n");
  EXPECT_EQ(RunCli("convert --transparent 3 '" + bmp + "' '" + gif + "'", &errors), 1);
  EXPECT_EQ(errors, "Reduce to 256 color: Error\n");

  const std::string options = folder.PathOf("options.gif");
  ASSERT_EQ(RunCli("convert --interlace --transparent 3 --comment 'hello there' '" + gif + "' '" + options + "'"), 0);
  EXPECT_NE(InfoOf(options).find("interlace: true\ntransparent: true\ntransparentIndex: 3\n"), std::string::npos);
  EXPECT_EQ(PillowIndexes(options), PillowIndexes(gif));
  std::ifstream in(options, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes.substr(bytes.size() - 16), std::string("\x21\xFE\x0Bhello there\x00\x3B", 16));

  const std::string back = folder.PathOf("back.bmp");
  ASSERT_EQ(RunCli("convert '" + options + "' '" + back + "'"), 0);
  EXPECT_EQ(InfoOf(back), "width: 32\nheight: 24\nbits per pixel: 8\ncolors: 256\n");
  EXPECT_EQ(MagickRgb(back), MagickRgb(gif));
}

TEST(CliPictures, MakeAndConvertWritePngThatConvertAndInfoRead) {
  SKIP_WITHOUT_LINUX_TOOLS();
  TestFolder folder;
  const std::string options = "make --time 77 --pattern Reef --size 63x47 ";
  const std::string bmp = folder.PathOf("a.bmp"), png = folder.PathOf("a.Png");
  ASSERT_EQ(RunCli(options + bmp), 0);
  ASSERT_EQ(RunCli(options + png), 0);
  DibImagePtr made = ReadBmpFile(bmp.c_str());
  ASSERT_TRUE(made);
  PillowPicture read = ReadWithPillow(png);
  EXPECT_EQ(read.mode, "P");
  EXPECT_EQ(read.pixels, HeldIndexes(*made));

  // A PNG opens as the same picture as the BMP.
  std::string errors;
  const std::string transparent = folder.PathOf("t.png");
  ASSERT_EQ(RunCli("convert --transparent 2 '" + bmp + "' '" + transparent + "'", &errors), 0) << errors;
  EXPECT_EQ(ReadWithPillow(transparent).transparency, 2);
  EXPECT_EQ(InfoOf(transparent), InfoOf(bmp));
  const std::string backFromPng = folder.PathOf("png.bmp"), backFromBmp = folder.PathOf("bmp.bmp");
  ASSERT_EQ(RunCli("convert '" + transparent + "' '" + backFromPng + "'", &errors), 0) << errors;
  ASSERT_EQ(RunCli("convert '" + bmp + "' '" + backFromBmp + "'", &errors), 0) << errors;
  EXPECT_EQ(TestFolder::Read(backFromPng), TestFolder::Read(backFromBmp));
}

TEST(CliPictures, InfoAndConvertShowThePictureAsHeld) {
  TestFolder folder;
  const std::string bmp = FullColorBmp(folder, "-define bmp:subtype=RGB565 BMP:"), out = folder.PathOf("out.bmp");
  EXPECT_EQ(InfoOf(bmp), "width: 32\nheight: 24\nbits per pixel: 24\ncolors: full color\n");
  std::string errors;
  ASSERT_EQ(RunCli("convert '" + bmp + "' '" + out + "'", &errors), 0) << errors;
  EXPECT_EQ(MagickRgb(out), MagickRgb(bmp));
}

TEST(CliPictures, BadInputIsReportedAndNothingIsWritten) {
  TestFolder folder;
  const std::string text = folder.PathOf("notes.txt"), out = folder.PathOf("out.gif");
  ASSERT_TRUE(WriteBytes(text, {'n', 'o', 't', 'e'}));
  std::string errors;
  EXPECT_EQ(RunCli("convert '" + text + "' '" + out + "'", &errors), 1);
  EXPECT_EQ(errors, "Cannot open file: " + text + "\n");
  EXPECT_EQ(RunCli("info '" + text + "'", &errors), 1);
  EXPECT_EQ(RunCli("convert '" + text + "' '" + folder.PathOf("out.jpg") + "'", &errors), 2);
  EXPECT_EQ(RunCli("convert --transparent 300 a.bmp b.gif", &errors), 2);

  DibImagePtr mono = RulePicture(8, 8, 1, [](int x, int y) { return x ^ y; });
  const std::string bmp = folder.PathOf("mono.bmp");
  ASSERT_TRUE(WriteBmpFile(nullptr, bmp.c_str(), *mono));
  EXPECT_EQ(RunCli("convert --transparent 2 '" + bmp + "' '" + out + "'", &errors), 1);
  EXPECT_EQ(errors, "The picture has colours 0 to 1 only\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
