#include "app/shell_texts.h"

#include <cstdio>

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

bool FileNameFromCommandLine(const char* commandLine, size_t capacity, std::string& name) {
  name.clear();
  for (const char* c = commandLine; c && *c; ++c) {
    if (*c != '"') name += *c;
  }
  return name.size() < capacity;
}

bool NamesFileToOpen(const std::string& name) { return !name.empty() && static_cast<unsigned char>(name[0]) > 30; }
