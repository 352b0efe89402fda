// The LZW decompressor of the GIF reader. Codes are read least significant
// bit first from data sub-blocks; strings are traced back through the prefix
// table onto a stack and popped into the row. The stack and the previous code
// carry over from row to row, so a string may continue in the next row.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t NoSuchCode = 4098;
constexpr int kLzwMaxCodes = 4096;
constexpr int kLzwMaxMinCodeSize = 11;

struct LzwDecoder {
  // Starts decoding the sub-blocks at data[0 .. size). A minimum code size
  // above 11 makes every row fail.
  void Begin(int minCodeSize, const uint8_t* data, size_t size);
  // Fills a stored row with `width` pixels at 1, 4 or 8 bits, values masked
  // to the depth. False when the stream is broken or ends early; the pixels
  // received until then stay in the row.
  bool DecodeRow(uint8_t* row, int width, int depth);

  int minCodeSize = 0;
  uint32_t clearCode = 0;
  uint32_t endCode = 0;
  uint32_t nextCode = 0;
  int codeWidth = 0;
  uint32_t widthLimit = 0;
  uint32_t previous = NoSuchCode;
  uint8_t previousFirst = 0;  // first pixel of the previous code's string
  uint32_t bits = 0;
  int bitCount = 0;
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;
  size_t blockLeft = 0;  // bytes left in the current sub-block
  int stackSize = 0;
  uint32_t prefix[kLzwMaxCodes];
  uint8_t suffix[kLzwMaxCodes];
  uint8_t stack[kLzwMaxCodes];

 private:
  template <int Depth>
  bool DecodeRowAt(uint8_t* row, int width);
  void Clear();
  bool ReadCode(uint32_t& code);
  bool NextDataByte(uint8_t& byte);
};
