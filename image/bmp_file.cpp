#include "image/bmp_file.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "base/texts.h"
#include "base/byte_order.h"

namespace {

// Bytes of uncompressed pixel rows, or -1 for a depth no bitmap has.
int64_t UncompressedRowBytes(const DibHeader& header) {
  switch (header.depth) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32:
      return int64_t(BitmapRowStride(header.width, header.depth)) * header.height;
    default:
      return -1;
  }
}

}  // namespace

bool ReadDibHeader(const uint8_t* block, uint64_t size, DibHeader& header) {
  if (!block || size < 4) return false;
  header = DibHeader();
  header.headerSize = LoadU32(block);
  if ((header.headerSize != kCoreHeaderSize && header.headerSize < 16) || header.headerSize > size) return false;
  header.coreHeader = header.headerSize == kCoreHeaderSize;
  int64_t width, height;
  if (header.coreHeader) {
    width = LoadU16(block + 4);
    height = LoadU16(block + 6);
    header.depth = LoadU16(block + 10);
  } else {
    width = LoadI32(block + kBiWidth);
    height = LoadI32(block + kBiHeight);
    header.depth = LoadU16(block + kBiBitCount);
    if (header.headerSize >= 20) header.compression = LoadU32(block + kBiCompression);
    if (header.headerSize >= 36) header.tableEntries = LoadU32(block + kBiClrUsed);
  }
  header.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (width < 1 || width > 32767 || height < 1 || height > 32767) return false;
  header.width = int(width);
  header.height = int(height);
  const bool palette = header.depth == 1 || header.depth == 2 || header.depth == 4 || header.depth == 8;
  if (header.tableEntries > 256 && header.depth <= 8) return false;
  if (header.tableEntries == 0 && palette) header.tableEntries = 1u << header.depth;
  uint64_t maskBytes = 0;
  if (header.headerSize == kInfoHeaderSize && header.compression == kBiBitFields) maskBytes = 12;
  if (header.headerSize == kInfoHeaderSize && header.compression == kBiAlphaBitFields) maskBytes = 16;
  header.tableOffset = header.headerSize + maskBytes;
  header.pixelOffset = header.tableOffset + header.tableEntries * (header.coreHeader ? 3 : 4);
  return header.pixelOffset <= size;
}

bool ClaimsTooLargePicture(const uint8_t* block, uint64_t size, PictureSize& claimed) {
  DibHeader header;
  if (!ReadDibHeader(block, size, header) || PictureFitsInMemory(header.width, header.height, header.depth)) {
    return false;
  }
  claimed = {header.width, header.height};
  return true;
}

size_t DibMaskBytes(const DibImage& image) {
  if (DibHeaderSize(image) != kInfoHeaderSize) return 0;
  const uint32_t compression = DibInfoField(image, kBiCompression);
  if (compression == kBiBitFields) return 12;
  if (compression == kBiAlphaBitFields) return 16;
  return 0;
}

// True for data that begin a BMP file whose picture would not fit in memory.
static bool BmpClaimsTooLargePicture(const uint8_t* data, size_t size, PictureSize* tooLarge) {
  PictureSize claimed;
  if (size < kBmpFileHeaderSize || data[0] != 'B' || data[1] != 'M' ||
      !ClaimsTooLargePicture(data + kBmpFileHeaderSize, size - kBmpFileHeaderSize, claimed)) {
    return false;
  }
  if (tooLarge) *tooLarge = claimed;
  return true;
}

DibImagePtr ReadBmpBytes(const uint8_t* data, size_t size, PictureSize* tooLarge) {
  if (size < kBmpFileHeaderSize || data[0] != 'B' || data[1] != 'M') return nullptr;
  if (BmpClaimsTooLargePicture(data, size, tooLarge)) return nullptr;
  const uint64_t fileSize = LoadU32(data + 2);
  const uint64_t pixelOffset = LoadU32(data + 10);
  if (fileSize > size) return nullptr;
  const uint8_t* payload = data + kBmpFileHeaderSize;
  const uint64_t available = size - kBmpFileHeaderSize;

  DibHeader header;
  if (!ReadDibHeader(payload, available, header)) return nullptr;
  const uint64_t tableEnd = header.pixelOffset;

  // Pixel rows start right after the table unless the file places them later.
  uint64_t rowsStart = tableEnd;
  if (pixelOffset >= kBmpFileHeaderSize + tableEnd && pixelOffset < size) rowsStart = pixelOffset - kBmpFileHeaderSize;

  // A file size that understates the content (0 is common) does not cut it.
  uint64_t end = fileSize > kBmpFileHeaderSize ? fileSize - kBmpFileHeaderSize : available;
  if (header.compression == kBiRgb || header.compression == kBiBitFields || header.compression == kBiAlphaBitFields) {
    const int64_t rowBytes = UncompressedRowBytes(header);
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

DibImagePtr ReadBmpFile(const char* path, PictureSize* tooLarge) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return nullptr;
  return ReadBmpBytes(bytes.data(), bytes.size(), tooLarge);
}

bool ReadBmpFileSize(const char* path, PictureSize& size) {
  FilePtr file = OpenFile(path, "rb");
  if (!file) return false;
  // The file header, the largest info header, bit-field masks and a table of 256 entries.
  uint8_t start[kBmpFileHeaderSize + 124 + 16 + 256 * 4];
  const size_t read = std::fread(start, 1, sizeof start, file.get());
  DibHeader header;
  if (read < kBmpFileHeaderSize || start[0] != 'B' || start[1] != 'M' ||
      !ReadDibHeader(start + kBmpFileHeaderSize, read - kBmpFileHeaderSize, header)) {
    return false;
  }
  size = {header.width, header.height};
  return true;
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
