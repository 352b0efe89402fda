// The recipe of a grown picture: everything the generator reads for one
// Make, as one line of printable text, so that the very picture can be made
// again anywhere, whatever the Pattern file, the clock or the random state of
// the run. A recipe reads
//
//   vitrelle1:301x77:2:0,0,1,2,3,2,1,9,1,20,60:5,15,081030,105078,28a0aa,b4e6dc,081030:85:a00c0240
//
//   vitrelle1     the name and format version
//   301x77        width and height, 1 to 32767
//   2             the fold: 0 none, 1 vertical mirror, 2 cross mirror,
//                 3 kaleidoscope
//   0,0,1,...     the eleven Pattern values as the generator uses them:
//                 Initial color, reserved, weights 1 to 5, divide, fix,
//                 random, Initial number (weights, fix and Initial number as
//                 signed 16-bit numbers, the others as signed 32-bit ones)
//   5,15,081030.. the colour set: key colour count n (1 to 16), steps (0 or
//                 more, (n - 1) x (steps + 1) + 1 colours at most 256), and
//                 the n key colours as lower-case hex RRGGBB
//   85            the random state when the growth starts (after the
//                 per-image warm-up), as the number of draws since the
//                 random source's initial table
//   a00c0240      the check value: CRC-32 of everything before its colon,
//                 as 8 lower-case hex digits
//
// Numbers are decimal, with '-' for negatives and no other sign, spaces or
// leading zeros. Any text that departs from this, or whose check value does
// not match, is no recipe: a mistyped recipe is refused rather than making
// another picture. White space around the line is ignored when reading.
#pragma once

#include <cstdint>
#include <string>

#include "generator/make_settings.h"

constexpr size_t kRecipeMaxLength = 400;
// The keyword of the PNG text chunk that carries a picture's recipe.
constexpr char kRecipePngKeyword[] = "Vitrelle recipe";

struct Recipe {
  int32_t width = 0, height = 0;
  MirrorKind mirror = kMirrorNormal;  // 0 to 3
  int32_t value[kPatternValueCount] = {};
  ColorSet colors;  // by value; the name is not part of a recipe
  uint64_t draws = 0;
};

// The recipe of a Make with these settings' Pattern values and MirrorMode, a
// width and height as the generator takes them, and the colour set it used
// (draws is left 0). False when the set's key colours lie outside 0 to 255,
// which a recipe cannot tell by value.
bool RecipeOfMake(const MakeSettings& settings, int width, int height, const ColorSet& colors, Recipe& recipe);

std::string RecipeText(const Recipe& recipe);

// Reads a recipe line; false when the text is not a whole, valid recipe of
// this version (the recipe is then left in an unspecified state).
bool ReadRecipe(const std::string& text, Recipe& recipe);

// The settings fields a recipe gives: its Pattern values and MirrorMode,
// width and height. The other fields stay as they are.
void ApplyRecipe(const Recipe& recipe, MakeSettings& settings);
