#include "image/dib_image.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "base/byte_order.h"
#include "base/texts.h"

DibImagePtr AllocateDibBlock(size_t size) {
  DibImagePtr image(new (std::nothrow) DibImage);
  if (!image) return nullptr;
  image->block.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]());
  if (!image->block) return nullptr;
  image->blockSize = size;
  return image;
}

size_t DibBlockReservation(int width, int height, int depth) {
  const int rowDepth = depth > 8 ? 24 : 8;
  return kInfoHeaderSize + kFullColorTableBytes + size_t(uint16_t(height)) * DibRowStride(width, rowDepth);
}

bool PictureFitsInMemory(int width, int height, int depth) {
  return uint64_t(uint16_t(height)) * DibRowStride(width, depth > 8 ? 24 : 8) <= kMostPixelBytes;
}

void WarnPictureTooLarge(const Owner* owner, PictureSize size, const char* caption) {
  char text[128];
  std::snprintf(text, sizeof text, TextOf(IDS_PICTURE_TOO_LARGE), size.width, size.height);
  OwnerWarn(owner, text, caption);
}

DibImagePtr CreateDibImage(int width, int height, int depth) {
  if (depth > 8) depth = 24;
  if (!PictureFitsInMemory(width, height, depth)) return nullptr;
  const int32_t w = int16_t(width);
  const int32_t h = int16_t(height);
  DibImagePtr image = AllocateDibBlock(DibBlockReservation(width, height, depth));
  if (!image) return nullptr;
  uint8_t* header = image->start();
  StoreU32(header + kBiSize, kInfoHeaderSize);
  StoreI32(header + kBiWidth, w);
  StoreI32(header + kBiHeight, h);
  StoreU16(header + kBiPlanes, 1);
  StoreU16(header + kBiBitCount, uint16_t(depth));
  return image;
}

void ReleaseDibImage(DibImagePtr& image) { image.reset(); }

DibImagePtr CopyDibImage(const DibImage& image) {
  DibImagePtr copy = AllocateDibBlock(image.blockSize);
  if (copy) std::memcpy(copy->start(), image.start(), image.blockSize);
  return copy;
}

uint32_t DibHeaderSize(const DibImage& image) { return LoadU32(image.start()); }

static bool IsCoreHeader(const DibImage& image) { return DibHeaderSize(image) == kCoreHeaderSize; }

int DibWidth(const DibImage& image) { return LoadU16(image.start() + 4); }

int DibHeight(const DibImage& image) { return LoadU16(image.start() + (IsCoreHeader(image) ? 6 : 8)); }

int DibBitCount(const DibImage& image) { return LoadU16(image.start() + (IsCoreHeader(image) ? 10 : 14)); }

int DibTableEntries(const DibImage& image) {
  const uint32_t headerSize = DibHeaderSize(image);
  if (headerSize != kCoreHeaderSize && headerSize >= 36) {
    const uint32_t used = LoadU32(image.start() + kBiClrUsed);
    if (used != 0) return int(used);
  }
  const int depth = DibBitCount(image);
  if (depth == 1 || depth == 4 || depth == 8) return 1 << depth;
  return 0;
}

static size_t PixelOffset(const DibImage& image) {
  const size_t entrySize = IsCoreHeader(image) ? 3 : 4;
  return DibHeaderSize(image) + size_t(DibTableEntries(image)) * entrySize;
}

uint8_t* DibPixels(DibImage& image) { return image.start() + PixelOffset(image); }
const uint8_t* DibPixels(const DibImage& image) { return image.start() + PixelOffset(image); }

RgbQuad* DibColorTable(DibImage& image) {
  return reinterpret_cast<RgbQuad*>(image.start() + DibHeaderSize(image));
}
const RgbQuad* DibColorTable(const DibImage& image) {
  return reinterpret_cast<const RgbQuad*>(image.start() + DibHeaderSize(image));
}

int DibColorCount(const DibImage& image) { return int((PixelOffset(image) - DibHeaderSize(image)) / 4); }

size_t DibRowStride(int width, int depth) {
  const uint16_t w = uint16_t(width);
  if (depth == 1 || depth == 4 || depth == 8) return size_t(BitmapRowStride(w, depth));
  return depth > 8 ? size_t(BitmapRowStride(w, 24)) : 0;
}

uint64_t BitmapRowStride(uint64_t width, int depth) { return (width * uint64_t(depth) + 31) / 32 * 4; }

size_t DibTotalSize(const DibImage& image) {
  return PixelOffset(image) + size_t(DibHeight(image)) * DibRowStride(DibWidth(image), DibBitCount(image));
}

int DibFindColor(const DibImage& image, int red, int green, int blue) {
  const int count = DibColorCount(image);
  const RgbQuad* table = DibColorTable(image);
  int found = count;
  for (int i = 0; i < count; ++i) {
    if (table[i].red == red && table[i].green == green && table[i].blue == blue) found = i;
  }
  return found;
}

uint32_t DibInfoField(const DibImage& image, InfoHeaderField field) {
  if (field == kBiPlanes || field == kBiBitCount) return LoadU16(image.start() + field);
  return LoadU32(image.start() + field);
}

void SetDibInfoField(DibImage& image, InfoHeaderField field, uint32_t value) {
  if (field == kBiPlanes || field == kBiBitCount) {
    StoreU16(image.start() + field, uint16_t(value));
  } else {
    StoreU32(image.start() + field, value);
  }
}
