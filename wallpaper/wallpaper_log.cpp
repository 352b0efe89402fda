#include "wallpaper/wallpaper_log.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "base/file_io.h"

namespace {

constexpr char kRecipeKind[] = "recipe";
constexpr char kFileKind[] = "file";

std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; }, '?');
  return text;
}

std::vector<std::string> SplitAtTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

}  // namespace

std::vector<WallpaperLogEntry> ReadWallpaperLog(const std::string& text) {
  std::vector<WallpaperLogEntry> entries;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> fields = SplitAtTabs(line);
    if (fields.size() != 5 || fields[4].empty() || (fields[3] != kRecipeKind && fields[3] != kFileKind)) continue;
    WallpaperLogEntry entry{fields[0], fields[1], fields[2], {}, {}};
    (fields[3] == kRecipeKind ? entry.recipe : entry.file) = fields[4];
    entries.push_back(entry);
  }
  return entries;
}

std::string WallpaperLogText(const std::vector<WallpaperLogEntry>& entries) {
  std::string text;
  const size_t first = entries.size() > kWallpaperLogLimit ? entries.size() - kWallpaperLogLimit : 0;
  for (size_t i = first; i < entries.size(); ++i) {
    const WallpaperLogEntry& entry = entries[i];
    const bool byRecipe = !entry.recipe.empty();
    text += OneLine(entry.time) + '\t' + OneLine(entry.arrangement) + '\t' + OneLine(entry.screen) + '\t' +
            (byRecipe ? kRecipeKind : kFileKind) + '\t' + OneLine(byRecipe ? entry.recipe : entry.file) + '\n';
  }
  return text;
}

bool AppendWallpaperLog(const std::string& path, const WallpaperLogEntry& entry) {
  std::vector<uint8_t> bytes;
  std::vector<WallpaperLogEntry> entries;
  if (ReadFileBytes(path.c_str(), bytes)) entries = ReadWallpaperLog(std::string(bytes.begin(), bytes.end()));
  entries.push_back(entry);
  const std::string text = WallpaperLogText(entries);
  SafeFileWriter writer;
  return writer.Open(path.c_str(), "vitrelle-") &&
         std::fwrite(text.data(), 1, text.size(), writer.file()) == text.size() && writer.Commit();
}

bool ReadWallpaperLogFile(const std::string& path, std::vector<WallpaperLogEntry>& newestFirst) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path.c_str(), bytes)) return false;
  newestFirst = ReadWallpaperLog(std::string(bytes.begin(), bytes.end()));
  std::reverse(newestFirst.begin(), newestFirst.end());
  return true;
}
