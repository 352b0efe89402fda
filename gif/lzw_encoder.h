// The LZW compressor of the GIF writer. Codes go out least significant bit
// first, packed into data sub-blocks of up to 255 bytes. The string table is
// an 8192-slot hash table of 32-bit slots holding key << 12 | code, where
// key = prefix code << 8 | pixel; codes are assigned up to 4094, and when
// 4095 is reached a clear code starts the table afresh.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "base/file_io.h"

constexpr int kLzwTableSlots = 8192;
constexpr uint32_t kLzwEmptySlot = 0xFFFFFFFF;

struct LzwCodeTable {
  uint32_t slot[kLzwTableSlots];
};

// What the compression loop changes: the code counter, the code width and
// the bit accumulator over the buffer of packed codes. A plain record, so
// that the loop can keep a copy in registers.
struct LzwCodeState {
  uint32_t nextCode = 0;
  int codeWidth = 0;
  uint32_t widthLimit = 0;
  uint32_t prefix = 0;
  uint64_t bits = 0;  // fewer than 8 bits are held between codes
  int bitCount = 0;
  uint8_t* out = nullptr;  // where the next whole byte goes

  // Appends a code at the current width, then widens the codes once the next
  // free code needs more bits. Writes 8 bytes at `out`; the buffer keeps room.
  void PutCode(uint32_t code) {
    bits |= uint64_t(code) << bitCount;
    bitCount += codeWidth;
    std::memcpy(out, &bits, sizeof bits);
    out += bitCount >> 3;
    bits >>= bitCount & ~7;
    bitCount &= 7;
    if (nextCode >= widthLimit) {
      ++codeWidth;
      widthLimit <<= 1;
    }
  }
};

class LzwEncoder {
 public:
  // Writes the minimum code size byte and the first clear code. The image
  // holds `pixels` pixels in all; false when the sink refused bytes or the
  // buffers could not be had.
  bool Begin(const ByteSink& out, int depth, uint64_t pixels);
  // Compresses one row of packed pixels (depth 1, 4 or 8); the row that
  // completes the image also finishes the stream. False on a failed write.
  bool EncodeRow(const uint8_t* row, int width, int depth);

 private:
  bool EncodePixels(const uint8_t* pixels, int count);
  void EncodeChunk(const uint8_t* pixels, int count);
  bool Finish();
  bool MakeRoom();
  bool PutSubBlocks(bool all);
  void ClearTable();

  const ByteSink* sink = nullptr;
  int minCodeSize = 0;
  uint32_t clearCode = 0;
  uint32_t endCode = 0;
  LzwCodeState state;
  uint64_t pixelsLeft = 0;
  std::unique_ptr<LzwCodeTable> table;
  std::unique_ptr<uint8_t[]> codeBytes;  // packed codes not yet in sub-blocks
  std::unique_ptr<uint8_t[]> unpacked;   // one row at 8 bits per pixel
  int unpackedWidth = 0;
};

// The prefix before the first pixel: outside the 12-bit code range.
constexpr uint32_t kLzwNoPrefix = 4097;
