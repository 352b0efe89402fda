#include "generator/pattern_image.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/texts.h"
#include "generator/pattern_file.h"
#include "generator/recipe.h"
#include "generator/wide_vectors.h"

namespace {

int16_t Low16(int32_t value) { return int16_t(uint16_t(uint32_t(value) & 0xFFFF)); }

// The quotient of a 16-bit sum by divide, truncated toward zero, is the
// truncated product of the sum with the reciprocal 1 / |divide| rounded up
// to the next float above it, signed as divide. The product is never below
// the true quotient |sum / divide|, so an exact integer quotient stays whole,
// and exceeds it by at most 2^-22 of it, 2^-7 / |divide| or less, which is
// less than the distance 1 / |divide| from any other quotient to the next
// integer. A divide beyond 32768 leaves every quotient 0, as 65536 does; a
// divide of 0 divides by 1. A float multiplication costs far less than an
// integer division, and vectorises.
float ReciprocalOf(int32_t divide) {
  if (divide == 0) divide = 1;
  const float magnitude = divide > 32768 || divide < -32768 ? 65536.0f : std::fabs(float(divide));
  const float reciprocal = std::nextafter(1.0f / magnitude, INFINITY);
  return divide < 0 ? -reciprocal : reciprocal;
}

constexpr int kRandomWordValues = 32768;

// The growth rules of one picture. Products, sums and cells are all taken
// modulo 2^16, so the cell loop works on 16-bit numbers throughout.
struct GrowthRules {
  int16_t weight[5];
  float reciprocal;  // of divide, see ReciprocalOf
  int16_t fix;
  int16_t lastColor;  // N - 1
  // randomTerm[T]: RandomNext(random + 10) / 10 for the random word T.
  std::vector<int16_t> randomTerm;
};

GrowthRules MakeGrowthRules(const MakeSettings& settings, int32_t colorCount) {
  GrowthRules rules;
  for (int i = 0; i < 5; ++i) rules.weight[i] = Low16(settings.field[kWeight1 + i]);
  rules.reciprocal = ReciprocalOf(settings[kDivide]);
  rules.fix = Low16(settings[kFix]);
  rules.lastColor = int16_t(colorCount - 1);
  const int32_t scale = int32_t(uint32_t(settings[kRandom]) + 10u);
  rules.randomTerm.resize(kRandomWordValues);
  for (int32_t word = 0; word < kRandomWordValues; ++word) {
    rules.randomTerm[word] = int16_t(ScaleRandomWord(scale, word) / 10);
  }
  return rules;
}

// Two row buffers of cells -2 to width + 8, and the random words and terms
// of one pass.
struct Rows {
  explicit Rows(int cells)
      : width(cells), current(cells + 11), next(cells + 11), words(cells), terms(cells) {}
  int16_t* A() { return current.data() + 2; }
  int16_t* C() { return next.data() + 2; }

  int width;
  std::vector<int16_t> current, next;
  std::vector<int32_t> words;
  std::vector<int16_t> terms;
};

void SeedRows(Rows& rows, RandomSource& random) {
  for (int i = 1; i <= rows.width + 10; ++i) {
    rows.C()[i - 2] = int16_t(RandomNext(random, 7));
    rows.A()[i - 2] = int16_t(RandomNext(random, 7));
  }
  rows.A()[-2] = 0;  // lies outside the seed fill
}

// One pass: the next row from the current one, then rolled into the current
// one. The random terms of the pass are drawn first, in cell order, so that
// no cell depends on the one before and the cell loop vectorises.
WIDE_VECTORS void GrowRow(Rows& rows, const GrowthRules& rules, RandomSource& random) {
  const int width = rows.width;
  RandomWords(random, rows.words.data(), width);
  int16_t* terms = rows.terms.data();
  for (int x = 0; x < width; ++x) terms[x] = rules.randomTerm[rows.words[x]];
  // Locals, so that storing a cell cannot seem to change them.
  const int16_t w1 = rules.weight[0], w2 = rules.weight[1], w3 = rules.weight[2], w4 = rules.weight[3],
                w5 = rules.weight[4];
  const float reciprocal = rules.reciprocal;
  const int16_t fix = rules.fix, lastColor = rules.lastColor;
  const int16_t* a = rows.A();
  int16_t* c = rows.C();
  for (int x = 0; x < width; ++x) {
    const int16_t sum = int16_t(w1 * a[x - 2] + w2 * a[x - 1] + w3 * a[x] + w4 * a[x + 1] + w5 * a[x + 2]);
    const int16_t quotient = int16_t(int32_t(float(sum) * reciprocal));
    int16_t v = int16_t(terms[x] + quotient + fix);
    v = v > lastColor ? 0 : v;
    v = v < 0 ? lastColor : v;
    c[x] = v;
  }
  int16_t* newA = rows.A();
  std::memcpy(newA, c, size_t(width) * sizeof(int16_t));
  newA[-2] = c[width - 2];
  newA[-1] = c[width - 1];
  newA[width] = c[0];
  newA[width + 1] = c[1];
}

void StoreRow(const int16_t* cells, int width, int depth, uint8_t* row) {
  if (depth == 8) {
    for (int x = 0; x < width; ++x) row[x] = uint8_t(cells[x]);
    return;
  }
  for (int i = 0; i < width / 2; ++i) row[i] = uint8_t(cells[2 * i] << 4 | cells[2 * i + 1]);
  if (width % 2) row[width / 2] = uint8_t(cells[width - 1] << 4);
}

// The reverse of StoreRow.
void LoadRow(const uint8_t* row, int width, int depth, int16_t* cells) {
  if (depth == 8) {
    for (int x = 0; x < width; ++x) cells[x] = row[x];
    return;
  }
  for (int i = 0; i < width / 2; ++i) {
    cells[2 * i] = row[i] >> 4;
    cells[2 * i + 1] = row[i] & 15;
  }
  if (width % 2) cells[width - 1] = row[width / 2] >> 4;
}

struct PixelRows {
  uint8_t* pixels;
  size_t stride;
  int width, height, depth;

  uint8_t* Row(int y) const { return pixels + size_t(y) * stride; }
  // Rows are copied whole: at depth 4 the whole stride, at depth 8 the width's bytes.
  void CopyRow(int from, int to) const { std::memcpy(Row(to), Row(from), depth == 8 ? size_t(width) : stride); }
};

void MirrorTopToBottom(const PixelRows& p) {
  for (int y = 0; y < p.height / 2; ++y) p.CopyRow(p.height - 1 - y, y);
}

// Row by row through a row of cells, so that the loops vectorise at either depth.
void MirrorRightToLeft(const PixelRows& p) {
  std::vector<int16_t> cells(size_t(p.width));
  for (int y = 0; y < p.height; ++y) {
    LoadRow(p.Row(y), p.width, p.depth, cells.data());
    for (int x = 0; x < p.width / 2; ++x) cells[x] = cells[p.width - 1 - x];
    StoreRow(cells.data(), p.width, p.depth, p.Row(y));
  }
}

void Kaleidoscope(const PixelRows& p) {
  const int w = p.width, h2 = p.height / 2, w2 = p.width / 2;
  // The lower right quarter folded about its diagonal through the lower right corner.
  for (int y = 0; y <= h2; ++y) {
    for (int j = 0; j < w2 && j < y; ++j) p.Row(j)[w - 1 - y] = p.Row(y)[w - 1 - j];
  }
  for (int y = 0; y < h2; ++y) p.CopyRow(y, p.height - 1 - y);
  MirrorRightToLeft(p);
}

int64_t Modulo(int64_t value, int64_t divisor) {
  const int64_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

}  // namespace

bool ExpandColorRamp(const ColorSet& colors, RgbQuad* ramp, int& count) {
  const int64_t n = colors.keyCount, steps = colors.steps;
  if (!colors.complete || n < 1 || n > kMaxKeyColors || steps < 0) return false;
  const int64_t total = n == 1 ? 1 : (steps + 1) * (n - 1) + 1;
  if (total > kMaxRampColors) return false;
  count = 0;
  auto channel = [&](int32_t from, int32_t to, int64_t q) { return uint8_t(from + (q * (int64_t(to) - from)) / (steps + 1)); };
  auto append = [&](const KeyColor& a, const KeyColor& b, int64_t q) {
    ramp[count++] = RgbQuad{channel(a.blue, b.blue, q), channel(a.green, b.green, q), channel(a.red, b.red, q), 0};
  };
  for (int i = 0; i + 1 < n; ++i) {
    for (int64_t q = 0; q <= steps; ++q) append(colors.key[i], colors.key[i + 1], q);
  }
  append(colors.key[n - 1], colors.key[n - 1], 0);
  return true;
}

namespace {

// Writes the image's colour table from the set (rotated by the Initial
// color), its depth, biClrUsed and biClrImportant, and sets the colour
// count. Shows what went wrong and returns false when the set cannot be used.
bool SetColorTable(const Owner* owner, DibImage& image, const ColorSet& colors, int32_t initialColor,
                   const std::string& caption, GeneratorState& state) {
  RgbQuad ramp[kMaxRampColors];
  int count = 0;
  if (!ExpandColorRamp(colors, ramp, count)) {
    char text[512];
    std::snprintf(text, sizeof text, TextOf(IDS_BAD_COLOR_SET), colors.name.c_str());
    OwnerWarn(owner, text, caption.c_str());
    return false;
  }
  state.colorCount = count;
  SetDibInfoField(image, kBiBitCount, count <= 16 ? 4 : 8);
  SetDibInfoField(image, kBiClrUsed, uint32_t(count));
  SetDibInfoField(image, kBiClrImportant, uint32_t(count));
  RgbQuad* table = DibColorTable(image);
  for (int i = 0; i < count; ++i) table[i] = ramp[Modulo(int64_t(i) + initialColor, count)];
  return true;
}

// Colour set k of the Pattern file; false when it cannot be read (shown).
bool ReadMakeColorSet(const Owner* owner, const std::string& patternFile, int k, ColorSet& colors) {
  switch (ReadColorSet(owner, patternFile, k, colors)) {
    case EntryRead::kFileUnreadable: return false;
    case EntryRead::kMissing: OwnerWarn(owner, TextOf(IDS_NO_COLOR_SET), patternFile.c_str()); return false;
    case EntryRead::kFound: break;
  }
  return true;
}

// A new image of a size CheckPictureSize takes, with its colour table; none
// when it cannot be had (shown).
DibImagePtr NewPatternImage(const Owner* owner, int width, int height, const ColorSet& colors, int32_t initialColor,
                            const std::string& caption, GeneratorState& state) {
  // Past the limit, or when the system has no block that large.
  DibImagePtr image = CreateDibImage(width, height, 0);
  if (!image) {
    WarnPictureTooLarge(owner, {width, height}, TextOf(IDS_ERROR));
    return nullptr;
  }
  if (!SetColorTable(owner, *image, colors, initialColor, caption, state)) return nullptr;
  return image;
}

// Grows the picture into the image from the random source as it stands, and
// folds it.
void GrowPatternImage(DibImage& image, const MakeSettings& settings, int32_t colorCount, RandomSource& random) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  uint8_t* pixels = DibPixels(image);
  const GrowthRules rules = MakeGrowthRules(settings, colorCount);
  Rows rows(width);
  SeedRows(rows, random);
  for (int pass = 0; pass < Low16(settings[kInitialNumber]); ++pass) GrowRow(rows, rules, random);
  for (int y = 0; y < height; ++y) {
    GrowRow(rows, rules, random);
    StoreRow(rows.A(), width, depth, pixels + size_t(y) * stride);
  }
  FoldPatternImage(image, settings[kMirrorMode]);
}

}  // namespace

bool BuildColorTable(const Owner* owner, DibImage& image, int k, int32_t initialColor, const std::string& patternFile,
                     GeneratorState& state) {
  ColorSet colors;
  return ReadMakeColorSet(owner, patternFile, k, colors) &&
         SetColorTable(owner, image, colors, initialColor, patternFile, state);
}

void FoldPatternImage(DibImage& image, int32_t mirrorMode) {
  const int depth = DibBitCount(image);
  const PixelRows p{DibPixels(image), DibRowStride(DibWidth(image), depth), DibWidth(image), DibHeight(image), depth};
  switch (MirrorKindOf(mirrorMode)) {
    case kMirrorVertical:
      MirrorTopToBottom(p);
      break;
    case kMirrorKaleidoscope:
      if (depth == 8 && p.width == p.height) {
        Kaleidoscope(p);
        break;
      }
      [[fallthrough]];
    case kMirrorCross:
      MirrorTopToBottom(p);
      MirrorRightToLeft(p);
      break;
    default:
      break;
  }
}

bool CheckPictureSize(const Owner* owner, int32_t width, int32_t height) {
  if (width < 1 || height < 1) {
    OwnerWarn(owner, TextOf(IDS_BAD_IMAGE_SIZE), TextOf(IDS_ERROR));
    return false;
  }
  if (width <= kMaxPictureSide && height <= kMaxPictureSide) return true;
  char text[160];
  std::snprintf(text, sizeof text, TextOf(IDS_IMAGE_SIZE_TOO_LARGE), int(width), int(height));
  OwnerWarn(owner, text, TextOf(IDS_ERROR));
  return false;
}

DibImagePtr MakePatternImage(const Owner* owner, const MakeSettings& settings, int width, int height,
                             const std::string& patternFile, int64_t calendarSeconds, GeneratorState& state,
                             std::string* recipeText) {
  ColorSet colors;
  if (!CheckPictureSize(owner, width, height) ||
      !ReadMakeColorSet(owner, patternFile, settings[kColorSetIndex], colors)) {
    return nullptr;
  }
  DibImagePtr image = NewPatternImage(owner, width, height, colors, settings[kInitialColor], patternFile, state);
  if (!image) return nullptr;
  WarmUpForImage(state.random, calendarSeconds);
  Recipe recipe;
  const bool byValue = RecipeOfMake(settings, width, height, colors, recipe);
  recipe.draws = state.random.draws;
  GrowPatternImage(*image, settings, state.colorCount, state.random);
  if (recipeText) *recipeText = byValue ? RecipeText(recipe) : std::string();
  return image;
}

DibImagePtr MakeRecipePicture(const Owner* owner, const Recipe& recipe, GeneratorState& state) {
  if (!CheckPictureSize(owner, recipe.width, recipe.height)) return nullptr;
  MakeSettings settings;
  ApplyRecipe(recipe, settings);
  DibImagePtr image = NewPatternImage(owner, recipe.width, recipe.height, recipe.colors, settings[kInitialColor],
                                      TextOf(IDS_ERROR), state);
  if (!image) return nullptr;
  RandomSource random = RandomSourceAfter(recipe.draws);
  GrowPatternImage(*image, settings, state.colorCount, random);
  return image;
}
