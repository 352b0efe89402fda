// The sizes that follow the screen: the size list ends with entries the
// program adds itself, never written into the Pattern file, for the primary
// monitor and, when there are several monitors, for all of them together.
// Their selection index is stored like any other: the index just past the
// file's sizes stands for "Screen", the next one for "All screens".
#pragma once

#include <optional>
#include <vector>

#include "generator/make_settings.h"

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
