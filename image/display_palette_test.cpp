#include "image/display_palette.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_order.h"

namespace {

DisplayColorTable NumberedTable() {
  DisplayColorTable table;
  for (int i = 0; i < 256; ++i) table.red[i] = uint8_t(i), table.green[i] = uint8_t(255 - i), table.blue[i] = 7;
  return table;
}

void FillTable(DibImage& image, int entries) {
  for (int i = 0; i < entries; ++i) DibColorTable(image)[i] = {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), 99};
}

TEST(ImagePaletteColors, EntryCountsAndSources) {
  const DisplayColorTable table = NumberedTable();
  PaletteColors full = ImagePaletteColors(*CreateDibImage(8, 8, 24), table);
  ASSERT_EQ(full.count, 224);
  EXPECT_EQ(full.entries[223].red, 223);
  EXPECT_EQ(full.entries[223].green, 32);
  EXPECT_EQ(full.entries[223].blue, 7);

  DibImagePtr generated = CreateDibImage(8, 8, 8);
  SetDibInfoField(*generated, kBiClrUsed, 20);
  FillTable(*generated, 20);
  PaletteColors twenty = ImagePaletteColors(*generated, table);
  ASSERT_EQ(twenty.count, 20);
  EXPECT_EQ(twenty.entries[19].red, 21);
  EXPECT_EQ(twenty.entries[19].green, 20);
  EXPECT_EQ(twenty.entries[19].blue, 19);

  EXPECT_EQ(ImagePaletteColors(*CreateDibImage(8, 8, 4), table).count, 16);

  // A core header: 256 RGBTRIPLE entries (blue, green, red) after 12 bytes.
  DibImagePtr core = AllocateDibBlock(12 + 768 + 8 * 8);
  StoreU32(core->start(), 12);
  StoreU16(core->start() + 4, 8);
  StoreU16(core->start() + 6, 8);
  StoreU16(core->start() + 8, 1);
  StoreU16(core->start() + 10, 8);
  for (int i = 0; i < 256; ++i) {
    uint8_t* entry = core->start() + 12 + 3 * i;
    entry[0] = uint8_t(i), entry[1] = 50, entry[2] = uint8_t(255 - i);
  }
  PaletteColors triples = ImagePaletteColors(*core, table);
  ASSERT_EQ(triples.count, 256);
  EXPECT_EQ(triples.entries[255].red, 0);
  EXPECT_EQ(triples.entries[255].green, 50);
  EXPECT_EQ(triples.entries[255].blue, 255);
}

TEST(DisplayPaletteColors, OnlyOnPaletteScreensWithAnImage) {
  DisplayColorTable table;
  PaletteColors colors;
  DibImagePtr full = CreateDibImage(4, 4, 24);
  std::memset(DibPixels(*full), 0x80, DibRowStride(4, 24) * 4);
  EXPECT_FALSE(DisplayPaletteColors(full.get(), 16, table, colors));
  EXPECT_FALSE(DisplayPaletteColors(nullptr, 8, table, colors));
  EXPECT_EQ(table.red[0], 0);  // nothing counted

  ASSERT_TRUE(DisplayPaletteColors(full.get(), 8, table, colors));
  EXPECT_EQ(colors.count, 224);
  EXPECT_EQ(table.red[0], 0x80);  // counted afresh
  EXPECT_EQ(colors.entries[0].green, 0x80);

  DibImagePtr palette = CreateDibImage(4, 4, 1);
  FillTable(*palette, 2);
  ASSERT_TRUE(DisplayPaletteColors(palette.get(), 4, table, colors));
  EXPECT_EQ(colors.count, 2);
  EXPECT_EQ(colors.entries[1].blue, 1);
  EXPECT_EQ(table.red[0], 0x80);  // a palette image leaves the display table alone
}

}  // namespace
