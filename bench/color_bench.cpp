// The colour conversions on a 4000 x 3000 photograph-like picture (smooth
// gradients with noise), against the straightforward reduction as baseline:
// the same popularity count searching its tally linearly for every visited
// pixel, and every pixel matched against all 256 entries. Before timing, the
// two reductions are checked to give the identical colour table and pixels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "base/byte_order.h"
#include "image/color_reduction.h"
#include "image/normalize.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

uint8_t Clamp(double value) { return uint8_t(value < 0 ? 0 : value > 255 ? 255 : value); }

DibImagePtr Photograph() {
  DibImagePtr image = CreateDibImage(kWidth, kHeight, 24);
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0, 6);
  const size_t stride = DibRowStride(kWidth, 24);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = DibPixels(*image) + y * stride;
    for (int x = 0; x < kWidth; ++x) {
      const double u = x / double(kWidth), v = y / double(kHeight);
      row[3 * x] = Clamp(60 + 150 * v + 30 * std::sin(9 * u + 2 * v) + noise(random));
      row[3 * x + 1] = Clamp(40 + 120 * u * v + 60 * std::cos(5 * v - 3 * u) + noise(random));
      row[3 * x + 2] = Clamp(200 - 140 * u + 40 * std::sin(7 * u * v) + noise(random));
    }
  }
  return image;
}

const DibImage& Picture() {
  static DibImagePtr picture = Photograph();
  return *picture;
}

// The baseline: the popularity count and the colour matching done plainly.
namespace baseline {

struct Tally {
  uint32_t keys[1501];
  uint32_t counts[1501];
  int size;
};

bool CountPass(const DibImage& image, uint32_t mask, int stepX, int stepY, Tally& tally) {
  const int width = DibWidth(image), height = DibHeight(image);
  const size_t stride = DibRowStride(width, 24);
  tally.size = 2;
  tally.keys[0] = 0;
  tally.keys[1] = mask * 0x010101u;
  tally.counts[0] = tally.counts[1] = 0;
  for (int y = 0; y < height; y += stepY) {
    const uint8_t* row = DibPixels(image) + y * stride;
    for (int x = 0; x < width; x += stepX) {
      const uint8_t* p = row + 3 * x;
      const uint32_t key = (p[2] & mask) | (p[1] & mask) << 8 | (p[0] & mask) << 16;
      int i = 0;
      while (i < tally.size && tally.keys[i] != key) ++i;
      if (i < tally.size) {
        ++tally.counts[i];
        continue;
      }
      tally.keys[tally.size] = key;
      tally.counts[tally.size++] = 1;
      if (tally.size > 1500) return false;
    }
  }
  return true;
}

DibImagePtr ReduceTo256Colors(const DibImage& image) {
  const int width = DibWidth(image), height = DibHeight(image);
  static Tally tally;
  uint32_t mask = 0xFF;
  while (!CountPass(image, mask, width > 300 ? 3 : 1, height > 300 ? 3 : 1, tally)) mask = (mask << 1) & 0xFF;
  tally.keys[1] = 0xFFFFFF;
  DibImagePtr reduced = CreateDibImage(width, height, 8);
  RgbQuad* table = DibColorTable(*reduced);
  for (int s = 0; s < 256; ++s) {
    int best = -1;
    for (int i = 0; i < tally.size; ++i) {
      if (tally.counts[i] > 0 && (best < 0 || tally.counts[i] > tally.counts[best])) best = i;
    }
    const uint32_t key = best < 0 ? 0 : tally.keys[best];
    if (best >= 0) tally.counts[best] = 0;
    table[s] = {uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key), 0};
  }
  const size_t inStride = DibRowStride(width, 24), outStride = DibRowStride(width, 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = DibPixels(image) + y * inStride + 3 * x;
      int best = 0, bestDistance = 1 << 30;
      for (int i = 0; i < 256; ++i) {
        const int db = table[i].blue - p[0], dg = table[i].green - p[1], dr = table[i].red - p[2];
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) best = i, bestDistance = distance;
      }
      DibPixels(*reduced)[y * outStride + x] = uint8_t(best);
    }
  }
  return reduced;
}

}  // namespace baseline

bool SameReduction(const DibImage& a, const DibImage& b) {
  const size_t size = DibTotalSize(a);
  return size == DibTotalSize(b) && std::memcmp(a.start(), b.start(), size) == 0;
}

// The picture in another stored form, with the same colours.
DibImagePtr Repacked(int depth) {
  const DibImage& picture = Picture();
  const size_t headerBytes = depth == 16 ? 40 + 12 : 40;
  const size_t stride = size_t(BitmapRowStride(kWidth, depth));
  DibImagePtr block = AllocateDibBlock(headerBytes + stride * kHeight);
  std::memcpy(block->start(), picture.start(), 40);
  StoreU16(block->start() + kBiBitCount, uint16_t(depth));
  if (depth == 16) {
    StoreU32(block->start() + kBiCompression, kBiBitFields);
    StoreU32(block->start() + 40, 0xF800);
    StoreU32(block->start() + 44, 0x07E0);
    StoreU32(block->start() + 48, 0x001F);
  }
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* in = DibPixels(picture) + y * DibRowStride(kWidth, 24);
    uint8_t* out = block->start() + headerBytes + y * stride;
    for (int x = 0; x < kWidth; ++x, in += 3) {
      if (depth == 16) {
        StoreU16(out + 2 * x, uint16_t((in[2] >> 3) << 11 | (in[1] >> 2) << 5 | in[0] >> 3));
      } else {
        StoreU32(out + 4 * x, uint32_t(in[0] | in[1] << 8 | in[2] << 16 | 0xA5u << 24));
      }
    }
  }
  return block;
}

void Pixels(benchmark::State& state) {
  state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}

void BM_ReduceTo256Colors(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReduceTo256Colors(nullptr, Picture()));
  Pixels(state);
}

void BM_ReduceTo256ColorsBaseline(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(baseline::ReduceTo256Colors(Picture()));
  Pixels(state);
}

void BM_ComputeDisplayColorTable(benchmark::State& state) {
  DisplayColorTable table;
  for (auto _ : state) benchmark::DoNotOptimize(ComputeDisplayColorTable(Picture(), table));
}

void BM_NormalizeImage(benchmark::State& state) {
  const int depth = int(state.range(0));
  DibImagePtr source = depth == 24 ? CopyDibImage(Picture()) : Repacked(depth);
  for (auto _ : state) {
    state.PauseTiming();
    DibImagePtr copy = CopyDibImage(*source);
    state.ResumeTiming();
    benchmark::DoNotOptimize(NormalizeImage(nullptr, std::move(copy)));
  }
  Pixels(state);
}

BENCHMARK(BM_ReduceTo256Colors)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceTo256ColorsBaseline)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ComputeDisplayColorTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NormalizeImage)->Arg(24)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  DibImagePtr fast = ReduceTo256Colors(nullptr, Picture());
  DibImagePtr plain = baseline::ReduceTo256Colors(Picture());
  const bool same = fast && plain && SameReduction(*fast, *plain);
  std::printf("ReduceTo256Colors and the baseline give %s colour table and pixels\n", same ? "the identical" : "DIFFERENT");
  if (!same) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
