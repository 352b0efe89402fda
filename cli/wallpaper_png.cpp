// PNG as the desktops need it and no more: 8-bit RGB, no interlace, the
// image data as a zlib stream of stored (uncompressed) deflate blocks, so
// that no compressor is needed.
#include "cli/wallpaper_png.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/file_io.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static uint32_t table[256];
  if (!table[1]) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
  }
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBigEndian(out, uint32_t(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// The rows top first, each a filter byte 0 and red, green, blue a pixel.
bool RgbRows(const DibImage& image, std::vector<uint8_t>& rows) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return false;
  const RgbQuad* table = depth == 24 ? nullptr : DibColorTable(image);
  const int colors = depth == 24 ? 0 : DibColorCount(image);
  const size_t stride = DibRowStride(width, depth);
  const uint8_t* pixels = DibPixels(image);
  rows.reserve(size_t(height) * (1 + size_t(width) * 3));
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* row = pixels + size_t(y) * stride;
    rows.push_back(0);
    for (int x = 0; x < width; ++x) {
      if (depth == 24) {
        rows.insert(rows.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
        continue;
      }
      const int perByte = 8 / depth;
      const int index = (row[x / perByte] >> (8 - depth * (x % perByte + 1))) & ((1 << depth) - 1);
      if (index >= colors) return false;
      rows.insert(rows.end(), {table[index].red, table[index].green, table[index].blue});
    }
  }
  return true;
}

// A zlib stream of the bytes in stored blocks of at most 65535 bytes.
std::vector<uint8_t> StoredZlibStream(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> stream = {0x78, 0x01};
  size_t done = 0;
  do {
    const size_t size = std::min<size_t>(bytes.size() - done, 65535);
    const bool last = done + size == bytes.size();
    stream.insert(stream.end(), {uint8_t(last), uint8_t(size), uint8_t(size >> 8), uint8_t(~size), uint8_t(~size >> 8)});
    stream.insert(stream.end(), bytes.begin() + long(done), bytes.begin() + long(done + size));
    done += size;
  } while (done < bytes.size());
  PutBigEndian(stream, Adler32(bytes));
  return stream;
}

}  // namespace

bool WriteWallpaperPng(const Owner* owner, const DibImage& image, const std::string& path) {
  std::vector<uint8_t> rows;
  if (!RgbRows(image, rows)) {
    OwnerWarn(owner, "Cannot write this picture as PNG", path.c_str());
    return false;
  }
  std::vector<uint8_t> header;
  PutBigEndian(header, uint32_t(DibWidth(image)));
  PutBigEndian(header, uint32_t(DibHeight(image)));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits a sample, RGB, deflate, no filter choice, no interlace
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", StoredZlibStream(rows));
  PutChunk(file, "IEND", {});

  SafeFileWriter writer;
  if (!writer.Open(path.c_str(), "vitrelle-") || std::fwrite(file.data(), 1, file.size(), writer.file()) != file.size() ||
      !writer.Commit()) {
    OwnerWarn(owner, "Cannot open file", path.c_str());
    return false;
  }
  return true;
}
