// How the Brightness dialog's scroll bar moves the level.
#pragma once

// The codes a horizontal scroll bar reports, numbered as Windows numbers them.
enum ScrollCode : int {
  kScrollLineLeft = 0,
  kScrollLineRight = 1,
  kScrollPageLeft = 2,
  kScrollPageRight = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollLeft = 6,
  kScrollRight = 7,
};

constexpr int kBrightnessPageStep = 15;

// The level after a scroll code: one step or a page of 15 either way, the
// thumb's position, or an end; always within 0 to 255. -1 for a code that
// moves nothing (such as the end of a scroll).
int ScrolledBrightnessLevel(int level, int code, int thumbPosition);
