// The generation settings and the named entries of the Pattern file.
#pragma once

#include <cstdint>
#include <string>

// The 20 fields of MakeSettings, in the order of the Pattern file's state and
// default lines.
enum MakeSettingsField : int {
  kMarker,         // always 0
  kSizeIndex,      // selected SizeChoice, 0-based
  kColorSetIndex,  // selected ColorSet, 0-based
  kPatternIndex,   // selected Pattern, 0-based
  kReserved5,
  kReserved6,
  kInitialColor,  // rotation of the colour table, 0 to 255
  kReserved8,
  kWeight1,  // neighbour two cells to the left
  kWeight2,
  kWeight3,  // the cell in the same column
  kWeight4,
  kWeight5,  // neighbour two cells to the right
  kDivide,
  kFix,
  kRandom,
  kInitialNumber,  // unseen passes before the first image row
  kMirrorMode,
  kWidth,
  kHeight,
  kMakeSettingsFieldCount
};

// The eleven Pattern values are the fields kInitialColor to kInitialNumber.
constexpr int kFirstPatternField = kInitialColor;
constexpr int kPatternValueCount = 11;

struct MakeSettings {
  int32_t field[kMakeSettingsFieldCount] = {};

  int32_t& operator[](MakeSettingsField f) { return field[f]; }
  int32_t operator[](MakeSettingsField f) const { return field[f]; }
};

struct Pattern {
  std::string name;
  int32_t value[kPatternValueCount] = {};
  int32_t colorSetNumber = 0;  // 1-based; 0 keeps the colour set selection
};

constexpr int kMaxKeyColors = 16;
constexpr int kMaxRampColors = 256;

struct KeyColor {
  int32_t red = 0, green = 0, blue = 0;
};

struct ColorSet {
  std::string name;
  int32_t keyCount = 0;
  int32_t steps = 0;
  KeyColor key[kMaxKeyColors];
  bool complete = true;  // the line held every field its key colour count needs
};

struct SizeChoice {
  std::string label;
  int32_t width = 0, height = 0;
};

// The fold selected by a MirrorMode value: its remainder on division by 10.
enum MirrorKind : int { kMirrorNormal = 0, kMirrorVertical = 1, kMirrorCross = 2, kMirrorKaleidoscope = 3, kMirrorNone = -1 };

MirrorKind MirrorKindOf(int32_t mirrorMode);
// Replaces only the last decimal digit, as choosing a mode in the panel does.
int32_t WithMirrorKind(int32_t mirrorMode, MirrorKind kind);

// Selecting a Pattern: its eleven values, and its colour set when it names one.
void SelectPattern(MakeSettings& settings, const Pattern& pattern, int patternIndex);
