// Reads arbitrary bytes as a Pattern file through every operation that reads
// it, grows a small picture from what it holds, and runs the operations that
// rewrite it, so that the sanitizers see any read outside a line or buffer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "generator/pattern_file.h"
#include "generator/pattern_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/vitrelle_fuzz_" + std::to_string(getpid()) + ".cfg";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  PatternLists lists;
  ListEntries(nullptr, path, lists);
  MakeSettings settings;
  LoadMakeSettings(nullptr, path, SettingsLine::kDefault, settings);
  LoadMakeSettings(nullptr, path, SettingsLine::kState, settings);
  for (int k = 0; k < 3; ++k) {
    SizeChoice choice;
    Pattern pattern;
    ReadSizeChoice(nullptr, path, k, choice);
    if (ReadPattern(nullptr, path, k, pattern) == EntryRead::kFound) SelectPattern(settings, pattern, k);
  }
  // Small pictures and few unseen passes keep every run short.
  settings[kInitialNumber] %= 8;
  GeneratorState state;
  MakePatternImage(nullptr, settings, settings[kWidth] % 40, settings[kHeight] % 40, path, settings[kRandom], state);

  WriteStateLine(nullptr, path, settings);
  AddPattern(nullptr, path, lists.patterns.empty() ? "" : lists.patterns[0], settings);
  // The names as listed, so that the rewrites get past their check.
  const std::string first = lists.patterns.empty() ? "" : lists.patterns[0];
  const std::string second = lists.patterns.size() < 2 ? "" : lists.patterns[1];
  ReplacePattern(nullptr, path, 0, PatternChange::kChange, first, settings);
  ReplacePattern(nullptr, path, 1, PatternChange::kDelete, second, settings);
  std::remove(path.c_str());
  return 0;
}
