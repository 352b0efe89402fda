#include "generator/pattern_file.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "base/texts.h"
#include "base/file_io.h"

namespace {

// The kinds of entry line, told by their first field.
enum EntryKind : int { kSizeEntry = 2, kPatternEntry = 3, kColorEntry = 4 };
const char kLineEnd[] = "\r\n";

// The whole file as text; false when it cannot be read to its end.
bool ReadFileText(const std::string& path, std::string& text) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path.c_str(), bytes)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

// Calls visit(lineNumber, text) for every line of the file, line 1 first,
// each line whole, whatever its length, and with its line end. False when
// the file cannot be read to its end.
bool ForEachLine(const std::string& path, const std::function<void(int, const std::string&)>& visit) {
  std::string bytes;
  if (!ReadFileText(path, bytes)) return false;
  int number = 1;
  for (size_t start = 0; start < bytes.size(); ++number) {
    const size_t lineEnd = bytes.find('\n', start);
    const size_t next = lineEnd == std::string::npos ? bytes.size() : lineEnd + 1;
    visit(number, bytes.substr(start, next - start));
    start = next;
  }
  return true;
}

bool ForEachLineOrWarn(const Owner* owner, const std::string& path,
                       const std::function<void(int, const std::string&)>& visit) {
  if (ForEachLine(path, visit)) return true;
  OwnerWarn(owner, TextOf(IDS_CANNOT_OPEN_FILE), path.c_str());
  return false;
}

// A number as the Pattern file holds it: white space, a sign, and the digits
// up to the first other character, their value kept modulo 2^32.
struct LenientNumber {
  bool negative = false;
  uint32_t digits = 0;
  bool fits = true;  // the digits' value is below 2^32
};

LenientNumber ScanNumber(const std::string& text) {
  LenientNumber number;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const uint64_t value = uint64_t(number.digits) * 10 + uint64_t(text[i] - '0');
    number.fits = number.fits && value <= UINT32_MAX;
    number.digits = uint32_t(value);
  }
  return number;
}

int EntryKindOf(const std::vector<std::string>& fields) { return fields.empty() ? -1 : ParseNumber(fields[0]); }

// Field i, or 0 when the line has fewer fields.
int32_t NumberField(const std::vector<std::string>& fields, size_t i) {
  return i < fields.size() ? ParseNumber(fields[i]) : 0;
}

int32_t SideField(const std::vector<std::string>& fields, size_t i) {
  return i < fields.size() ? ParseSideNumber(fields[i]) : 0;
}

// Field i without a line end, or empty when the line has fewer fields.
std::string TextField(const std::vector<std::string>& fields, size_t i) {
  if (i >= fields.size()) return std::string();
  std::string text = fields[i];
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Calls take(fields) for entry k of the given kind; entries are counted on the
// lines after the state line.
EntryRead ReadEntry(const Owner* owner, const std::string& path, EntryKind kind, int k,
                    const std::function<void(const std::vector<std::string>&)>& take) {
  int seen = 0;
  bool found = false;
  const bool read = ForEachLineOrWarn(owner, path, [&](int number, const std::string& line) {
    if (number == 1 || found) return;
    const std::vector<std::string> fields = SplitFields(line);
    if (EntryKindOf(fields) != kind || seen++ != k) return;
    take(fields);
    found = true;
  });
  if (!read) return EntryRead::kFileUnreadable;
  return found ? EntryRead::kFound : EntryRead::kMissing;
}

bool WarnCannotSave(const Owner* owner, const std::string& path) {
  OwnerWarn(owner, TextOf(IDS_CANNOT_SAVE_CONFIG), path.c_str());
  return false;
}

std::string StateLineText(const MakeSettings& settings) {
  std::string text;
  for (int i = 0; i < kMakeSettingsFieldCount; ++i) text += std::to_string(settings.field[i]) + ",";
  return text + std::string(10, ' ');
}

bool WriteAll(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

// Replaces the file by the text, written to a temporary file beside it and
// moved over it only when complete. False, with "Cannot save config file",
// on any failure; then the old file stays whole.
bool WriteWholeFile(const Owner* owner, const std::string& path, const std::string& text) {
  SafeFileWriter writer;
  if (!writer.Open(path.c_str(), "MF") || !WriteAll(writer.file(), text) || !writer.Commit()) {
    return WarnCannotSave(owner, path);
  }
  return true;
}

// Replaces the file by the text that `change` makes of its old bytes,
// written to a temporary file beside it and moved over it only when
// complete. False, with "Cannot save config file", on any failure; then the
// old file stays whole.
bool RewriteFile(const Owner* owner, const std::string& path,
                 const std::function<std::string(const std::string&)>& change) {
  std::string old;
  if (!ReadFileText(path, old)) return WarnCannotSave(owner, path);
  return WriteWholeFile(owner, path, change(old));
}

// Appends the lines (each with its line end) to the file.
bool AppendLines(const Owner* owner, const std::string& path, const std::string& lines) {
  return RewriteFile(owner, path, [&](const std::string& old) {
    // End a last line that has no line end, so that the new lines do not run into it.
    return old.empty() || old.back() == '\n' ? old + lines : old + kLineEnd + lines;
  });
}

// A name as one field of a line. A comma or line break in the name would
// shift every field after it, and so would an empty name, whose field
// vanishes when the line is split: it is kept as one space. The name is never
// cut: the name dialog takes at most 99 characters, and a longer name written
// into the file by hand stays whole when its Pattern is changed.
std::string SingleField(const std::string& name) {
  std::string field;
  for (char c : name) {
    if (c != ',' && c != '\r' && c != '\n') field += c;
  }
  return field.empty() ? " " : field;
}

}  // namespace

int32_t ParseNumber(const std::string& text) {
  const LenientNumber number = ScanNumber(text);
  return int32_t(number.negative ? 0u - number.digits : number.digits);
}

int32_t ParseSideNumber(const std::string& text) {
  const LenientNumber number = ScanNumber(text);
  const int64_t most = number.fits ? int64_t(number.digits) : int64_t(INT32_MAX) + 1;
  return int32_t(std::clamp<int64_t>(number.negative ? -most : most, INT32_MIN, INT32_MAX));
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = line.find_first_not_of(',');
  while (start != std::string::npos) {
    const size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    start = comma == std::string::npos ? comma : line.find_first_not_of(',', comma);
  }
  return fields;
}

bool LoadMakeSettings(const Owner* owner, const std::string& path, SettingsLine line, MakeSettings& settings) {
  bool found = false;
  const bool read = ForEachLineOrWarn(owner, path, [&](int number, const std::string& text) {
    if (number != int(line)) return;
    const std::vector<std::string> fields = SplitFields(text);
    settings[kMarker] = 0;
    for (int i = 1; i < kMakeSettingsFieldCount; ++i) {
      settings.field[i] = i == kWidth || i == kHeight ? SideField(fields, size_t(i)) : NumberField(fields, size_t(i));
    }
    found = true;
  });
  return read && found;
}

bool ListEntries(const Owner* owner, const std::string& path, PatternLists& lists) {
  lists = PatternLists();
  return ForEachLineOrWarn(owner, path, [&](int number, const std::string& line) {
    if (number == 1) return;
    const std::vector<std::string> fields = SplitFields(line);
    switch (EntryKindOf(fields)) {
      case kSizeEntry: lists.sizes.push_back(TextField(fields, 1)); break;
      case kPatternEntry: lists.patterns.push_back(TextField(fields, 1)); break;
      case kColorEntry: lists.colorSets.push_back(TextField(fields, 1)); break;
    }
  });
}

EntryRead ReadSizeChoice(const Owner* owner, const std::string& path, int k, SizeChoice& size) {
  return ReadEntry(owner, path, kSizeEntry, k, [&](const std::vector<std::string>& fields) {
    size.label = TextField(fields, 1);
    size.width = SideField(fields, 2);
    size.height = SideField(fields, 3);
  });
}

EntryRead ReadPattern(const Owner* owner, const std::string& path, int k, Pattern& pattern) {
  return ReadEntry(owner, path, kPatternEntry, k, [&](const std::vector<std::string>& fields) {
    pattern.name = TextField(fields, 1);
    for (int i = 0; i < kPatternValueCount; ++i) pattern.value[i] = NumberField(fields, size_t(2 + i));
    pattern.colorSetNumber = NumberField(fields, 2 + kPatternValueCount);
  });
}

EntryRead ReadColorSet(const Owner* owner, const std::string& path, int k, ColorSet& colors) {
  return ReadEntry(owner, path, kColorEntry, k, [&](const std::vector<std::string>& fields) {
    colors.name = TextField(fields, 1);
    colors.keyCount = NumberField(fields, 2);
    colors.steps = NumberField(fields, 3);
    const int keys = colors.keyCount < 0 ? 0 : colors.keyCount > kMaxKeyColors ? kMaxKeyColors : colors.keyCount;
    colors.complete = fields.size() >= size_t(4 + 3 * keys);
    for (int i = 0; i < kMaxKeyColors && i < colors.keyCount; ++i) {
      colors.key[i].red = NumberField(fields, size_t(4 + 3 * i));
      colors.key[i].green = NumberField(fields, size_t(5 + 3 * i));
      colors.key[i].blue = NumberField(fields, size_t(6 + 3 * i));
    }
  });
}

bool WriteStateLine(const Owner* owner, const std::string& path, const MakeSettings& settings) {
  const std::string text = StateLineText(settings);
  return RewriteFile(owner, path, [&](const std::string& old) {
    const size_t oldLineLength = std::min(old.find_first_of("\r\n"), old.size());
    // The new text takes the place of the old line's first characters.
    if (text.size() <= oldLineLength) return text + old.substr(text.size());
    // Longer than the old line: the old line goes, so that line 2 stays whole.
    return text + (oldLineLength < old.size() ? old.substr(oldLineLength) : std::string(kLineEnd));
  });
}

std::string PatternLineText(const std::string& name, const MakeSettings& settings) {
  std::string text = std::to_string(kPatternEntry) + ",";
  text += SingleField(name);
  text += ",";
  for (int i = 0; i < kPatternValueCount; ++i) text += std::to_string(settings.field[kFirstPatternField + i]) + ",";
  return text + std::to_string(settings[kColorSetIndex] + 1) + "," + kLineEnd;
}

bool AddPattern(const Owner* owner, const std::string& path, const std::string& name, const MakeSettings& settings) {
  return AppendLines(owner, path, PatternLineText(name, settings));
}

bool AddPatternWithColorSet(const Owner* owner, const std::string& path, const std::string& name,
                            const MakeSettings& settings, const ColorSet& colors) {
  std::string line = std::to_string(kColorEntry) + ",";
  line += SingleField(name);
  const auto append = [&line](int32_t number) {
    line += ',';
    line += std::to_string(number);
  };
  append(colors.keyCount);
  append(colors.steps);
  for (int i = 0; i < colors.keyCount && i < kMaxKeyColors; ++i) {
    for (int32_t channel : {colors.key[i].red, colors.key[i].green, colors.key[i].blue}) append(channel);
  }
  return AppendLines(owner, path, line + kLineEnd + PatternLineText(name, settings));
}

PatternReplace ReplacePattern(const Owner* owner, const std::string& path, int k, PatternChange change,
                              const std::string& confirmedName, const MakeSettings& settings) {
  std::string text;
  int seen = 0;
  bool confirmed = false;
  const bool read = ForEachLineOrWarn(owner, path, [&](int number, const std::string& line) {
    const std::vector<std::string> fields = number > 1 ? SplitFields(line) : std::vector<std::string>();
    if (EntryKindOf(fields) != kPatternEntry || seen++ != k) {
      text += line;
      return;
    }
    confirmed = TextField(fields, 1) == confirmedName;
    if (change == PatternChange::kChange) text += PatternLineText(confirmedName, settings);
  });
  if (!read) return PatternReplace::kFailed;
  if (!confirmed) {
    // The line at that place no longer holds the Pattern the user confirmed.
    OwnerWarn(owner, TextOf(IDS_PATTERN_FILE_CHANGED), path.c_str());
    return PatternReplace::kFileChanged;
  }
  return WriteWholeFile(owner, path, text) ? PatternReplace::kReplaced : PatternReplace::kFailed;
}
