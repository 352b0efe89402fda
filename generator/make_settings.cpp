#include "generator/make_settings.h"

MirrorKind MirrorKindOf(int32_t mirrorMode) {
  const int32_t remainder = mirrorMode % 10;
  return remainder >= 0 && remainder <= 3 ? MirrorKind(remainder) : kMirrorNone;
}

int32_t WithMirrorKind(int32_t mirrorMode, MirrorKind kind) { return mirrorMode / 10 * 10 + kind; }

void SelectPattern(MakeSettings& settings, const Pattern& pattern, int patternIndex) {
  settings[kPatternIndex] = patternIndex;
  for (int i = 0; i < kPatternValueCount; ++i) settings.field[kFirstPatternField + i] = pattern.value[i];
  if (pattern.colorSetNumber != 0) settings[kColorSetIndex] = pattern.colorSetNumber - 1;
}
