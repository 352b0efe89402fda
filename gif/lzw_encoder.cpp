#include "gif/lzw_encoder.h"

#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint32_t kLastAssignedCode = 4094;

// Pixels are compressed in chunks; before each chunk the code buffer is
// emptied down to less than one sub-block, so it always has room for the
// chunk's codes (at most one per pixel, plus clear codes) at 12 bits.
constexpr int kChunkPixels = 4096;
constexpr size_t kChunkRoom = (kChunkPixels + 8) * 12 / 8 + 16;
constexpr size_t kCodeBufferBytes = 1 << 16;

// Multiplicative hashing: the top 13 bits of key * 2^32 / golden ratio.
// Keys of few colours and sequential codes spread evenly over the table,
// so a lookup seldom probes beyond its first slot.
inline uint32_t SlotOf(uint32_t key) { return (key * 2654435761u) >> 19; }

// The slot that holds the key, or the empty slot where it belongs. Empty
// slots read as key 0xFFFFF, which no string has (codes stop at 4094).
inline uint32_t FindSlot(const uint32_t* slots, uint32_t key) {
  uint32_t slot = SlotOf(key);
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi32(int(key));
  const __m128i empty = _mm_set1_epi32(-1);
#endif
  for (;;) {
#if defined(__SSE2__)
    // Four slots at a time while they lie within the table.
    if (slot <= kLzwTableSlots - 4) {
      const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(slots + slot));
      const __m128i hits =
          _mm_or_si128(_mm_cmpeq_epi32(_mm_srli_epi32(four, 12), wanted), _mm_cmpeq_epi32(four, empty));
      const int mask = _mm_movemask_ps(_mm_castsi128_ps(hits));
      if (mask != 0) return slot + uint32_t(__builtin_ctz(unsigned(mask)));
      slot = (slot + 4) & (kLzwTableSlots - 1);
      continue;
    }
#endif
    const uint32_t entry = slots[slot];
    if (entry >> 12 == key || entry == kLzwEmptySlot) return slot;
    slot = (slot + 1) & (kLzwTableSlots - 1);
  }
}

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
  pixelsLeft = pixels;
  const uint8_t sizeByte = uint8_t(minCodeSize);
  if (!sink->Put(&sizeByte, 1)) return false;
  table.reset(new (std::nothrow) LzwCodeTable);
  codeBytes.reset(new (std::nothrow) uint8_t[kCodeBufferBytes]);
  if (!table || !codeBytes) return false;
  ClearTable();
  state = LzwCodeState();
  state.nextCode = clearCode + 2;
  state.codeWidth = minCodeSize + 1;
  state.widthLimit = 1u << state.codeWidth;
  state.prefix = kLzwNoPrefix;
  state.out = codeBytes.get();
  state.PutCode(clearCode);
  return true;
}

// Writes the packed codes as data sub-blocks of 255 bytes (one write each);
// the bytes of a last, partial sub-block stay in the buffer unless `all`.
bool LzwEncoder::PutSubBlocks(bool all) {
  const uint8_t* data = codeBytes.get();
  size_t left = size_t(state.out - data);
  uint8_t block[256];
  while (left >= 255 || (all && left > 0)) {
    const size_t count = left < 255 ? left : 255;
    block[0] = uint8_t(count);
    std::memcpy(block + 1, data, count);
    if (!sink->Put(block, count + 1)) return false;
    data += count;
    left -= count;
  }
  std::memmove(codeBytes.get(), data, left);
  state.out = codeBytes.get() + left;
  return true;
}

bool LzwEncoder::MakeRoom() {
  const size_t used = size_t(state.out - codeBytes.get());
  return used + kChunkRoom <= kCodeBufferBytes || PutSubBlocks(false);
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
  if (state.prefix == kLzwNoPrefix && width > 0) {
    state.prefix = pixels[0];
    start = 1;
  }
  if (!EncodePixels(pixels + start, width - start)) return false;
  const uint64_t rowPixels = uint64_t(width);
  pixelsLeft -= rowPixels < pixelsLeft ? rowPixels : pixelsLeft;
  return pixelsLeft == 0 ? Finish() : true;
}

bool LzwEncoder::EncodePixels(const uint8_t* pixels, int count) {
  while (count > 0) {
    if (!MakeRoom()) return false;
    const int chunk = count < kChunkPixels ? count : kChunkPixels;
    EncodeChunk(pixels, chunk);
    pixels += chunk;
    count -= chunk;
  }
  return true;
}

void LzwEncoder::EncodeChunk(const uint8_t* pixels, int count) {
  uint32_t* slots = table->slot;
  LzwCodeState s = state;
  uint32_t current = s.prefix;
  for (int i = 0; i < count; ++i) {
    const uint32_t pixel = pixels[i];
    const uint32_t key = current << 8 | pixel;
    const uint32_t slot = FindSlot(slots, key);
    const uint32_t entry = slots[slot];
    if (entry != kLzwEmptySlot) {
      current = entry & 0xFFF;
      continue;
    }
    s.PutCode(current);
    if (s.nextCode <= kLastAssignedCode) {
      slots[slot] = key << 12 | s.nextCode++;
    } else {
      // The table is full: start afresh; the current string is not stored.
      s.PutCode(clearCode);
      s.nextCode = clearCode + 2;
      s.codeWidth = minCodeSize + 1;
      s.widthLimit = 1u << s.codeWidth;
      ClearTable();
    }
    current = pixel;
  }
  s.prefix = current;
  state = s;
}

bool LzwEncoder::Finish() {
  if (!MakeRoom()) return false;
  state.PutCode(state.prefix);
  state.PutCode(endCode);
  // The last byte is padded with zero bits.
  if (state.bitCount > 0) *state.out++ = uint8_t(state.bits);
  state.bits = 0;
  state.bitCount = 0;
  if (!PutSubBlocks(true)) return false;
  const uint8_t terminator = 0;
  return sink->Put(&terminator, 1);
}
