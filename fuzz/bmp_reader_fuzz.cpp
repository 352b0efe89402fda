// Reads arbitrary bytes as a BMP file, then walks everything the accessors
// reach, so that the sanitizers see any read outside the block.
#include <cstddef>
#include <cstdint>

#include "image/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DibImagePtr image = ReadBmpBytes(data, size);
  if (!image) return 0;
  volatile unsigned sum = DibWidth(*image) + DibHeight(*image) + DibBitCount(*image);
  const uint8_t* start = image->start();
  const uint8_t* pixels = DibPixels(*image);
  for (const uint8_t* p = start; p < pixels; ++p) sum = sum + *p;
  if (DibHeaderSize(*image) != kCoreHeaderSize) sum = sum + DibFindColor(*image, 255, 255, 255);
  for (size_t i = size_t(pixels - start); i < image->blockSize; ++i) sum = sum + start[i];
  return 0;
}
