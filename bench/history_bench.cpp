// The picture history with pictures of 1600 x 1200: a step of Undo or Redo
// (the two alternate, so that every step moves one picture each way), and
// what the history holds after 50 Makes of that size, for Make's palette
// pictures and for full-colour pictures such as an opened photograph. The
// held bytes are the picture blocks as allocated, reported as counters.
#include <benchmark/benchmark.h>

#include "app/picture_history.h"

namespace {

constexpr int kWidth = 1600, kHeight = 1200;

// A history after `makes` changes to new pictures of that depth; the current
// picture is the last.
struct Filled {
  PictureHistory history;
  PictureEntry current;
};

Filled AfterMakes(int makes, int depth) {
  Filled filled;
  for (int i = 0; i < makes; ++i) {
    PictureEntry replaced = std::move(filled.current);
    filled.current = PictureEntry();
    filled.current.picture = CreateDibImage(kWidth, kHeight, depth);  // as Make creates its picture
    filled.current.title = "Vitrelle -No title-";
    filled.current.status = "Image Info.(1600x1200 256 color)";
    KeepReplacedPicture(filled.history, std::move(replaced), PictureStep::kMake);
  }
  return filled;
}

void UndoOrRedo(benchmark::State& state) {
  Filled filled = AfterMakes(10, int(state.range(0)));
  bool back = true;
  for (auto _ : state) {
    const bool stepped = back ? StepBack(filled.history, filled.current) : StepForward(filled.history, filled.current);
    benchmark::DoNotOptimize(stepped);
    benchmark::DoNotOptimize(filled.current.picture.get());
    back = !back;
  }
  state.SetLabel(state.range(0) > 8 ? "full colour" : "palette (as Make)");
}
BENCHMARK(UndoOrRedo)->Arg(8)->Arg(24);

void HistoryAfter50Makes(benchmark::State& state) {
  const int depth = int(state.range(0));
  size_t held = 0, pictures = 0, current = 0;
  for (auto _ : state) {
    Filled filled = AfterMakes(50, depth);
    held = HistoryBytes(filled.history);
    pictures = filled.history.behind.size();
    current = filled.current.picture->blockSize;
  }
  constexpr double kMiB = 1024.0 * 1024.0;
  state.counters["pictures_kept"] = double(pictures);
  state.counters["history_MiB"] = double(held) / kMiB;
  state.counters["with_current_MiB"] = double(held + current) / kMiB;
  state.SetLabel(depth > 8 ? "full colour" : "palette (as Make)");
}
BENCHMARK(HistoryAfter50Makes)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
