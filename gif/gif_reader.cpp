#include "gif/gif_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "base/texts.h"
#include "gif/gif_rows.h"
#include "gif/lzw_decoder.h"
#include "base/byte_order.h"
#include "base/file_io.h"

namespace {

constexpr size_t kSignatureSize = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 10;

bool HasGifSignature(const uint8_t* bytes) { return std::memcmp(bytes, "GIF8", 4) == 0; }

int DepthOfTableSize(int sizeField) { return sizeField == 0 ? 1 : sizeField <= 3 ? 4 : 8; }

// Copies a colour table of `entries` RGB triples into the picture's table,
// as far as the picture's table reaches.
void StoreColorTable(DibImage& image, const uint8_t* rgb, int entries) {
  const int count = entries < DibColorCount(image) ? entries : DibColorCount(image);
  RgbQuad* table = DibColorTable(image);
  for (int i = 0; i < count; ++i) {
    table[i].red = rgb[3 * i];
    table[i].green = rgb[3 * i + 1];
    table[i].blue = rgb[3 * i + 2];
  }
}

// Moves past the extension at data[p] (0x21), taking the transparency of a
// graphic control extension. False when it runs past the data.
bool SkipExtension(const uint8_t* data, size_t size, size_t& p, GifFileFlags& flags) {
  if (size - p < 2) return false;
  if (data[p + 1] == 0xF9) {
    if (size - p < 8) return false;
    const size_t blockSize = data[p + 2];
    flags.transparent = data[p + 3] & 1;
    flags.transparentIndex = data[p + 6];
    p += 2 + 1 + blockSize + 1;
    return p <= size;
  }
  p += 2;
  while (p < size && data[p] != 0) p += 1 + size_t(data[p]);
  if (p >= size) return false;
  ++p;
  return true;
}

// Packs the first `width` pixels of an 8-bit row into a stored row.
void PackRow(const uint8_t* pixels, int width, int depth, uint8_t* row) {
  if (depth == 8) {
    std::memcpy(row, pixels, size_t(width));
  } else if (depth == 4) {
    for (int x = 0; x < width; x += 2) {
      row[x >> 1] = uint8_t((pixels[x] & 15) << 4 | (x + 1 < width ? pixels[x + 1] & 15 : 0));
    }
  } else {
    for (int x = 0; x < width; ++x) {
      if ((x & 7) == 0) row[x >> 3] = 0;
      row[x >> 3] = uint8_t(row[x >> 3] | (pixels[x] & 1) << (7 - (x & 7)));
    }
  }
}

// Decodes every row of the image; a row that fails keeps what it received.
// Rows of an 8-bit picture that fit the screen are decoded in place; others
// go through a scratch row and are cut and packed to the depth.
void DecodeImageRows(LzwDecoder& decoder, int minCodeSize, const uint8_t* data, size_t size, DibImage& image,
                     int width, int height, bool interlace) {
  const int screenWidth = DibWidth(image), screenHeight = DibHeight(image), depth = DibBitCount(image);
  const int keptWidth = width < screenWidth ? width : screenWidth;
  const int keptHeight = height < screenHeight ? height : screenHeight;
  const size_t stride = DibRowStride(screenWidth, depth);
  const bool inPlace = depth == 8 && width <= screenWidth && height <= screenHeight;
  decoder.Begin(minCodeSize, data, size, inPlace);
  std::vector<uint8_t> scratch(inPlace ? 0 : size_t(width));
  for (int r : GifRowOrder(height, interlace)) {
    uint8_t* row = r < keptHeight ? DibPixels(image) + size_t(keptHeight - 1 - r) * stride : nullptr;
    if (inPlace) {
      decoder.DecodeRow(row, width);
      continue;
    }
    std::memset(scratch.data(), 0, scratch.size());
    decoder.DecodeRow(scratch.data(), width);
    if (row) PackRow(scratch.data(), keptWidth, depth, row);
  }
}

// Where the first image's parts lie in the data after the signature.
struct GifLayout {
  int screenWidth = 0, screenHeight = 0, depth = 0;
  const uint8_t* globalTable = nullptr;
  int globalEntries = 0;
  const uint8_t* localTable = nullptr;
  int localEntries = 0;
  int width = 0, height = 0;
  size_t codeSizeAt = 0;  // the LZW minimum code size byte
};

// Finds the screen, the tables and the first image descriptor, taking the
// image's interlace and a graphic control extension's transparency.
bool FindFirstImage(const uint8_t* data, size_t size, GifLayout& layout, GifFileFlags& read) {
  if (size < kScreenDescriptorSize) return false;
  layout.screenWidth = LoadU16(data), layout.screenHeight = LoadU16(data + 2);
  const uint8_t flags = data[4];
  if (layout.screenWidth == 0 || layout.screenHeight == 0 || layout.screenWidth > 32767 ||
      layout.screenHeight > 32767) {
    return false;
  }
  layout.depth = DepthOfTableSize(flags & 7);
  size_t p = kScreenDescriptorSize;
  if (flags & 0x80) {
    layout.globalEntries = 2 << (flags & 7);
    if (size - p < 3 * size_t(layout.globalEntries)) return false;
    layout.globalTable = data + p;
    p += 3 * size_t(layout.globalEntries);
  }
  while (p < size && data[p] == 0x21) {
    if (!SkipExtension(data, size, p, read)) return false;
  }
  if (p >= size || size - p < kImageDescriptorSize || data[p] != 0x2C) return false;
  layout.width = LoadU16(data + p + 5), layout.height = LoadU16(data + p + 7);
  // An image without rows or columns holds nothing to show.
  if (layout.width == 0 || layout.height == 0) return false;
  const uint8_t imageFlags = data[p + 9];
  p += kImageDescriptorSize;
  read.interlace = imageFlags & 0x40;
  if (imageFlags & 0x80) {
    // The image is drawn with its own table, so that table tells how many
    // colours the picture has, whatever the global one holds.
    layout.depth = DepthOfTableSize(imageFlags & 7);
    layout.localEntries = 2 << (imageFlags & 7);
    if (size - p < 3 * size_t(layout.localEntries)) return false;
    layout.localTable = data + p;
    p += 3 * size_t(layout.localEntries);
  }
  layout.codeSizeAt = p;
  return p < size;
}

// True when `dataBytes` of LZW data could fill a screen this large. A code
// of w bits stands for at most 2^w + 1 pixels, so a byte yields at most
// 8 * 4097 / 12 pixels; a file claiming far more is refused before its
// picture is made, so that a few bytes cannot ask for a gigabyte.
bool DataCanFillScreen(const GifLayout& layout, size_t dataBytes) {
  constexpr uint64_t kMostPixelsPerByte = 2732;
  const uint64_t area = uint64_t(layout.screenWidth) * uint64_t(layout.screenHeight);
  return area <= kMostPixelsPerByte * (uint64_t(dataBytes) + 1);
}

// Parses the data after the signature.
DibImagePtr ParseGifData(const uint8_t* data, size_t size, GifFileFlags& flags, PictureSize* tooLarge) {
  GifLayout layout;
  GifFileFlags read;
  if (!FindFirstImage(data, size, layout, read)) return nullptr;
  if (!PictureFitsInMemory(layout.screenWidth, layout.screenHeight, layout.depth)) {
    if (tooLarge) *tooLarge = {layout.screenWidth, layout.screenHeight};
    return nullptr;
  }
  const size_t p = layout.codeSizeAt;
  if (!DataCanFillScreen(layout, size - p - 1)) return nullptr;

  DibImagePtr image = CreateDibImage(layout.screenWidth, layout.screenHeight, layout.depth);
  if (!image) return nullptr;
  if (layout.localTable) {
    StoreColorTable(*image, layout.localTable, layout.localEntries);
  } else if (layout.globalTable) {
    StoreColorTable(*image, layout.globalTable, layout.globalEntries);
  }

  std::unique_ptr<LzwDecoder> decoder(new (std::nothrow) LzwDecoder);
  if (!decoder) return nullptr;
  DecodeImageRows(*decoder, data[p], data + p + 1, size - p - 1, *image, layout.width, layout.height,
                  read.interlace);
  flags = read;
  return image;
}

// Reads the rest of the file in about ten pieces, showing the percentage.
bool ReadInPieces(const Owner* owner, std::FILE* file, uint8_t* data, size_t size) {
  CaptionScope caption(owner);
  const size_t piece = size / 10 > 0 ? size / 10 : 1;
  int shown = 0;
  for (size_t done = 0; done < size;) {
    const size_t count = size - done < piece ? size - done : piece;
    if (std::fread(data + done, 1, count, file) != count) return false;
    done += count;
    const int percent = int(uint64_t(done) * 100 / size);
    if (percent != shown) {
      char text[128];
      std::snprintf(text, sizeof text, TextOf(IDS_READING_FILE), percent);
      caption.Show(text);
      shown = percent;
    }
  }
  return true;
}

}  // namespace

DibImagePtr ReadGifBytes(const uint8_t* data, size_t size, GifFileFlags& flags, PictureSize* tooLarge) {
  if (size < kSignatureSize || !HasGifSignature(data)) return nullptr;
  return ParseGifData(data + kSignatureSize, size - kSignatureSize, flags, tooLarge);
}

DibImagePtr ReadGifFile(const Owner* owner, const char* path, GifFileFlags& flags, PictureSize* tooLarge) {
  FilePtr file = OpenFile(path, "rb");
  if (!file) return nullptr;
  const long long fileSize = FileSizeOf(file.get());
  uint8_t signature[kSignatureSize];
  if (fileSize < static_cast<long long>(kSignatureSize) || std::fread(signature, 1, kSignatureSize, file.get()) != kSignatureSize ||
      !HasGifSignature(signature)) {
    return nullptr;
  }
  const uint64_t dataSize = uint64_t(fileSize) - kSignatureSize;
  if (dataSize > SIZE_MAX / 2) return nullptr;
  std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size_t(dataSize) + 1]);
  if (!data || !ReadInPieces(owner, file.get(), data.get(), size_t(dataSize))) return nullptr;
  file.reset();
  return ParseGifData(data.get(), size_t(dataSize), flags, tooLarge);
}
