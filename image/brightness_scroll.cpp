#include "image/brightness_scroll.h"

#include <algorithm>

static int WithinLevels(int level) { return std::clamp(level, 0, 255); }

int ScrolledBrightnessLevel(int level, int code, int thumbPosition) {
  switch (code) {
    case kScrollLineLeft:
      return WithinLevels(level - 1);
    case kScrollLineRight:
      return WithinLevels(level + 1);
    case kScrollPageLeft:
      return WithinLevels(level - kBrightnessPageStep);
    case kScrollPageRight:
      return WithinLevels(level + kBrightnessPageStep);
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      return WithinLevels(thumbPosition);
    case kScrollLeft:
      return 0;
    case kScrollRight:
      return 255;
  }
  return -1;
}
