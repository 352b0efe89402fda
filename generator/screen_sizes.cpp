#include "generator/screen_sizes.h"

#include <algorithm>
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

const Screen* PrimaryScreen(const ScreenLayout& screens) {
  for (const Screen& screen : screens) {
    if (screen.primary) return &screen;
  }
  return screens.empty() ? nullptr : &screens.front();
}

Screen BoundingBox(const ScreenLayout& screens) {
  Screen box;
  box.name = "all";
  if (screens.empty()) return box;
  int left = screens[0].left, top = screens[0].top, right = left, bottom = top;
  for (const Screen& screen : screens) {
    left = std::min(left, screen.left);
    top = std::min(top, screen.top);
    right = std::max(right, screen.left + screen.width);
    bottom = std::max(bottom, screen.top + screen.height);
  }
  box.left = left;
  box.top = top;
  box.width = right - left;
  box.height = bottom - top;
  return box;
}

// The colour of a pixel of a bottom-up picture of 1, 4, 8, 24 or 32 bits.
static RgbQuad PixelColor(const DibImage& image, int x, int y) {
  const int depth = DibBitCount(image);
  const uint8_t* row = DibPixels(image) + DibRowStride(DibWidth(image), depth) * size_t(DibHeight(image) - 1 - y);
  if (depth >= 24) {
    const uint8_t* pixel = row + size_t(x) * size_t(depth / 8);
    return {pixel[0], pixel[1], pixel[2], 0};
  }
  const int perByte = 8 / depth;
  const int index = (row[x / perByte] >> ((perByte - 1 - x % perByte) * depth)) & ((1 << depth) - 1);
  return index < DibColorCount(image) ? DibColorTable(image)[index] : RgbQuad{0, 0, 0, 0};
}

DibImagePtr ComposeScreenPictures(const ScreenLayout& screens, const std::vector<const DibImage*>& pictures) {
  const Screen box = BoundingBox(screens);
  if (screens.empty() || pictures.size() != screens.size() || box.width > 32767 || box.height > 32767 ||
      !PictureFitsInMemory(box.width, box.height, 24)) {
    return nullptr;
  }
  DibImagePtr composed = CreateDibImage(box.width, box.height, 24);
  if (!composed) return nullptr;
  const size_t stride = DibRowStride(box.width, 24);
  uint8_t* pixels = DibPixels(*composed);  // zero: black
  for (size_t i = 0; i < screens.size(); ++i) {
    if (!pictures[i]) return nullptr;
    const DibImage& picture = *pictures[i];
    const int width = std::min(screens[i].width, DibWidth(picture));
    const int height = std::min(screens[i].height, DibHeight(picture));
    for (int y = 0; y < height; ++y) {
      uint8_t* row = pixels + stride * size_t(box.height - 1 - (screens[i].top - box.top + y));
      for (int x = 0; x < width; ++x) {
        const RgbQuad color = PixelColor(picture, x, y);
        uint8_t* pixel = row + size_t(screens[i].left - box.left + x) * 3;
        pixel[0] = color.blue;
        pixel[1] = color.green;
        pixel[2] = color.red;
      }
    }
  }
  return composed;
}
