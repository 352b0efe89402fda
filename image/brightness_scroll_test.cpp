#include "image/brightness_scroll.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrolledBrightnessLevel, StepsStopAtTheEnds) {
  EXPECT_EQ(ScrolledBrightnessLevel(250, kScrollPageRight, 0), 255);
  EXPECT_EQ(ScrolledBrightnessLevel(240, kScrollPageRight, 0), 255);
  EXPECT_EQ(ScrolledBrightnessLevel(100, kScrollPageRight, 0), 115);
  EXPECT_EQ(ScrolledBrightnessLevel(10, kScrollPageLeft, 0), 0);
  EXPECT_EQ(ScrolledBrightnessLevel(100, kScrollPageLeft, 0), 85);
  EXPECT_EQ(ScrolledBrightnessLevel(0, kScrollLineLeft, 0), 0);
  EXPECT_EQ(ScrolledBrightnessLevel(255, kScrollLineRight, 0), 255);
  EXPECT_EQ(ScrolledBrightnessLevel(128, kScrollLineLeft, 0), 127);
  EXPECT_EQ(ScrolledBrightnessLevel(128, kScrollLineRight, 0), 129);
}

TEST(ScrolledBrightnessLevel, ThumbAndEndsSetTheLevelAndOtherCodesMoveNothing) {
  EXPECT_EQ(ScrolledBrightnessLevel(10, kScrollThumbTrack, 128), 128);
  EXPECT_EQ(ScrolledBrightnessLevel(10, kScrollThumbPosition, 300), 255);
  EXPECT_EQ(ScrolledBrightnessLevel(128, kScrollLeft, 77), 0);
  EXPECT_EQ(ScrolledBrightnessLevel(128, kScrollRight, 77), 255);
  EXPECT_EQ(ScrolledBrightnessLevel(128, 8, 77), -1);  // the end of a scroll
}

}  // namespace
