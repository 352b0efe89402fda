// MakePatternImage at 1600 x 1200 with a 16-colour set (4-bit picture) and a
// 64-colour set (8-bit), in every mirror mode, against the plain cell-by-cell
// growth of pattern_baseline.h. Before timing, both are checked to give the
// identical picture in every case. Rates are cells grown per second, the
// unseen passes included. BM_MakePatternImageAtSize sets the rate at
// 1600 x 1200 beside the rate at 7680 x 4320 (two screens of 3840 x 2160
// side by side, twice over), which should be the same.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "testing/pattern_baseline.h"

namespace {

constexpr int kWidth = 1600, kHeight = 1200;
constexpr int kInitialNumber = 5;
constexpr int64_t kTime = 1700000000;

const std::string& PatternFile() {
  static const std::string path = [] {
    const std::string file = (std::filesystem::temp_directory_path() / "vitrelle_generator_bench.cfg").string();
    std::ofstream(file, std::ios::binary) << "0\r\n0\r\n"
                                             "4,Sixteen,4,4,0,0,40,0,160,200,255,255,255,40,0,80\r\n"
                                             "4,Sixty-four,4,20,0,0,40,0,160,200,255,255,255,40,0,80\r\n";
    return file;
  }();
  return path;
}

MakeSettings Settings(int colorSet, int mirrorMode) {
  MakeSettings settings;
  const int32_t values[kPatternValueCount] = {0, 0, 1, 2, 3, 2, 1, 9, 0, 20, kInitialNumber};
  std::copy(values, values + kPatternValueCount, settings.field + kFirstPatternField);
  settings[kColorSetIndex] = colorSet;
  settings[kMirrorMode] = mirrorMode;
  return settings;
}

using MakeFunction = DibImagePtr (*)(const Owner*, const MakeSettings&, int, int, const std::string&, int64_t,
                                     GeneratorState&);

// The generator without its recipe, in the shape of the baseline.
DibImagePtr MakeFast(const Owner* owner, const MakeSettings& settings, int width, int height,
                     const std::string& patternFile, int64_t time, GeneratorState& state) {
  return MakePatternImage(owner, settings, width, height, patternFile, time, state);
}

DibImagePtr MakeWith(MakeFunction make, int colorSet, int mirrorMode, int width = kWidth, int height = kHeight) {
  GeneratorState state;
  return make(nullptr, Settings(colorSet, mirrorMode), width, height, PatternFile(), kTime, state);
}

void Grow(benchmark::State& state, MakeFunction make) {
  const int colorSet = int(state.range(0)), mirrorMode = int(state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(MakeWith(make, colorSet, mirrorMode));
  state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * (kHeight + kInitialNumber));
}

void BM_MakePatternImage(benchmark::State& state) { Grow(state, MakeFast); }
void BM_MakePatternImageBaseline(benchmark::State& state) { Grow(state, MakePatternImageBaseline); }

// Arguments: the colour set (0: 16 colours, 4-bit; 1: 64 colours, 8-bit) and
// the MirrorMode (normal, vertical, cross, kaleidoscope).
void EveryCase(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"8bit", "mirror"})->ArgsProduct({{0, 1}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_MakePatternImage)->Apply(EveryCase);
BENCHMARK(BM_MakePatternImageBaseline)->Apply(EveryCase);

// Arguments: the colour set as above and the width (the height is in the
// same proportion as 7680 x 4320, or 1200 at 1600).
void BM_MakePatternImageAtSize(benchmark::State& state) {
  const int colorSet = int(state.range(0)), width = int(state.range(1));
  const int height = width == kWidth ? kHeight : width * 9 / 16;
  for (auto _ : state) benchmark::DoNotOptimize(MakeWith(MakeFast, colorSet, 0, width, height));
  state.SetItemsProcessed(int64_t(state.iterations()) * width * (height + kInitialNumber));
}
BENCHMARK(BM_MakePatternImageAtSize)
    ->ArgNames({"8bit", "width"})
    ->ArgsProduct({{0, 1}, {kWidth, 7680}})
    ->Unit(benchmark::kMillisecond);

bool SamePictures() {
  for (int colorSet : {0, 1}) {
    for (int mirrorMode : {0, 1, 2, 3}) {
      DibImagePtr fast = MakeWith(MakeFast, colorSet, mirrorMode);
      DibImagePtr plain = MakeWith(MakePatternImageBaseline, colorSet, mirrorMode);
      if (!fast || !plain || DibTotalSize(*fast) != DibTotalSize(*plain) ||
          std::memcmp(fast->start(), plain->start(), DibTotalSize(*fast)) != 0) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const bool same = SamePictures();
  std::printf("MakePatternImage and the baseline give %s pictures\n", same ? "identical" : "DIFFERENT");
  if (same) benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(PatternFile());
  return same ? 0 : 1;
}
