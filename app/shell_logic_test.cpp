// The main window's portable rules: status and colour texts, the command-line
// file name, the layout arithmetic, and the two per-user settings.
#include <gtest/gtest.h>

#include <map>

#include "app/settings_store.h"
#include "app/shell_texts.h"
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
