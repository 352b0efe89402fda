#include "image/display_palette.h"

#include <algorithm>

namespace {

constexpr int kFullColorPaletteSize = 224;

// Entries of a palette image's table, as many as the block holds at most.
int PaletteEntryCount(const DibImage& image, size_t entrySize) {
  const size_t headerSize = DibHeaderSize(image);
  const size_t room = image.blockSize > headerSize ? (image.blockSize - headerSize) / entrySize : 0;
  return int(std::min<size_t>({size_t(DibTableEntries(image)), 256, room}));
}

}  // namespace

PaletteColors ImagePaletteColors(const DibImage& image, const DisplayColorTable& table) {
  PaletteColors colors;
  if (DibBitCount(image) > 8) {
    colors.count = kFullColorPaletteSize;
    for (int i = 0; i < colors.count; ++i) colors.entries[i] = {table.red[i], table.green[i], table.blue[i]};
    return colors;
  }
  const size_t entrySize = DibHeaderSize(image) == kCoreHeaderSize ? 3 : 4;
  colors.count = PaletteEntryCount(image, entrySize);
  const uint8_t* entry = image.start() + DibHeaderSize(image);
  for (int i = 0; i < colors.count; ++i, entry += entrySize) colors.entries[i] = {entry[2], entry[1], entry[0]};
  return colors;
}

bool DisplayPaletteColors(const DibImage* image, int screenDepth, DisplayColorTable& table, PaletteColors& colors) {
  if (!image || screenDepth >= 16) return false;
  ComputeDisplayColorTable(*image, table);
  colors = ImagePaletteColors(*image, table);
  return true;
}
