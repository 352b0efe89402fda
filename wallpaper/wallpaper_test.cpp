#include "wallpaper/wallpaper.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "image/bmp_file.h"
#include "testing/test_support.h"

namespace {

// Stands in for the registry, the wallpaper call and the Option dialog, and
// records every write and every wallpaper in order. Reads answer from the
// values written so far.
struct DesktopRecorder {
  std::vector<std::string> calls;
  std::map<std::string, std::string> values;
  bool accepts = true;  // what the wallpaper call answers
  bool chooses = true;
  std::string chosen = "/pictures/chosen.bmp";
  bool hasMonitors = false;  // the wallpaper interface is there
  std::vector<DesktopMonitor> monitors;
  std::vector<MonitorAnswer> answers;  // in turn; not ready once they run out

  DesktopCalls Calls() {
    DesktopCalls desktop;
    desktop.context = this;
    desktop.readValue = [](void* context, const char* name, std::string& data) {
      const auto& stored = static_cast<DesktopRecorder*>(context)->values;
      const auto found = stored.find(name);
      if (found != stored.end()) data = found->second;
      return found != stored.end();
    };
    desktop.writeValue = [](void* context, const char* name, const char* data) {
      auto* recorder = static_cast<DesktopRecorder*>(context);
      if (data) {
        recorder->values[name] = data;
        recorder->calls.push_back(std::string("value ") + name + "=" + data);
      } else {
        recorder->values.erase(name);
        recorder->calls.push_back(std::string("remove ") + name);
      }
    };
    desktop.setWallpaper = [](void* context, const char* fileName) {
      auto* recorder = static_cast<DesktopRecorder*>(context);
      recorder->calls.push_back(std::string("wallpaper ") + fileName);
      return recorder->accepts;
    };
    desktop.chooseFile = [](void* context, std::string& fileName) {
      auto* recorder = static_cast<DesktopRecorder*>(context);
      recorder->calls.push_back("choose offering " + fileName);
      if (recorder->chooses) fileName = recorder->chosen;
      return recorder->chooses;
    };
    desktop.listMonitors = [](void* context, std::vector<DesktopMonitor>& listed) {
      auto* recorder = static_cast<DesktopRecorder*>(context);
      listed = recorder->monitors;
      return recorder->hasMonitors;
    };
    desktop.setMonitorWallpaper = [](void* context, const std::string& monitor, const std::string& fileName,
                                     WallpaperArrangement arrangement) {
      auto* recorder = static_cast<DesktopRecorder*>(context);
      recorder->calls.push_back("monitor " + monitor + " " + fileName +
                                (arrangement == WallpaperArrangement::Tiled ? " tile" : " center"));
      if (recorder->answers.empty()) return MonitorAnswer::kNotYet;
      const MonitorAnswer answer = recorder->answers.front();
      recorder->answers.erase(recorder->answers.begin());
      return answer;
    };
    desktop.pause = [](void* context, int milliseconds) {
      static_cast<DesktopRecorder*>(context)->calls.push_back("pause " + std::to_string(milliseconds));
    };
    return desktop;
  }
};

std::vector<std::string> Installed(const std::string& path, const char* tile) {
  return {std::string("value TileWallpaper=") + tile, "value WallpaperStyle=0", "wallpaper " + path};
}

// A picture whose every byte of rows and table differs from its neighbours.
DibImagePtr Picture(int depth) {
  DibImagePtr image = CreateDibImage(5, 3, depth);
  uint8_t* bytes = image->start() + kInfoHeaderSize;
  for (size_t i = 0; i + kInfoHeaderSize < DibTotalSize(*image); ++i) bytes[i] = uint8_t(i * 7 + 3);
  return image;
}

struct WallpaperTest : ::testing::Test {
  TestFolder folder;
  WallpaperPlaces places;
  DesktopRecorder desktop;
  OwnerRecorder owner;
  Owner ownerRecord = owner.owner();

  WallpaperTest() {
    places.windowsFolder = folder.PathOf("windows");
    places.userFolder = folder.PathOf("user");
    std::filesystem::create_directories(places.windowsFolder);
  }
  void Install(const DibImage* image, WallpaperArrangement arrangement) {
    InstallWallpaper(&ownerRecord, desktop.Calls(), places, image, arrangement);
  }
};

TEST_F(WallpaperTest, TileAndCenterWriteThePictureAsItIsThenArrangeThenSet) {
  const std::string file = folder.PathOf("windows/vitrelle.BMP");
  for (int depth : {1, 4, 8, 24}) {
    SCOPED_TRACE(depth);
    DibImagePtr image = Picture(depth);
    desktop.calls.clear();
    Install(image.get(), depth == 8 ? WallpaperArrangement::Centered : WallpaperArrangement::Tiled);
    EXPECT_EQ(desktop.calls, Installed(file, depth == 8 ? "0" : "1"));
    const std::string bytes = TestFolder::Read(file);
    ASSERT_EQ(bytes.size(), kBmpFileHeaderSize + DibTotalSize(*image));
    EXPECT_EQ(0, std::memcmp(bytes.data() + kBmpFileHeaderSize, image->start(), DibTotalSize(*image)));
  }
  EXPECT_TRUE(owner.warnings.empty());
  EXPECT_FALSE(std::filesystem::exists(places.userFolder));
  EXPECT_EQ(InstalledWallpaperPath(places), file);
}

// Only Center of a picture that has the size of all of several screens
// spans them; Recall_Center of the file Center wrote, and Option_Center of
// that file, arrange it the same.
TEST_F(WallpaperTest, CenterSpansAPictureOfAllScreens) {
  const std::string file = folder.PathOf("windows/vitrelle.BMP");
  struct Case {
    ScreenSizes screens;
    WallpaperArrangement arrangement;
    const char* tile;
    const char* style;
  };
  const Case cases[] = {
      {{2, 3, 3, 5, 3}, WallpaperArrangement::Centered, "0", "22"},
      {{2, 3, 3, 5, 3}, WallpaperArrangement::Tiled, "1", "0"},
      {{2, 5, 3, 10, 3}, WallpaperArrangement::Centered, "0", "0"},  // the primary screen's size only
      {{1, 5, 3, 5, 3}, WallpaperArrangement::Centered, "0", "0"},   // one screen: centred is whole
  };
  static ScreenSizes measured;
  DibImagePtr image = Picture(8);  // 5 x 3
  for (const Case& c : cases) {
    measured = c.screens;
    DesktopCalls calls = desktop.Calls();
    calls.measureScreens = [](void*) { return measured; };
    const std::vector<std::string> arranged = {std::string("value TileWallpaper=") + c.tile,
                                               std::string("value WallpaperStyle=") + c.style, "wallpaper " + file};
    desktop.calls.clear();
    InstallWallpaper(&ownerRecord, calls, places, image.get(), c.arrangement);
    EXPECT_EQ(desktop.calls, arranged) << c.screens.monitorCount << " " << c.screens.allWidth;
    desktop.calls.clear();
    RecallWallpaper(&ownerRecord, calls, places, c.arrangement);
    EXPECT_EQ(desktop.calls, arranged) << "Recall, " << c.screens.monitorCount << " " << c.screens.allWidth;
    desktop.chosen = file;
    desktop.calls.clear();
    InstallChosenWallpaper(&ownerRecord, calls, places, c.arrangement);
    desktop.calls.erase(desktop.calls.begin());  // the dialog offering the last choice
    EXPECT_EQ(desktop.calls, arranged) << "Option, " << c.screens.monitorCount << " " << c.screens.allWidth;
  }
  // A file whose size cannot be read is centred.
  measured = cases[0].screens;
  DesktopCalls calls = desktop.Calls();
  calls.measureScreens = [](void*) { return measured; };
  desktop.chosen = folder.Write("no picture", "other.bmp");
  desktop.calls.clear();
  InstallChosenWallpaper(&ownerRecord, calls, places, WallpaperArrangement::Centered);
  EXPECT_EQ(desktop.calls.back(), "wallpaper " + desktop.chosen);
  EXPECT_EQ(desktop.values["WallpaperStyle"], "0");
}

TEST_F(WallpaperTest, WithoutAPictureNothingIsWrittenOrSet) {
  Install(nullptr, WallpaperArrangement::Tiled);
  EXPECT_EQ(owner.warnings, std::vector<std::string>{"No image|Caution"});
  EXPECT_TRUE(desktop.calls.empty());
  EXPECT_EQ(folder.FileCount(), 1u);  // the Windows folder only, still empty
  EXPECT_TRUE(std::filesystem::is_empty(places.windowsFolder));
}

TEST_F(WallpaperTest, AClosedWindowsFolderSendsTheFileToTheUserFolder) {
  places.windowsFolder = folder.PathOf("no such folder");
  DibImagePtr image = Picture(8);
  Install(image.get(), WallpaperArrangement::Tiled);
  const std::string file = folder.PathOf("user/vitrelle.BMP");
  EXPECT_EQ(desktop.calls, Installed(file, "1"));
  EXPECT_TRUE(owner.warnings.empty());
  EXPECT_EQ(InstalledWallpaperPath(places), file);

  desktop.calls.clear();
  RecallWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Centered);
  EXPECT_EQ(desktop.calls, Installed(file, "0"));
}

TEST_F(WallpaperTest, AFileNoFolderTakesLeavesTheDesktopAlone) {
  places.windowsFolder = folder.PathOf("no such folder");
  places.userFolder = folder.Write("a file, not a folder", "user");
  DibImagePtr image = Picture(4);
  Install(image.get(), WallpaperArrangement::Tiled);
  EXPECT_EQ(owner.warnings, std::vector<std::string>{Shown(IDS_CANNOT_OPEN_FILE, UserWallpaperPath(places))});
  EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(WallpaperTest, AFileBegunButNotFinishedIsToldAndLeavesTheDesktopAlone) {
  DibImagePtr image = Picture(4);
  image->blockSize = kInfoHeaderSize;  // the header promises rows the block does not hold
  Install(image.get(), WallpaperArrangement::Tiled);
  EXPECT_EQ(owner.warnings,
            std::vector<std::string>{Shown(IDS_WALLPAPER_FILE_INCOMPLETE, UserWallpaperPath(places))});
  EXPECT_TRUE(desktop.calls.empty());
  EXPECT_FALSE(std::filesystem::exists(WindowsWallpaperPath(places)));
}

TEST_F(WallpaperTest, RecallArrangesTheLastFileWithoutWritingIt) {
  RecallWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Tiled);
  // Before any Tile the desktop is still asked for the file where it would be.
  EXPECT_EQ(desktop.calls, Installed(UserWallpaperPath(places), "1"));

  const std::string file = folder.Write("old picture", "windows/vitrelle.BMP");
  desktop.calls.clear();
  RecallWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Centered);
  EXPECT_EQ(desktop.calls, Installed(file, "0"));
  EXPECT_EQ(TestFolder::Read(file), "old picture");
}

TEST_F(WallpaperTest, OptionRemembersTheChosenFileAcrossTile) {
  desktop.chooses = false;
  InstallChosenWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Centered);
  EXPECT_EQ(desktop.calls, std::vector<std::string>{"choose offering "});  // cancelled: nothing set

  desktop.chooses = true;
  desktop.calls.clear();
  InstallChosenWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Centered);
  EXPECT_EQ(desktop.calls[0], "choose offering ");
  EXPECT_EQ(std::vector<std::string>(desktop.calls.begin() + 1, desktop.calls.end()),
            Installed("/pictures/chosen.bmp", "0"));

  DibImagePtr image = Picture(24);
  Install(image.get(), WallpaperArrangement::Tiled);
  desktop.calls.clear();
  desktop.chosen = "/pictures/second.bmp";
  InstallChosenWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Tiled);
  EXPECT_EQ(desktop.calls[0], "choose offering /pictures/chosen.bmp");
  EXPECT_EQ(desktop.calls.back(), "wallpaper /pictures/second.bmp");
  EXPECT_EQ(places.optionFileName, "/pictures/second.bmp");
}

TEST_F(WallpaperTest, ClearSetsNoWallpaperAndKeepsTheFile) {
  DibImagePtr image = Picture(1);
  Install(image.get(), WallpaperArrangement::Tiled);
  desktop.calls.clear();
  ClearWallpaper(&ownerRecord, desktop.Calls());
  EXPECT_EQ(desktop.calls, std::vector<std::string>{"wallpaper "});
  EXPECT_TRUE(std::filesystem::exists(WindowsWallpaperPath(places)));
  EXPECT_TRUE(owner.warnings.empty());
}

// A refused wallpaper is told, with the file as caption, and the arrangement
// goes back to what it was before the command: an old value is written
// again, a value that was missing is removed.
TEST_F(WallpaperTest, ARefusedWallpaperIsToldAndTheArrangementPutBack) {
  DibImagePtr image = Picture(8);
  const std::string file = WindowsWallpaperPath(places);
  desktop.accepts = false;
  const std::map<std::string, std::string> before = {{"TileWallpaper", "1"}, {"Wallpaper", "old.bmp"}};
  const struct {
    const char* command;
    std::function<void()> run;
    std::string wallpaper;
  } commands[] = {
      {"Tile", [&] { Install(image.get(), WallpaperArrangement::Tiled); }, file},
      {"Center", [&] { Install(image.get(), WallpaperArrangement::Centered); }, file},
      {"Recall_Center", [&] { RecallWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Centered); },
       file},
      {"Option_Center",
       [&] { InstallChosenWallpaper(&ownerRecord, desktop.Calls(), places, WallpaperArrangement::Centered); },
       "/pictures/chosen.bmp"},
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command.command);
    desktop.values = before;
    desktop.calls.clear();
    owner.warnings.clear();
    command.run();
    EXPECT_EQ(desktop.values, before);
    ASSERT_GE(desktop.calls.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(desktop.calls.end() - 2, desktop.calls.end()),
              (std::vector<std::string>{"value TileWallpaper=1", "remove WallpaperStyle"}));
    EXPECT_EQ(owner.warnings, std::vector<std::string>{Shown(IDS_WALLPAPER_REFUSED, command.wallpaper)});
  }

  owner.warnings.clear();
  ClearWallpaper(&ownerRecord, desktop.Calls());
  EXPECT_EQ(owner.warnings, std::vector<std::string>{Shown(IDS_WALLPAPER_REFUSED, IDS_ERROR)});
}

// Two screens, one left of and one above the origin: each monitor its own
// picture, tried again while not ready; else the composed picture spanned;
// a refusal gives the monitors back what they showed.
TEST_F(WallpaperTest, EachScreenGetsItsMonitorsPictureOrAllAreSpanned) {
  const ScreenLayout screens = {{"A", -4, 0, 4, 2, false}, {"B", 0, -1, 2, 3, true}};
  desktop.monitors = {{"A", screens[0], "/old/a.bmp"}, {"B", screens[1], "/old/b.bmp"}};
  const DibImagePtr a = CreateDibImage(4, 2, 8), b = CreateDibImage(2, 3, 8);
  const DibImagePtr composed = ComposeScreenPictures(screens, {a.get(), b.get()});
  const std::string one = "monitor A " + folder.PathOf("windows/vitrelle-1.BMP") + " center|",
                    two = "monitor B " + folder.PathOf("windows/vitrelle-2.BMP") + " center|",
                    spanned = "value TileWallpaper=0|value WallpaperStyle=22|wallpaper " +
                              folder.PathOf("windows/vitrelle.BMP") + "|";
  std::string tenTries;
  for (int i = 0; i < 10; ++i) tenTries += "pause 500|" + two;
  using A = MonitorAnswer;
  const struct {
    std::vector<MonitorAnswer> answers;  // none: the desktop has no wallpaper interface
    std::string calls;
    bool eachTook, refused;
  } cases[] = {
      {{A::kTaken, A::kTaken}, one + two, true, false},
      {{A::kNotYet, A::kNotYet, A::kTaken, A::kTaken}, one + "pause 500|" + one + "pause 500|" + one + two, true,
       false},
      {{A::kTaken}, one + two + tenTries + spanned, false, false},
      {{}, spanned, false, false},
      {{A::kTaken, A::kRefused}, one + two + "monitor A /old/a.bmp center|", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.calls);
    desktop.hasMonitors = !c.answers.empty();
    desktop.answers = c.answers;
    desktop.calls.clear();
    owner.warnings.clear();
    EXPECT_EQ(InstallScreenWallpapers(&ownerRecord, desktop.Calls(), places, screens, {a.get(), b.get()}, *composed,
                                      WallpaperArrangement::Centered),
              c.eachTook);
    std::string calls;
    for (const std::string& call : desktop.calls) calls += call + "|";
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(owner.warnings.size(), c.refused ? 1u : 0u);
  }
  PictureSize size;
  ASSERT_TRUE(ReadBmpFileSize(folder.PathOf("windows/vitrelle.BMP").c_str(), size));
  EXPECT_EQ(std::to_string(size.width) + "x" + std::to_string(size.height), "6x3");
}

}  // namespace
