#include "wallpaper/desktop_setters.h"

#include <gtest/gtest.h>

namespace {

DesktopSession Session(const std::string& desktop, std::vector<std::string> programs, bool x11 = false,
                       bool sway = false) {
  DesktopSession session;
  session.currentDesktop = desktop;
  session.programs = std::move(programs);
  session.x11Display = x11;
  session.swaySocket = sway;
  return session;
}

TEST(DesktopSetters, TheDesktopComesFromItsNameThenFromWhatIsRunning) {
  const std::vector<std::string> all = DesktopPrograms();
  const struct {
    DesktopSession session;
    LinuxDesktop expected;
  } cases[] = {
      {Session("ubuntu:GNOME", all, true), LinuxDesktop::kGnome},
      {Session("Budgie:GNOME", all), LinuxDesktop::kGnome},
      {Session("Unity", all), LinuxDesktop::kGnome},
      {Session("X-Cinnamon", all), LinuxDesktop::kCinnamon},
      {Session("MATE", all), LinuxDesktop::kMate},
      {Session("KDE", {"plasma-apply-wallpaperimage"}), LinuxDesktop::kKde},
      {Session("XFCE", all), LinuxDesktop::kXfce},
      {Session("sway", all), LinuxDesktop::kSway},
      // A known name whose program is missing falls through to what is running.
      {Session("GNOME", {"xwallpaper", "feh"}, true), LinuxDesktop::kXwallpaper},
      {Session("", {"swaymsg", "xwallpaper"}, true, true), LinuxDesktop::kSway},
      {Session("i3", {"feh"}, true), LinuxDesktop::kFeh},
      {Session("i3", {"feh", "xwallpaper"}, false), LinuxDesktop::kNone},  // no display to set
      {Session("Pantheon", {}), LinuxDesktop::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.session.currentDesktop);
    EXPECT_EQ(ChooseLinuxDesktop(c.session), c.expected);
  }
}

TEST(DesktopSetters, EachDesktopGetsItsOwnCommandLines) {
  const std::string picture = "/home/a b/it's 100%.png";
  const std::string uri = "file:///home/a%20b/it%27s%20100%25.png";
  DesktopSession xfce = Session("XFCE", {"xfconf-query"});
  xfce.xfceImageProperties = {"/backdrop/screen0/monitorA/workspace0/last-image",
                              "/backdrop/screen0/monitorB/workspace1/last-image"};
  DesktopSession older;  // before GNOME 42: no dark picture
  older.noDarkPicture = true;
  const struct {
    LinuxDesktop desktop;
    DesktopSession session;
    WallpaperAction action;
    std::vector<ArgumentVector> expected;
  } cases[] = {
      {LinuxDesktop::kGnome, {}, WallpaperAction::kTile,
       {{"gsettings", "set", "org.gnome.desktop.background", "picture-options", "'wallpaper'"},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-uri", "'" + uri + "'"},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark", "'" + uri + "'"}}},
      {LinuxDesktop::kGnome, older, WallpaperAction::kCenter,
       {{"gsettings", "set", "org.gnome.desktop.background", "picture-options", "'centered'"},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-uri", "'" + uri + "'"}}},
      {LinuxDesktop::kCinnamon, {}, WallpaperAction::kClear,
       {{"gsettings", "set", "org.cinnamon.desktop.background", "picture-options", "'none'"}}},
      {LinuxDesktop::kMate, {}, WallpaperAction::kCenter,
       {{"gsettings", "set", "org.mate.background", "picture-options", "'centered'"},
        {"gsettings", "set", "org.mate.background", "picture-filename", "'/home/a b/it\\'s 100%.png'"}}},
      {LinuxDesktop::kXfce, xfce, WallpaperAction::kCenter,
       {{"xfconf-query", "-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorA/workspace0/image-style", "-n", "-t",
         "int", "-s", "1"},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorA/workspace0/last-image", "-n", "-t",
         "string", "-s", picture},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorB/workspace1/image-style", "-n", "-t",
         "int", "-s", "1"},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorB/workspace1/last-image", "-n", "-t",
         "string", "-s", picture}}},
      {LinuxDesktop::kKde, Session("KDE", {"plasma-apply-wallpaperimage"}), WallpaperAction::kCenter,
       {{"plasma-apply-wallpaperimage", "--fill-mode", "pad", picture}}},
      {LinuxDesktop::kKde, {}, WallpaperAction::kClear, {}},
      {LinuxDesktop::kSway, {}, WallpaperAction::kTile,
       {{"swaymsg", "output", "*", "bg", "\"/home/a\\ b/it\\'s\\ 100\\%.png\"", "tile"}}},
      {LinuxDesktop::kXwallpaper, {}, WallpaperAction::kCenter, {{"xwallpaper", "--center", picture}}},
      {LinuxDesktop::kFeh, {}, WallpaperAction::kTile, {{"feh", "--no-fehbg", "--bg-tile", picture}}},
      {LinuxDesktop::kXwallpaper, {}, WallpaperAction::kClear, {}},
      {LinuxDesktop::kNone, {}, WallpaperAction::kTile, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(LinuxDesktopName(c.desktop));
    EXPECT_EQ(WallpaperCommandLines(c.desktop, c.session, picture, c.action), c.expected);
  }
}

TEST(DesktopSetters, PlasmaIsScriptedThroughQdbusWithTheQuotedUri) {
  const auto commands =
      WallpaperCommandLines(LinuxDesktop::kKde, Session("KDE", {"qdbus", "plasma-apply-wallpaperimage"}),
                            "/tmp/q\"uote.png", WallpaperAction::kTile);
  ASSERT_EQ(commands.size(), 1u);
  ASSERT_EQ(commands[0].size(), 5u);
  EXPECT_EQ(commands[0][0], "qdbus");
  EXPECT_NE(commands[0][4].find("var pictures = [\"file:///tmp/q%22uote.png\"];"), std::string::npos);
  EXPECT_NE(commands[0][4].find("d.writeConfig(\"FillMode\", 3);"), std::string::npos);
}

TEST(DesktopSetters, TheLockScreenIsSetWhereTheDesktopOffersIt) {
  const std::string uri = "file:///p.png", group = "kscreenlockerrc --group Greeter";
  const struct {
    LinuxDesktop desktop;
    std::vector<std::string> programs;
    bool spanned;
    std::string expected;
  } cases[] = {
      {LinuxDesktop::kGnome, {}, true, "gsettings set org.gnome.desktop.screensaver picture-options 'spanned'|"
                                       "gsettings set org.gnome.desktop.screensaver picture-uri '" + uri + "'|"},
      {LinuxDesktop::kCinnamon, {}, false, "gsettings set org.cinnamon.desktop.screensaver picture-options 'wallpaper'|"
                                           "gsettings set org.cinnamon.desktop.screensaver picture-uri '" + uri + "'|"},
      {LinuxDesktop::kKde, {"kwriteconfig5", "kwriteconfig6"}, false,
       "kwriteconfig6 --file " + group + " --key WallpaperPlugin org.kde.image|kwriteconfig6 --file " + group +
           " --group Wallpaper --group org.kde.image --group General --key Image " + uri + "|"},
      {LinuxDesktop::kKde, {"qdbus"}, false, ""},
      {LinuxDesktop::kMate, {}, false, ""},
      {LinuxDesktop::kSway, {}, false, ""},
  };
  for (const auto& c : cases) {
    std::string lines;
    for (const ArgumentVector& command : LockScreenCommandLines(c.desktop, Session("", c.programs), "/p.png",
                                                                WallpaperAction::kTile, c.spanned)) {
      for (const std::string& word : command) lines += (word == command[0] ? "" : " ") + word;
      lines += "|";
    }
    EXPECT_EQ(lines, c.expected) << LinuxDesktopName(c.desktop);
  }
}

TEST(DesktopSetters, XfceListingGivesEveryLastImageProperty) {
  const std::string listing =
      "/backdrop/screen0/monitorVirtual1/workspace0/color-style\n"
      "/backdrop/screen0/monitorVirtual1/workspace0/last-image\n"
      "/backdrop/screen0/monitorVirtual1/workspace1/last-image\r\n"
      "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
      "/desktop-icons/last-image-not\n";
  EXPECT_EQ(XfceImageProperties(listing),
            (std::vector<std::string>{"/backdrop/screen0/monitorVirtual1/workspace0/last-image",
                                      "/backdrop/screen0/monitorVirtual1/workspace1/last-image",
                                      "/backdrop/screen0/monitorHDMI-1/workspace0/last-image"}));
  // A desktop that has never had a wallpaper set gets the first monitor's.
  const auto commands = WallpaperCommandLines(LinuxDesktop::kXfce, Session("XFCE", {"xfconf-query"}), "/p.png",
                                              WallpaperAction::kTile);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1][4], "/backdrop/screen0/monitor0/workspace0/last-image");
}

}  // namespace
