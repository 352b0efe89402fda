// The LZW decompressor of the GIF reader. Codes are read least significant
// bit first from the bytes of the data sub-blocks. Each code's string is
// known by its prefix code, last pixel and length, so it is written straight
// into the row from its end backwards, or copied from where the same string
// already lies in a row. A string that runs past the row's end waits on a
// stack; the stack and the previous code carry over from row to row, so a
// string may continue in the next row.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kNoSuchCode = 4098;
constexpr int kLzwMaxCodes = 4096;
constexpr int kLzwMaxMinCodeSize = 11;

class LzwDecoder {
 public:
  // Starts decoding the sub-blocks at data[0 .. size). A minimum code size
  // above 11 makes every row fail. `rowsStay` promises that the rows handed
  // to DecodeRow keep their pixels until decoding ends, so that repeated
  // strings may be copied from them.
  void Begin(int minCodeSize, const uint8_t* data, size_t size, bool rowsStay);
  // Fills a row of `width` 8-bit pixels; larger pixel values keep their low
  // 8 bits. False when the stream is broken or ends early; the pixels
  // received until then stay in the row.
  bool DecodeRow(uint8_t* row, int width);

 private:
  // A code's string: the code of all but its last pixel (kNoSuchCode while
  // the code is undefined), its last pixel and its length in pixels.
  struct alignas(8) CodeEntry {
    uint16_t prefix;
    uint16_t length;
    uint8_t suffix;
  };
  // The window and what changes from code to code. DecodeRow works on a
  // local copy, which the compiler can keep in registers.
  struct Cursor {
    const uint8_t* bytes = nullptr;  // the window
    uint32_t bitCount = 0;           // bits gathered into the window
    uint32_t bitPosition = 0;
    uint32_t nextCode = 0;  // one ahead of the code the next step defines
    int codeWidth = 0;
    uint32_t widthLimit = 0;  // 1 << codeWidth
    uint32_t previous = kNoSuchCode;
    uint8_t previousFirst = 0;  // first pixel of the previous code's string
  };
  struct WindowBits {
    uint32_t position;
    uint32_t count;
  };

  void Clear(Cursor& at);
  // Moves the unread bytes of the window to its front and fills the rest
  // from the sub-blocks, which end at a zero-length block or a block cut
  // short by the end of the data. Gives the new position and bit count.
  WindowBits Refill(uint32_t bitPosition, uint32_t bitCount);
  bool ReadCode(Cursor& at, uint32_t& code);
  template <bool RowsStay>
  bool DecodeCodes(Cursor& at, uint8_t* out, uint8_t* rowEnd);
  // Writes the `count` pixels of code's string at out.
  void WriteString(uint32_t code, uint32_t count, uint8_t* out) const;
  // Puts the string of `code` (or, for the code being defined, the previous
  // string and its first pixel) on the stack, last pixel at the bottom.
  void StackString(uint32_t code, uint32_t previous, uint8_t previousFirst, bool defining);

  int minCodeSize = 0;
  bool rowsStay = false;
  uint32_t clearCode = 0;
  uint32_t endCode = 0;
  Cursor cursor;
  const uint8_t* data = nullptr;  // the sub-blocks
  size_t size = 0;
  size_t blockStart = 0;  // the length byte of the next sub-block
  int stackSize = 0;
  CodeEntry codes[kLzwMaxCodes];
  const uint8_t* source[kLzwMaxCodes];  // where the string lies whole in a row, or null
  uint8_t stack[kLzwMaxCodes];
  static constexpr size_t kWindowSize = 16 * 255;
  uint8_t window[kWindowSize + 8];  // sub-block contents, 8 zero bytes after
};
