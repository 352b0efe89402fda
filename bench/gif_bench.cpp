// The GIF writer and reader against giflib on two 1600 x 1200 8-bit
// pictures: one grown by the generator (long runs, well compressible) and
// one of random bytes (the worst case, a table clear every ~3800 codes).
// Both sides work in memory. Before timing, the image data of the two
// encoders are compared byte for byte and the decoders' pixels checked.
// Figures are pixels per second; the summary gives the ratio to giflib.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "generator/pattern_file.h"
#include "generator/pattern_image.h"
#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "testing/gif_test_pictures.h"
#include "testing/giflib_peer.h"

namespace {

constexpr int kWidth = 1600, kHeight = 1200;
constexpr int64_t kPixels = int64_t(kWidth) * kHeight;

DibImagePtr GeneratedPicture() {
  const std::string config = std::string(VITRELLE_SOURCE_DIR) + "/resources/vitrelle.cfg";
  MakeSettings settings;
  if (!LoadMakeSettings(nullptr, config, SettingsLine::kState, settings)) return nullptr;
  GeneratorState state;
  WarmUpAtStartup(state.random, 1000);
  DibImagePtr image = MakePatternImage(nullptr, settings, kWidth, kHeight, config, 1000, state);
  if (!image) return nullptr;
  // An 8-bit picture with every table entry, as giflib is given 256 colours.
  if (DibBitCount(*image) != 8) return nullptr;
  SetDibInfoField(*image, kBiClrUsed, 0);
  return image;
}

struct Subject {
  DibImagePtr image;
  PeerPicture peer;
  std::vector<uint8_t> ours, theirs;  // the picture as GIF file by each encoder
};

Subject& SubjectOf(int which) {
  static Subject subjects[2];
  Subject& subject = subjects[which];
  if (!subject.image) {
    subject.image = which == 0 ? GeneratedPicture() : RandomPicture(kWidth, kHeight, 8, 42);
    if (!subject.image) {
      std::fprintf(stderr, "cannot make the picture\n");
      std::exit(1);
    }
    subject.peer = PeerOf(*subject.image);
    WriteGif(VectorSink(&subject.ours), *subject.image, GifSaveOptions(), false, false);
    subject.theirs = GiflibEncode(subject.peer);
  }
  return subject;
}

const char* kNames[2] = {"generated", "random"};

void CheckAgreement() {
  for (int which = 0; which < 2; ++which) {
    Subject& subject = SubjectOf(which);
    const bool sameData = GifImageData(subject.ours) == GifImageData(subject.theirs);
    GifFileFlags flags;
    DibImagePtr ours = ReadGifBytes(subject.theirs.data(), subject.theirs.size(), flags);
    PeerPicture theirs;
    const bool decoded = ours && GiflibDecode(subject.ours, theirs);
    const bool samePixels = decoded && theirs.indexes == subject.peer.indexes && PeerOf(*ours).indexes == subject.peer.indexes;
    std::printf("%s picture: %zu bytes; image data identical to giflib's: %s; decoded pixels identical: %s\n",
                kNames[which], subject.ours.size(), sameData ? "yes" : "NO", samePixels ? "yes" : "NO");
  }
}

void BM_WriteGif(benchmark::State& state) {
  Subject& subject = SubjectOf(int(state.range(0)));
  for (auto _ : state) {
    std::vector<uint8_t> bytes;
    WriteGif(VectorSink(&bytes), *subject.image, GifSaveOptions(), false, false);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetLabel(kNames[state.range(0)]);
}

void BM_GiflibEncode(benchmark::State& state) {
  Subject& subject = SubjectOf(int(state.range(0)));
  for (auto _ : state) {
    std::vector<uint8_t> bytes = GiflibEncode(subject.peer);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetLabel(kNames[state.range(0)]);
}

void BM_ReadGif(benchmark::State& state) {
  Subject& subject = SubjectOf(int(state.range(0)));
  for (auto _ : state) {
    GifFileFlags flags;
    DibImagePtr image = ReadGifBytes(subject.ours.data(), subject.ours.size(), flags);
    benchmark::DoNotOptimize(image.get());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetLabel(kNames[state.range(0)]);
}

void BM_GiflibDecode(benchmark::State& state) {
  Subject& subject = SubjectOf(int(state.range(0)));
  for (auto _ : state) {
    PeerPicture picture;
    GiflibDecode(subject.ours, picture);
    benchmark::DoNotOptimize(picture.indexes.data());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetLabel(kNames[state.range(0)]);
}

BENCHMARK(BM_WriteGif)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GiflibEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGif)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GiflibDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The console report, followed by the speed of each of ours against giflib's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.error_occurred == false) {
        const auto found = run.counters.find("items_per_second");
        if (found != run.counters.end()) speed_[run.benchmark_name()] = found->second.value;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const char* pairs[2][3] = {{"WriteGif", "GiflibEncode", "encoding"}, {"ReadGif", "GiflibDecode", "decoding"}};
    for (const auto& pair : pairs) {
      for (int which = 0; which < 2; ++which) {
        const std::string arg = std::string("/").append(std::to_string(which));
        const double ours = speed_["BM_" + std::string(pair[0]) + arg];
        const double theirs = speed_["BM_" + std::string(pair[1]) + arg];
        if (ours > 0 && theirs > 0) {
          std::printf("%s %-9s: %7.1f Mpixel/s, giflib %7.1f Mpixel/s, ratio %.2f\n", pair[2], kNames[which],
                      ours / 1e6, theirs / 1e6, ours / theirs);
        }
      }
    }
  }

 private:
  std::map<std::string, double> speed_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  CheckAgreement();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
