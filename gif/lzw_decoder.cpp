#include "gif/lzw_decoder.h"

namespace {

// Stores pixel j of a row at the depth; a new byte starts from zero.
template <int Depth>
inline void PutPixel(uint8_t* row, int j, uint8_t value) {
  if constexpr (Depth == 8) {
    row[j] = value;
  } else if constexpr (Depth == 4) {
    value &= 15;
    if (j & 1) {
      row[j >> 1] = uint8_t(row[j >> 1] | value);
    } else {
      row[j >> 1] = uint8_t(value << 4);
    }
  } else {
    value &= 1;
    const int shift = 7 - (j & 7);
    if (shift == 7) {
      row[j >> 3] = uint8_t(value << 7);
    } else {
      row[j >> 3] = uint8_t(row[j >> 3] | value << shift);
    }
  }
}

}  // namespace

void LzwDecoder::Clear() {
  for (uint32_t& entry : prefix) entry = NoSuchCode;
  nextCode = endCode + 1;
  previous = NoSuchCode;
  codeWidth = minCodeSize + 1;
  widthLimit = 1u << codeWidth;
}

void LzwDecoder::Begin(int codeSize, const uint8_t* bytes, size_t count) {
  minCodeSize = codeSize;
  data = bytes;
  size = count;
  position = 0;
  blockLeft = 0;
  bits = 0;
  bitCount = 0;
  stackSize = 0;
  if (minCodeSize > kLzwMaxMinCodeSize) return;
  clearCode = 1u << minCodeSize;
  endCode = clearCode + 1;
  Clear();
}

inline bool LzwDecoder::NextDataByte(uint8_t& byte) {
  if (blockLeft == 0) {
    if (position >= size || data[position] == 0 || size - position - 1 < data[position]) return false;
    blockLeft = data[position++];
  }
  --blockLeft;
  byte = data[position++];
  return true;
}

inline bool LzwDecoder::ReadCode(uint32_t& code) {
  if (bitCount < codeWidth && blockLeft >= 2) {
    // Two bytes of the current sub-block at once: at least 16 bits, at most 27.
    bits |= (uint32_t(data[position]) | uint32_t(data[position + 1]) << 8) << bitCount;
    position += 2;
    blockLeft -= 2;
    bitCount += 16;
  }
  while (bitCount < codeWidth) {
    uint8_t byte;
    if (!NextDataByte(byte)) return false;
    bits |= uint32_t(byte) << bitCount;
    bitCount += 8;
  }
  code = bits & ((1u << codeWidth) - 1);
  bits >>= codeWidth;
  bitCount -= codeWidth;
  if (++nextCode > widthLimit && codeWidth < 12) {
    widthLimit <<= 1;
    ++codeWidth;
  }
  return true;
}

template <int Depth>
bool LzwDecoder::DecodeRowAt(uint8_t* row, int width) {
  int j = 0;
  while (stackSize > 0 && j < width) PutPixel<Depth>(row, j++, stack[--stackSize]);
  while (j < width) {
    uint32_t code;
    if (!ReadCode(code) || code == endCode) return false;
    if (code == clearCode) {
      Clear();
      continue;
    }
    const uint32_t defining = nextCode - 2;  // the code this step defines
    uint8_t first;
    if (code < clearCode) {
      first = uint8_t(code);
      PutPixel<Depth>(row, j++, first);
    } else {
      uint32_t traced = code;
      if (prefix[code] == NoSuchCode) {
        // Only the string being defined right now may be unknown: it is the
        // previous string followed by its own first pixel.
        if (code != defining || previous == NoSuchCode) return false;
        stack[stackSize++] = previousFirst;
        suffix[defining] = previousFirst;
        traced = previous;
      }
      const int limit = stackSize + kLzwMaxCodes - 3;
      while (traced > clearCode) {
        if (traced >= kLzwMaxCodes || stackSize >= limit) {
          stackSize = 0;
          return false;
        }
        stack[stackSize++] = suffix[traced];
        traced = prefix[traced];
      }
      first = uint8_t(traced);
      stack[stackSize++] = first;
      const int count = stackSize < width - j ? stackSize : width - j;
      for (int k = 0; k < count; ++k) PutPixel<Depth>(row, j + k, stack[stackSize - 1 - k]);
      j += count;
      stackSize -= count;
    }
    if (previous != NoSuchCode && defining < kLzwMaxCodes) {
      prefix[defining] = previous;
      suffix[defining] = code == defining ? previousFirst : first;
    }
    previous = code;
    previousFirst = first;
  }
  return true;
}

bool LzwDecoder::DecodeRow(uint8_t* row, int width, int depth) {
  if (minCodeSize > kLzwMaxMinCodeSize) return false;
  if (depth == 8) return DecodeRowAt<8>(row, width);
  if (depth == 4) return DecodeRowAt<4>(row, width);
  return DecodeRowAt<1>(row, width);
}
