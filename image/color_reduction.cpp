#include "image/color_reduction.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "base/texts.h"

namespace {

constexpr int kTallyLimit = 1500;  // more distinct keys coarsen the mask
constexpr uint32_t kPureWhite = 0xFFFFFF;

uint8_t RedOf(uint32_t key) { return uint8_t(key); }
uint8_t GreenOf(uint32_t key) { return uint8_t(key >> 8); }
uint8_t BlueOf(uint32_t key) { return uint8_t(key >> 16); }

// The tally of colour keys in the order they were first seen, with a hash
// index over it, so that every visited pixel finds its key in constant time.
struct ColorTally {
  static constexpr int kIndexSize = 4096;  // a power of two above kTallyLimit

  uint32_t keys[kTallyLimit + 1];
  uint32_t counts[kTallyLimit + 1];
  int size = 0;
  uint16_t index[kIndexSize];  // entry number + 1; 0 is free

  static uint32_t HashOf(uint32_t key) { return (key * 0x9E3779B1u) >> 20; }

  // The two preset entries, black and white under the mask, both uncounted.
  void Reset(uint32_t mask) {
    size = 0;
    std::memset(index, 0, sizeof index);
    Add(0);
    Add(mask * 0x010101u);
    counts[0] = counts[1] = 0;
  }
  // Adds a new key with count 1; false once the tally holds too many.
  bool Add(uint32_t key) {
    uint32_t slot = HashOf(key);
    while (index[slot]) slot = (slot + 1) & (kIndexSize - 1);
    keys[size] = key;
    counts[size] = 1;
    index[slot] = uint16_t(++size);
    return size <= kTallyLimit;
  }
  // Counts one pixel's key; false once the tally holds too many.
  bool Count(uint32_t key) {
    for (uint32_t slot = HashOf(key); index[slot]; slot = (slot + 1) & (kIndexSize - 1)) {
      if (keys[index[slot] - 1] == key) {
        ++counts[index[slot] - 1];
        return true;
      }
    }
    return Add(key);
  }
};

// One counting pass over rows 0, stepY, ... (bottom row first) and columns
// 0, stepX, ... of 24-bit rows; false when the tally overflowed.
bool CountPass(const DibImage& image, uint32_t mask, int stepX, int stepY, ColorTally& tally) {
  const int width = DibWidth(image), height = DibHeight(image);
  const size_t stride = DibRowStride(width, 24);
  tally.Reset(mask);
  for (int y = 0; y < height; y += stepY) {
    const uint8_t* row = DibPixels(image) + y * stride;
    for (int x = 0; x < width; x += stepX) {
      const uint8_t* pixel = row + 3 * x;
      const uint32_t key = (pixel[2] & mask) | (pixel[1] & mask) << 8 | (pixel[0] & mask) << 16;
      if (!tally.Count(key)) return false;
    }
  }
  return true;
}

// The keys of the 256 slots, most frequent first.
void PopularColors(const DibImage& image, uint32_t startMask, int stepX, int stepY, uint32_t slotKeys[256]) {
  ColorTally tally;
  // Under the mask 0xE0 at most 512 keys exist, so the passes come to an end.
  uint32_t mask = startMask;
  while (!CountPass(image, mask, stepX, stepY, tally)) mask = (mask << 1) & 0xFF;
  tally.keys[1] = kPureWhite;

  int order[kTallyLimit + 1];
  int counted = 0;
  for (int i = 0; i < tally.size; ++i) {
    if (tally.counts[i] > 0) order[counted++] = i;
  }
  const int slots = std::min(counted, 256);
  std::partial_sort(order, order + slots, order + counted, [&tally](int a, int b) {
    return tally.counts[a] != tally.counts[b] ? tally.counts[a] > tally.counts[b] : a < b;
  });
  for (int s = 0; s < 256; ++s) slotKeys[s] = tally.keys[s < slots ? order[s] : 0];
}

// Reading pixels as 24-bit rows stays inside the block.
bool IsCountable(const DibImage& image) { return DibBitCount(image) >= 16 && DibTotalSize(image) <= image.blockSize; }

// The nearest entry of a 256-colour table for every 24-bit colour, worked out
// when first asked for. The colour cube is cut into cells of 8 x 8 x 8
// colours. When a colour of a cell is first asked for, the entries that can
// be nearest to some colour of the cell are listed (those whose least
// distance to the cell is not above the least farthest distance of any
// entry), and the answers for all 512 colours of the cell come from that
// short list. Entries repeating an earlier colour never win and are left out.
struct NearestColorMap {
  static constexpr int kCellBits = 3;
  static constexpr int kCellSide = 1 << kCellBits;
  static constexpr int kCells = 1 << (3 * (8 - kCellBits));

  const RgbQuad* table;
  int distinct[256];
  int distinctCount = 0;
  std::unique_ptr<uint8_t[]> answers;  // a cell's 512 answers lie together
  std::unique_ptr<bool[]> cellDone;

  explicit NearestColorMap(const RgbQuad* colorTable)
      : table(colorTable),
        answers(new (std::nothrow) uint8_t[size_t(kCells) * kCellSide * kCellSide * kCellSide]),
        cellDone(new (std::nothrow) bool[kCells]()) {
    for (int i = 0; i < 256; ++i) {
      bool seen = false;
      for (int j = 0; j < i && !seen; ++j) {
        seen = table[j].red == table[i].red && table[j].green == table[i].green && table[j].blue == table[i].blue;
      }
      if (!seen) distinct[distinctCount++] = i;
    }
  }
  bool Ready() const { return answers && cellDone; }

  static int CellOf(int red, int green, int blue) {
    return (red >> kCellBits) << (2 * (8 - kCellBits)) | (green >> kCellBits) << (8 - kCellBits) | (blue >> kCellBits);
  }
  static int WithinCell(int red, int green, int blue) {
    const int low = kCellSide - 1;
    return (red & low) << (2 * kCellBits) | (green & low) << kCellBits | (blue & low);
  }

  uint8_t Nearest(int red, int green, int blue) {
    const int cell = CellOf(red, green, blue);
    if (!cellDone[cell]) FillCell(red & ~(kCellSide - 1), green & ~(kCellSide - 1), blue & ~(kCellSide - 1), cell);
    return answers[size_t(cell) * kCellSide * kCellSide * kCellSide + WithinCell(red, green, blue)];
  }

  // Squared distances along one axis from c to the nearest and the farthest
  // value of low ... low + kCellSide - 1.
  static void AxisDistances(int c, int low, int& nearest, int& farthest) {
    const int high = low + kCellSide - 1;
    const int near = c < low ? low - c : c > high ? c - high : 0;
    const int far = std::max(c - low, high - c);
    nearest += near * near;
    farthest += far * far;
  }

  void FillCell(int red0, int green0, int blue0, int cell) {
    int nearest[256], bound = 1 << 30;
    for (int k = 0; k < distinctCount; ++k) {
      const RgbQuad& e = table[distinct[k]];
      int farthest = 0;
      nearest[k] = 0;
      AxisDistances(e.red, red0, nearest[k], farthest);
      AxisDistances(e.green, green0, nearest[k], farthest);
      AxisDistances(e.blue, blue0, nearest[k], farthest);
      bound = std::min(bound, farthest);
    }
    int candidates[256], candidateCount = 0;
    for (int k = 0; k < distinctCount; ++k) {
      if (nearest[k] <= bound) candidates[candidateCount++] = distinct[k];
    }
    uint8_t* out = &answers[size_t(cell) * kCellSide * kCellSide * kCellSide];
    for (int r = red0; r < red0 + kCellSide; ++r) {
      for (int g = green0; g < green0 + kCellSide; ++g) {
        for (int b = blue0; b < blue0 + kCellSide; ++b) *out++ = uint8_t(NearestAmong(candidates, candidateCount, r, g, b));
      }
    }
    cellDone[cell] = true;
  }

  // The lowest-index entry at the least squared distance; the list is in index order.
  int NearestAmong(const int* candidates, int count, int red, int green, int blue) const {
    int best = candidates[0], bestDistance = 1 << 30;
    for (int k = 0; k < count; ++k) {
      const RgbQuad& e = table[candidates[k]];
      const int dr = e.red - red, dg = e.green - green, db = e.blue - blue;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = candidates[k];
      }
    }
    return best;
  }
};

// Every pixel of a 24-bit image as the index of its nearest colour in the
// 8-bit target's table; false when memory runs out.
bool MapToNearestColors(const DibImage& source, DibImage& target) {
  NearestColorMap map(DibColorTable(target));
  if (!map.Ready()) return false;
  const int width = DibWidth(source), height = DibHeight(source);
  const size_t sourceStride = DibRowStride(width, 24), targetStride = DibRowStride(width, 8);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = DibPixels(source) + y * sourceStride;
    uint8_t* out = DibPixels(target) + y * targetStride;
    for (int x = 0; x < width; ++x, in += 3) out[x] = map.Nearest(in[2], in[1], in[0]);
  }
  return true;
}

}  // namespace

bool ComputeDisplayColorTable(const DibImage& image, DisplayColorTable& table) {
  if (!IsCountable(image)) return false;
  uint32_t keys[256];
  PopularColors(image, 0xF0, DibWidth(image) / 200 + 1, DibHeight(image) / 200 + 1, keys);
  for (int i = 0; i < 256; ++i) {
    table.red[i] = RedOf(keys[i]);
    table.green[i] = GreenOf(keys[i]);
    table.blue[i] = BlueOf(keys[i]);
  }
  return true;
}

DibImagePtr ReduceTo256Colors(const Owner* owner, const DibImage& image) {
  if (!IsCountable(image)) return nullptr;
  CaptionScope caption(owner);
  caption.Show(TextOf(IDS_REDUCING_COLORS));
  const int width = DibWidth(image), height = DibHeight(image);
  uint32_t keys[256];
  PopularColors(image, 0xFF, width > 300 ? 3 : 1, height > 300 ? 3 : 1, keys);
  DibImagePtr reduced = CreateDibImage(width, height, 8);
  if (!reduced) return nullptr;
  RgbQuad* table = DibColorTable(*reduced);
  for (int s = 0; s < 256; ++s) table[s] = {BlueOf(keys[s]), GreenOf(keys[s]), RedOf(keys[s]), 0};
  if (!MapToNearestColors(image, *reduced)) return nullptr;
  return reduced;
}
