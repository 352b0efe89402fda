#include "generator/recipe.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace {

constexpr char kRecipeName[] = "vitrelle1";
constexpr int kCheckDigits = 8;

int16_t Low16(int32_t value) { return int16_t(uint16_t(uint32_t(value) & 0xFFFF)); }

// Pattern values used by their low 16 bits, as offsets from kFirstPatternField.
bool UsedAs16Bits(int i) {
  const int field = kFirstPatternField + i;
  return (field >= kWeight1 && field <= kWeight5) || field == kFix || field == kInitialNumber;
}

uint32_t CheckValue(const std::string& text) {
  return uint32_t(crc32(0L, reinterpret_cast<const Bytef*>(text.data()), uInt(text.size())));
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

// A decimal number as a recipe writes it, within low to high.
bool ReadNumber(const std::string& text, int64_t low, int64_t high, int64_t& number) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 10 || (digits[0] == '0' && (digits.size() > 1 || negative))) return false;
  number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (negative) number = -number;
  return number >= low && number <= high;
}

bool ReadInt32(const std::string& text, int32_t low, int32_t high, int32_t& number) {
  int64_t wide = 0;
  if (!ReadNumber(text, low, high, wide)) return false;
  number = int32_t(wide);
  return true;
}

bool ReadDraws(const std::string& text, uint64_t& draws) {
  if (text.empty() || text.size() > 20 || (text[0] == '0' && text.size() > 1)) return false;
  draws = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = uint64_t(c - '0');
    if (draws > (UINT64_MAX - digit) / 10) return false;
    draws = draws * 10 + digit;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Lower-case hex digits only, so that every text has one reading.
bool ReadHex(const std::string& text, size_t digits, uint32_t& value) {
  if (text.size() != digits) return false;
  value = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    value = value << 4 | uint32_t(digit);
  }
  return true;
}

bool ReadColors(const std::vector<std::string>& parts, ColorSet& colors) {
  if (parts.size() < 3 || !ReadInt32(parts[0], 1, kMaxKeyColors, colors.keyCount) ||
      !ReadInt32(parts[1], 0, INT32_MAX, colors.steps) || parts.size() != size_t(colors.keyCount) + 2) {
    return false;
  }
  if (colors.keyCount > 1 && int64_t(colors.keyCount - 1) * (int64_t(colors.steps) + 1) + 1 > kMaxRampColors) {
    return false;
  }
  for (int i = 0; i < colors.keyCount; ++i) {
    uint32_t rgb = 0;
    if (!ReadHex(parts[size_t(i) + 2], 6, rgb)) return false;
    colors.key[i] = KeyColor{int32_t(rgb >> 16), int32_t(rgb >> 8 & 0xFF), int32_t(rgb & 0xFF)};
  }
  colors.complete = true;
  return true;
}

bool InByteRange(int32_t channel) { return channel >= 0 && channel <= 255; }

}  // namespace

bool RecipeOfMake(const MakeSettings& settings, int width, int height, const ColorSet& colors, Recipe& recipe) {
  for (int i = 0; i < colors.keyCount && i < kMaxKeyColors; ++i) {
    const KeyColor& key = colors.key[i];
    if (!InByteRange(key.red) || !InByteRange(key.green) || !InByteRange(key.blue)) return false;
  }
  recipe = Recipe();
  recipe.width = width;
  recipe.height = height;
  const MirrorKind mirror = MirrorKindOf(settings[kMirrorMode]);
  recipe.mirror = mirror == kMirrorNone ? kMirrorNormal : mirror;
  for (int i = 0; i < kPatternValueCount; ++i) {
    const int32_t value = settings.field[kFirstPatternField + i];
    recipe.value[i] = UsedAs16Bits(i) ? Low16(value) : value;
  }
  recipe.colors = colors;
  recipe.colors.name.clear();
  // One key colour makes one colour whatever the steps.
  if (recipe.colors.keyCount == 1) recipe.colors.steps = 0;
  return true;
}

std::string RecipeText(const Recipe& recipe) {
  std::string text = kRecipeName;
  auto append = [&text](char separator, const std::string& part) {
    text += separator;
    text += part;
  };
  append(':', std::to_string(recipe.width));
  append('x', std::to_string(recipe.height));
  append(':', std::to_string(int(recipe.mirror)));
  for (int i = 0; i < kPatternValueCount; ++i) append(i ? ',' : ':', std::to_string(recipe.value[i]));
  append(':', std::to_string(recipe.colors.keyCount));
  append(',', std::to_string(recipe.colors.steps));
  for (int i = 0; i < recipe.colors.keyCount; ++i) {
    const KeyColor& key = recipe.colors.key[i];
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02x%02x%02x", unsigned(key.red & 0xFF), unsigned(key.green & 0xFF),
                  unsigned(key.blue & 0xFF));
    append(',', hex);
  }
  append(':', std::to_string(recipe.draws));
  char check[kCheckDigits + 1];
  std::snprintf(check, sizeof check, "%08x", unsigned(CheckValue(text)));
  append(':', check);
  return text;
}

bool ReadRecipe(const std::string& text, Recipe& recipe) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return false;
  const std::string line = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
  if (line.size() > kRecipeMaxLength) return false;
  const size_t checkMark = line.rfind(':');
  uint32_t check = 0;
  if (checkMark == std::string::npos || !ReadHex(line.substr(checkMark + 1), kCheckDigits, check) ||
      check != CheckValue(line.substr(0, checkMark))) {
    return false;
  }
  const std::vector<std::string> parts = Split(line.substr(0, checkMark), ':');
  if (parts.size() != 6 || parts[0] != kRecipeName) return false;
  const std::vector<std::string> size = Split(parts[1], 'x');
  int32_t mirror = 0;
  if (size.size() != 2 || !ReadInt32(size[0], 1, 32767, recipe.width) ||
      !ReadInt32(size[1], 1, 32767, recipe.height) || !ReadInt32(parts[2], 0, 3, mirror)) {
    return false;
  }
  recipe.mirror = MirrorKind(mirror);
  const std::vector<std::string> values = Split(parts[3], ',');
  if (values.size() != size_t(kPatternValueCount)) return false;
  for (int i = 0; i < kPatternValueCount; ++i) {
    const int32_t low = UsedAs16Bits(i) ? INT16_MIN : INT32_MIN, high = UsedAs16Bits(i) ? INT16_MAX : INT32_MAX;
    if (!ReadInt32(values[size_t(i)], low, high, recipe.value[i])) return false;
  }
  return ReadColors(Split(parts[4], ','), recipe.colors) && ReadDraws(parts[5], recipe.draws);
}

void ApplyRecipe(const Recipe& recipe, MakeSettings& settings) {
  for (int i = 0; i < kPatternValueCount; ++i) settings.field[kFirstPatternField + i] = recipe.value[i];
  settings[kMirrorMode] = recipe.mirror;
  settings[kWidth] = recipe.width;
  settings[kHeight] = recipe.height;
}
