// The LZW compressor of the GIF writer. Codes go out least significant bit
// first, packed into data sub-blocks of up to 255 bytes. The string table is
// an 8192-slot hash table of 32-bit slots holding key << 12 | code, where
// key = prefix code << 8 | pixel; codes are assigned up to 4094, and when
// 4095 is reached a clear code starts the table afresh.
#pragma once

#include <cstdint>
#include <memory>

#include "image/file_io.h"

constexpr int kLzwTableSlots = 8192;
constexpr uint32_t kLzwEmptySlot = 0xFFFFFFFF;

struct LzwCodeTable {
  uint32_t slot[kLzwTableSlots];
};

struct LzwEncoder {
  // Writes the minimum code size byte and the first clear code. The image
  // holds `pixels` pixels in all; false when the sink refused bytes or the
  // table could not be had.
  bool Begin(const ByteSink& out, int depth, uint64_t pixels);
  // Compresses one row of packed pixels (depth 1, 4 or 8); the row that
  // completes the image also finishes the stream. False on a failed write.
  bool EncodeRow(const uint8_t* row, int width, int depth);

  const ByteSink* sink = nullptr;
  int minCodeSize = 0;
  uint32_t clearCode = 0;
  uint32_t endCode = 0;
  uint32_t nextCode = 0;
  int codeWidth = 0;
  uint32_t widthLimit = 0;
  uint32_t prefix = 0;
  uint32_t bits = 0;
  int bitCount = 0;
  uint8_t block[256] = {};  // count byte, then up to 255 data bytes
  int blockBytes = 0;
  uint64_t pixelsLeft = 0;
  std::unique_ptr<LzwCodeTable> table;
  std::unique_ptr<uint8_t[]> unpacked;  // one row at 8 bits per pixel
  int unpackedWidth = 0;

 private:
  bool EncodePixels(const uint8_t* pixels, int count);
  bool Finish();
  bool PutCode(uint32_t code);
  bool PutByte(uint8_t byte);
  void ClearTable();
};

// The prefix before the first pixel: outside the 12-bit code range.
constexpr uint32_t kLzwNoPrefix = 4097;
