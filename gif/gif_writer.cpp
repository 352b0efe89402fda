#include "gif/gif_writer.h"

#include <cstring>
#include <vector>

#include "base/texts.h"
#include "gif/gif_rows.h"
#include "gif/lzw_encoder.h"
#include "base/byte_order.h"
#include "image/bmp_file.h"

namespace {

bool IsWritablePalettePicture(const DibImage& image) {
  DibHeader header;
  if (!ReadDibHeader(image.start(), image.blockSize, header) || header.headerSize != kInfoHeaderSize) return false;
  if (header.depth != 1 && header.depth != 4 && header.depth != 8) return false;
  if (header.compression != kBiRgb || header.topDown) return false;
  return header.pixelOffset + BitmapRowStride(uint64_t(header.width), header.depth) * uint64_t(header.height) <=
         image.blockSize;
}

int PixelAt(const uint8_t* row, int x, int depth) {
  if (depth == 8) return row[x];
  if (depth == 4) return x & 1 ? row[x >> 1] & 15 : row[x >> 1] >> 4;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

int LowestUnusedIndex(const DibImage& image) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  bool used[256] = {};
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = DibPixels(image) + y * stride;
    for (int x = 0; x < width; ++x) used[PixelAt(row, x, depth)] = true;
  }
  for (int i = 0; i < (1 << depth); ++i) {
    if (!used[i]) return i;
  }
  return (1 << depth) - 1;
}

// Screen descriptor, global colour table, graphic control extension and
// image descriptor: everything between the signature and the image data.
std::vector<uint8_t> HeaderBlock(const DibImage& image, const GifSaveOptions& options, bool transparent,
                                 bool interlace) {
  const int depth = DibBitCount(image), entries = 1 << depth;
  std::vector<uint8_t> out(7 + 3 * size_t(entries), 0);
  StoreU16(&out[0], uint16_t(DibWidth(image)));
  StoreU16(&out[2], uint16_t(DibHeight(image)));
  out[4] = uint8_t(0x80 | (depth - 1) << 4 | (depth - 1));
  const RgbQuad* table = DibColorTable(image);
  const int colors = DibColorCount(image) < entries ? DibColorCount(image) : entries;
  for (int i = 0; i < colors; ++i) {
    out[7 + 3 * i] = table[i].red;
    out[8 + 3 * i] = table[i].green;
    out[9 + 3 * i] = table[i].blue;
  }
  if (transparent) {
    const uint8_t index = uint8_t(GifTransparentIndex(image, options));
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, index, 0x00});
  }
  uint8_t descriptor[10] = {0x2C};
  StoreU16(descriptor + 5, uint16_t(DibWidth(image)));
  StoreU16(descriptor + 7, uint16_t(DibHeight(image)));
  descriptor[9] = interlace ? 0x40 : 0x00;
  out.insert(out.end(), descriptor, descriptor + sizeof descriptor);
  return out;
}

bool WriteImageData(const ByteSink& sink, const DibImage& image, bool interlace) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  LzwEncoder encoder;
  if (!encoder.Begin(sink, depth, uint64_t(width) * uint64_t(height))) return false;
  for (int r : GifRowOrder(height, interlace)) {
    if (!encoder.EncodeRow(DibPixels(image) + size_t(height - 1 - r) * stride, width, depth)) return false;
  }
  return true;
}

bool WriteCommentAndTrailer(const ByteSink& sink, const std::string& comment) {
  const size_t length = comment.size() < kGifCommentMaxLength ? comment.size() : kGifCommentMaxLength;
  uint8_t out[kGifCommentMaxLength + 5] = {0x21, 0xFE};
  size_t size = 2;
  if (length > 0) {
    out[size++] = uint8_t(length);
    std::memcpy(out + size, comment.data(), length);
    size += length;
  }
  out[size++] = 0x00;
  out[size++] = 0x3B;
  return sink.Put(out, size);
}

}  // namespace

int GifTransparentIndex(const DibImage& image, const GifSaveOptions& options) {
  if (options.transparentIndex >= 0 && options.transparentIndex <= 255) return options.transparentIndex;
  const int white = DibFindColor(image, 255, 255, 255);
  if (white < DibColorCount(image)) return white;
  return LowestUnusedIndex(image);
}

bool WriteGif(const ByteSink& sink, const DibImage& image, const GifSaveOptions& options, bool transparent,
              bool interlace) {
  if (!IsWritablePalettePicture(image)) return false;
  static const uint8_t kSignature[6] = {'G', 'I', 'F', '8', '9', 'a'};
  if (!sink.Put(kSignature, sizeof kSignature)) return false;
  const std::vector<uint8_t> header = HeaderBlock(image, options, transparent, interlace);
  if (!sink.Put(header.data(), header.size())) return false;
  return WriteImageData(sink, image, interlace) && WriteCommentAndTrailer(sink, options.comment);
}

bool WriteGifFile(const Owner* owner, const char* path, const DibImage& image, const GifSaveOptions& options,
                  bool transparent, bool interlace) {
  SafeFileWriter writer;
  if (!writer.Open(path, "VG")) {
    OwnerWarn(owner, TextOf(IDS_CANNOT_OPEN_FILE), path);
    return false;
  }
  return WriteGif(FileSink(writer.file()), image, options, transparent, interlace) && writer.Commit();
}
