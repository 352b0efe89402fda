#include "plugins/plugin_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A fake plug-in: its version text and its formats (pattern, description).
struct FakePlugin {
  const char* version = "00IN";
  std::vector<std::pair<std::string, std::string>> formats;
  bool fillsWholeBuffer = false;  // writes descriptions as 200 bytes without a zero
};

int FakeInfo(void* module, int number, char* buffer, int length) {
  const auto& plugin = *static_cast<FakePlugin*>(module);
  std::string answer;
  if (number == 0) {
    answer = plugin.version;
  } else if (number >= 2 && size_t(number / 2 - 1) < plugin.formats.size()) {
    const auto& format = plugin.formats[number / 2 - 1];
    answer = number % 2 == 0 ? format.first : format.second;
  } else {
    return 0;
  }
  if (plugin.fillsWholeBuffer && number % 2 == 1) {
    std::memset(buffer, 'x', length);
    std::memcpy(buffer, answer.data(), std::min<size_t>(answer.size(), length));
  } else {
    std::strncpy(buffer, answer.c_str(), length);
  }
  return 1;
}

PluginTable TableOf(std::vector<FakePlugin>& plugins) {
  PluginTable table;
  for (size_t i = 0; i < plugins.size(); ++i)
    OfferPlugin(table, std::to_string(i) + ".spi", AskPluginAnswers(FakeInfo, &plugins[i]));
  return table;
}

const std::string kOwn = "BMP/GIF Files (*.BMP,*.GIF)\n*.BMP;*.GIF\n";
const std::string kAll = "All Files (*.*)\n*.*\n";

TEST(PluginTable, AcceptsOnlyInAtTheThirdAndFourthCharacter) {
  EXPECT_TRUE(IsAcceptedVersion("00IN"));
  EXPECT_TRUE(IsAcceptedVersion("XXIN and more"));
  EXPECT_FALSE(IsAcceptedVersion("00AM"));
  EXPECT_FALSE(IsAcceptedVersion("IN00"));
  EXPECT_FALSE(IsAcceptedVersion("00in"));
  EXPECT_FALSE(IsAcceptedVersion("0IN"));
  EXPECT_FALSE(IsAcceptedVersion(""));

  std::vector<FakePlugin> plugins(3);
  plugins[1].version = "00XX";
  PluginTable table = TableOf(plugins);
  ASSERT_EQ(table.count, 2);
  EXPECT_EQ(table.entries[0].fileName, "0.spi");
  EXPECT_EQ(table.entries[1].fileName, "2.spi");
}

TEST(PluginTable, KeepsTwentyAndRefusesMore) {
  PluginAnswers accepted{"00IN", {}}, refused{"00XX", {}};
  PluginTable table;
  for (int i = 0; i < kMaxPlugins; ++i) EXPECT_EQ(OfferPlugin(table, "p.spi", accepted), PluginOffer::kAccepted);
  EXPECT_EQ(OfferPlugin(table, "p.spi", accepted), PluginOffer::kTableFull);
  EXPECT_EQ(OfferPlugin(table, "p.spi", refused), PluginOffer::kRefused);
  EXPECT_EQ(table.count, kMaxPlugins);
}

TEST(PluginFilter, ListsFormatsInTableAndFormatOrderBetweenOwnAndAllFiles) {
  std::vector<FakePlugin> none;
  EXPECT_EQ(BuildOpenFilter(TableOf(none)), kOwn + kAll);

  std::vector<FakePlugin> plugins(3);
  plugins[0].formats = {{"*.png", "PNG"}, {"*.jpg;*.jpeg", "JPEG"}};
  plugins[1].version = "00XX";
  plugins[1].formats = {{"*.no", "Refused"}};
  plugins[2].formats = {{"*.tif", "TIFF"}};
  EXPECT_EQ(BuildOpenFilter(TableOf(plugins)),
            kOwn + "PNG (*.png)\n*.png\nJPEG (*.jpg;*.jpeg)\n*.jpg;*.jpeg\nTIFF (*.tif)\n*.tif\n" + kAll);
}

TEST(PluginFilter, SkipsEntriesThatWouldBreakThePairs) {
  std::vector<FakePlugin> plugins(1);
  plugins[0].formats = {{"", "No pattern"}, {"*.a", ""}, {"*.b", "Two\nlines"}, {"*.c", "C"}};
  EXPECT_EQ(BuildOpenFilter(TableOf(plugins)), kOwn + "C (*.c)\n*.c\n" + kAll);

  // An answer that fills the buffer without a zero is cut at its end.
  plugins[0].formats = {{"*.d", std::string(300, 'D')}};
  plugins[0].fillsWholeBuffer = true;
  const std::string description(kPluginInfoSize - 1, 'D');
  EXPECT_EQ(BuildOpenFilter(TableOf(plugins)), kOwn + description + " (*.d)\n*.d\n" + kAll);
}

TEST(PluginFilter, LeavesOutWhatNoLongerFitsAndKeepsAllFiles) {
  std::vector<FakePlugin> plugins(2);
  for (int k = 0; k < 20; ++k) plugins[0].formats.push_back({"*.f" + std::to_string(k), "Format number " + std::to_string(k)});
  plugins[1].formats = {{"*.x", "X"}};
  const std::string filter = BuildOpenFilter(TableOf(plugins));
  EXPECT_LT(filter.size(), kOpenFilterCapacity);
  EXPECT_EQ(filter.substr(0, kOwn.size()), kOwn);
  EXPECT_EQ(filter.substr(filter.size() - kAll.size()), kAll);
  EXPECT_NE(filter.find("Format number 14 (*.f14)\n*.f14\n"), std::string::npos);
  // Once one entry does not fit, nothing after it is added, so that the
  // order of the list stays the plug-ins' order.
  EXPECT_EQ(filter.find("*.f15"), std::string::npos);
  EXPECT_EQ(filter.find("*.x"), std::string::npos);

  // A plug-in that answers every question stops being asked.
  plugins.resize(1);
  plugins[0].formats.assign(1000, {"", "Endless"});
  EXPECT_EQ(BuildOpenFilter(TableOf(plugins)), kOwn + kAll);
}

// Each fake decodes to a picture as wide as its number, or to none.
DibImagePtr FakeDecode(void* context, const PluginEntry& plugin, const char*) {
  auto& asked = *static_cast<std::vector<std::string>*>(context);
  asked.push_back(plugin.fileName);
  const int width = std::atoi(plugin.fileName.c_str());
  return width > 0 ? CreateDibImage(width, 1, 24) : nullptr;
}

TEST(PluginLoading, AsksEveryPluginAndTheLastSuccessWins) {
  PluginTable table;
  const char* names[] = {"0 fails", "3 delivers", "5 delivers", "0 fails too"};
  for (const char* name : names) OfferPlugin(table, name, {"00IN", {}});
  std::vector<std::string> asked;
  DibImagePtr image = LoadThroughPlugins(table, "C:\\x.png", FakeDecode, &asked);
  ASSERT_TRUE(image);
  EXPECT_EQ(DibWidth(*image), 5);
  EXPECT_EQ(asked, std::vector<std::string>(names, names + 4));

  table.count = 1;
  EXPECT_FALSE(LoadThroughPlugins(table, "C:\\x.png", FakeDecode, &asked));
}

}  // namespace
