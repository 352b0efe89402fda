#include "image/color_reduction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "testing/test_support.h"

namespace {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// A 24-bit image whose pixel (x, y) (y = 0 the bottom row) has the given colour.
DibImagePtr FullColor(int width, int height, const std::function<Rgb(int x, int y)>& color) {
  DibImagePtr image = CreateDibImage(width, height, 24);
  const size_t stride = DibRowStride(width, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = DibPixels(*image) + y * stride + 3 * x;
      const Rgb c = color(x, y);
      pixel[0] = uint8_t(c.blue), pixel[1] = uint8_t(c.green), pixel[2] = uint8_t(c.red);
    }
  }
  return image;
}

Rgb EntryOf(const DibImage& image, int index) {
  const RgbQuad& entry = DibColorTable(image)[index];
  return {entry.red, entry.green, entry.blue};
}

int IndexOf(const DibImage& image, int x, int y) { return DibPixels(image)[y * DibRowStride(DibWidth(image), 8) + x]; }

const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

TEST(ReduceTo256Colors, OneColor) {
  DibImagePtr reduced = ReduceTo256Colors(nullptr, *FullColor(5, 4, [](int, int) { return kRed; }));
  ASSERT_TRUE(reduced);
  EXPECT_EQ(DibBitCount(*reduced), 8);
  EXPECT_EQ(DibColorCount(*reduced), 256);
  EXPECT_EQ(EntryOf(*reduced, 0), kRed);
  for (int i = 1; i < 256; ++i) EXPECT_EQ(EntryOf(*reduced, i), kBlack) << i;
  for (int i = 0; i < 256; ++i) EXPECT_EQ(DibColorTable(*reduced)[i].reserved, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(IndexOf(*reduced, x, y), 0);
  }
}

TEST(ReduceTo256Colors, OrderOfFrequencyEarlierFirstOnEqualCounts) {
  // Equal counts: black, the preset entry 0, comes before white although white comes first.
  DibImagePtr evenly = ReduceTo256Colors(nullptr, *FullColor(2, 2, [](int x, int) { return x ? kBlack : kWhite; }));
  ASSERT_TRUE(evenly);
  EXPECT_EQ(EntryOf(*evenly, 0), kBlack);
  EXPECT_EQ(EntryOf(*evenly, 1), kWhite);
  for (int i = 2; i < 256; ++i) EXPECT_EQ(EntryOf(*evenly, i), kBlack) << i;
  EXPECT_EQ(IndexOf(*evenly, 0, 0), 1);
  EXPECT_EQ(IndexOf(*evenly, 1, 0), 0);

  DibImagePtr moreWhite =
      ReduceTo256Colors(nullptr, *FullColor(3, 1, [](int x, int) { return x ? kWhite : kBlack; }));
  EXPECT_EQ(EntryOf(*moreWhite, 0), kWhite);
  EXPECT_EQ(EntryOf(*moreWhite, 1), kBlack);

  // Equal counts of two other colours: the one seen first (bottom row, left) comes first.
  DibImagePtr tie = ReduceTo256Colors(nullptr, *FullColor(2, 2, [](int, int y) { return y ? kGreen : kBlue; }));
  EXPECT_EQ(EntryOf(*tie, 0), kBlue);
  EXPECT_EQ(EntryOf(*tie, 1), kGreen);
}

TEST(ReduceTo256Colors, MoreThan1500ColorsCoarsenTheMask) {
  // 2000 colours under the full mask, 500 under 0xFE; a white top row.
  DibImagePtr image = FullColor(50, 41, [](int x, int y) { return y == 40 ? kWhite : Rgb{255, x, y}; });
  DibImagePtr reduced = ReduceTo256Colors(nullptr, *image);
  ASSERT_TRUE(reduced);
  EXPECT_EQ(EntryOf(*reduced, 0), kWhite);  // the preset entry, exactly white
  // Then the masked colours in the order first seen: (254, 0, 0), (254, 2, 0) ...
  EXPECT_EQ(EntryOf(*reduced, 1), (Rgb{254, 0, 0}));
  EXPECT_EQ(EntryOf(*reduced, 2), (Rgb{254, 2, 0}));
  EXPECT_EQ(EntryOf(*reduced, 26), (Rgb{254, 0, 2}));
  for (int i = 1; i < 256; ++i) EXPECT_EQ(EntryOf(*reduced, i).red, 254) << i;
  EXPECT_EQ(IndexOf(*reduced, 1, 1), 1);  // (255, 1, 1) is nearest to (254, 0, 0)
  EXPECT_EQ(IndexOf(*reduced, 0, 40), 0);
}

// Column x % 3 == 0 blue, the rest green: counted from every pixel green is
// more frequent; counted from every third column green is never seen.
TEST(ReduceTo256Colors, LargerThan300CountsEveryThirdColumnAndRow) {
  auto columns = [](int x, int) { return x % 3 ? kGreen : kBlue; };
  DibImagePtr every = ReduceTo256Colors(nullptr, *FullColor(300, 300, columns));
  EXPECT_EQ(EntryOf(*every, 0), kGreen);
  EXPECT_EQ(EntryOf(*every, 1), kBlue);

  DibImagePtr wide = ReduceTo256Colors(nullptr, *FullColor(301, 300, columns));
  EXPECT_EQ(EntryOf(*wide, 0), kBlue);
  EXPECT_EQ(EntryOf(*wide, 1), kBlack);
  EXPECT_EQ(IndexOf(*wide, 1, 7), 1);  // green is nearer black than blue; the lowest black entry wins

  DibImagePtr tall = ReduceTo256Colors(nullptr, *FullColor(300, 301, [](int, int y) { return y % 3 ? kGreen : kBlue; }));
  EXPECT_EQ(EntryOf(*tall, 0), kBlue);
  EXPECT_EQ(EntryOf(*tall, 1), kBlack);
}

TEST(ReduceTo256Colors, NearestColorTiesGoToTheLowerIndex) {
  // Uncounted columns hold (6, 6, 0), as near to (10, 0, 0) as to (0, 10, 0).
  for (bool redFirst : {true, false}) {
    DibImagePtr reduced = ReduceTo256Colors(nullptr, *FullColor(303, 3, [redFirst](int x, int y) {
      if (x % 3) return Rgb{6, 6, 0};
      return (y > 0) == redFirst ? Rgb{10, 0, 0} : Rgb{0, 10, 0};  // rows 1 and 2 win
    }));
    EXPECT_EQ(EntryOf(*reduced, 0), redFirst ? (Rgb{10, 0, 0}) : (Rgb{0, 10, 0}));
    EXPECT_EQ(IndexOf(*reduced, 1, 0), 0);
  }
}

TEST(ReduceTo256Colors, EveryPixelGetsTheNearestEntry) {
  std::mt19937 random(5);
  std::vector<Rgb> colors;
  for (int i = 0; i < 96 * 80; ++i) {
    const int base = int(random() % 256);  // clustered colours, many ties at cell edges
    colors.push_back({base, std::min(255, base + int(random() % 40)), int(random() % 256) & 0xF8});
  }
  DibImagePtr image = FullColor(96, 80, [&colors](int x, int y) { return colors[y * 96 + x]; });
  DibImagePtr reduced = ReduceTo256Colors(nullptr, *image);
  ASSERT_TRUE(reduced);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 96; ++x) {
      const Rgb c = colors[y * 96 + x];
      int best = 0, bestDistance = 1 << 30;
      for (int i = 0; i < 256; ++i) {
        const Rgb e = EntryOf(*reduced, i);
        const int d = (e.red - c.red) * (e.red - c.red) + (e.green - c.green) * (e.green - c.green) +
                      (e.blue - c.blue) * (e.blue - c.blue);
        if (d < bestDistance) best = i, bestDistance = d;
      }
      ASSERT_EQ(IndexOf(*reduced, x, y), best) << x << "," << y;
    }
  }
}

TEST(ReduceTo256Colors, CaptionShownAndRestoredRefusedBelow16Bits) {
  OwnerRecorder recorder;
  Owner owner = recorder.owner();
  DibImagePtr full = FullColor(4, 4, [](int x, int y) { return Rgb{x * 60, y * 60, 9}; });
  ASSERT_TRUE(ReduceTo256Colors(&owner, *full));
  EXPECT_EQ(recorder.captions, (std::vector<std::string>{"Reducing to 256 color", "Vitrelle"}));
  EXPECT_TRUE(recorder.warnings.empty());

  recorder.captions.clear();
  for (int depth : {1, 4, 8}) EXPECT_FALSE(ReduceTo256Colors(&owner, *CreateDibImage(4, 4, depth)));
  EXPECT_TRUE(recorder.captions.empty());
  EXPECT_TRUE(recorder.warnings.empty());
  EXPECT_EQ(recorder.caption, "Vitrelle");
}

TEST(ComputeDisplayColorTable, CountsAbout200PixelsEachWay) {
  // 199 x 400: every column of every third row. Rows y % 3 == 0 hold A and B,
  // the others C, which is the most frequent but never counted.
  const Rgb a{0x12, 0x34, 0x56}, b{0xFF, 0xEE, 0xDD}, c{0x99, 0x99, 0x99};
  DibImagePtr image = FullColor(199, 400, [&](int x, int y) { return y % 3 ? c : x % 4 ? a : b; });
  DisplayColorTable table;
  ASSERT_TRUE(ComputeDisplayColorTable(*image, table));
  EXPECT_EQ((Rgb{table.red[0], table.green[0], table.blue[0]}), (Rgb{0x10, 0x30, 0x50}));  // under the mask 0xF0
  EXPECT_EQ((Rgb{table.red[1], table.green[1], table.blue[1]}), (Rgb{0xF0, 0xE0, 0xD0}));
  for (int i = 2; i < 256; ++i) EXPECT_EQ((Rgb{table.red[i], table.green[i], table.blue[i]}), kBlack) << i;

  DisplayColorTable kept = table;
  EXPECT_FALSE(ComputeDisplayColorTable(*CreateDibImage(10, 10, 8), table));
  EXPECT_EQ(0, std::memcmp(&kept, &table, sizeof table));
}

}  // namespace
