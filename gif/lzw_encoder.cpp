#include "gif/lzw_encoder.h"

#include <cstring>
#include <new>

namespace {

constexpr uint32_t kLastAssignedCode = 4094;

inline uint32_t SlotOf(uint32_t key) { return (key ^ (key >> 12)) & (kLzwTableSlots - 1); }

// Pixels of a packed row at 8 bits each; bits beyond the width are ignored.
void UnpackRow(const uint8_t* row, int width, int depth, uint8_t* out) {
  if (depth == 4) {
    for (int i = 0; i < width; ++i) out[i] = uint8_t(i & 1 ? row[i >> 1] & 15 : row[i >> 1] >> 4);
  } else {
    for (int i = 0; i < width; ++i) out[i] = uint8_t((row[i >> 3] >> (7 - (i & 7))) & 1);
  }
}

}  // namespace

void LzwEncoder::ClearTable() { std::memset(table->slot, 0xFF, sizeof table->slot); }

bool LzwEncoder::Begin(const ByteSink& out, int depth, uint64_t pixels) {
  sink = &out;
  minCodeSize = depth < 2 ? 2 : depth;
  clearCode = 1u << minCodeSize;
  endCode = clearCode + 1;
  nextCode = clearCode + 2;
  codeWidth = minCodeSize + 1;
  widthLimit = 1u << codeWidth;
  prefix = kLzwNoPrefix;
  bits = 0;
  bitCount = 0;
  blockBytes = 0;
  pixelsLeft = pixels;
  const uint8_t sizeByte = uint8_t(minCodeSize);
  if (!sink->Put(&sizeByte, 1)) return false;
  table.reset(new (std::nothrow) LzwCodeTable);
  if (!table) return false;
  ClearTable();
  return PutCode(clearCode);
}

bool LzwEncoder::PutByte(uint8_t byte) {
  if (blockBytes == 255) {
    block[0] = 255;
    if (!sink->Put(block, 256)) return false;
    blockBytes = 0;
  }
  block[1 + blockBytes++] = byte;
  return true;
}

bool LzwEncoder::PutCode(uint32_t code) {
  bits |= code << bitCount;
  bitCount += codeWidth;
  while (bitCount >= 8) {
    if (!PutByte(uint8_t(bits))) return false;
    bits >>= 8;
    bitCount -= 8;
  }
  // The code just written went out at the old width.
  if (nextCode >= widthLimit) {
    ++codeWidth;
    widthLimit <<= 1;
  }
  return true;
}

bool LzwEncoder::EncodeRow(const uint8_t* row, int width, int depth) {
  const uint8_t* pixels = row;
  if (depth != 8) {
    if (unpackedWidth < width) {
      unpacked.reset(new (std::nothrow) uint8_t[size_t(width)]);
      if (!unpacked) return false;
      unpackedWidth = width;
    }
    UnpackRow(row, width, depth, unpacked.get());
    pixels = unpacked.get();
  }
  int start = 0;
  if (prefix == kLzwNoPrefix && width > 0) {
    prefix = pixels[0];
    start = 1;
  }
  if (!EncodePixels(pixels + start, width - start)) return false;
  return pixelsLeft == 0 ? Finish() : true;
}

bool LzwEncoder::EncodePixels(const uint8_t* pixels, int count) {
  uint32_t* slots = table->slot;
  uint32_t current = prefix;
  for (int i = 0; i < count; ++i) {
    const uint32_t pixel = pixels[i];
    const uint32_t key = current << 8 | pixel;
    uint32_t slot = SlotOf(key);
    // An empty slot's upper bits (0xFFFFF) are no key: codes stop at 4094.
    uint32_t entry;
    while ((entry = slots[slot]) >> 12 != key) {
      if (entry == kLzwEmptySlot) break;
      slot = (slot + 1) & (kLzwTableSlots - 1);
    }
    if (entry != kLzwEmptySlot) {
      current = entry & 0xFFF;
      continue;
    }
    if (!PutCode(current)) return false;
    if (nextCode <= kLastAssignedCode) {
      slots[slot] = key << 12 | nextCode++;
    } else {
      if (!PutCode(clearCode)) return false;
      nextCode = clearCode + 2;
      codeWidth = minCodeSize + 1;
      widthLimit = 1u << codeWidth;
      ClearTable();
    }
    current = pixel;
  }
  prefix = current;
  return true;
}

bool LzwEncoder::Finish() {
  if (!PutCode(prefix) || !PutCode(endCode)) return false;
  while (bitCount > 0) {
    if (!PutByte(uint8_t(bits))) return false;
    bits >>= 8;
    bitCount -= 8;
  }
  bits = 0;
  bitCount = 0;
  if (blockBytes > 0) {
    block[0] = uint8_t(blockBytes);
    if (!sink->Put(block, size_t(blockBytes) + 1)) return false;
    blockBytes = 0;
  }
  const uint8_t terminator = 0;
  return sink->Put(&terminator, 1);
}
