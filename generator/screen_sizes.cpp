#include "generator/screen_sizes.h"

#include <cstdio>

#include "base/texts.h"

static SizeChoice LabelledSize(int textId, int width, int height) {
  char label[64];
  std::snprintf(label, sizeof label, TextOf(textId), width, height);
  return {label, width, height};
}

std::vector<SizeChoice> ScreenSizeChoices(const ScreenSizes& screens) {
  std::vector<SizeChoice> choices;
  if (screens.monitorCount < 1) return choices;
  choices.push_back(LabelledSize(IDS_SIZE_SCREEN, screens.primaryWidth, screens.primaryHeight));
  if (screens.monitorCount > 1) {
    choices.push_back(LabelledSize(IDS_SIZE_ALL_SCREENS, screens.allWidth, screens.allHeight));
  }
  return choices;
}

std::optional<SizeChoice> ScreenSizeAt(const ScreenSizes& screens, int fileSizeCount, int32_t index) {
  const std::vector<SizeChoice> choices = ScreenSizeChoices(screens);
  const int64_t k = int64_t(index) - fileSizeCount;
  if (k < 0 || k >= int64_t(choices.size())) return std::nullopt;
  return choices[size_t(k)];
}

bool CoversAllScreens(const ScreenSizes& screens, int width, int height) {
  return screens.monitorCount > 1 && width == screens.allWidth && height == screens.allHeight;
}
