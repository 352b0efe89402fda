#include "wallpaper/signin.h"

#include <gtest/gtest.h>

namespace {

TEST(Signin, TheRunValueNamesOnlyTheToolAtThisPath) {
  const std::string tool = "C:\\Users\\Ann\\Vitrelle\\vitrelle-wallpaper.exe";
  SigninChoice choice;
  choice.arrangement = WallpaperArrangement::Centered;
  choice.mirror = kMirrorKaleidoscope;
  choice.width = 1024;
  choice.height = 768;
  const std::string command = SigninRunCommand(tool, SigninWallpaperArguments(choice));
  EXPECT_EQ(command,
            "\"C:\\Users\\Ann\\Vitrelle\\vitrelle-wallpaper.exe\" wallpaper center --pattern random --mirror "
            "kaleidoscope --size 1024x768");
  const struct {
    std::string value;
    bool names;
  } cases[] = {
      {command, true},
      {"\"c:\\users\\ann\\vitrelle\\VITRELLE-WALLPAPER.EXE\" wallpaper tile", true},
      {"\"" + tool + "\"", true},
      {"\"D:\\Old copy\\vitrelle-wallpaper.exe\" wallpaper tile", false},  // a moved portable copy
      {"\"" + tool + ".bak\" wallpaper tile", false},
      {tool + " wallpaper tile", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(RunCommandNamesTool(c.value, tool), c.names);
  }
}

TEST(Signin, TheAutostartEntryQuotesWhatTheFormatReserves) {
  const std::string entry =
      AutostartEntry("/opt/my tools/vitrelle-cli", {"wallpaper", "tile", "--config", "/home/a/100%\\$x.cfg"});
  EXPECT_NE(entry.find("\nExec=\"/opt/my tools/vitrelle-cli\" wallpaper tile --config "
                       "\"/home/a/100%%\\\\\\\\\\\\$x.cfg\"\n"),
            std::string::npos)
      << entry;
  EXPECT_EQ(entry.rfind("[Desktop Entry]\nType=Application\n", 0), 0u);
}

TEST(Signin, NumberedPicturesGoOnFromTheHighestAndKeepTheNewest) {
  EXPECT_EQ(NextNumberedPicture({}), "wallpaper-1.png");
  const std::vector<std::string> names = {"wallpaper-9.png", "wallpaper-10.png", "notes.txt", "wallpaper-x.png",
                                          "wallpaper-2.png", "wallpaper-.png",   "wallpaper-11.png.tmp"};
  EXPECT_EQ(NextNumberedPicture(names), "wallpaper-11.png");
  EXPECT_EQ(OldNumberedPictures(names, 2), std::vector<std::string>{"wallpaper-2.png"});
  EXPECT_TRUE(OldNumberedPictures({"wallpaper-1.png"}, 2).empty());
}

}  // namespace
