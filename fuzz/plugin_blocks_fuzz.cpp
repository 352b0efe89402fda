// Two halves of the plug-in path. With an even first byte the rest is a
// helper's reply: joined and held as the program does, and the result must
// be a whole held image; read as the answers of a start-up helper, every
// record read must encode back to the very bytes it came from. With an odd first byte the rest is a BGRA picture
// (width and height from the next two bytes) that the shipped plug-in turns
// into its two blocks: those must always join, hold, and keep every colour.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/byte_order.h"
#include "image/normalize.h"
#include "plugins/plugin_blocks.h"
#include "plugins/plugin_discovery.h"
#include "plugins/wic_picture.h"

namespace {

// Run-length pixels may describe a picture far larger than themselves;
// such inputs are skipped so that a run stays within its memory limit.
constexpr int64_t kMaxPixels = 4 << 20;

void CheckHeld(const DibImage& image) {
  const int depth = DibBitCount(image);
  if (DibHeaderSize(image) != kInfoHeaderSize || DibInfoField(image, kBiCompression) != kBiRgb ||
      (depth != 1 && depth != 4 && depth != 8 && depth != 24) || DibTotalSize(image) > image.blockSize)
    std::abort();
}

void FuzzReply(const uint8_t* data, size_t size) {
  DibImagePtr joined = DecodePluginReply(data, size);
  if (!joined) return;
  const uint8_t* header = joined->start();
  if (LoadU32(header) != kCoreHeaderSize &&
      std::llabs(int64_t(LoadI32(header + kBiWidth))) * std::llabs(int64_t(LoadI32(header + kBiHeight))) > kMaxPixels)
    return;
  DibImagePtr image = NormalizeImage(nullptr, std::move(joined));
  if (image) CheckHeld(*image);
}

void FuzzAnswers(const uint8_t* data, size_t size) {
  size_t at = 0;
  for (const PluginAnswers& answers : DecodePluginAnswers(data, size)) {
    const std::vector<uint8_t> again = EncodePluginAnswers(answers);
    if (again.size() > size - at || std::memcmp(again.data(), data + at, again.size()) != 0) std::abort();
    at += again.size();
  }
}

void FuzzHandBack(const uint8_t* data, size_t size) {
  if (size < 2) return;
  const int width = data[0] % 64 + 1, height = data[1] % 64 + 1;
  const size_t bgraSize = size_t(width) * height * 4;
  if (size - 2 < bgraSize) return;
  const uint8_t* bgra = data + 2;
  const int depth = WicOutputDepth(bgra, uint64_t(width) * height);
  std::vector<uint8_t> header(kWicHeaderBlockSize), pixels(WicPixelBlockSize(width, height, depth));
  WriteWicHeader(header.data(), width, height, depth);
  WriteWicPixels(bgra, width, height, depth, pixels.data());
  DibImagePtr joined = JoinPluginBlocks(header.data(), header.size(), pixels.data(), pixels.size());
  if (!joined) std::abort();
  DibImagePtr image = NormalizeImage(nullptr, std::move(joined));
  if (!image) std::abort();
  CheckHeld(*image);
  const size_t stride = DibRowStride(width, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (std::memcmp(DibPixels(*image) + size_t(height - 1 - y) * stride + 3 * x, bgra + 4 * (y * width + x), 3))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    FuzzReply(data + 1, size - 1);
    FuzzAnswers(data + 1, size - 1);
  } else
    FuzzHandBack(data + 1, size - 1);
  return 0;
}
