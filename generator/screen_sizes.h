// The sizes that follow the screen: the size list ends with entries the
// program adds itself, never written into the Pattern file, for the primary
// monitor and, when there are several monitors, for all of them together.
// Their selection index is stored like any other: the index just past the
// file's sizes stands for "Screen", the next one for "All screens".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "generator/make_settings.h"
#include "image/dib_image.h"

// The screens in device pixels, as measured by the shell.
struct ScreenSizes {
  int monitorCount = 0;  // 0: no screen is known
  int primaryWidth = 0, primaryHeight = 0;
  int allWidth = 0, allHeight = 0;  // the virtual screen that holds every monitor
};

// "Screen (W x H)", then "All screens (W x H)" when there is more than one
// monitor; nothing when no screen is known.
std::vector<SizeChoice> ScreenSizeChoices(const ScreenSizes& screens);

// The screen entry that size list entry `index` stands for, when it lies
// past the file's fileSizeCount sizes; nothing otherwise.
std::optional<SizeChoice> ScreenSizeAt(const ScreenSizes& screens, int fileSizeCount, int32_t index);

// True when a picture of this size covers all of several screens.
bool CoversAllScreens(const ScreenSizes& screens, int width, int height);

// The screens as they are now, in device pixels whatever the scaling;
// Windows only (screen_sizes_win.cpp).
ScreenSizes MeasureScreens();

// One screen as the desktop places it: a rectangle in physical pixels in the
// desktop's own coordinates (which may be negative), and its name there.
struct Screen {
  std::string name;
  int left = 0, top = 0, width = 0, height = 0;
  bool primary = false;
};
using ScreenLayout = std::vector<Screen>;

// The primary screen, or the first when none is marked; null when there is none.
const Screen* PrimaryScreen(const ScreenLayout& screens);
// The smallest rectangle that holds every screen (named "all").
Screen BoundingBox(const ScreenLayout& screens);
// One 24-bit picture of the bounding box with each screen's picture (one a
// screen, in the layout's order) at that screen's place, black where no
// screen is. None when the counts differ, a picture is missing or the box
// is too large to hold (wider or higher than 32767 pixels, or too many bytes).
DibImagePtr ComposeScreenPictures(const ScreenLayout& screens, const std::vector<const DibImage*>& pictures);

// The screens as they are now, each in device pixels; detached monitors
// are left out. Windows only (screen_sizes_win.cpp).
ScreenLayout MeasureScreenLayout();
