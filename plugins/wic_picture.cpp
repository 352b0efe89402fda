#include "plugins/wic_picture.h"

#include <cstring>

#include "base/byte_order.h"
#include "image/dib_image.h"

namespace {

bool StartsWith(const uint8_t* head, size_t size, size_t offset, const char* text, size_t length) {
  return size >= offset + length && std::memcmp(head + offset, text, length) == 0;
}

// ISO base media files name their brand at offset 8, after "ftyp" at 4.
bool IsHeifBrand(const uint8_t* head, size_t size) {
  static const char* const kBrands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"};
  if (!StartsWith(head, size, 4, "ftyp", 4)) return false;
  for (const char* brand : kBrands)
    if (StartsWith(head, size, 8, brand, 4)) return true;
  return false;
}

}  // namespace

WicFormat SniffWicFormat(const uint8_t* head, size_t size) {
  if (StartsWith(head, size, 0, "\x89PNG\r\n\x1a\n", 8)) return WicFormat::kPng;
  if (StartsWith(head, size, 0, "\xFF\xD8\xFF", 3)) return WicFormat::kJpeg;
  if (StartsWith(head, size, 0, "II*\0", 4) || StartsWith(head, size, 0, "MM\0*", 4)) return WicFormat::kTiff;
  if (StartsWith(head, size, 0, "\0\0\1\0", 4) && size >= 6 && LoadU16(head + 4) != 0) return WicFormat::kIco;
  if (StartsWith(head, size, 0, "RIFF", 4) && StartsWith(head, size, 8, "WEBP", 4)) return WicFormat::kWebp;
  if (IsHeifBrand(head, size)) return WicFormat::kHeif;
  return WicFormat::kNone;
}

int WicOutputDepth(const uint8_t* bgra, uint64_t pixelCount) {
  for (uint64_t i = 0; i < pixelCount; ++i)
    if (bgra[4 * i + 3] != 255) return 32;
  return 24;
}

size_t WicPixelBlockSize(int width, int height, int depth) {
  if (width < 1 || width > 32767 || height < 1 || height > 32767) return 0;
  if (uint64_t(width) * uint64_t(height) > kMaxWicPixels) return 0;
  return size_t(BitmapRowStride(uint64_t(width), depth) * uint64_t(height));
}

void WriteWicHeader(uint8_t* header, int width, int height, int depth) {
  std::memset(header, 0, kWicHeaderBlockSize);
  StoreU32(header, kInfoHeaderSize);
  StoreI32(header + kBiWidth, width);
  StoreI32(header + kBiHeight, height);
  header[kBiPlanes] = 1;
  header[kBiBitCount] = uint8_t(depth);
  StoreU32(header + kBiSizeImage, uint32_t(WicPixelBlockSize(width, height, depth)));
}

void WriteWicPixels(const uint8_t* bgra, int width, int height, int depth, uint8_t* pixels) {
  const size_t stride = WicPixelBlockSize(width, 1, depth);
  const size_t bytesPerPixel = size_t(depth / 8);
  for (int y = 0; y < height; ++y) {
    const uint8_t* source = bgra + size_t(height - 1 - y) * size_t(width) * 4;
    uint8_t* row = pixels + size_t(y) * stride;
    if (bytesPerPixel == 4) {
      std::memcpy(row, source, size_t(width) * 4);
      continue;
    }
    std::memset(row + size_t(width) * 3, 0, stride - size_t(width) * 3);
    for (int x = 0; x < width; ++x, source += 4, row += 3) std::memcpy(row, source, 3);
  }
}
