#include "image/normalize.h"

#include <algorithm>
#include <cstring>

#include "base/texts.h"
#include "image/bmp_file.h"
#include "base/byte_order.h"

namespace {

// Where a source block keeps its parts, read from its header and checked
// against the block's size.
struct SourceLayout : DibHeader {
  uint32_t masks[3] = {};  // red, green, blue of 16- and 32-bit pixels
};

bool IsConvertible(int depth, uint32_t compression) {
  switch (compression) {
    case kBiRgb:
      return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    case kBiRle8: return depth == 8;
    case kBiRle4: return depth == 4;
    case kBiBitFields:
    case kBiAlphaBitFields: return depth == 16 || depth == 32;
    default: return false;
  }
}

// The colour masks of 16- and 32-bit pixels: fixed for BI_RGB, after a
// 40-byte header or inside a longer one for bit fields.
bool ReadMasks(const DibImage& source, SourceLayout& layout) {
  if (layout.depth != 16 && layout.depth != 32) return true;
  if (layout.compression == kBiRgb) {
    const uint32_t fixed16[3] = {0x7C00, 0x03E0, 0x001F};
    const uint32_t fixed32[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    std::memcpy(layout.masks, layout.depth == 16 ? fixed16 : fixed32, sizeof layout.masks);
    return true;
  }
  const uint32_t headerSize = DibHeaderSize(source);
  if (headerSize != kInfoHeaderSize && headerSize < 52) return false;
  for (int i = 0; i < 3; ++i) layout.masks[i] = LoadU32(source.start() + kInfoHeaderSize + 4 * i);
  return true;
}

bool ReadSourceLayout(const DibImage& source, SourceLayout& layout) {
  if (!ReadDibHeader(source.start(), source.blockSize, layout) || !IsConvertible(layout.depth, layout.compression) ||
      !ReadMasks(source, layout)) {
    return false;
  }
  const bool compressed = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  return compressed || layout.pixelOffset + BitmapRowStride(layout.width, layout.depth) * layout.height <= source.blockSize;
}

void CopyColorTable(const DibImage& source, const SourceLayout& layout, DibImage& image) {
  const size_t entrySize = layout.coreHeader ? 3 : 4;
  const size_t count = size_t(std::min<uint64_t>(layout.tableEntries, 1u << layout.depth));
  const uint8_t* entry = source.start() + layout.tableOffset;
  RgbQuad* table = DibColorTable(image);
  for (size_t i = 0; i < count; ++i, entry += entrySize) table[i] = {entry[0], entry[1], entry[2], 0};
}

// The source row that becomes stored row y of the bottom-up result.
const uint8_t* SourceRow(const DibImage& source, const SourceLayout& layout, int y) {
  const int row = layout.topDown ? layout.height - 1 - y : y;
  return source.start() + layout.pixelOffset + uint64_t(row) * BitmapRowStride(layout.width, layout.depth);
}

// Rows that keep their format (depths 1, 4, 8 and 24).
void CopyRows(const DibImage& source, const SourceLayout& layout, DibImage& image) {
  const size_t stride = DibRowStride(layout.width, layout.depth);
  uint8_t* target = DibPixels(image);
  for (int y = 0; y < layout.height; ++y) std::memcpy(target + y * stride, SourceRow(source, layout, y), stride);
}

// One colour channel of a bit-field pixel, scaled to 8 bits: wider fields
// keep their top bits, narrower ones repeat their bits (5 bits v become
// v << 3 | v >> 2), so that a full field is 255.
struct ChannelField {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  uint8_t scaled[256] = {};

  explicit ChannelField(uint32_t fieldMask) : mask(fieldMask) {
    if (mask == 0) return;
    while (!((mask >> shift) & 1)) ++shift;
    for (uint32_t rest = mask >> shift; rest; rest >>= 1) ++bits;
    if (bits > 8) return;
    for (uint32_t v = 0; v < (1u << bits); ++v) {
      uint32_t out = 0;
      for (int at = 8 - bits; at > -bits; at -= bits) out |= at >= 0 ? v << at : v >> -at;
      scaled[v] = uint8_t(out);
    }
  }

  uint8_t Of(uint32_t pixel) const {
    const uint32_t value = (pixel & mask) >> shift;
    return bits > 8 ? uint8_t(value >> (bits - 8)) : scaled[value];
  }
};

void ConvertFieldRows(const DibImage& source, const SourceLayout& layout, DibImage& image) {
  const ChannelField red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
  const size_t stride = DibRowStride(layout.width, 24);
  const int bytesPerPixel = layout.depth / 8;
  for (int y = 0; y < layout.height; ++y) {
    const uint8_t* in = SourceRow(source, layout, y);
    uint8_t* out = DibPixels(image) + y * stride;
    for (int x = 0; x < layout.width; ++x, in += bytesPerPixel, out += 3) {
      const uint32_t pixel = bytesPerPixel == 2 ? LoadU16(in) : LoadU32(in);
      out[0] = blue.Of(pixel);
      out[1] = green.Of(pixel);
      out[2] = red.Of(pixel);
    }
  }
}

// Where run-length data writes next; y counts rows in the order of the data
// (bottom row first, unless the source is top-down). Pixels past the width
// but inside the stored row's padding are dropped: encoders that compress
// whole padded rows are common, and Windows draws their files.
struct RunLengthTarget {
  uint8_t* pixels;
  size_t stride;
  int width, height, depth;
  bool topDown;
  int x = 0, y = 0;

  int RowPixels() const { return int(stride * 8 / depth); }
  // False for a pixel outside the stored picture.
  bool Put(uint8_t index) {
    if (x >= RowPixels() || y >= height) return false;
    if (x < width) {
      uint8_t* row = pixels + size_t(topDown ? height - 1 - y : y) * stride;
      if (depth == 8) {
        row[x] = index;
      } else {
        uint8_t& pair = row[x / 2];
        pair = x % 2 ? uint8_t((pair & 0xF0) | (index & 0x0F)) : uint8_t((pair & 0x0F) | (index << 4));
      }
    }
    ++x;
    return true;
  }
  // Positions beyond the stored picture are kept at its edge, where nothing
  // can be written.
  void MoveBy(int dx, int dy) {
    x = std::min(x + dx, RowPixels());
    y = std::min(y + dy, height);
  }
};

// Pixel i of a group of indexes: whole bytes in RLE8, nibbles (high first) in RLE4.
uint8_t IndexAt(const uint8_t* bytes, int i, int depth) {
  if (depth == 8) return bytes[i];
  return i % 2 ? bytes[i / 2] & 0x0F : bytes[i / 2] >> 4;
}

// Decodes BI_RLE8 and BI_RLE4 data: (count, index) runs, and after a 0 byte
// end of line (0), end of bitmap (1), a move right and up (2, dx, dy), or a
// group of that many literal indexes padded to an even number of bytes.
// Data that ends early leaves the rest at index 0; a pixel that would land
// outside the stored picture makes the whole data damaged.
bool DecodeRunLengths(const uint8_t* data, size_t size, RunLengthTarget& target) {
  size_t at = 0;
  while (at + 2 <= size) {
    const int count = data[at], code = data[at + 1];
    at += 2;
    if (count > 0) {
      const uint8_t value = uint8_t(code);
      for (int i = 0; i < count; ++i) {
        if (!target.Put(target.depth == 8 ? value : IndexAt(&value, i % 2, 4))) return false;
      }
    } else if (code == 0) {
      target.x = 0;
      target.MoveBy(0, 1);
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (at + 2 > size) return true;
      target.MoveBy(data[at], data[at + 1]);
      at += 2;
    } else {
      const size_t bytes = target.depth == 8 ? code : (code + 1) / 2;
      if (at + bytes > size) return true;
      for (int i = 0; i < code; ++i) {
        if (!target.Put(IndexAt(data + at, i, target.depth))) return false;
      }
      at += bytes + (bytes & 1);
    }
  }
  return true;
}

bool ConvertPixels(const DibImage& source, const SourceLayout& layout, DibImage& image) {
  if (layout.compression == kBiRle8 || layout.compression == kBiRle4) {
    RunLengthTarget target{DibPixels(image), DibRowStride(layout.width, layout.depth), layout.width,
                           layout.height, layout.depth, layout.topDown};
    const uint8_t* data = source.start() + layout.pixelOffset;
    return DecodeRunLengths(data, size_t(source.blockSize - layout.pixelOffset), target);
  }
  if (layout.depth == 16 || layout.depth == 32) {
    ConvertFieldRows(source, layout, image);
  } else {
    CopyRows(source, layout, image);
  }
  return true;
}

DibImagePtr CannotMakeBitmap(const Owner* owner) {
  OwnerWarn(owner, TextOf(IDS_CANNOT_MAKE_BITMAP), TextOf(IDS_ERROR));
  return nullptr;
}

}  // namespace

DibImagePtr NormalizeImage(const Owner* owner, DibImagePtr source) {
  PictureSize claimed;
  if (source && ClaimsTooLargePicture(source->start(), source->blockSize, claimed)) {
    WarnPictureTooLarge(owner, claimed, TextOf(IDS_ERROR));
    return nullptr;
  }
  SourceLayout layout;
  if (!source || !ReadSourceLayout(*source, layout)) return CannotMakeBitmap(owner);
  DibImagePtr image = CreateDibImage(layout.width, layout.height, layout.depth);
  if (!image) return nullptr;
  if (layout.depth <= 8) CopyColorTable(*source, layout, *image);
  if (!ConvertPixels(*source, layout, *image)) return CannotMakeBitmap(owner);
  return image;
}
