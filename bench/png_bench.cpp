// The PNG writer against Pillow's (both at compression level 6) on two
// 1920 x 1080 pictures: an 8-bit one grown by the generator, and a
// full-colour one made to look like a photograph (smooth shading, edges,
// sensor noise). Both sides write to memory. Before timing, both files are
// read back and compared with the picture. Pillow is timed in its own
// process on the same pixels. Times are processor time, so that other work
// on the machine does not count; the summary gives sizes, times and ratios
// (above 1 in speed: Vitrelle is faster).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "generator/pattern_file.h"
#include "generator/pattern_image.h"
#include "image/bmp_file.h"
#include "image/png_file.h"
#include "image/png_reader.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int64_t kPixels = int64_t(kWidth) * kHeight;
const char* kNames[2] = {"made 8-bit", "photo-like"};

// A grown 8-bit picture of the full size.
DibImagePtr MadePicture() {
  const std::string config = std::string(VITRELLE_SOURCE_DIR) + "/resources/vitrelle.cfg";
  MakeSettings settings;
  if (!LoadMakeSettings(nullptr, config, SettingsLine::kState, settings)) return nullptr;
  GeneratorState state;
  WarmUpAtStartup(state.random, 1000);
  DibImagePtr grown = MakePatternImage(nullptr, settings, kWidth, kHeight, config, 1000, state);
  if (!grown || DibBitCount(*grown) != 8) return nullptr;
  return grown;
}

// Soft light and shade over the whole frame, a few hard-edged objects, and
// noise of a few levels in every channel, as a camera picture has.
DibImagePtr PhotoLikePicture() {
  DibImagePtr image = CreateDibImage(kWidth, kHeight, 24);
  if (!image) return nullptr;
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 2.5);
  const size_t stride = DibRowStride(kWidth, 24);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = DibPixels(*image) + size_t(kHeight - 1 - y) * stride;
    for (int x = 0; x < kWidth; ++x) {
      const double u = x / double(kWidth), v = y / double(kHeight);
      double red = 120 + 70 * std::sin(3.1 * u + 1.3 * v) + 25 * std::cos(9.0 * v);
      double green = 110 + 60 * std::cos(2.3 * u - 2.0 * v) + 20 * std::sin(7.0 * u * v);
      double blue = 140 + 80 * v - 40 * u;
      const double dx = u - 0.62, dy = v - 0.45;
      if (dx * dx + dy * dy < 0.03) red += 60, green -= 30, blue -= 50;  // a round object
      if (x > 200 && x < 700 && y > 600 && y < 1000) red *= 0.4, green *= 0.5, blue *= 0.6;  // a shadow
      const double shade[3] = {blue, green, red};
      for (int c = 0; c < 3; ++c) {
        const double value = shade[c] + noise(random);
        row[3 * x + c] = uint8_t(value < 0 ? 0 : value > 255 ? 255 : std::lround(value));
      }
    }
  }
  return image;
}

struct Subject {
  DibImagePtr image;
  std::vector<uint8_t> ours;
  double pillowSeconds = 0;
  long pillowBytes = 0;
};

// The picture's pixels, whatever its colour table holds: red, green, blue.
std::vector<uint8_t> Colors(const DibImage& image) {
  std::vector<uint8_t> rgb;
  const size_t stride = DibRowStride(DibWidth(image), DibBitCount(image));
  for (int y = 0; y < DibHeight(image); ++y) {
    const uint8_t* row = DibPixels(image) + size_t(y) * stride;
    for (int x = 0; x < DibWidth(image); ++x) {
      if (DibBitCount(image) == 24) {
        rgb.insert(rgb.end(), row + 3 * x, row + 3 * x + 3);
      } else {
        const RgbQuad& color = DibColorTable(image)[row[x]];
        rgb.insert(rgb.end(), {color.blue, color.green, color.red});
      }
    }
  }
  return rgb;
}

// Pillow's processor time to write the picture in memory (the mean of ten
// writes) and the
// size of its file; the picture reaches it as a BMP file, and its PNG file
// is checked against the picture.
bool MeasurePillow(const DibImage& image, Subject& subject) {
  const std::string bmp = "/tmp/vitrelle_png_bench.bmp", png = "/tmp/vitrelle_png_bench.png",
                    py = "/tmp/vitrelle_png_bench.py";
  if (!WriteBmpFile(nullptr, bmp.c_str(), image)) return false;
  const std::string script =
      "import io, sys, time\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1]); im.load()\n"
      "start = time.process_time()\n"
      "for _ in range(10):\n"
      "    out = io.BytesIO(); im.save(out, 'PNG', compress_level=6)\n"
      "took = (time.process_time() - start) / 10\n"
      "open(sys.argv[2], 'wb').write(out.getvalue())\n"
      "print(took, len(out.getvalue()))\n";
  FILE* file = std::fopen(py.c_str(), "w");
  if (!file) return false;
  std::fputs(script.c_str(), file);
  std::fclose(file);
  const std::string command = "/usr/bin/python3 " + py + " " + bmp + " " + png;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  const bool read = std::fscanf(pipe, "%lf %ld", &subject.pillowSeconds, &subject.pillowBytes) == 2;
  pclose(pipe);
  DibImagePtr back = ReadPngFile(png.c_str());
  for (const std::string& path : {bmp, png, py}) std::remove(path.c_str());
  return read && back && Colors(*back) == Colors(image);
}

Subject& SubjectOf(int which) {
  static Subject subjects[2];
  Subject& subject = subjects[which];
  if (!subject.image) {
    subject.image = which == 0 ? MadePicture() : PhotoLikePicture();
    if (!subject.image || !WritePng(VectorSink(&subject.ours), *subject.image, PngOptions()) ||
        !MeasurePillow(*subject.image, subject)) {
      std::fprintf(stderr, "cannot make or measure the %s picture\n", kNames[which]);
      std::exit(1);
    }
  }
  return subject;
}

void CheckAgreement() {
  for (int which = 0; which < 2; ++which) {
    Subject& subject = SubjectOf(which);
    DibImagePtr back = ReadPngBytes(subject.ours.data(), subject.ours.size());
    const bool same = back && Colors(*back) == Colors(*subject.image);
    std::printf("%s picture: ours %zu bytes, Pillow's %ld bytes; read back with the same pixels: %s\n", kNames[which],
                subject.ours.size(), subject.pillowBytes, same ? "yes" : "NO");
  }
}

void BM_WritePng(benchmark::State& state) {
  Subject& subject = SubjectOf(int(state.range(0)));
  for (auto _ : state) {
    std::vector<uint8_t> bytes;
    WritePng(VectorSink(&bytes), *subject.image, PngOptions());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetLabel(kNames[state.range(0)]);
}

void BM_ReadPng(benchmark::State& state) {
  Subject& subject = SubjectOf(int(state.range(0)));
  for (auto _ : state) {
    DibImagePtr image = ReadPngBytes(subject.ours.data(), subject.ours.size());
    benchmark::DoNotOptimize(image.get());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetLabel(kNames[state.range(0)]);
}

BENCHMARK(BM_WritePng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The console report, followed by ours against Pillow's for each picture.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.benchmark_name().rfind("BM_WritePng/", 0) == 0) {
        writeSeconds_[run.benchmark_name().back() - '0'] = run.GetAdjustedCPUTime() / 1e3;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (int which = 0; which < 2; ++which) {
      const Subject& subject = SubjectOf(which);
      if (writeSeconds_[which] <= 0) continue;
      std::printf("%-10s: Vitrelle %8zu bytes %6.1f ms, Pillow %8ld bytes %6.1f ms; size ratio %.3f, speed ratio %.2f\n",
                  kNames[which], subject.ours.size(), writeSeconds_[which] * 1e3, subject.pillowBytes,
                  subject.pillowSeconds * 1e3, double(subject.ours.size()) / double(subject.pillowBytes),
                  subject.pillowSeconds / writeSeconds_[which]);
    }
  }

 private:
  double writeSeconds_[2] = {0, 0};
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
