#include "image/png_reader.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "base/file_io.h"

namespace {

constexpr int kMaxSide = 32767;
// The most bytes deflate makes of one byte of compressed data.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr png_alloc_size_t kMaxSideChunkBytes = 8000000;
constexpr png_uint_32 kMaxSideChunks = 1000;

struct MemorySource {
  const uint8_t* data;
  size_t size;
  size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  MemorySource* source = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (count > source->size - source->position) png_error(png, "file ends early");
  std::memcpy(out, source->data + source->position, count);
  source->position += count;
}

uint32_t LoadBigU32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// True when every chunk up to IEND lies within the data, so that libpng is
// never asked to make room for a chunk the file does not hold.
bool ChunksFitTheData(const uint8_t* data, size_t size) {
  size_t position = 8;
  while (size - position >= 12) {
    const uint64_t length = LoadBigU32(data + position);
    if (length > size - position - 12) return false;
    if (std::memcmp(data + position + 4, "IEND", 4) == 0) return true;
    position += size_t(length) + 12;
  }
  return position == size;
}

void RefuseFile(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// What the decoding gives, kept outside the frame that libpng may jump out
// of: the picture as read, one byte per pixel for palette and grey, or
// blue-green-red for colour.
struct Decoded {
  int width = 0, height = 0;
  bool tooLarge = false;
  bool indexed = false;
  int indexBits = 0;        // bits of an index in the file, after cutting 16 to 8
  std::vector<RgbQuad> table;
  std::vector<uint8_t> pixels;  // top row first
  std::vector<png_bytep> rows;
};

// A grey ramp of 2^bits entries, black to white.
std::vector<RgbQuad> GreyRamp(int bits) {
  const int entries = 1 << bits;
  std::vector<RgbQuad> ramp(size_t(entries), RgbQuad{0, 0, 0, 0});
  for (int i = 0; i < entries; ++i) {
    const uint8_t level = uint8_t(i * 255 / (entries - 1));
    ramp[size_t(i)] = {level, level, level, 0};
  }
  return ramp;
}

int HeldDepth(const Decoded& decoded) {
  if (!decoded.indexed) return 24;
  if (decoded.indexBits == 1) return 1;
  return decoded.indexBits <= 4 ? 4 : 8;
}

// Decodes with libpng into `decoded`; false when libpng refused the file.
// Holds nothing that needs cleaning up, as a refusal leaves by longjmp.
bool Decode(png_structp png, png_infop info, MemorySource& source, Decoded& decoded) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &source, ReadFromMemory);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  // No chunk can hold more than the file; decompressed text and colour
  // profiles may take up to libpng's usual 8 MB, and a file may not bury
  // the picture under thousands of side chunks.
  png_set_chunk_malloc_max(png, std::max<png_alloc_size_t>(source.size, kMaxSideChunkBytes));
  png_set_chunk_cache_max(png, kMaxSideChunks);
  png_read_info(png, info);
  png_uint_32 width, height;
  int bitDepth, colorType, interlace;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) return false;
  decoded.width = int(width);
  decoded.height = int(height);
  decoded.indexed = colorType == PNG_COLOR_TYPE_PALETTE || colorType == PNG_COLOR_TYPE_GRAY;
  decoded.indexBits = decoded.indexed ? std::min(bitDepth, 8) : 0;
  const uint64_t pixelBytes = decoded.indexed ? 1 : 3;
  if (!PictureFitsInMemory(decoded.width, decoded.height, HeldDepth(decoded))) {
    decoded.tooLarge = true;
    return false;
  }
  // The pixels' bits at the file's own depth, whether interlaced or not, are
  // the least its compressed rows unpack to.
  const uint64_t fileBitsPerPixel = uint64_t(png_get_channels(png, info)) * uint64_t(bitDepth);
  if (uint64_t(width) * height * fileBitsPerPixel / 8 > uint64_t(source.size) * kMaxInflateRatio) return false;

  if (bitDepth == 16) png_set_scale_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (decoded.indexed) {
    if (colorType == PNG_COLOR_TYPE_GRAY) {
      decoded.table = GreyRamp(decoded.indexBits);
    } else {
      png_colorp palette = nullptr;
      int entries = 0;
      if (!png_get_PLTE(png, info, &palette, &entries)) return false;
      for (int i = 0; i < entries; ++i) decoded.table.push_back({palette[i].blue, palette[i].green, palette[i].red, 0});
    }
  } else {
    png_set_strip_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const size_t rowBytes = size_t(width) * size_t(pixelBytes);
  if (png_get_rowbytes(png, info) != rowBytes) return false;

  decoded.pixels.resize(rowBytes * height);
  decoded.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) decoded.rows[y] = decoded.pixels.data() + y * rowBytes;
  png_read_image(png, decoded.rows.data());
  return true;
}

DibImagePtr HeldImage(Decoded& decoded) {
  const int depth = HeldDepth(decoded);
  DibImagePtr image = CreateDibImage(decoded.width, decoded.height, depth);
  if (!image) return nullptr;
  const size_t stride = DibRowStride(decoded.width, depth);
  const size_t rowBytes = decoded.pixels.size() / size_t(decoded.height);
  if (decoded.indexed) {
    const int highest = *std::max_element(decoded.pixels.begin(), decoded.pixels.end());
    decoded.table.resize(std::min(std::max(decoded.table.size(), size_t(highest) + 1), size_t(1) << depth),
                         RgbQuad{0, 0, 0, 0});
    SetDibInfoField(*image, kBiClrUsed, uint32_t(decoded.table.size()));
    std::copy(decoded.table.begin(), decoded.table.end(), DibColorTable(*image));
  }
  for (int y = 0; y < decoded.height; ++y) {
    const uint8_t* source = decoded.pixels.data() + size_t(y) * rowBytes;
    uint8_t* row = DibPixels(*image) + size_t(decoded.height - 1 - y) * stride;
    if (depth == 24 || depth == 8) {
      std::memcpy(row, source, rowBytes);
      continue;
    }
    const int perByte = 8 / depth;
    for (int x = 0; x < decoded.width; ++x) {
      row[x / perByte] |= uint8_t(source[x] << ((perByte - 1 - x % perByte) * depth));
    }
  }
  return image;
}

}  // namespace

DibImagePtr ReadPngBytes(const uint8_t* data, size_t size, PictureSize* tooLarge) {
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0 || !ChunksFitTheData(data, size)) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RefuseFile, IgnoreWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  MemorySource source = {data, size, 0};
  Decoded decoded;
  const bool read = info && Decode(png, info, source, decoded);
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  if (decoded.tooLarge && tooLarge) *tooLarge = {decoded.width, decoded.height};
  return read ? HeldImage(decoded) : nullptr;
}

DibImagePtr ReadPngFile(const char* path, PictureSize* tooLarge) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return nullptr;
  return ReadPngBytes(bytes.data(), bytes.size(), tooLarge);
}
