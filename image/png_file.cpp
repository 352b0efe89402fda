#include "image/png_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/texts.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kIdatBytes = 65536;
constexpr int kCompressionLevel = 6;
constexpr int kColorTypeRgb = 2;
constexpr int kColorTypePalette = 3;

enum RowFilter : uint8_t { kFilterNone, kFilterSub, kFilterUp, kFilterAverage, kFilterPaeth, kFilterCount };

void StoreBigU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

bool PutChunk(const ByteSink& sink, const char* type, const uint8_t* data, size_t size) {
  uint8_t head[8];
  StoreBigU32(head, uint32_t(size));
  std::memcpy(head + 4, type, 4);
  uLong crc = crc32(0L, head + 4, 4);
  if (size > 0) crc = crc32(crc, data, uInt(size));
  uint8_t tail[4];
  StoreBigU32(tail, uint32_t(crc));
  return sink.Put(head, sizeof head) && (size == 0 || sink.Put(data, size)) && sink.Put(tail, sizeof tail);
}

// Compresses the filtered rows into IDAT chunks of kIdatBytes.
class IdatStream {
 public:
  IdatStream(const ByteSink& sink, int strategy) : sink_(sink), buffer_(kIdatBytes) {
    open_ = deflateInit2(&stream_, kCompressionLevel, Z_DEFLATED, 15, 9, strategy) == Z_OK;
    stream_.next_out = buffer_.data();
    stream_.avail_out = uInt(buffer_.size());
  }
  ~IdatStream() {
    if (open_) deflateEnd(&stream_);
  }
  IdatStream(const IdatStream&) = delete;
  IdatStream& operator=(const IdatStream&) = delete;

  bool open() const { return open_; }
  bool Add(const uint8_t* data, size_t size) { return Deflate(data, size, Z_NO_FLUSH); }
  bool Finish() { return Deflate(nullptr, 0, Z_FINISH); }

 private:
  bool Deflate(const uint8_t* data, size_t size, int flush) {
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = uInt(size);
    for (;;) {
      const int result = deflate(&stream_, flush);
      if (result == Z_STREAM_ERROR) return false;
      if (stream_.avail_out == 0 && !EmitChunk()) return false;
      if (flush == Z_FINISH) {
        if (result == Z_STREAM_END) return EmitChunk();
      } else if (stream_.avail_in == 0 && stream_.avail_out != 0) {
        return true;
      }
    }
  }

  bool EmitChunk() {
    const size_t used = buffer_.size() - stream_.avail_out;
    stream_.next_out = buffer_.data();
    stream_.avail_out = uInt(buffer_.size());
    return used == 0 || PutChunk(sink_, "IDAT", buffer_.data(), used);
  }

  const ByteSink& sink_;
  std::vector<uint8_t> buffer_;
  z_stream stream_ = {};
  bool open_ = false;
};

bool IsWritable(const DibImage& image) {
  if (!image.block || image.blockSize < kInfoHeaderSize || DibHeaderSize(image) != kInfoHeaderSize) return false;
  const int depth = DibBitCount(image);
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return false;
  if (DibInfoField(image, kBiCompression) != kBiRgb || DibWidth(image) < 1 || DibHeight(image) < 1) return false;
  return DibTotalSize(image) <= image.blockSize;
}

size_t PngRowBytes(int width, int depth) { return depth == 24 ? size_t(width) * 3 : (size_t(width) * depth + 7) / 8; }

// The highest colour index any pixel uses.
int HighestIndexUsed(const DibImage& image) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  const int perByte = 8 / depth, mask = (1 << depth) - 1;
  int highest = 0;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = DibPixels(image) + y * stride;
    if (depth == 8) {
      highest = std::max<int>(highest, *std::max_element(row, row + width));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const int shift = (perByte - 1 - x % perByte) * depth;
      highest = std::max(highest, (row[x / perByte] >> shift) & mask);
    }
  }
  return highest;
}

// Entries of PLTE: the colour table, grown (with black) to cover every index
// the pixels and the transparent index use, at most 2^depth.
int PaletteEntries(const DibImage& image, int transparentIndex) {
  const int depth = DibBitCount(image), limit = 1 << depth;
  int entries = std::min(DibColorCount(image), limit);
  if (entries < limit) entries = std::max(entries, HighestIndexUsed(image) + 1);
  return std::max(entries, transparentIndex + 1);
}

bool PutTexts(const ByteSink& sink, const std::vector<PngText>& texts) {
  for (const PngText& text : texts) {
    if (text.keyword.empty() || text.keyword.size() > 79 || text.keyword.find('\0') != std::string::npos) return false;
    std::string data = text.keyword;
    data += '\0';
    data += text.text;
    if (!PutChunk(sink, "tEXt", reinterpret_cast<const uint8_t*>(data.data()), data.size())) return false;
  }
  return true;
}

uint32_t LoadBigU32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

bool PutHeader(const ByteSink& sink, const DibImage& image) {
  uint8_t header[13] = {};
  StoreBigU32(header, uint32_t(DibWidth(image)));
  StoreBigU32(header + 4, uint32_t(DibHeight(image)));
  const bool fullColor = DibBitCount(image) == 24;
  header[8] = uint8_t(fullColor ? 8 : DibBitCount(image));
  header[9] = uint8_t(fullColor ? kColorTypeRgb : kColorTypePalette);
  return sink.Put(kSignature, sizeof kSignature) && PutChunk(sink, "IHDR", header, sizeof header);
}

bool PutPalette(const ByteSink& sink, const DibImage& image, int transparentIndex) {
  const int entries = PaletteEntries(image, transparentIndex);
  const int known = std::min(entries, DibColorCount(image));
  std::vector<uint8_t> palette(size_t(entries) * 3, 0);
  for (int i = 0; i < known; ++i) {
    const RgbQuad& color = DibColorTable(image)[i];
    palette[3 * i] = color.red;
    palette[3 * i + 1] = color.green;
    palette[3 * i + 2] = color.blue;
  }
  if (!PutChunk(sink, "PLTE", palette.data(), palette.size())) return false;
  if (transparentIndex < 0) return true;
  std::vector<uint8_t> alpha(size_t(transparentIndex) + 1, 255);
  alpha[size_t(transparentIndex)] = 0;
  return PutChunk(sink, "tRNS", alpha.data(), alpha.size());
}

// Palette rows, unfiltered; the bits past the last pixel are cleared.
bool PutPaletteRows(IdatStream& idat, const DibImage& image) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth), rowBytes = PngRowBytes(width, depth);
  const int spareBits = int(rowBytes * 8 - size_t(width) * depth);
  std::vector<uint8_t> line(rowBytes + 1, kFilterNone);
  for (int y = height - 1; y >= 0; --y) {
    std::memcpy(line.data() + 1, DibPixels(image) + y * stride, rowBytes);
    line[rowBytes] &= uint8_t(0xFF << spareBits);
    if (!idat.Add(line.data(), line.size())) return false;
  }
  return true;
}

uint8_t PaethPredictor(int left, int above, int aboveLeft) {
  const int estimate = left + above - aboveLeft;
  const int toLeft = std::abs(estimate - left), toAbove = std::abs(estimate - above),
            toAboveLeft = std::abs(estimate - aboveLeft);
  if (toLeft <= toAbove && toLeft <= toAboveLeft) return uint8_t(left);
  return uint8_t(toAbove <= toAboveLeft ? above : aboveLeft);
}

// Every filter of one row into `candidates` (kFilterCount lines, each led by
// its filter byte); the filter whose bytes, taken as signed, sum smallest.
int FilterRow(const uint8_t* row, const uint8_t* prior, size_t rowBytes, std::vector<uint8_t>* candidates) {
  constexpr size_t kPixelBytes = 3;
  uint8_t* out[kFilterCount];
  for (int f = 0; f < kFilterCount; ++f) {
    out[f] = candidates[f].data() + 1;
    candidates[f][0] = uint8_t(f);
  }
  uint32_t sums[kFilterCount] = {};
  for (size_t i = 0; i < rowBytes; ++i) {
    const int left = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
    const int aboveLeft = i >= kPixelBytes ? prior[i - kPixelBytes] : 0;
    const int above = prior[i], value = row[i];
    out[kFilterNone][i] = uint8_t(value);
    out[kFilterSub][i] = uint8_t(value - left);
    out[kFilterUp][i] = uint8_t(value - above);
    out[kFilterAverage][i] = uint8_t(value - (left + above) / 2);
    out[kFilterPaeth][i] = uint8_t(value - PaethPredictor(left, above, aboveLeft));
    for (int f = 0; f < kFilterCount; ++f) {
      const int8_t signedByte = int8_t(out[f][i]);
      sums[f] += uint32_t(signedByte < 0 ? -signedByte : signedByte);
    }
  }
  return int(std::min_element(sums, sums + kFilterCount) - sums);
}

// Full-colour rows, top row first, as red, green, blue, each with its best
// filter. Rows are asked for in order, or a new run starts at any row.
class FilteredRows {
 public:
  explicit FilteredRows(const DibImage& image)
      : image_(image), rowBytes_(PngRowBytes(DibWidth(image), 24)), row_(rowBytes_), prior_(rowBytes_) {
    for (auto& candidate : candidates_) candidate.resize(rowBytes_ + 1);
  }

  // The line of row y: filter byte, then the filtered bytes.
  const std::vector<uint8_t>& Row(int y) {
    if (y == 0) {
      std::fill(prior_.begin(), prior_.end(), 0);
    } else if (y != last_ + 1) {
      LoadRow(y - 1, prior_);
    }
    LoadRow(y, row_);
    const int best = FilterRow(row_.data(), prior_.data(), rowBytes_, candidates_);
    row_.swap(prior_);
    last_ = y;
    return candidates_[best];
  }

 private:
  void LoadRow(int y, std::vector<uint8_t>& out) const {
    const size_t stride = DibRowStride(DibWidth(image_), 24);
    const uint8_t* stored = DibPixels(image_) + size_t(DibHeight(image_) - 1 - y) * stride;
    for (size_t i = 0; i < rowBytes_; i += 3) {
      out[i] = stored[i + 2];
      out[i + 1] = stored[i + 1];
      out[i + 2] = stored[i];
    }
  }

  const DibImage& image_;
  size_t rowBytes_;
  int last_ = -2;
  std::vector<uint8_t> row_, prior_;
  std::vector<uint8_t> candidates_[kFilterCount];
};

bool CountBytes(void* context, const uint8_t*, size_t size) {
  *static_cast<size_t*>(context) += size;
  return true;
}

// Rows of the sample that picks the strategy: 8 in every 64.
bool InSample(int y) { return y % 64 < 8; }

// Bytes that the sample rows take with a zlib strategy; 0 on failure.
size_t SampleBytes(const DibImage& image, int strategy) {
  size_t bytes = 0;
  const ByteSink counter = {&bytes, CountBytes};
  IdatStream idat(counter, strategy);
  FilteredRows rows(image);
  if (!idat.open()) return 0;
  for (int y = 0; y < DibHeight(image); ++y) {
    if (!InSample(y)) continue;
    const std::vector<uint8_t>& line = rows.Row(y);
    if (!idat.Add(line.data(), line.size())) return 0;
  }
  return idat.Finish() ? bytes : 0;
}

// zlib's strategy for full-colour rows. Photographs, whose filtered rows are
// mostly noise with few repeats, compress best (and many times faster) by
// runs only; drawings and screen pictures need the search for repeats of
// the strategy for filtered data. A sample of the rows decides.
int FullColorStrategy(const DibImage& image) {
  const size_t byRuns = SampleBytes(image, Z_RLE), byRepeats = SampleBytes(image, Z_FILTERED);
  return byRuns != 0 && byRuns <= byRepeats ? Z_RLE : Z_FILTERED;
}

bool PutFullColorRows(IdatStream& idat, const DibImage& image) {
  FilteredRows rows(image);
  for (int y = 0; y < DibHeight(image); ++y) {
    const std::vector<uint8_t>& line = rows.Row(y);
    if (!idat.Add(line.data(), line.size())) return false;
  }
  return true;
}

}  // namespace

bool WritePng(const ByteSink& sink, const DibImage& image, const PngOptions& options) {
  if (!IsWritable(image)) return false;
  const bool fullColor = DibBitCount(image) == 24;
  const int index = options.transparentIndex.value_or(-1);
  const int transparentIndex = !fullColor && index >= 0 && index < (1 << DibBitCount(image)) ? index : -1;
  if (!PutHeader(sink, image)) return false;
  if (!fullColor && !PutPalette(sink, image, transparentIndex)) return false;
  if (!PutTexts(sink, options.texts)) return false;
  IdatStream idat(sink, fullColor ? FullColorStrategy(image) : Z_DEFAULT_STRATEGY);
  if (!idat.open()) return false;
  const bool rows = fullColor ? PutFullColorRows(idat, image) : PutPaletteRows(idat, image);
  return rows && idat.Finish() && PutChunk(sink, "IEND", nullptr, 0);
}

bool WritePngFile(const Owner* owner, const char* path, const DibImage& image, const PngOptions& options) {
  SafeFileWriter writer;
  if (!writer.Open(path, "VT")) {
    OwnerWarn(owner, TextOf(IDS_CANNOT_OPEN_FILE), path);
    return false;
  }
  return WritePng(FileSink(writer.file()), image, options) && writer.Commit();
}

bool WritePngFile(const DibImage& image, const std::string& path, const PngOptions& options) {
  return WritePngFile(nullptr, path.c_str(), image, options);
}

std::string ReadPngText(const char* path, const std::string& keyword) {
  constexpr uint32_t kMostTextBytes = 4096;
  FilePtr file = OpenFile(path, "rb");
  if (!file) return {};
  const long long size = FileSizeOf(file.get());
  uint8_t signature[sizeof kSignature];
  if (size < 0 || std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
      std::memcmp(signature, kSignature, sizeof signature) != 0) {
    return {};
  }
  long long offset = sizeof kSignature;
  uint8_t head[8];
  while (offset + 12 <= size && std::fread(head, 1, sizeof head, file.get()) == sizeof head) {
    const uint32_t length = LoadBigU32(head);
    // PNG chunks hold less than 2^31 bytes, which a long can skip everywhere.
    if (length > 0x7FFFFFF0u || length > size - offset - 12 || std::memcmp(head + 4, "IEND", 4) == 0) break;
    offset += 12 + (long long)length;
    if (std::memcmp(head + 4, "tEXt", 4) != 0 || length > kMostTextBytes) {
      if (std::fseek(file.get(), long(length) + 4, SEEK_CUR) != 0) break;
      continue;
    }
    std::vector<uint8_t> data(size_t(length) + 4);
    if (std::fread(data.data(), 1, data.size(), file.get()) != data.size()) break;
    uLong crc = crc32(0L, head + 4, 4);
    crc = crc32(crc, data.data(), uInt(length));
    const std::string chunk(data.begin(), data.begin() + length);
    if (uint32_t(crc) == LoadBigU32(data.data() + length) && chunk.size() > keyword.size() &&
        chunk.compare(0, keyword.size(), keyword) == 0 && chunk[keyword.size()] == '\0') {
      return chunk.substr(keyword.size() + 1);
    }
  }
  return {};
}
