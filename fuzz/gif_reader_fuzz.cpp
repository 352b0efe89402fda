// Reads arbitrary bytes as a GIF file, then walks every pixel row, so that
// the sanitizers see any write or read outside the picture or the tables.
#include <cstddef>
#include <cstdint>

#include "gif/gif_reader.h"
#include "base/byte_order.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Huge logical screens only cost memory and time; the decoding is the same.
  if (size >= 10 && uint64_t(LoadU16(data + 6)) * LoadU16(data + 8) > 1024 * 1024) return 0;
  GifFileFlags flags;
  DibImagePtr image = ReadGifBytes(data, size, flags);
  if (!image) return 0;
  volatile unsigned sum = DibWidth(*image) + DibHeight(*image) + DibBitCount(*image) + flags.transparentIndex;
  const uint8_t* pixels = DibPixels(*image);
  const size_t total = DibTotalSize(*image) - size_t(pixels - image->start());
  for (size_t i = 0; i < total; ++i) sum = sum + pixels[i];
  return 0;
}
