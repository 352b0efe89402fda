// Growing a picture from the Pattern values: every cell of a new row is a
// colour index computed from five neighbouring cells of the row before,
// weighted, divided, offset and disturbed by a small random term, and forced
// into the colour table. Rows wrap around at the left and right edges. The
// grown picture is folded by the MirrorMode and coloured by a ramp expanded
// from a colour set of the Pattern file, rotated by the Initial color.
#pragma once

#include <cstdint>
#include <string>

#include "base/owner.h"
#include "generator/make_settings.h"
#include "generator/random_source.h"
#include "generator/recipe.h"
#include "image/dib_image.h"

// The generator's state for the whole run: the random source, and the colour
// count of the last built colour table.
struct GeneratorState {
  RandomSource random;
  int32_t colorCount = 0;  // ColorCount
};

// The ramp of a colour set: N = (n - 1) x (steps + 1) + 1 colours. False when
// the set cannot be expanded (1 to 16 key colours, steps of 0 or more, at
// most 256 colours).
bool ExpandColorRamp(const ColorSet& colors, RgbQuad* ramp, int& count);

// Reads colour set k from the Pattern file and writes the image's rotated
// colour table, depth (4 up to 16 colours, else 8), biClrUsed and
// biClrImportant; sets the colour count. Shows what went wrong and returns
// false when the set cannot be read or used.
bool BuildColorTable(const Owner* owner, DibImage& image, int k, int32_t initialColor, const std::string& patternFile,
                     GeneratorState& state);

// Each side of a picture that can be made is 1 to 32767 pixels.
constexpr int32_t kMaxPictureSide = 32767;
// True when a picture of that size can be made; otherwise shows why ("The
// image size must be at least 1 x 1 pixel", or that it is too large) with
// the caption "Error", and returns false.
bool CheckPictureSize(const Owner* owner, int32_t width, int32_t height);

// A new 4- or 8-bit picture of the given size (refused by CheckPictureSize
// unless each side is 1 to 32767) from the settings' colour set index, Pattern
// values and MirrorMode. The per-image warm-up takes the calendar time. None
// when the picture cannot be made; what went wrong has been shown then.
// `recipeText`, when given, receives the picture's recipe line, or nothing
// when its colour set cannot be told by value.
DibImagePtr MakePatternImage(const Owner* owner, const MakeSettings& settings, int width, int height,
                             const std::string& patternFile, int64_t calendarSeconds, GeneratorState& state,
                             std::string* recipeText = nullptr);

// The very picture a recipe was taken from, whatever the Pattern file, the
// clock or the state's random source (which it leaves alone; only the colour
// count is set). None when it cannot be had (shown).
DibImagePtr MakeRecipePicture(const Owner* owner, const Recipe& recipe, GeneratorState& state);

// The fold of a grown picture, in place.
void FoldPatternImage(DibImage& image, int32_t mirrorMode);
