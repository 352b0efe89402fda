#include "app/shell_texts.h"

#include <cstdio>
#include <vector>

#include "base/texts.h"

int ColorNameId(int bitCount) {
  if (bitCount <= 1) return IDS_2_COLOR;
  if (bitCount <= 4) return IDS_16_COLOR;
  if (bitCount <= 8) return IDS_256_COLOR;
  if (bitCount <= 16) return IDS_64K_COLOR;
  return IDS_FULL_COLOR;
}

std::string ImageInfoText(int width, int height, int bitCount) {
  char text[512];
  std::snprintf(text, sizeof text, TextOf(IDS_IMAGE_INFO), width, height, TextOf(ColorNameId(bitCount)));
  return text;
}

// The names between pairs of double quotes, in order; an unclosed quote
// opens no name.
static std::vector<std::string> QuotedNames(const std::string& line) {
  std::vector<std::string> names;
  for (size_t open = line.find('"'); open != std::string::npos; open = line.find('"', open)) {
    const size_t close = line.find('"', open + 1);
    if (close == std::string::npos) break;
    names.push_back(line.substr(open + 1, close - open - 1));
    open = close + 1;
  }
  return names;
}

bool FileNameFromCommandLine(const char* commandLine, size_t capacity,
                             const std::function<bool(const std::string&)>& fileExists, std::string& name) {
  const std::string line = commandLine ? commandLine : "";
  name.clear();
  for (char c : line) {
    if (c != '"') name += c;
  }
  if (!fileExists(name)) {
    const std::vector<std::string> quoted = QuotedNames(line);
    if (quoted.size() >= 2) name = quoted.front();
  }
  return name.size() < capacity;
}

bool NamesFileToOpen(const std::string& name) { return !name.empty() && static_cast<unsigned char>(name[0]) > 30; }
