#include "plugins/plugin_blocks.h"

#include <cstring>

#include "base/byte_order.h"
#include "image/bmp_file.h"

namespace {

const uint8_t kReplyMagic[4] = {'V', 'P', 'B', '1'};
constexpr size_t kReplyHeaderSize = 12;

// Where the header block puts things, read from the header and checked
// against the block.
struct BlockLayout {
  uint64_t pixelOffset = 0;  // header, masks and colour table
  uint64_t pixelBytes = 0;   // needed from the pixel block; 0 for run lengths
};

bool ReadBlockLayout(const uint8_t* header, size_t headerSize, BlockLayout& layout) {
  DibHeader dib;
  if (!ReadDibHeader(header, headerSize, dib) || dib.depth < 1 || dib.depth > 32) return false;
  layout.pixelOffset = dib.pixelOffset;
  const bool runLengths = dib.compression == kBiRle8 || dib.compression == kBiRle4;
  layout.pixelBytes = runLengths ? 0 : BitmapRowStride(uint64_t(dib.width), dib.depth) * uint64_t(dib.height);
  return true;
}

// Hands the plug-in's blocks back to it on every way out.
struct HandedBlocks {
  const PluginDecodeCalls& calls;
  void* header = nullptr;
  void* pixels = nullptr;
  ~HandedBlocks() {
    for (void* block : {header, pixels})
      if (block) calls.release(calls.context, block);
  }
};

// A block's bytes while it is locked.
struct LockedBlock {
  const PluginDecodeCalls& calls;
  void* block;
  const uint8_t* bytes;
  LockedBlock(const PluginDecodeCalls& c, void* b) : calls(c), block(b), bytes(c.lock(c.context, b)) {}
  ~LockedBlock() {
    if (bytes) calls.unlock(calls.context, block);
  }
};

}  // namespace

DibImagePtr JoinPluginBlocks(const uint8_t* header, size_t headerSize, const uint8_t* pixels, size_t pixelSize) {
  BlockLayout layout;
  if (!header || !pixels || !ReadBlockLayout(header, headerSize, layout)) return nullptr;
  const uint64_t pixelBytes = layout.pixelBytes ? layout.pixelBytes : pixelSize;
  if (pixelBytes > pixelSize || pixelBytes == 0) return nullptr;
  DibImagePtr image = AllocateDibBlock(size_t(layout.pixelOffset + pixelBytes));
  if (!image) return nullptr;
  std::memcpy(image->start(), header, size_t(layout.pixelOffset));
  std::memcpy(image->start() + layout.pixelOffset, pixels, size_t(pixelBytes));
  return image;
}

std::vector<uint8_t> EncodePluginReply(const uint8_t* header, size_t headerSize, const uint8_t* pixels,
                                       size_t pixelSize) {
  std::vector<uint8_t> reply(kReplyHeaderSize + headerSize + pixelSize);
  std::memcpy(reply.data(), kReplyMagic, 4);
  StoreU32(reply.data() + 4, uint32_t(headerSize));
  StoreU32(reply.data() + 8, uint32_t(pixelSize));
  if (headerSize) std::memcpy(reply.data() + kReplyHeaderSize, header, headerSize);
  if (pixelSize) std::memcpy(reply.data() + kReplyHeaderSize + headerSize, pixels, pixelSize);
  return reply;
}

DibImagePtr DecodePluginReply(const uint8_t* reply, size_t size) {
  if (size < kReplyHeaderSize || std::memcmp(reply, kReplyMagic, 4) != 0) return nullptr;
  const uint64_t headerSize = LoadU32(reply + 4), pixelSize = LoadU32(reply + 8);
  if (kReplyHeaderSize + headerSize + pixelSize != size) return nullptr;
  const uint8_t* header = reply + kReplyHeaderSize;
  return JoinPluginBlocks(header, size_t(headerSize), header + headerSize, size_t(pixelSize));
}

PluginDecodeStatus DecodeWithPlugin(const PluginDecodeCalls& calls, const char* path, const uint8_t* head,
                                    std::vector<uint8_t>& reply) {
  if (!calls.isSupported || !calls.isSupported(calls.context, path, head)) return PluginDecodeStatus::kNotSupported;
  if (!calls.getPicture) return PluginDecodeStatus::kFailed;
  HandedBlocks blocks{calls};
  const int result = calls.getPicture(calls.context, path, &blocks.header, &blocks.pixels);
  if (result != 0 || !blocks.header || !blocks.pixels) return PluginDecodeStatus::kFailed;
  const size_t headerSize = calls.blockSize(calls.context, blocks.header);
  const size_t pixelSize = calls.blockSize(calls.context, blocks.pixels);
  if (headerSize > kMaxPluginBlockSize || pixelSize > kMaxPluginBlockSize) return PluginDecodeStatus::kUnusable;
  LockedBlock header(calls, blocks.header), pixels(calls, blocks.pixels);
  if (!header.bytes || !pixels.bytes) return PluginDecodeStatus::kUnusable;
  reply = EncodePluginReply(header.bytes, headerSize, pixels.bytes, pixelSize);
  return PluginDecodeStatus::kDelivered;
}
