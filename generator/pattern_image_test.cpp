#include "generator/pattern_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>

#include "testing/pattern_baseline.h"
#include "testing/test_support.h"

namespace {

// Color lines: 0 seven colours (black, red, white, steps 2), 1 sixteen, 2 seventeen.
const char kColors[] =
    "0\r\n0\r\n"
    "4,Seven,3,2,0,0,0,255,0,0,255,255,255\r\n"
    "4,Sixteen,2,14,0,0,0,255,255,255\r\n"
    "4,Seventeen,2,15,0,0,0,255,255,255\r\n"
    "4,Down,2,2,100,0,0,0,100,0\r\n"
    "4,TooMany,2,255,0,0,0,1,1,1\r\n"
    "4,NoKeys,0,3\r\n";

class PatternImageTest : public ::testing::Test {
 protected:
  PatternImageTest() : path_(folder_.Write(kColors)) {
    const int32_t values[] = {0, 0, 1, 2, 3, 2, 1, 9, 0, 20, 5};  // Initial color 0, weights 1 2 3 2 1, divide 9
    std::copy(std::begin(values), std::end(values), settings_.field + kFirstPatternField);
  }

  DibImagePtr Make(int width, int height, int colorSet = 2, OwnerRecorder* messages = nullptr) {
    settings_[kColorSetIndex] = colorSet;
    GeneratorState state;  // every picture starts from the same random state
    Owner owner = messages ? messages->owner() : Owner();
    return MakePatternImage(&owner, settings_, width, height, path_, 1234, state);
  }

  static int Pixel(const DibImage& image, int x, int y) {
    const uint8_t* row = DibPixels(image) + y * DibRowStride(DibWidth(image), DibBitCount(image));
    return DibBitCount(image) == 8 ? row[x] : (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
  }

  TestFolder folder_;
  std::string path_;
  MakeSettings settings_;
};

TEST_F(PatternImageTest, RampIsExpandedAndRotated) {
  settings_[kInitialColor] = 2;
  DibImagePtr image = Make(4, 4, 0);
  ASSERT_TRUE(image);
  const RgbQuad* table = DibColorTable(*image);
  const int expected[7][3] = {{170, 0, 0}, {255, 0, 0}, {255, 85, 85}, {255, 170, 170}, {255, 255, 255}, {0, 0, 0}, {85, 0, 0}};
  ASSERT_EQ(DibColorCount(*image), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(table[i].red, expected[i][0]) << i;
    EXPECT_EQ(table[i].green, expected[i][1]) << i;
    EXPECT_EQ(table[i].blue, expected[i][2]) << i;
    EXPECT_EQ(table[i].reserved, 0);
  }
  settings_[kInitialColor] = 2 + 7 * 3;  // N or more rotates modulo N
  DibImagePtr wrapped = Make(4, 4, 0);
  EXPECT_EQ(0, std::memcmp(DibColorTable(*wrapped), table, 7 * 4));

  ColorSet down;
  down.keyCount = 2;
  down.steps = 2;
  down.key[0] = {100, 0, 0};
  down.key[1] = {0, 100, 0};
  RgbQuad ramp[256];
  int count = 0;
  ASSERT_TRUE(ExpandColorRamp(down, ramp, count));
  EXPECT_EQ(ramp[1].red, 67);  // truncating toward zero both ways
  EXPECT_EQ(ramp[2].red, 34);
  EXPECT_EQ(ramp[1].green, 33);
  EXPECT_EQ(ramp[2].green, 66);
}

TEST_F(PatternImageTest, SixteenColorsAreFourBitSeventeenEight) {
  DibImagePtr four = Make(9, 3, 1);
  ASSERT_TRUE(four);
  EXPECT_EQ(DibBitCount(*four), 4);
  EXPECT_EQ(DibInfoField(*four, kBiClrUsed), 16u);
  EXPECT_EQ(DibInfoField(*four, kBiClrImportant), 16u);
  EXPECT_EQ(DibPixels(*four) - four->start(), 40 + 64);
  DibImagePtr eight = Make(9, 3, 2);
  EXPECT_EQ(DibBitCount(*eight), 8);
  EXPECT_EQ(DibPixels(*eight) - eight->start(), 40 + 68);
}

TEST_F(PatternImageTest, OddFourBitRowsEndInTheHighNibble) {
  // Weights 0 0 1 0 0, divide 1, fix 1, random 0: each cell steps one colour per row.
  settings_[kWeight1] = settings_[kWeight2] = settings_[kWeight4] = settings_[kWeight5] = 0;
  settings_[kWeight3] = settings_[kDivide] = settings_[kFix] = 1;
  settings_[kRandom] = 0;
  DibImagePtr image = Make(7, 20, 1);
  ASSERT_TRUE(image);
  const size_t stride = DibRowStride(7, 4);
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(DibPixels(*image)[y * stride + 3] & 0x0F, 0) << y;
    for (int x = 0; x < 7 && y > 0; ++x) EXPECT_EQ(Pixel(*image, x, y), (Pixel(*image, x, y - 1) + 1) % 16) << x << "," << y;
  }
}

TEST_F(PatternImageTest, CellsStayInTheTable) {
  settings_[kFix] = -1;  // every cell negative: the last colour
  settings_[kWeight1] = settings_[kWeight2] = settings_[kWeight3] = settings_[kWeight4] = settings_[kWeight5] = 0;
  settings_[kRandom] = 0;
  DibImagePtr last = Make(5, 5, 0);
  settings_[kFix] = 7;  // too large: the first colour
  DibImagePtr first = Make(5, 5, 0);
  settings_[kFix] = 0;
  DibImagePtr zero = Make(5, 5, 0);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(Pixel(*last, x, y), 6);
      EXPECT_EQ(Pixel(*first, x, y), 0);
      EXPECT_EQ(Pixel(*zero, x, y), 0);
    }
  }
}

TEST_F(PatternImageTest, DivideZeroDividesByOne) {
  settings_[kDivide] = 1;
  DibImagePtr one = Make(16, 8);
  settings_[kDivide] = 0;
  DibImagePtr zero = Make(16, 8);
  ASSERT_TRUE(zero);
  EXPECT_EQ(0, std::memcmp(one->start(), zero->start(), DibTotalSize(*one)));
}

TEST_F(PatternImageTest, SizesAreLimited) {
  for (int side : {2000, 32767}) {
    DibImagePtr wide = Make(side, 2);
    ASSERT_TRUE(wide) << side;
    EXPECT_EQ(DibWidth(*wide), side);
  }
  ASSERT_TRUE(Make(1, 3));  // one cell wide: every neighbour wraps onto itself's buffers
  OwnerRecorder messages;
  EXPECT_FALSE(Make(0, 10, 2, &messages));
  EXPECT_FALSE(Make(10, -1, 2, &messages));
  EXPECT_FALSE(Make(65536 + 7, 2, 2, &messages));  // never wrapped to 7
  ASSERT_EQ(messages.warnings.size(), 3u);
  EXPECT_EQ(messages.warnings[0], Shown(IDS_BAD_IMAGE_SIZE, IDS_ERROR));
}

TEST_F(PatternImageTest, UnusableColorSetsGiveNoImage) {
  OwnerRecorder messages;
  EXPECT_FALSE(Make(8, 8, 4, &messages));   // more than 256 colours
  EXPECT_FALSE(Make(8, 8, 5, &messages));   // no key colours
  EXPECT_FALSE(Make(8, 8, 99, &messages));  // no such color line
  ASSERT_EQ(messages.warnings.size(), 3u);
  EXPECT_EQ(messages.warnings[0].substr(0, 36), "The color set TooMany cannot be used");
  EXPECT_EQ(messages.warnings[1].substr(0, 35), "The color set NoKeys cannot be used");
  EXPECT_EQ(messages.warnings[2], "The Pattern file has no color line for the selected color set|" + path_);
}

TEST_F(PatternImageTest, SameStateAndTimeGiveTheSamePicture) {
  DibImagePtr a = Make(33, 17);
  DibImagePtr b = Make(33, 17);
  EXPECT_EQ(0, std::memcmp(a->start(), b->start(), DibTotalSize(*a)));
  GeneratorState state;
  DibImagePtr later = MakePatternImage(nullptr, settings_, 33, 17, path_, 1235, state);
  EXPECT_NE(0, std::memcmp(a->start(), later->start(), DibTotalSize(*a)));
}

TEST_F(PatternImageTest, UnseenPassesRollTheRowsOn) {
  settings_[kInitialNumber] = 0;
  DibImagePtr direct = Make(33, 25);
  settings_[kInitialNumber] = 5;
  DibImagePtr later = Make(33, 20);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 33; ++x) ASSERT_EQ(Pixel(*later, x, y), Pixel(*direct, x, y + 5)) << x << "," << y;
  }
}

// Against the plain cell-by-cell growth, with values that reach the 16-bit
// wrap-around, every kind of divisor and random amplitude, odd widths, and
// widths on both sides of the old limit of 1600 and far past it.
TEST_F(PatternImageTest, GrowsExactlyAsThePlainLoop) {
  const int32_t cases[][kPatternValueCount] = {
      {0, 0, 1, 3, -2, 3, 1, 4, 0, 20, 3},
      {3, 0, 1000, -7000, 30000, 12345, -32768, 7, 11, 300, 1},
      {0, 0, 70000, 1, 1, 1, 65537, -3, -5, -50, 2},
      {1, 0, -1, -1, -1, -1, -1, -1, 0, 0, 0},
      {0, 0, -20000, 5, 9, 9, 5, 32768, 0, 2000000000, 0},
      {0, 0, 32767, 32767, 32767, 32767, 32767, 40000, 2, 10, 0},
      {0, 0, 3, 3, 3, 3, 3, -2147483647 - 1, 1, 1 << 30, 65540},
  };
  for (const auto& values : cases) {
    std::copy(std::begin(values), std::end(values), settings_.field + kFirstPatternField);
    for (int colorSet : {0, 1, 2}) {
      for (int width : {1, 2, 5, 64, 333, 1599, 1600, 1601, 1920, 3839}) {
        settings_[kColorSetIndex] = colorSet;
        GeneratorState state, plainState;
        DibImagePtr image = MakePatternImage(nullptr, settings_, width, 9, path_, 777, state);
        DibImagePtr plain = MakePatternImageBaseline(nullptr, settings_, width, 9, path_, 777, plainState);
        ASSERT_TRUE(image && plain);
        ASSERT_EQ(0, std::memcmp(image->start(), plain->start(), DibTotalSize(*plain)))
            << "divide " << values[7] << ", width " << width << ", colour set " << colorSet;
        ASSERT_EQ(0, std::memcmp(&state.random, &plainState.random, sizeof state.random));
      }
    }
  }
}

TEST_F(PatternImageTest, EveryWidthUpToTheOldLimitGrowsAsThePlainLoop) {
  for (int width = 1; width <= 1600; ++width) {
    GeneratorState state, plainState;
    DibImagePtr image = MakePatternImage(nullptr, settings_, width, 3, path_, 99, state);
    DibImagePtr plain = MakePatternImageBaseline(nullptr, settings_, width, 3, path_, 99, plainState);
    ASSERT_TRUE(image && plain);
    ASSERT_EQ(0, std::memcmp(image->start(), plain->start(), DibTotalSize(*plain))) << "width " << width;
  }
}

class MirrorTest : public PatternImageTest {
 protected:
  DibImagePtr Folded(int width, int height, MirrorKind kind, int colorSet = 2) {
    settings_[kMirrorMode] = WithMirrorKind(40, kind);  // digits above the last have no effect
    return Make(width, height, colorSet);
  }
};

TEST_F(MirrorTest, VerticalMirrorKeepsTheUpperHalf) {
  DibImagePtr grown = Folded(10, 7, kMirrorNormal);
  DibImagePtr folded = Folded(10, 7, kMirrorVertical);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(Pixel(*folded, x, y), Pixel(*grown, x, y < 3 ? 6 - y : y)) << x << "," << y;
    }
  }
}

TEST_F(MirrorTest, CrossMirrorKeepsTheRightHalf) {
  for (int colorSet : {1, 2}) {
    for (int width : {6, 7}) {
      DibImagePtr image = Folded(width, 5, kMirrorCross, colorSet);
      for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(Pixel(*image, 0, y), Pixel(*image, width - 1, y));
        EXPECT_EQ(Pixel(*image, 2, y), Pixel(*image, width - 3, y));
        EXPECT_EQ(Pixel(*image, 1, y), Pixel(*image, 1, 4 - y));
      }
    }
  }
}

TEST_F(MirrorTest, KaleidoscopeHasEightFoldSymmetry) {
  for (int size : {256, 255}) {
    DibImagePtr image = Folded(size, size, kMirrorKaleidoscope);
    const int last = size - 1;
    int asymmetric = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const int p = Pixel(*image, x, y);
        asymmetric += p != Pixel(*image, last - x, y) || p != Pixel(*image, x, last - y) ||
                      Pixel(*image, last - x, y) != Pixel(*image, last - y, x);
      }
    }
    EXPECT_EQ(asymmetric, 0) << size;
  }
  for (auto [width, height, colorSet] : {std::tuple{320, 256, 2}, std::tuple{64, 64, 1}}) {
    DibImagePtr kaleidoscope = Folded(width, height, kMirrorKaleidoscope, colorSet);
    DibImagePtr cross = Folded(width, height, kMirrorCross, colorSet);
    EXPECT_EQ(0, std::memcmp(kaleidoscope->start(), cross->start(), DibTotalSize(*cross))) << width;
  }
}

}  // namespace
