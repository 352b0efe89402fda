// vitrelle-cli make as a user runs it, with the shipped Pattern file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/cli_test_support.h"
#include "generator/pattern_file.h"
#include "generator/pattern_image.h"
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
