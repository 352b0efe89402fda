// The main window's portable rules: status and colour texts, the command-line
// file name, the layout arithmetic, and the two per-user settings.
#include <gtest/gtest.h>

#include <map>

#include "app/settings_store.h"
#include "app/shell_texts.h"
#include "app/view_scroll.h"
#include "app/window_layout.h"

namespace {

TEST(ShellTexts, StatusTextNamesTheColourDepth) {
  EXPECT_EQ(ImageInfoText(640, 480, 24), "Image Info.(640x480 full color)");
  EXPECT_EQ(ImageInfoText(256, 200, 8), "Image Info.(256x200 256 color)");
  EXPECT_EQ(ImageInfoText(32, 32, 4), "Image Info.(32x32 16 color)");
  EXPECT_EQ(ImageInfoText(1, 1, 1), "Image Info.(1x1 2 color)");
  EXPECT_EQ(ImageInfoText(9, 9, 16), "Image Info.(9x9 64k color)");
  // Unlisted depths take the next listed one above them.
  EXPECT_EQ(ImageInfoText(2, 2, 2), "Image Info.(2x2 16 color)");
  EXPECT_EQ(ImageInfoText(2, 2, 32), "Image Info.(2x2 full color)");
}

TEST(ShellTexts, CommandLineNamesOneFileAndIsNeverCut) {
  const std::set<std::string> existing = {"C:\\My Pictures\\a b.bmp", "C:\\x\\a.png", "C:\\x\\b.png"};
  const auto exists = [&](const std::string& name) { return existing.count(name) > 0; };
  struct Case {
    const char* line;
    std::string name;
  };
  const Case cases[] = {
      {"\"C:\\My Pictures\\a b.bmp\"", "C:\\My Pictures\\a b.bmp"},
      {"C:\\My Pictures\\a b.bmp", "C:\\My Pictures\\a b.bmp"},  // unquoted, spaces and all
      {"C:\\My \"Pictures\\a\" b.bmp", "C:\\My Pictures\\a b.bmp"},
      // Two files from Explorer: the first opens, the other is ignored.
      {"\"C:\\x\\a.png\" \"C:\\x\\b.png\"", "C:\\x\\a.png"},
      {"\"C:\\gone\\a.png\" \"C:\\x\\b.png\" \"c.png\"", "C:\\gone\\a.png"},
      // One name that does not exist stays whole, so that its failure names it.
      {"\"C:\\gone\\a b.png\"", "C:\\gone\\a b.png"},
      {"C:\\gone\\a b.png", "C:\\gone\\a b.png"},
      {"\"\"", ""},
      {"", ""},
  };
  std::string name;
  for (const Case& c : cases) {
    EXPECT_TRUE(FileNameFromCommandLine(c.line, 512, exists, name)) << c.line;
    EXPECT_EQ(name, c.name) << c.line;
  }
  EXPECT_TRUE(NamesFileToOpen("C:\\x\\a.png"));
  EXPECT_FALSE(NamesFileToOpen(""));
  EXPECT_FALSE(NamesFileToOpen("\x1e" "a.bmp"));

  const std::string fits(511, 'x'), tooLong(512, 'x');
  EXPECT_TRUE(FileNameFromCommandLine(("\"" + fits + "\"").c_str(), 512, exists, name));
  EXPECT_EQ(name, fits);
  EXPECT_FALSE(FileNameFromCommandLine(tooLong.c_str(), 512, exists, name));
}

TEST(WindowLayout, FitsTheWindowAroundPanelAndPicture) {
  // A big picture decides both directions.
  WindowLayout layout = ComputeLayout(8, 46, 200, 300, 640, 480);
  EXPECT_EQ(layout.windowWidth, 8 + 200 + 640 + 30);
  EXPECT_EQ(layout.windowHeight, 46 + 480 + 80);
  EXPECT_EQ(layout.panelX, 4);
  EXPECT_EQ(layout.panelY, 34);
  EXPECT_EQ(layout.viewX, 220);
  EXPECT_EQ(layout.viewY, 54);
  EXPECT_EQ(layout.viewWidth, 642);
  EXPECT_EQ(layout.viewHeight, 482);

  // A tiny picture: at least 350 wide and tall enough for the panel.
  layout = ComputeLayout(8, 46, 100, 300, 1, 1);
  EXPECT_EQ(layout.windowWidth, 350);
  EXPECT_EQ(layout.windowHeight, 46 + 300 + 60);
  EXPECT_EQ(layout.viewWidth, 3);
}

TEST(WindowLayout, StaysOnTheWorkAreaAndScrollsWhatDoesNotFit) {
  const ScreenRect work = {0, 0, 1920, 1040};  // 1920 x 1080 less a task bar
  // A 1920 x 1080 picture: the window fills the work area and both bars show.
  WindowLayout wanted = ComputeLayout(8, 46, 200, 300, 1920, 1080);
  ScreenRect placed = PlaceOnWorkArea({100, 50, 500, 650}, wanted, work, 17, 17);
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.top, 0);
  EXPECT_EQ(placed.Width(), 1920);
  EXPECT_EQ(placed.Height(), 1040);
  ViewBox view = FitView(wanted, placed.Width() - 8, placed.Height() - 46, kStandardDpi, 17, 17);
  EXPECT_TRUE(view.horizontalBar && view.verticalBar);
  EXPECT_EQ(view.width, 1920 - 8 - 220 - 8);
  EXPECT_EQ(view.height, 1040 - 46 - 54 - 24);

  // Too wide only: the window grows by the bar's height, so that nothing
  // needs scrolling downwards; it moves left only as far as it must. Here
  // on a monitor left of the primary one.
  wanted = ComputeLayout(8, 46, 200, 300, 2500, 400);
  placed = PlaceOnWorkArea({-1700, 200, -1300, 800}, wanted, {-1920, 0, 0, 1040}, 17, 17);
  EXPECT_EQ(placed.left, -1920);
  EXPECT_EQ(placed.right, 0);
  EXPECT_EQ(placed.top, 200);
  EXPECT_EQ(placed.Height(), 46 + 400 + 80 + 17);
  view = FitView(wanted, placed.Width() - 8, placed.Height() - 46, kStandardDpi, 17, 17);
  EXPECT_TRUE(view.horizontalBar);
  EXPECT_FALSE(view.verticalBar);
  EXPECT_EQ(view.height, 402 + 17);

  // A maximised or resized window: the view takes the room, up to the picture.
  wanted = ComputeLayout(8, 46, 200, 300, 640, 480);
  view = FitView(wanted, 1900, 1000, kStandardDpi, 17, 17);
  EXPECT_EQ(view.width, 642);
  EXPECT_EQ(view.height, 482);
  EXPECT_FALSE(view.horizontalBar || view.verticalBar);
  // Just too narrow: the bar below takes height the picture needed, so both show.
  view = FitView(wanted, 220 + 641 + 8, 54 + 482 + 24, kStandardDpi, 17, 17);
  EXPECT_TRUE(view.horizontalBar && view.verticalBar);
  // A window smaller than its gaps leaves the view no room rather than a negative one.
  view = FitView(wanted, 100, 40, kStandardDpi, 17, 17);
  EXPECT_EQ(view.width, 0);
  EXPECT_EQ(view.height, 0);
}

TEST(ViewScroll, MovesStayWithinThePicture) {
  // A picture 1000 long seen through 300, lines of 20.
  struct Case {
    int from;
    ScrollMove move;
    int to;
  };
  const Case cases[] = {
      {0, ScrollMove::kLineBack, 0},    {0, ScrollMove::kLineOn, 20},    {690, ScrollMove::kLineOn, 700},
      {0, ScrollMove::kPageOn, 280},    {600, ScrollMove::kPageOn, 700}, {100, ScrollMove::kPageBack, 0},
      {350, ScrollMove::kToStart, 0},   {350, ScrollMove::kToEnd, 700},
  };
  for (const Case& c : cases) EXPECT_EQ(ScrollPositionAfter(c.from, c.move, 1000, 300, 20), c.to) << c.from;
  EXPECT_EQ(ScrollPositionAfter(0, ScrollMove::kToEnd, 200, 300, 20), 0);  // the whole picture in sight
  EXPECT_EQ(ClampScrollPosition(900, 1000, 300), 700);                    // after the view grew
  EXPECT_EQ(ClampScrollPosition(-5, 1000, 300), 0);

  EXPECT_EQ(WheelScrollPosition(100, -120, 3, 1000, 300, 20), 160);  // a notch towards the user: on
  EXPECT_EQ(WheelScrollPosition(100, 240, 3, 1000, 300, 20), 0);
  EXPECT_EQ(WheelScrollPosition(100, -40, 3, 1000, 300, 20), 120);   // a fine wheel's third of a notch
  EXPECT_EQ(WheelScrollPosition(0, -120, -1, 1000, 300, 20), 280);   // a page a notch
  EXPECT_EQ(WheelScrollPosition(650, -120 * 1000000, 3, 1000, 300, 20), 700);
}

TEST(WindowLayout, GrowsItsGapsWithTheDpiButNotThePicture) {
  // 150 %: the gaps and the minimum width by half again, rounded.
  WindowLayout layout = ComputeLayout(12, 69, 300, 450, 640, 480, 144);
  EXPECT_EQ(layout.windowWidth, 12 + 300 + 640 + 45);
  EXPECT_EQ(layout.windowHeight, 69 + 480 + 120);
  EXPECT_EQ(layout.panelX, 6);
  EXPECT_EQ(layout.panelY, 51);
  EXPECT_EQ(layout.viewX, 300 + 30);
  EXPECT_EQ(layout.viewY, 81);
  EXPECT_EQ(layout.viewWidth, 642);  // the picture 1:1 in device pixels, plus the border
  EXPECT_EQ(layout.viewHeight, 482);

  // 200 %: a small picture in a window of at least 700 pixels.
  layout = ComputeLayout(16, 92, 200, 600, 64, 64, 192);
  EXPECT_EQ(layout.windowWidth, 700);
  EXPECT_EQ(layout.windowHeight, 92 + 600 + 120);
  EXPECT_EQ(layout.viewWidth, 66);

  // 125 % rounds to the nearest pixel.
  EXPECT_EQ(ScaledToDpi(30, 120), 38);
  EXPECT_EQ(ScaledToDpi(54, 120), 68);
}

// A store in memory that can also refuse to keep anything.
struct MemoryStore {
  std::map<std::string, std::string> values;
  std::vector<std::string> writes;
  bool writable = true;

  SettingsStore store() {
    SettingsStore s;
    s.context = this;
    s.read = [](void* c, const char* name, std::string& value) {
      auto& self = *static_cast<MemoryStore*>(c);
      auto found = self.values.find(name);
      if (found == self.values.end() || found->second.size() > kSettingMaxLength) return false;
      value = found->second;
      return true;
    };
    s.write = [](void* c, const char* name, const std::string& value) {
      auto& self = *static_cast<MemoryStore*>(c);
      self.writes.push_back(std::string(name) + "=" + value);
      if (self.writable) self.values[name] = value;
    };
    s.remove = [](void* c, const char* name) { static_cast<MemoryStore*>(c)->values.erase(name); };
    return s;
  }
};

TEST(SettingsStore, TheProgramFolderIsTheRunningProgramsOwn) {
  EXPECT_EQ(ProgramFolderOf("C:\\Vitrelle Ünïcødé\\vitrelle.exe"), "C:\\Vitrelle Ünïcødé");
  EXPECT_EQ(ProgramFolderOf("\\\\server\\share\\vitrelle.exe"), "\\\\server\\share");
  // A path that did not fit arrives empty: no folder, so no plug-in.
  EXPECT_EQ(ProgramFolderOf(""), "");
  EXPECT_EQ(ProgramFolderOf("vitrelle.exe"), "");

  // "plug in" is written for other tools, whatever it held before.
  MemoryStore memory;
  memory.values["plug in"] = "C:\\Downloads";
  StoreProgramFolder(memory.store(), "C:\\Vitrelle");
  EXPECT_EQ(memory.values["plug in"], "C:\\Vitrelle");
  memory.writes.clear();
  StoreProgramFolder(memory.store(), "");
  EXPECT_TRUE(memory.writes.empty());
}

TEST(SettingsStore, RemembersFailedPluginsByNameUntilForgotten) {
  MemoryStore memory;
  const SettingsStore store = memory.store();
  const FailedPluginMemory failed = FailedPluginMemoryIn(store);
  std::string stamp;
  EXPECT_FALSE(failed.recall(failed.context, "bad.spi", stamp));
  failed.remember(failed.context, "bad.spi", "1024,133");
  EXPECT_EQ(memory.values["failed plug-in bad.spi"], "1024,133");
  EXPECT_TRUE(failed.recall(failed.context, "bad.spi", stamp));
  EXPECT_EQ(stamp, "1024,133");
  failed.forget(failed.context, "bad.spi");
  EXPECT_FALSE(failed.recall(failed.context, "bad.spi", stamp));
  EXPECT_EQ(memory.values.count("failed plug-in bad.spi"), 0u);
}

TEST(SettingsStore, DetailsModeReadsTheNumberOne) {
  MemoryStore memory;
  const SettingsStore store = memory.store();
  EXPECT_FALSE(ReadDetailsMode(store));  // nothing stored: the short panel

  WriteDetailsMode(store, true);
  WriteDetailsMode(store, false);
  EXPECT_EQ(memory.writes, (std::vector<std::string>{"Setdialog=1", "Setdialog=0"}));
  EXPECT_FALSE(ReadDetailsMode(store));

  for (const char* full : {"1", "01", "  1", "1abc", "+1"}) {
    memory.values["Setdialog"] = full;
    EXPECT_TRUE(ReadDetailsMode(store)) << full;
  }
  for (const char* shortPanel : {"0", "", "abc", "2", "11", "-1"}) {
    memory.values["Setdialog"] = shortPanel;
    EXPECT_FALSE(ReadDetailsMode(store)) << shortPanel;
  }
  memory.values["Setdialog"] = "1" + std::string(100, ' ');  // too long to be read
  EXPECT_FALSE(ReadDetailsMode(store));

  // A store that keeps nothing leaves the short panel.
  memory.values.clear();
  memory.writable = false;
  WriteDetailsMode(store, true);
  EXPECT_FALSE(ReadDetailsMode(store));
}

}  // namespace
