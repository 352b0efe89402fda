// vitrelle-cli make as a user runs it, with the shipped Pattern file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/file_io.h"
#include "cli/cli_test_support.h"
#include "generator/pattern_file.h"
#include "generator/pattern_image.h"
#include "generator/pattern_panel.h"
#include "image/bmp_file.h"
#include "testing/test_support.h"

namespace {

const std::string kShippedConfig = std::string(VITRELLE_SOURCE_DIR) + "/resources/vitrelle.cfg";

TEST(CliMake, SameTimeGivesTheSameFile) {
  TestFolder folder;
  const std::string a = folder.PathOf("a.bmp"), b = folder.PathOf("b.bmp"), c = folder.PathOf("c.bmp");
  const std::string options = "--time 1000 --pattern Reef --size 96x64 --mirror cross ";
  ASSERT_EQ(RunCli("make " + options + a), 0);
  ASSERT_EQ(RunCli("make " + options + b), 0);
  ASSERT_EQ(RunCli("make --time 1001 --pattern Reef --size 96x64 --mirror cross " + c), 0);
  EXPECT_EQ(folder.Read(a), folder.Read(b));
  EXPECT_NE(folder.Read(a), folder.Read(c));
  EXPECT_EQ(folder.Read(a).size(), 14u + 40 + 65 * 4 + 96 * 64);  // Reef's colour set has 65 colours
}

// The recipe make prints travels in the PNG file, survives convert (and
// ImageMagick's) to PNG, and makes the very file again; beside other make
// options, or mistyped, it is refused.
TEST(CliMake, RecipeMakesTheSameFileAgain) {
  TestFolder folder;
  const std::string a = folder.PathOf("a.png");
  std::string output, errors;
  ASSERT_EQ(RunCli("make --time 31 --pattern random --colors random --mirror random --size 97x33 " + a, &errors,
                   &output), 0) << errors;
  ASSERT_EQ(output.rfind("recipe: vitrelle1:97x33:", 0), 0u) << output;
  const std::string recipe = output.substr(8, output.size() - 9);
  ASSERT_EQ(RunCli("convert " + a + " " + folder.PathOf("b.png")), 0);
  ASSERT_TRUE(RunCommand("/usr/bin/convert " + a + " " + folder.PathOf("c.png")));
  std::string mistyped = recipe;
  mistyped[11] = '8';  // 97x33 becomes 98x33
  const std::string quoted = "'" + recipe + "' ", quotedMistype = "'" + mistyped + "' ";
  const std::pair<std::string, int> runs[] = {  // the arguments after --recipe, the exit code
      {quoted + folder.PathOf("d.png"), 0},
      {a + " " + folder.PathOf("e.png"), 0},
      {folder.PathOf("b.png") + " " + folder.PathOf("f.png"), 0},
      {folder.PathOf("c.png") + " " + folder.PathOf("g.png"), 0},
      {quoted + "--time 31 " + folder.PathOf("x.png"), 2},
      {quotedMistype + folder.PathOf("x.png"), 1},
  };
  for (const auto& [arguments, exitCode] : runs) {
    EXPECT_EQ(RunCli("make --recipe " + arguments, &errors, &output), exitCode) << arguments;
    if (exitCode == 0) {
      EXPECT_EQ(output, "recipe: " + recipe + '\n');
    }
  }
  for (const char* made : {"d.png", "e.png", "f.png", "g.png"}) EXPECT_EQ(folder.Read(folder.PathOf(made)), folder.Read(a));
  EXPECT_FALSE(FileExists(folder.PathOf("x.png").c_str()));
}

TEST(CliMake, BadChoicesAreReported) {
  TestFolder folder;
  const std::string out = folder.PathOf("out.bmp");
  std::string errors;
  EXPECT_NE(RunCli("make --pattern Nonesuch " + out, &errors), 0);
  EXPECT_EQ(errors, "No such Pattern: Nonesuch\n");
  EXPECT_NE(RunCli("make --config " + folder.PathOf("none.cfg") + " " + out, &errors), 0);
  EXPECT_EQ(errors, "Cannot open file: " + folder.PathOf("none.cfg") + "\n");
  EXPECT_NE(RunCli("make --size 0x10 " + out, &errors), 0);
  EXPECT_EQ(errors, "The image size must be at least 1 x 1 pixel: Error\n");
  EXPECT_NE(RunCli("make --size screen " + out, &errors), 0);  // no screen is known on this system
  EXPECT_EQ(errors.substr(0, 23), "No screen is known here");
  EXPECT_NE(RunCli("make --mirror sideways " + out, &errors), 0);
  EXPECT_EQ(folder.FileCount(), 0u);
}

// Wherever a size is read (the command line, a size line of the Pattern file,
// the panel's size list), a side outside 1 to 32767 is refused with a
// message, and a number beyond 32 bits never wraps into range.
TEST(CliMake, SizesThatDoNotFitAreRefusedWhereverTheyAreRead) {
  const std::string tooLarge = " is too large: each side can be at most 32767 pixels";
  const struct {
    const char *width, *height;
    std::string refusal;  // empty when the size is made
  } kCases[] = {{"32767", "1", ""},
                {"+40", "30", ""},
                {"65636", "70000", "The image size 65636 x 70000" + tooLarge},
                {"32768", "5", "The image size 32768 x 5" + tooLarge},
                {"4294967396", "100", "The image size 2147483647 x 100" + tooLarge},
                {"-65535", "5", TextOf(IDS_BAD_IMAGE_SIZE)}};
  TestFolder folder;
  const std::string out = folder.PathOf("out.bmp"), shipped = TestFolder::Read(kShippedConfig);
  for (const auto& c : kCases) {
    const std::string config = folder.Write(shipped + "2,Asked," + c.width + "," + c.height + "\r\n", "sizes.cfg");
    for (const std::string& size : {std::string(c.width) + "x" + c.height, "Asked --config " + config}) {
      std::string errors;
      const int exitCode = RunCli("make --time 1 --size " + size + " " + out, &errors);
      DibImagePtr made = ReadBmpFile(out.c_str());
      std::remove(out.c_str());
      EXPECT_EQ(errors, c.refusal.empty() ? "" : c.refusal + ": Error\n") << size;
      EXPECT_EQ(exitCode != 0, !c.refusal.empty()) << size;
      EXPECT_EQ(made ? DibWidth(*made) : 0, c.refusal.empty() ? std::stoi(c.width) : 0) << size;
    }
    PatternLists lists;
    ASSERT_TRUE(ListEntries(nullptr, config, lists));
    MakeSettings settings;
    settings[kWidth] = 5;
    OwnerRecorder messages;
    const Owner owner = messages.owner();
    EXPECT_EQ(ChooseSize(&owner, config, settings, int(lists.sizes.size()) - 1),
              c.refusal.empty() ? PanelNext::kStay : PanelNext::kShow);
    EXPECT_EQ(settings[kWidth], c.refusal.empty() ? std::stoi(c.width) : 5) << c.width;
    EXPECT_EQ(messages.warnings, c.refusal.empty() ? std::vector<std::string>{} : std::vector{c.refusal + "|Error"});
  }
}

TEST(ShippedPatternFile, EveryEntryMakesAPicture) {
  PatternLists lists;
  ASSERT_TRUE(ListEntries(nullptr, kShippedConfig, lists));
  EXPECT_GE(lists.patterns.size(), 16u);
  EXPECT_GE(lists.colorSets.size(), 8u);
  MakeSettings settings;
  ASSERT_TRUE(LoadMakeSettings(nullptr, kShippedConfig, SettingsLine::kState, settings));
  for (int k = 0; k < int(lists.colorSets.size()); ++k) {
    settings[kColorSetIndex] = k;
    GeneratorState state;
    EXPECT_TRUE(MakePatternImage(nullptr, settings, 32, 32, kShippedConfig, 0, state)) << lists.colorSets[k];
  }
  for (int k = 0; k < int(lists.patterns.size()); ++k) {
    Pattern pattern;
    ASSERT_EQ(ReadPattern(nullptr, kShippedConfig, k, pattern), EntryRead::kFound);
    EXPECT_GT(pattern.colorSetNumber, 0) << pattern.name;
    EXPECT_LE(pattern.colorSetNumber, int(lists.colorSets.size())) << pattern.name;
  }
  for (int k = 0; k < int(lists.sizes.size()); ++k) {
    SizeChoice size;
    ASSERT_EQ(ReadSizeChoice(nullptr, kShippedConfig, k, size), EntryRead::kFound);
    EXPECT_TRUE(size.width >= 1 && size.width <= 32767 && size.height >= 1) << size.label;
  }
}

}  // namespace
