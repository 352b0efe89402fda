// Reads arbitrary bytes as a PNG file, then walks the whole held block, so
// that the sanitizers see any row or table written outside it.
#include <cstddef>
#include <cstdint>

#include "image/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DibImagePtr image = ReadPngBytes(data, size);
  if (!image) return 0;
  volatile unsigned sum = DibWidth(*image) + DibHeight(*image) + DibBitCount(*image) + DibColorCount(*image);
  if (DibTotalSize(*image) > image->blockSize) __builtin_trap();
  const uint8_t* start = image->start();
  for (size_t i = 0; i < DibTotalSize(*image); ++i) sum = sum + start[i];
  return 0;
}
