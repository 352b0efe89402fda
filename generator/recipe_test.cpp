#include "generator/recipe.h"

#include <gtest/gtest.h>

#include <cstring>

#include "generator/pattern_image.h"
#include "testing/test_support.h"

namespace {

const char kFirstFile[] =
    "0\r\n0\r\n"
    "4,Seven,3,2,0,0,0,255,0,0,255,255,255\r\n"
    "4,Sixteen,2,14,0,0,0,255,255,255\r\n"
    "4,Many,4,40,10,200,30,255,0,128,0,0,0,90,90,250\r\n";
// The same places hold other colours, so only the recipe can tell the first ones.
const char kOtherFile[] =
    "0\r\n0\r\n"
    "4,Grey,2,1,0,0,0,9,9,9\r\n"
    "4,Blue,2,3,0,0,255,0,0,0\r\n"
    "4,Two,2,0,1,2,3,4,5,6\r\n";

// Pictures of random Pattern values, colours and mirror at three sizes, the
// last odd and wide, come back from their recipes pixel for pixel after
// other Makes moved the random state, with another Pattern file and time.
TEST(Recipe, MakesTheVeryPictureAgain) {
  TestFolder folder;
  const std::string first = folder.Write(kFirstFile), other = folder.Write(kOtherFile, "other.cfg");
  const int sizes[][2] = {{64, 64}, {40, 25}, {1203, 7}};  // width, height
  GeneratorState run;
  WarmUpAtStartup(run.random, 1700000077);
  for (const auto& [width, height] : sizes) {
    MakeSettings settings;
    for (int i = 0; i < kPatternValueCount; ++i) settings.field[kFirstPatternField + i] = RandomNext(run.random, 40) - 8;
    settings[kDivide] = RandomNext(run.random, 12) + 1;
    settings[kColorSetIndex] = RandomNext(run.random, 3);
    settings[kMirrorMode] = 10 * RandomNext(run.random, 3) + RandomNext(run.random, 4);
    std::string text;
    DibImagePtr made = MakePatternImage(nullptr, settings, width, height, first, 1700000100, run, &text);
    ASSERT_TRUE(made);
    ASSERT_LE(text.size(), kRecipeMaxLength);
    for (int more = 0; more < 2; ++more) MakePatternImage(nullptr, settings, 30, 20, other, 5 + more, run);

    Recipe recipe;
    ASSERT_TRUE(ReadRecipe(" " + text + "\r\n", recipe)) << text;
    EXPECT_EQ(RecipeText(recipe), text);
    GeneratorState elsewhere;
    DibImagePtr again = MakeRecipePicture(nullptr, recipe, elsewhere);
    ASSERT_TRUE(again);
    EXPECT_TRUE(DibTotalSize(*made) == DibTotalSize(*again) &&
                std::memcmp(made->start(), again->start(), DibTotalSize(*made)) == 0) << text;
  }
}

// Every single character changed, or a character left out, is refused.
TEST(Recipe, AnyMistypeIsRefused) {
  const std::string text =
      "vitrelle1:640x480:2:0,0,-300,0,0,0,0,0,0,0,0:2,5,000000,ff1001:18446744073709551615:a0792058";
  Recipe read;
  ASSERT_TRUE(ReadRecipe(text, read));
  EXPECT_EQ(RecipeText(read), text);
  for (size_t i = 0; i < text.size(); ++i) {
    for (char c : {'0', '7', 'a', 'A', '-', ':', ','}) {
      std::string changed = text;
      if (changed[i] == c) continue;
      changed[i] = c;
      EXPECT_FALSE(ReadRecipe(changed, read)) << changed;
    }
    EXPECT_FALSE(ReadRecipe(std::string(text).erase(i, 1), read)) << i;
  }
  EXPECT_FALSE(ReadRecipe("", read));
  EXPECT_FALSE(ReadRecipe("vitrelle1:", read));
}

// A colour set whose key colours lie outside 0 to 255 cannot be told by
// value: such a picture has no recipe.
TEST(Recipe, NoneForColoursOutsideBytes) {
  MakeSettings settings;
  ColorSet colors;
  colors.keyCount = 2;
  colors.key[1] = {300, 0, 0};
  Recipe recipe;
  EXPECT_FALSE(RecipeOfMake(settings, 10, 10, colors, recipe));
}

}  // namespace
