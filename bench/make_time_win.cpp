// Make of a picture of a 3840 x 2160 screen in the Windows program's (64-bit)
// own code: the state line written and the picture grown, as the Make
// command does, timed 15 times with the performance counter. Run under Wine
// or Windows from a folder holding vitrelle.cfg:
//   vitrelle-make-time [WIDTH HEIGHT]
// It prints the fastest, the median and the slowest time. Built by the
// MinGW preset only; the figure goes beside the native benchmarks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/command_flows.h"
#include "generator/pattern_file.h"

int main(int argc, char** argv) {
  const std::string patternFile = "vitrelle.cfg";
  MakeSettings settings;
  if (!LoadMakeSettings(nullptr, patternFile, SettingsLine::kState, settings)) {
    std::fprintf(stderr, "No state line in %s\n", patternFile.c_str());
    return 1;
  }
  settings[kWidth] = argc == 3 ? std::atoi(argv[1]) : 3840;
  settings[kHeight] = argc == 3 ? std::atoi(argv[2]) : 2160;
  GeneratorState generator;
  GifSaveOptions gifOptions;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> milliseconds;
  for (int run = 0; run < 15; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const DibImagePtr picture = MakePicture(nullptr, settings, patternFile, 1700000000 + run, generator, gifOptions);
    QueryPerformanceCounter(&end);
    if (!picture) return 1;
    milliseconds.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("Make %d x %d: fastest %.1f ms, median %.1f ms, slowest %.1f ms\n", settings[kWidth], settings[kHeight],
              milliseconds.front(), milliseconds[milliseconds.size() / 2], milliseconds.back());
  return 0;
}
