// The growth of a Pattern picture written plainly, cell by cell: one random
// draw, five 16-bit products and an integer division per cell, and every
// pixel stored through a test of the depth. The benchmark measures the
// generator against it, and the unit tests check that the generator gives
// exactly its pixels. Size limits, colour table, warm-up and fold are the
// generator's own.
#pragma once

#include <vector>

#include "generator/pattern_image.h"

inline void GrowPatternBaseline(DibImage& image, const MakeSettings& settings, int32_t colorCount,
                                RandomSource& random) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  uint8_t* pixels = DibPixels(image);
  std::vector<int16_t> currentRow(size_t(width) + 11), nextRow(size_t(width) + 11);
  int16_t* a = currentRow.data() + 2;
  int16_t* c = nextRow.data() + 2;
  for (int i = 1; i <= width + 10; ++i) {
    c[i - 2] = int16_t(RandomNext(random, 7));
    a[i - 2] = int16_t(RandomNext(random, 7));
  }
  int16_t w[5];
  for (int i = 0; i < 5; ++i) w[i] = int16_t(settings.field[kWeight1 + i]);
  const int32_t divide = settings[kDivide] == 0 ? 1 : settings[kDivide];
  const int32_t amplitude = int32_t(uint32_t(settings[kRandom]) + 10);
  for (int y = -1; y < height; ++y) {
    const int passes = y < 0 ? int16_t(settings[kInitialNumber]) : 1;
    for (int pass = 0; pass < passes; ++pass) {
      for (int x = 0; x < width; ++x) {
        int16_t sum = int16_t(w[0] * a[x - 2]);
        sum = int16_t(sum + int16_t(w[1] * a[x - 1]));
        sum = int16_t(sum + int16_t(w[2] * a[x]));
        sum = int16_t(sum + int16_t(w[3] * a[x + 1]));
        sum = int16_t(sum + int16_t(w[4] * a[x + 2]));
        const int32_t term = RandomNext(random, amplitude) / 10;
        const int32_t quotient = int32_t(int64_t(sum) / divide);
        int32_t v = int16_t(term + quotient + int16_t(settings[kFix]));
        if (v > colorCount - 1) v = 0;
        if (v < 0) v = colorCount - 1;
        c[x] = int16_t(v);
        if (y < 0) continue;
        uint8_t* row = pixels + y * stride;
        if (depth == 8) {
          row[x] = uint8_t(v);
        } else if (x % 2 == 0) {
          row[x / 2] = uint8_t(v << 4);
        } else {
          row[x / 2] = uint8_t(row[x / 2] | v);
        }
      }
      for (int k = 0; k < width; ++k) a[k] = c[k];
      a[-2] = c[width - 2];
      a[-1] = c[width - 1];
      a[width] = c[0];
      a[width + 1] = c[1];
    }
  }
}

// MakePatternImage with the plain growth.
inline DibImagePtr MakePatternImageBaseline(const Owner* owner, const MakeSettings& settings, int width, int height,
                                            const std::string& patternFile, int64_t calendarSeconds,
                                            GeneratorState& state) {
  width = int16_t(width);
  height = int16_t(height);
  if (width < 1 || height < 1) return nullptr;
  DibImagePtr image = CreateDibImage(width, height, 0);
  if (!image || !BuildColorTable(owner, *image, settings[kColorSetIndex], settings[kInitialColor], patternFile, state)) {
    return nullptr;
  }
  WarmUpForImage(state.random, calendarSeconds);
  GrowPatternBaseline(*image, settings, state.colorCount, state.random);
  FoldPatternImage(*image, settings[kMirrorMode]);
  return image;
}
