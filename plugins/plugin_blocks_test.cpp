#include "plugins/plugin_blocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "base/byte_order.h"

namespace {

// A 40-byte header of the given picture, followed by `entries` table entries.
std::vector<uint8_t> InfoHeader(int width, int height, int depth, uint32_t compression = kBiRgb,
                                uint32_t colorsUsed = 0, size_t entries = 0) {
  std::vector<uint8_t> header(kInfoHeaderSize + 4 * entries);
  StoreU32(header.data(), kInfoHeaderSize);
  StoreI32(header.data() + kBiWidth, width);
  StoreI32(header.data() + kBiHeight, height);
  header[kBiPlanes] = 1;
  header[kBiBitCount] = uint8_t(depth);
  StoreU32(header.data() + kBiCompression, compression);
  StoreU32(header.data() + kBiClrUsed, colorsUsed);
  for (size_t i = 0; i < entries; ++i) header[kInfoHeaderSize + 4 * i] = uint8_t(i + 1);
  return header;
}

DibImagePtr Join(const std::vector<uint8_t>& header, const std::vector<uint8_t>& pixels) {
  return JoinPluginBlocks(header.data(), header.size(), pixels.data(), pixels.size());
}

TEST(PluginBlocks, PutsThePixelsRightAfterTheTable) {
  // Blocks larger than their content, as the memory manager hands them out.
  std::vector<uint8_t> header = InfoHeader(3, 2, 8, kBiRgb, 2, 2);
  header.resize(header.size() + 24, 0xEE);
  std::vector<uint8_t> pixels = {1, 0, 1, 0, 0, 1, 0, 0, 0xEE, 0xEE};
  DibImagePtr image = Join(header, pixels);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->blockSize, kInfoHeaderSize + 8 + 8);
  EXPECT_EQ(DibColorTable(*image)[1].blue, 2);
  EXPECT_EQ(0, std::memcmp(DibPixels(*image), pixels.data(), 8));

  // Top-down rows, a core header and bit-field masks after a 40-byte header.
  EXPECT_TRUE(Join(InfoHeader(2, -2, 24), std::vector<uint8_t>(16)));
  std::vector<uint8_t> core = {12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 9, 9, 9};
  DibImagePtr coreImage = Join(core, {0x40, 0, 0, 0});
  ASSERT_TRUE(coreImage);
  EXPECT_EQ(coreImage->start()[core.size()], 0x40);
  std::vector<uint8_t> fields = InfoHeader(1, 1, 16, kBiBitFields);
  fields.resize(fields.size() + 12);
  DibImagePtr fieldImage = Join(fields, {1, 2, 3, 4});
  ASSERT_TRUE(fieldImage);
  EXPECT_EQ(fieldImage->blockSize, kInfoHeaderSize + 12 + 4);
}

TEST(PluginBlocks, RefusesBlocksSmallerThanTheirHeaderPromises) {
  EXPECT_FALSE(Join(InfoHeader(3, 2, 24), std::vector<uint8_t>(23)));           // rows missing
  EXPECT_FALSE(Join(InfoHeader(3, 2, 8, kBiRgb, 0, 255), std::vector<uint8_t>(8)));  // table short
  EXPECT_FALSE(Join(InfoHeader(1, 1, 8, kBiRgb, 0x40000000, 0), std::vector<uint8_t>(4)));
  std::vector<uint8_t> shortHeader = InfoHeader(1, 1, 24);
  shortHeader.resize(30);
  EXPECT_FALSE(Join(shortHeader, std::vector<uint8_t>(4)));
  EXPECT_FALSE(Join(InfoHeader(1, 1, 16, kBiBitFields), std::vector<uint8_t>(4)));  // no masks
  EXPECT_FALSE(Join({12, 0, 0}, std::vector<uint8_t>(4)));
  EXPECT_FALSE(Join(InfoHeader(0, 1, 24), std::vector<uint8_t>(4)));
  EXPECT_FALSE(Join(InfoHeader(40000, 1, 24), std::vector<uint8_t>(120000)));
  EXPECT_FALSE(Join(InfoHeader(1, INT32_MIN, 24), std::vector<uint8_t>(4)));
  EXPECT_FALSE(Join(InfoHeader(32767, 32767, 32), std::vector<uint8_t>(4)));
  // Run lengths are taken whole, but there must be some.
  EXPECT_TRUE(Join(InfoHeader(4, 4, 8, kBiRle8, 1, 1), {0, 1}));
  EXPECT_FALSE(Join(InfoHeader(4, 4, 8, kBiRle8, 1, 1), {}));
}

TEST(PluginBlocks, ReplyCarriesBothBlocksAndIsCheckedWhole) {
  const std::vector<uint8_t> header = InfoHeader(1, 1, 24), pixels = {1, 2, 3, 0};
  std::vector<uint8_t> reply = EncodePluginReply(header.data(), header.size(), pixels.data(), pixels.size());
  DibImagePtr image = DecodePluginReply(reply.data(), reply.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(DibPixels(*image)[2], 3);

  EXPECT_FALSE(DecodePluginReply(reply.data(), reply.size() - 1));
  reply.push_back(0);
  EXPECT_FALSE(DecodePluginReply(reply.data(), reply.size()));
  reply.pop_back();
  StoreU32(reply.data() + 4, 0xFFFFFFF0u);  // sizes that wrap around
  EXPECT_FALSE(DecodePluginReply(reply.data(), reply.size()));
  reply[0] = 'X';
  EXPECT_FALSE(DecodePluginReply(reply.data(), reply.size()));
  EXPECT_FALSE(DecodePluginReply(reply.data(), 3));
}

// A fake plug-in behind the helper's calls: blocks are vectors that must all
// be released, and every lock undone.
struct FakeDecoder {
  bool supports = true;
  int result = 0;
  bool giveHeader = true, givePixels = true;
  std::vector<uint8_t> header = InfoHeader(1, 1, 24), pixels = {9, 8, 7, 0};
  std::map<void*, std::vector<uint8_t>*> live;
  int locks = 0;
  std::string askedPath;
};

PluginDecodeCalls CallsOf(FakeDecoder& fake) {
  PluginDecodeCalls calls;
  calls.context = &fake;
  calls.isSupported = [](void* context, const char* path, const uint8_t* head) {
    auto& f = *static_cast<FakeDecoder*>(context);
    f.askedPath = path;
    return int(f.supports && head[0] == 'P');
  };
  calls.getPicture = [](void* context, const char*, void** header, void** pixels) {
    auto& f = *static_cast<FakeDecoder*>(context);
    if (f.giveHeader) f.live[*header = new std::vector<uint8_t>(f.header)] = nullptr;
    if (f.givePixels) f.live[*pixels = new std::vector<uint8_t>(f.pixels)] = nullptr;
    return f.result;
  };
  calls.blockSize = [](void*, void* block) { return static_cast<std::vector<uint8_t>*>(block)->size(); };
  calls.lock = [](void* context, void* block) -> const uint8_t* {
    ++static_cast<FakeDecoder*>(context)->locks;
    return static_cast<std::vector<uint8_t>*>(block)->data();
  };
  calls.unlock = [](void* context, void*) { --static_cast<FakeDecoder*>(context)->locks; };
  calls.release = [](void* context, void* block) {
    static_cast<FakeDecoder*>(context)->live.erase(block);
    delete static_cast<std::vector<uint8_t>*>(block);
  };
  return calls;
}

TEST(PluginDecoding, DeliversBothBlocksAndReleasesThem) {
  FakeDecoder fake;
  uint8_t head[kPluginHeadSize] = {'P'};
  std::vector<uint8_t> reply;
  EXPECT_EQ(DecodeWithPlugin(CallsOf(fake), "C:\\a.png", head, reply), PluginDecodeStatus::kDelivered);
  EXPECT_EQ(fake.askedPath, "C:\\a.png");
  EXPECT_TRUE(fake.live.empty());
  EXPECT_EQ(fake.locks, 0);
  DibImagePtr image = DecodePluginReply(reply.data(), reply.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(DibPixels(*image)[0], 9);
}

TEST(PluginDecoding, FailuresAndMissingExportsCountAsNoPicture) {
  uint8_t head[kPluginHeadSize] = {'P'}, otherHead[kPluginHeadSize] = {'Q'};
  std::vector<uint8_t> reply;
  FakeDecoder fake;
  EXPECT_EQ(DecodeWithPlugin(CallsOf(fake), "f", otherHead, reply), PluginDecodeStatus::kNotSupported);

  PluginDecodeCalls noIsSupported = CallsOf(fake);
  noIsSupported.isSupported = nullptr;
  EXPECT_EQ(DecodeWithPlugin(noIsSupported, "f", head, reply), PluginDecodeStatus::kNotSupported);
  PluginDecodeCalls noGetPicture = CallsOf(fake);
  noGetPicture.getPicture = nullptr;
  EXPECT_EQ(DecodeWithPlugin(noGetPicture, "f", head, reply), PluginDecodeStatus::kFailed);

  // A failure result or a missing block releases whatever was handed over.
  fake.result = 2;
  EXPECT_EQ(DecodeWithPlugin(CallsOf(fake), "f", head, reply), PluginDecodeStatus::kFailed);
  fake.result = 0;
  fake.givePixels = false;
  EXPECT_EQ(DecodeWithPlugin(CallsOf(fake), "f", head, reply), PluginDecodeStatus::kFailed);
  EXPECT_TRUE(fake.live.empty());
  EXPECT_TRUE(reply.empty());
}

}  // namespace
