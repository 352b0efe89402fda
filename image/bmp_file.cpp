#include "image/bmp_file.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/texts.h"
#include "base/byte_order.h"

namespace {

// What a header promises, read without trusting it.
struct HeaderPromise {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // absolute: top-down rows count as well
  int depth = 0;
  uint32_t compression = kBiRgb;
  uint64_t tableBytes = 0;
  uint64_t maskBytes = 0;
};

bool IsAcceptedHeaderSize(uint32_t size) { return size == kCoreHeaderSize || size >= 16; }

bool ReadHeaderPromise(const uint8_t* block, uint64_t size, HeaderPromise& promise) {
  if (size < 4) return false;
  promise.headerSize = LoadU32(block);
  if (!IsAcceptedHeaderSize(promise.headerSize) || promise.headerSize > size) return false;
  uint64_t entries = 0;
  if (promise.headerSize == kCoreHeaderSize) {
    promise.width = LoadU16(block + 4);
    promise.height = LoadU16(block + 6);
    promise.depth = LoadU16(block + 10);
  } else {
    promise.width = LoadI32(block + kBiWidth);
    promise.height = std::llabs(int64_t(LoadI32(block + kBiHeight)));
    promise.depth = LoadU16(block + kBiBitCount);
    if (promise.headerSize >= 20) promise.compression = LoadU32(block + kBiCompression);
    if (promise.headerSize >= 36) entries = LoadU32(block + kBiClrUsed);
    if (promise.headerSize == kInfoHeaderSize && promise.compression == kBiBitFields) promise.maskBytes = 12;
    if (promise.headerSize == kInfoHeaderSize && promise.compression == kBiAlphaBitFields) promise.maskBytes = 16;
  }
  if (promise.width <= 0 || promise.height == 0 || promise.width > 32767 || promise.height > 32767) return false;
  if (entries > 256 && promise.depth <= 8) return false;
  if (entries == 0 && (promise.depth == 1 || promise.depth == 4 || promise.depth == 8)) entries = 1u << promise.depth;
  promise.tableBytes = entries * (promise.headerSize == kCoreHeaderSize ? 3 : 4);
  return true;
}

// Bytes of uncompressed pixel rows, or -1 for a depth no bitmap has.
int64_t UncompressedRowBytes(const HeaderPromise& promise) {
  switch (promise.depth) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32:
      return (promise.width * promise.depth + 31) / 32 * 4 * promise.height;
    default:
      return -1;
  }
}

}  // namespace

size_t DibMaskBytes(const DibImage& image) {
  if (DibHeaderSize(image) != kInfoHeaderSize) return 0;
  const uint32_t compression = DibInfoField(image, kBiCompression);
  if (compression == kBiBitFields) return 12;
  if (compression == kBiAlphaBitFields) return 16;
  return 0;
}

DibImagePtr ReadBmpBytes(const uint8_t* data, size_t size) {
  if (size < kBmpFileHeaderSize || data[0] != 'B' || data[1] != 'M') return nullptr;
  const uint64_t fileSize = LoadU32(data + 2);
  const uint64_t pixelOffset = LoadU32(data + 10);
  if (fileSize > size) return nullptr;
  const uint8_t* payload = data + kBmpFileHeaderSize;
  const uint64_t available = size - kBmpFileHeaderSize;

  HeaderPromise promise;
  if (!ReadHeaderPromise(payload, available, promise)) return nullptr;
  const uint64_t tableEnd = uint64_t(promise.headerSize) + promise.maskBytes + promise.tableBytes;
  if (tableEnd > available) return nullptr;

  // Pixel rows start right after the table unless the file places them later.
  uint64_t rowsStart = tableEnd;
  if (pixelOffset >= kBmpFileHeaderSize + tableEnd && pixelOffset < size) rowsStart = pixelOffset - kBmpFileHeaderSize;

  // A file size that understates the content (0 is common) does not cut it.
  uint64_t end = fileSize > kBmpFileHeaderSize ? fileSize - kBmpFileHeaderSize : available;
  if (promise.compression == kBiRgb || promise.compression == kBiBitFields ||
      promise.compression == kBiAlphaBitFields) {
    const int64_t rowBytes = UncompressedRowBytes(promise);
    if (rowBytes < 0 || rowsStart + uint64_t(rowBytes) > available) return nullptr;
    if (end < rowsStart + uint64_t(rowBytes)) end = rowsStart + uint64_t(rowBytes);
  }
  if (end < rowsStart) end = rowsStart;

  DibImagePtr image = AllocateDibBlock(size_t(tableEnd + (end - rowsStart)));
  if (!image) return nullptr;
  std::memcpy(image->start(), payload, size_t(tableEnd));
  std::memcpy(image->start() + tableEnd, payload + rowsStart, size_t(end - rowsStart));
  return image;
}

DibImagePtr ReadBmpFile(const char* path) {
  FilePtr file = OpenFile(path, "rb");
  if (!file) return nullptr;
  const long long size = FileSizeOf(file.get());
  if (size < 0 || uint64_t(size) > SIZE_MAX / 2) return nullptr;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return nullptr;
  return ReadBmpBytes(bytes.data(), bytes.size());
}

bool WriteBmp(const ByteSink& sink, const DibImage& image) {
  const size_t contentSize = DibTotalSize(image);
  if (contentSize > image.blockSize) return false;
  const size_t pixelOffset = size_t(DibPixels(image) - image.start());
  uint8_t header[kBmpFileHeaderSize] = {'B', 'M'};
  StoreU32(header + 2, uint32_t(kBmpFileHeaderSize + contentSize));
  StoreU32(header + 10, uint32_t(kBmpFileHeaderSize + pixelOffset));
  return sink.Put(header, sizeof header) && sink.Put(image.start(), contentSize);
}

bool WriteBmpFile(const Owner* owner, const char* path, const DibImage& image) {
  SafeFileWriter writer;
  if (!writer.Open(path, "VT")) {
    OwnerWarn(owner, TextOf(IDS_CANNOT_OPEN_FILE), path);
    return false;
  }
  return WriteBmp(FileSink(writer.file()), image) && writer.Commit();
}
