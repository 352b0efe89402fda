// vitrelle-cli wallpaper and autostart as a user runs them, where no
// desktop answers: the desktops themselves are tried by scripts/desktop_tests.sh.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>
#include <wordexp.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/file_io.h"
#include "cli/cli_test_support.h"
#include "image/png_reader.h"
#include "testing/test_support.h"
#include "wallpaper/wallpaper_log.h"

namespace {

// No desktop: no name, no display, no Sway; the files go into the folder.
std::string Nowhere(const TestFolder& folder) {
  return "-u DISPLAY -u WAYLAND_DISPLAY -u SWAYSOCK XDG_CURRENT_DESKTOP=Nowhere XDG_DATA_HOME=" + folder.PathOf("data") +
         " XDG_STATE_HOME=" + folder.PathOf("state") + " XDG_CONFIG_HOME=" + folder.PathOf("config");
}

// A stand-in for a desktop's program, which runs the shell commands.
void StandIn(const TestFolder& folder, const std::string& name, const std::string& commands) {
  std::filesystem::create_directories(std::filesystem::path(folder.PathOf(name)).parent_path());
  std::filesystem::permissions(folder.Write("#!/bin/sh\n" + commands + "\n", name), std::filesystem::perms::owner_all);
}

// A desktop whose programs are the stand-ins in "bin".
std::string On(const TestFolder& folder, const std::string& desktop) {
  return Nowhere(folder) + " PATH=" + folder.PathOf("bin") + " XDG_CURRENT_DESKTOP=" + desktop;
}

std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

// The picture sway opens for the line swaymsg sent, or what went wrong:
// commands end at ";" or "," (a line feed is one), words at a blank, outside
// quotes (a backslash escapes a quote); quotes are dropped, and the file is
// expanded as a shell word after runs of blanks are escaped.
std::string SwayOpens(const std::string& line) {
  std::vector<std::string> words(1);
  char quote = 0;
  bool escaped = false;
  for (char c : line) {
    const bool toggles = !escaped && (c == '"' || c == '\'') && (!quote || quote == c);
    const bool splits = !quote && !escaped && std::strchr(";,\n ", c);
    if (splits && c != ' ') return "more than one command: " + line;
    if (toggles) quote = quote ? 0 : c;
    escaped = c == '\\' && !escaped;
    if (splits) words.emplace_back();
    else if (!toggles) words.back() += c;
  }
  if (words.size() != 5 || words[2] != "bg") return "not output * bg FILE MODE: " + line;
  for (size_t at; (at = words[3].find("  ")) != std::string::npos;) words[3].replace(at, 2, " \\ ");
  wordexp_t expanded;
  if (wordexp(words[3].c_str(), &expanded, WRDE_NOCMD) != 0) return "expands with a command: " + words[3];
  const std::string opened = expanded.we_wordc == 1 ? expanded.we_wordv[0] : "not one word: " + words[3];
  wordfree(&expanded);
  return opened;
}

TEST(CliWallpaper, SwayOpensThePictureNamedAndRunsNothingElse) {
  TestFolder folder;
  StandIn(folder, "bin/swaymsg", "printf %s \"$*\" >" + ShellWord(folder.PathOf("sent")));
  const std::string pictures = folder.PathOf("o'neil $HOME, `id`/");
  std::filesystem::create_directories(pictures);
  ASSERT_EQ(RunCli("make --size 8x8 " + ShellWord(pictures + "p.png")), 0);
  for (const std::string name : {"pic $(cd;touch PWNED).png", "a;exec touch X;.png", "it's, \"quoted\".png",
                                 "back`id`\\slash\\.png", "two  spaces *?[a].png", "~ {a,b} #%.png",
                                 "caf\xC3\xA9 \xE2\x80\x94.png", "line\nfeed.png"}) {
    SCOPED_TRACE(name);
    std::filesystem::copy_file(pictures + "p.png", pictures + name);
    std::filesystem::remove(folder.PathOf("sent"));
    std::string errors;
    const bool lineFeed = name.find('\n') != std::string::npos;  // refused: sway reads it as ";"
    const std::string arguments = "wallpaper tile --file " + ShellWord(pictures + name);
    EXPECT_EQ(RunCliWith(On(folder, "sway"), arguments, &errors), lineFeed ? 1 : 0);
    EXPECT_EQ(lineFeed ? errors.substr(0, 48) : SwayOpens(TestFolder::Read(folder.PathOf("sent"))),
              lineFeed ? "Sway cannot take a picture whose name holds a li" : pictures + name);
  }
}

TEST(CliWallpaper, ProgramsRunFromThePathsWholeFoldersOnly) {
  TestFolder folder;
  StandIn(folder, "bin/gsettings", "echo bin >>" + ShellWord(folder.PathOf("ran")));
  StandIn(folder, "here/gsettings", "echo here >>" + ShellWord(folder.PathOf("ran")));
  for (const std::string& path : {":" + folder.PathOf("bin"), std::string(".:here"), std::string(":")}) {
    SCOPED_TRACE(path);
    std::filesystem::remove(folder.PathOf("ran"));
    const std::string environment = "-C " + folder.PathOf("here") + " " + On(folder, "GNOME") + " PATH=" + path;
    EXPECT_EQ(RunCliWith(environment, "wallpaper tile --size 8x8"), path[1] == '/' ? 0 : 1);
    EXPECT_EQ(TestFolder::Read(folder.PathOf("ran")), path[1] == '/' ? "bin\nbin\nbin\n" : "");
  }
}

TEST(CliWallpaper, FailedRunsNeverRemoveThePictureTheDesktopShows) {
  TestFolder folder;
  StandIn(folder, "bin/gsettings", "test ! -e " + ShellWord(folder.PathOf("refuse")));
  // Refused or not, and the numbers of the pictures left after each run.
  for (const std::string run : {"+1", "-12", "-123", "-1234", "+15", "+56"}) {
    SCOPED_TRACE(run);
    RunCommand((run[0] == '-' ? "touch " : "rm -f ") + folder.PathOf("refuse"));
    EXPECT_EQ(RunCliWith(On(folder, "GNOME"), "wallpaper tile --size 8x8"), run[0] == '-' ? 1 : 0);
    std::string kept;
    for (char n = '1'; n <= '6'; ++n) {
      if (std::filesystem::exists(folder.PathOf(std::string("data/vitrelle/wallpaper-") + n + ".png"))) kept += n;
    }
    EXPECT_EQ(kept, run.substr(1));
  }
}

TEST(CliWallpaper, RandomChoicesRepeatWithTheSameTime) {
  TestFolder folder;
  std::string first, second, other, errors;
  const std::string run = "wallpaper tile --pattern random --colors random --mirror random --size 40x30 ";
  EXPECT_EQ(RunCliWith(Nowhere(folder), run + "--time 777", &errors, &first), 1) << errors;
  EXPECT_NE(errors.find("No desktop found"), std::string::npos) << errors;
  EXPECT_EQ(RunCliWith(Nowhere(folder), run + "--time 777", nullptr, &second), 1);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first.rfind("pattern ", 0), 0u) << first;
  EXPECT_NE(first.find(", size 40x30, time 777\n"), std::string::npos) << first;
  EXPECT_EQ(TestFolder::Read(folder.PathOf("data/vitrelle/wallpaper-1.png")),
            TestFolder::Read(folder.PathOf("data/vitrelle/wallpaper-2.png")));
  bool anotherChoice = false;
  for (int time = 778; time < 790 && !anotherChoice; ++time) {
    RunCliWith(Nowhere(folder), run + "--time " + std::to_string(time), nullptr, &other);
    anotherChoice = other.substr(0, other.find(", size")) != first.substr(0, first.find(", size"));
  }
  EXPECT_TRUE(anotherChoice) << "random picked the same entries at every time";
}

TEST(CliWallpaper, BadRequestsAreRefusedBeforeAnythingIsWritten) {
  TestFolder folder;
  const struct {
    const char* arguments;
    int exitCode;
    const char* message;
  } cases[] = {
      {"wallpaper", 2, "Say tile, center or clear"},
      {"wallpaper stretch", 2, "Not tile, center or clear: stretch"},
      {"wallpaper tile --mirror sideways", 2, "Unknown mirror mode: sideways"},
      {"wallpaper tile --file /no/such.png", 1, "Cannot open file: /no/such.png"},
      {"wallpaper tile --file /etc/hostname --pattern 1", 2, "--file takes a picture as it is"},
      {"wallpaper tile --file ''", 2, "Missing value for --file"},
      {"wallpaper tile --file /etc", 1, "Cannot open file: /etc"},
      {"wallpaper center --file /etc/hostname", 1, "Cannot open file: /etc/hostname"},
      {"autostart on --file /etc/hostname", 1, "Cannot open file: /etc/hostname"},
      {"autostart on --config /no/such.cfg", 1, "Cannot open file: /no/such.cfg"},
      {"autostart on clear", 2, "autostart on takes tile or center"},
      {"autostart on --size", 2, "Missing value for --size"},
      {"autostart on --recipe x", 2, "it takes no --recipe"},
      {"wallpaper tile --recipe x --size 8x8", 2, "--recipe makes the picture it tells"},
      {"wallpaper tile --file /etc/hostname --recipe x", 2, "--file takes a picture as it is"},
      {"wallpaper center --recipe nonsense", 1, "Not a valid recipe, nor a picture file: nonsense"},
      {"history", 1, "No wallpaper has been logged yet"},
      {"keep 2", 1, "No wallpaper has been logged yet"},
      {"keep 0", 2, "Not the number of a wallpaper"},
      {"keep --name ''", 2, "The Pattern name is empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    std::string errors;
    EXPECT_EQ(RunCliWith(Nowhere(folder), c.arguments, &errors), c.exitCode);
    EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
  }
  EXPECT_FALSE(std::filesystem::exists(folder.PathOf("data")));
  EXPECT_FALSE(std::filesystem::exists(folder.PathOf("config")));
}

TEST(CliWallpaper, TheSigninEntryNamesWholePathsFromAnyFolder) {
  TestFolder folder;
  ASSERT_EQ(RunCli("make --size 8x8 " + folder.PathOf("a.png")), 0);
  std::filesystem::copy_file(VITRELLE_BINARY_DIR "/vitrelle.cfg", folder.PathOf("mine.cfg"));
  const std::pair<std::string, std::string> runs[] = {  // what autostart on is given, what its entry runs
      {"--file a.png", " tile --file " + folder.PathOf("a.png")},
      {"--config mine.cfg", " tile --config " + folder.PathOf("mine.cfg")},
      {"center --each-screen --mirror cross", " center --each-screen --mirror cross --pattern random"}};
  for (const auto& [given, entryRuns] : runs) {
    EXPECT_EQ(RunCliWith("-C " + folder.PathOf("") + " " + Nowhere(folder), "autostart on " + given), 0);
    const std::string entry = TestFolder::Read(folder.PathOf("config/autostart/vitrelle-wallpaper.desktop"));
    EXPECT_NE(entry.find(entryRuns), std::string::npos) << entry;
  }
}

// Two RandR monitors told by a stand-in xrandr; without it, one picture.
TEST(CliWallpaper, EachScreenGrowsAPictureAtEveryScreensSizeAndPlace) {
  TestFolder folder;
  StandIn(folder, "bin/xrandr", "printf 'Monitors: 2\\n 0: +*L 60/1x40/1+0+0  DUMMY0\\n 1: R 30/1x50/1+60+0  none\\n'");
  const std::string x11 = On(folder, "Nowhere") + " DISPLAY=:9 ", none = Nowhere(folder);
  const std::string run = "--pattern random --mirror random --time 5";
  const char* cases[][4] = {  // environment, arguments, what is told, the picture's size
      {x11.c_str(), "wallpaper center --each-screen", "screen L (primary) at 0,0: pattern ", "90x50"},
      {x11.c_str(), "wallpaper center --each-screen", "screen R at 60,0: pattern ", "90x50"},
      {x11.c_str(), "wallpaper tile --size screen", ", size 60x40, time", "60x40"},
      {none.c_str(), "wallpaper clear --each-screen", "not with clear or --file", ""},
      {none.c_str(), "wallpaper tile --each-screen", "No screen source answered (found none of xrandr", "20x10"},
      {none.c_str(), "wallpaper tile --size screen", "No screen is known here (found none of xrandr", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c[0]) + c[1]);
    std::filesystem::remove_all(folder.PathOf("data"));
    std::string errors, output;
    RunCliWith(c[0], std::string(c[1]) + " " + run + (c[3][0] == '2' ? " --size 20x10" : ""), &errors, &output);
    EXPECT_NE((output + errors).find(c[2]), std::string::npos) << output << errors;
    const DibImagePtr picture = ReadPngFile(folder.PathOf("data/vitrelle/wallpaper-1.png").c_str());
    EXPECT_EQ(picture ? std::to_string(DibWidth(*picture)) + "x" + std::to_string(DibHeight(*picture)) : "", c[3]);
  }
  std::string output;  // each screen's random choices are drawn anew
  RunCliWith(x11, "wallpaper tile --each-screen --pattern random --colors random --time 7", nullptr, &output);
  const size_t second = output.find("screen R");
  ASSERT_NE(second, std::string::npos) << output;
  EXPECT_NE(output.substr(output.find(':') + 1, output.find(", size") - output.find(':')),
            output.substr(output.find(':', second) + 1, output.find(", size", second) - output.find(':', second)));
}

// Each desktop with stand-ins for its programs, which record the lines that
// name pictures: one picture spanned, or each screen's on its screen.
TEST(CliWallpaper, EachDesktopGetsEveryScreensPictureOrOneSpanned) {
  TestFolder folder;
  const std::string ran = ">>" + ShellWord(folder.PathOf("ran")), pictures = folder.PathOf("data/vitrelle");
  StandIn(folder, "bin/xrandr", "printf 'Monitors: 2\\n 0: +*L 60/1x40/1+0+0  DUMMY0\\n 1: R 30/1x50/1+60+0  none\\n'");
  StandIn(folder, "bin/gsettings", "case $1 in list-keys) echo picture-uri-dark;; *) echo \"$3 $4\" " + ran + ";; esac");
  StandIn(folder, "bin/xwallpaper", "echo \"$*\" " + ran);
  StandIn(folder, "bin/qdbus", "printf '%s\\n' \"$4\" | while read -r l; do case \"$l\" in *pictures*) echo \"$l\";; esac; done " + ran);
  StandIn(folder, "bin/xfconf-query", "if [ \"$3\" = -l ]; then echo /backdrop/screen0/monitorR/workspace1/last-image; "
                                      "else case \"$4\" in *last-image) echo \"$4 $9\" " + ran + ";; esac; fi");
  StandIn(folder, "bin/swaymsg", "case \"$*\" in *get_outputs) printf '[{\"name\":\"L\",\"active\":true,\"rect\":"
                                 "{\"x\":0,\"y\":0,\"width\":60,\"height\":40}},{\"name\":\"R\",\"active\":true,"
                                 "\"rect\":{\"x\":60,\"y\":0,\"width\":30,\"height\":50}}]';; *) echo \"$*\" " + ran + ";; esac");
  const char* cases[][3] = {  // desktop, lines recorded (D the pictures' folder), the first picture's size
      {"GNOME", "picture-options 'spanned'\npicture-uri 'file://D/wallpaper-1.png'\n"
                "picture-uri-dark 'file://D/wallpaper-1.png'\n", "90x50"},
      {"Nowhere", "--no-randr --tile D/wallpaper-1.png\n", "90x50"},
      {"KDE", "var pictures = [\"file://D/wallpaper-1.png\", \"file://D/wallpaper-2.png\"];\n"
              "if (d.screen < 0 || d.screen >= pictures.length) continue;\n"
              "d.writeConfig(\"Image\", pictures[d.screen]);\n", "60x40"},
      {"XFCE", "/backdrop/screen0/monitorL/workspace0/last-image D/wallpaper-1.png\n"
               "/backdrop/screen0/monitorL/workspace1/last-image D/wallpaper-1.png\n"
               "/backdrop/screen0/monitorR/workspace0/last-image D/wallpaper-2.png\n"
               "/backdrop/screen0/monitorR/workspace1/last-image D/wallpaper-2.png\n", "60x40"},
      {"sway", "output \"L\" bg \"D/wallpaper-1.png\" tile\noutput \"R\" bg \"D/wallpaper-2.png\" tile\n", "60x40"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    std::filesystem::remove_all(pictures);
    std::filesystem::remove(folder.PathOf("ran"));
    std::string errors;
    const std::string session = On(folder, c[0]) + (c[0][0] == 's' ? " SWAYSOCK=/s" : " DISPLAY=:9");
    EXPECT_EQ(RunCliWith(session, "wallpaper tile --each-screen", &errors), 0) << errors;
    std::string recorded = TestFolder::Read(folder.PathOf("ran"));
    for (size_t at; (at = recorded.find(pictures)) != std::string::npos;) recorded.replace(at, pictures.size(), 1, 'D');
    EXPECT_EQ(recorded, c[1]);
    const DibImagePtr first = ReadPngFile((pictures + "/wallpaper-1.png").c_str());
    EXPECT_EQ(first ? std::to_string(DibWidth(*first)) + "x" + std::to_string(DibHeight(*first)) : "", c[2]);
  }
  // Every screen's picture shown before is kept with the new ones.
  for (const char* kept : {"1234", "3456"}) {
    EXPECT_EQ(RunCliWith(On(folder, "sway") + " SWAYSOCK=/s", "wallpaper tile --each-screen"), 0);
    std::string numbers;
    for (char n = '1'; n <= '6'; ++n) numbers += std::filesystem::exists(pictures + "/wallpaper-" + n + ".png") ? n : ' ';
    EXPECT_EQ(numbers.substr(numbers.find_first_not_of(' '), 4), kept);
  }
}

// A desktop that takes every picture, the pictures folder named unless
// `instead` is given; and the recipe line a run printed.
std::string OnGnome(const TestFolder& folder, const std::string& instead = "") {
  StandIn(folder, "bin/gsettings", "true");
  return "-u WAYLAND_DISPLAY " + On(folder, "GNOME") + " " +
         (instead.empty() ? "XDG_PICTURES_DIR=" + folder.PathOf("pictures") : instead);
}

std::string RecipeOf(const std::string& output) {
  const size_t at = output.find("recipe: ");
  return at == std::string::npos ? std::string() : output.substr(at + 8, output.find('\n', at) - at - 8);
}

// 104 entries logged before, then one run: history shows the newest 100.
TEST(CliWallpaper, TheLogKeepsTheNewestHundred) {
  TestFolder folder;
  std::filesystem::create_directories(folder.PathOf("state/vitrelle"));
  for (int i = 1; i <= 104; ++i) {
    const WallpaperLogEntry entry{"2026-12-09 10:00:00 UTC", "tile", "GNOME", "", "/p" + std::to_string(i) + ".png"};
    ASSERT_TRUE(AppendWallpaperLog(folder.PathOf("state/vitrelle/wallpapers.log"), entry));
  }
  std::string output, history;
  ASSERT_EQ(RunCliWith(OnGnome(folder), "wallpaper center --size 8x8", nullptr, &output), 0);
  ASSERT_EQ(RunCliWith(OnGnome(folder), "history", nullptr, &history), 0);
  std::vector<std::string> lines;
  for (size_t at = 0; at < history.size(); at = history.find('\n', at) + 1) {
    lines.push_back(history.substr(at, history.find('\n', at) - at));
  }
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_NE(lines[0].find("  center  GNOME  " + RecipeOf(output)), std::string::npos) << lines[0];
  EXPECT_EQ(lines[0].substr(0, 5), "  1  ");
  const std::pair<size_t, std::string> older[] = {{1, "file /p104.png"}, {2, "file /p103.png"}, {99, "file /p6.png"}};
  for (const auto& [line, file] : older) EXPECT_EQ(lines[line].substr(lines[line].find("file")), file) << line;
}

// An earlier wallpaper's recipe from the history sets the very picture again.
TEST(CliWallpaper, RecipeSetsTheVeryPictureAgain) {
  TestFolder folder;
  std::string history;
  ASSERT_EQ(RunCliWith(OnGnome(folder), "wallpaper tile --pattern random --size 40x30 --time 9"), 0);
  std::filesystem::copy_file(folder.PathOf("data/vitrelle/wallpaper-1.png"), folder.PathOf("first.png"));
  ASSERT_EQ(RunCliWith(OnGnome(folder), "wallpaper tile --size 40x30 --time 10"), 0);
  ASSERT_EQ(RunCliWith(OnGnome(folder), "history", nullptr, &history), 0);
  const std::string recipe = history.substr(history.rfind("vitrelle1:"));  // wallpaper 2's, and white space
  ASSERT_EQ(RunCliWith(OnGnome(folder), "wallpaper center --recipe " + ShellWord(recipe)), 0);
  const std::string first = TestFolder::Read(folder.PathOf("first.png"));
  EXPECT_EQ(TestFolder::Read(folder.PathOf("data/vitrelle/wallpaper-3.png")), first);
  EXPECT_NE(TestFolder::Read(folder.PathOf("data/vitrelle/wallpaper-2.png")), first);
}

// keep adds a Pattern (and the colour set when the file has none like it)
// that make --pattern NAME grows the kept picture with; the file's other
// lines stay byte for byte, and bad requests change nothing.
TEST(CliWallpaper, KeptPatternMakesTheKeptPicture) {
  TestFolder folder;
  const std::string shipped = TestFolder::Read(VITRELLE_BINARY_DIR "/vitrelle.cfg");
  const std::string noSunset = shipped.substr(0, shipped.find("4,Sunset")) + shipped.substr(shipped.find("4,Forest"));
  std::filesystem::create_directories(folder.PathOf("config"));
  folder.Write("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "config/user-dirs.dirs");
  const std::string userDirs = "-u XDG_PICTURES_DIR " + OnGnome(folder, "HOME=" + folder.PathOf(""));
  const struct {
    std::string config, environment, picture;
    size_t linesAdded;
  } cases[] = {{shipped, OnGnome(folder), "pictures/Vitrelle/My reef.png", 1},
               {noSunset, userDirs, "Bilder/Vitrelle/My reef.png", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    const std::string config = folder.Write(c.config, "mine.cfg"), made = folder.PathOf("made.png");
    const std::string choice = " --size 40x30 --time 77 --mirror cross";
    ASSERT_EQ(RunCliWith(c.environment, "wallpaper tile --pattern Reef --colors Sunset" + choice), 0);
    std::string errors;
    ASSERT_EQ(RunCliWith(c.environment, "keep --name 'My reef' --config " + config, &errors), 0) << errors;
    const std::string kept = TestFolder::Read(config);
    EXPECT_EQ(kept.substr(0, c.config.size()), c.config);
    EXPECT_EQ(std::count(kept.begin() + long(c.config.size()), kept.end(), '\n'), long(c.linesAdded));
    ASSERT_EQ(RunCli("make --config " + config + " --pattern 'My reef'" + choice + " " + made), 0);
    EXPECT_EQ(MagickRgb(made), MagickRgb(folder.PathOf(c.picture)));
    for (const std::string bad : {"keep 9", "keep --name 'My reef'", "keep --name a,b", "keep --name 12"}) {
      EXPECT_EQ(RunCliWith(c.environment, bad + " --config " + config, &errors), 1) << bad;
      EXPECT_EQ(TestFolder::Read(config), kept) << bad;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FolderOf(folder.PathOf(c.picture))), {}), 1);
  }
}

// HOME unset: the user record's home; not a whole path: refused, nothing written.
TEST(CliWallpaper, TheHomeComesFromTheUserRecordAndIsNeverRelative) {
  TestFolder folder;
  const std::string entry = std::string(getpwuid(getuid())->pw_dir) + "/.config/autostart/vitrelle-wallpaper.desktop";
  if (std::filesystem::exists(entry)) GTEST_SKIP() << "leaves the user's own entry alone: " << entry;
  const std::string relative = "set HOME to your home folder", cases[][3] = {
      {"-u HOME", "autostart off", "(" + entry + " does not exist)"},
      {"HOME=here", "autostart on", relative}, {"HOME=here", "wallpaper tile --size 8x8", relative}};
  for (const auto& c : cases) {
    std::string errors, output;
    const std::string environment =
        "-C " + folder.PathOf("") + " -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME " + c[0];
    EXPECT_EQ(RunCliWith(environment, c[1], &errors, &output), c[2] == relative ? 1 : 0) << c[1];
    EXPECT_NE((output + errors).find(c[2]), std::string::npos) << output << errors;
  }
  EXPECT_EQ(folder.FileCount(), 0u);
}

}  // namespace
