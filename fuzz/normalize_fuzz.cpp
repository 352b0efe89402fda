// Reads arbitrary bytes as a BMP file and normalises what was read, so that
// the sanitizers see any read or write outside the source block or the held
// image, then checks that the result is a held image and reads all of it as
// the display palette does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/bmp_file.h"
#include "base/byte_order.h"
#include "image/display_palette.h"
#include "image/normalize.h"

namespace {

// Run-length data may describe a picture far larger than itself; such
// inputs are skipped so that a run stays within its memory limit.
constexpr int64_t kMaxPixels = 4 << 20;

int64_t DeclaredPixels(const DibImage& image) {
  if (DibHeaderSize(image) == kCoreHeaderSize) return int64_t(DibWidth(image)) * DibHeight(image);
  return std::llabs(int64_t(LoadI32(image.start() + kBiWidth))) * std::llabs(int64_t(LoadI32(image.start() + kBiHeight)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DibImagePtr read = ReadBmpBytes(data, size);
  if (!read || DeclaredPixels(*read) > kMaxPixels) return 0;
  DibImagePtr image = NormalizeImage(nullptr, std::move(read));
  if (!image) return 0;
  const int depth = DibBitCount(*image);
  if (DibHeaderSize(*image) != kInfoHeaderSize || DibInfoField(*image, kBiCompression) != kBiRgb ||
      (depth != 1 && depth != 4 && depth != 8 && depth != 24) || DibTotalSize(*image) > image->blockSize) {
    std::abort();
  }
  DisplayColorTable table;
  ComputeDisplayColorTable(*image, table);
  volatile unsigned sum = ImagePaletteColors(*image, table).count;
  for (size_t i = 0; i < DibTotalSize(*image); ++i) sum = sum + image->start()[i];
  return 0;
}
