#include "gif/lzw_decoder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Copies the first and the last `Size` of `count` bytes, which covers them
// all when Size <= count <= 2 * Size.
template <size_t Size>
inline void CopyEnds(uint8_t* out, const uint8_t* from, uint32_t count) {
  uint8_t head[Size], tail[Size];
  std::memcpy(head, from, Size);
  std::memcpy(tail, from + count - Size, Size);
  std::memcpy(out, head, Size);
  std::memcpy(out + count - Size, tail, Size);
}

// Copies a string that lies wholly before or apart from out; the short
// strings most codes have are copied without a call.
inline void CopyString(uint8_t* out, const uint8_t* from, uint32_t count) {
  if (count < 2) {
    *out = *from;
  } else if (count < 4) {
    CopyEnds<2>(out, from, count);
  } else if (count < 8) {
    CopyEnds<4>(out, from, count);
  } else if (count < 16) {
    CopyEnds<8>(out, from, count);
  } else if (count < 32) {
    CopyEnds<16>(out, from, count);
  } else {
    std::memcpy(out, from, count);
  }
}

}  // namespace

inline void LzwDecoder::Clear(Cursor& at) {
  // Only codes below nextCode can have been defined since the last clear.
  const uint32_t used = std::min<uint32_t>(at.nextCode, kLzwMaxCodes);
  for (uint32_t code = endCode + 1; code < used; ++code) codes[code].prefix = kNoSuchCode;
  at.nextCode = endCode + 1;
  at.previous = kNoSuchCode;
  at.codeWidth = minCodeSize + 1;
  at.widthLimit = 1u << at.codeWidth;
}

LzwDecoder::WindowBits LzwDecoder::Refill(uint32_t bitPosition, uint32_t bitCount) {
  const size_t unread = (bitCount - (bitPosition & ~7u)) / 8;
  std::memmove(window, window + bitPosition / 8, unread);
  size_t filled = unread;
  while (blockStart < size && data[blockStart] != 0 && size - blockStart - 1 >= data[blockStart] &&
         kWindowSize - filled >= data[blockStart]) {
    std::memcpy(window + filled, data + blockStart + 1, data[blockStart]);
    filled += data[blockStart];
    blockStart += 1 + size_t(data[blockStart]);
  }
  std::memset(window + filled, 0, 8);
  return {bitPosition & 7, uint32_t(filled * 8)};
}

void LzwDecoder::Begin(int codeSize, const uint8_t* blocks, size_t blocksSize, bool keepsRows) {
  minCodeSize = codeSize;
  rowsStay = keepsRows;
  stackSize = 0;
  if (minCodeSize > kLzwMaxMinCodeSize) return;
  data = blocks;
  size = blocksSize;
  blockStart = 0;
  cursor.bytes = window;
  cursor.bitCount = 0;
  cursor.bitPosition = 0;
  clearCode = 1u << minCodeSize;
  endCode = clearCode + 1;
  // The codes below the clear code are their own single pixels.
  for (uint32_t code = 0; code < kLzwMaxCodes; ++code) {
    codes[code] = code < clearCode ? CodeEntry{0, 1, uint8_t(code)} : CodeEntry{kNoSuchCode, 0, 0};
  }
  std::fill(std::begin(source), std::end(source), nullptr);
  cursor.nextCode = 0;
  Clear(cursor);
}

inline bool LzwDecoder::ReadCode(Cursor& at, uint32_t& code) {
  if (at.bitPosition + uint32_t(at.codeWidth) > at.bitCount) {
    const WindowBits bits = Refill(at.bitPosition, at.bitCount);
    at.bitPosition = bits.position;
    at.bitCount = bits.count;
    if (at.bitPosition + uint32_t(at.codeWidth) > at.bitCount) return false;
  }
  uint64_t word;
  std::memcpy(&word, at.bytes + at.bitPosition / 8, sizeof word);
  code = uint32_t(word >> (at.bitPosition & 7)) & (at.widthLimit - 1);
  at.bitPosition += uint32_t(at.codeWidth);
  if (++at.nextCode > at.widthLimit && at.codeWidth < 12) {
    at.widthLimit <<= 1;
    ++at.codeWidth;
  }
  return true;
}

inline void LzwDecoder::WriteString(uint32_t code, uint32_t count, uint8_t* out) const {
  if (source[code]) {
    CopyString(out, source[code], count);
    return;
  }
  for (uint8_t* p = out + count - 1; p > out; --p) {
    *p = codes[code].suffix;
    code = codes[code].prefix;
  }
  *out = uint8_t(code);
}

void LzwDecoder::StackString(uint32_t code, uint32_t previous, uint8_t previousFirst, bool defining) {
  if (defining) {
    stack[stackSize++] = previousFirst;
    code = previous;
  }
  for (uint32_t k = codes[code].length; k > 1; --k) {
    stack[stackSize++] = codes[code].suffix;
    code = codes[code].prefix;
  }
  stack[stackSize++] = uint8_t(code);
}

template <bool RowsStay>
bool LzwDecoder::DecodeCodes(Cursor& at, uint8_t* out, uint8_t* rowEnd) {
  const uint32_t clear = clearCode;
  const uint8_t* previousOutput = nullptr;  // the previous string, while it lies whole in this row
  while (out < rowEnd) {
    uint32_t code;
    if (!ReadCode(at, code)) return false;
    if (code - clear <= 1) {  // the clear code or the end code
      if (code != clear) return false;
      Clear(at);
      continue;
    }
    const uint32_t defining = at.nextCode - 2;  // the code this step defines
    // Only the code being defined right now may be unknown: its string is
    // the previous string followed by its own first pixel.
    const bool known = code < clear || codes[code].prefix != kNoSuchCode;
    if (!known && (code != defining || at.previous == kNoSuchCode)) return false;
    const uint32_t count = code < clear ? 1u : known ? codes[code].length : codes[at.previous].length + 1u;
    uint8_t* written = out;
    uint8_t first;
    if (count <= size_t(rowEnd - out)) {
      if (code < clear) {
        *out = uint8_t(code);
      } else if (known) {
        WriteString(code, count, out);
      } else if (RowsStay && previousOutput) {
        CopyString(out, previousOutput, count - 1);
        out[count - 1] = at.previousFirst;
      } else {
        WriteString(at.previous, count - 1, out);
        out[count - 1] = at.previousFirst;
      }
      first = *out;
      out += count;
    } else {
      StackString(code, at.previous, at.previousFirst, !known);
      first = stack[stackSize - 1];
      while (out < rowEnd) *out++ = stack[--stackSize];
      written = nullptr;
    }
    if (at.previous != kNoSuchCode && defining < kLzwMaxCodes) {
      codes[defining] = CodeEntry{uint16_t(at.previous), uint16_t(codes[at.previous].length + 1), first};
      // The previous string and this string's first pixel lie side by side.
      if (RowsStay) source[defining] = previousOutput;
    }
    at.previous = code;
    at.previousFirst = first;
    previousOutput = written;
  }
  return true;
}

bool LzwDecoder::DecodeRow(uint8_t* row, int width) {
  if (minCodeSize > kLzwMaxMinCodeSize) return false;
  uint8_t* out = row;
  uint8_t* const rowEnd = row + width;
  while (stackSize > 0 && out < rowEnd) *out++ = stack[--stackSize];
  Cursor at = cursor;
  const bool decoded = rowsStay ? DecodeCodes<true>(at, out, rowEnd) : DecodeCodes<false>(at, out, rowEnd);
  cursor = at;
  return decoded;
}
