// vitrelle-cli wallpaper and autostart as a user runs them, where no
// desktop answers: the desktops themselves are tried by scripts/desktop_tests.sh.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>
#include <wordexp.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "cli/cli_test_support.h"
#include "testing/test_support.h"

namespace {

// No desktop: no name, no display, no Sway; the files go into the folder.
std::string Nowhere(const TestFolder& folder) {
  return "-u DISPLAY -u SWAYSOCK XDG_CURRENT_DESKTOP=Nowhere XDG_DATA_HOME=" + folder.PathOf("data") +
         " XDG_STATE_HOME=" + folder.PathOf("state") + " XDG_CONFIG_HOME=" + folder.PathOf("config");
}

// A desktop whose programs are the stand-ins in the folder's "bin".
std::string On(const TestFolder& folder, const std::string& desktop) {
  return Nowhere(folder) + " PATH=" + folder.PathOf("bin") + " XDG_CURRENT_DESKTOP=" + desktop;
}

std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

// A program that runs the shell commands, as a desktop's stand-in.
void StandIn(const std::string& path, const std::string& commands) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  ASSERT_TRUE(RunCommand("printf '#!/bin/sh\\n%s\\n' " + ShellWord(commands) + " >" + ShellWord(path) + " && chmod +x " + ShellWord(path)));
}

// Sway's reading: parts end at a separator outside quotes (a backslash
// escapes a quote); `unquote` drops the quotes of a part that starts with one.
std::vector<std::string> SwayParts(const std::string& line, const char* separators, bool unquote = false) {
  std::vector<std::string> parts(1);
  char quote = 0;
  bool escaped = false;
  for (char c : line) {
    const bool toggles = !escaped && (c == '"' || c == '\'') && (!quote || quote == c);
    const bool splits = !quote && !escaped && std::strchr(separators, c);
    if (toggles) quote = quote ? 0 : c;
    escaped = c == '\\' && !escaped;
    if (splits) parts.emplace_back();
    else if (!toggles || !unquote) parts.back() += c;
  }
  return parts;
}

// The picture that sway opens for the command line swaymsg sent.
std::string SwayOpens(std::string line) {
  std::replace(line.begin(), line.end(), '\n', ';');
  std::vector<std::string> commands = SwayParts(line, ";,");
  if (commands.size() != 1) return "more than one command: " + line;
  std::vector<std::string> words;
  for (const std::string& word : SwayParts(commands[0], " ")) {
    if (!word.empty()) words.push_back(SwayParts(word, "", word[0] == '"' || word[0] == '\'')[0]);
  }
  if (words.size() < 5 || words[2] != "bg") return "not output * bg FILE MODE: " + line;
  std::string path = words[3];
  for (size_t i = 4; i + 1 < words.size(); ++i) path += " " + words[i];
  for (size_t at; (at = path.find("  ")) != std::string::npos;) path.replace(at, 2, " \\ ");
  wordexp_t expanded;
  if (wordexp(path.c_str(), &expanded, WRDE_NOCMD) != 0) return "expands with a command: " + path;
  const std::string opened = expanded.we_wordc == 1 ? expanded.we_wordv[0] : "not one word: " + path;
  wordfree(&expanded);
  return opened;
}

TEST(CliWallpaper, SwayOpensThePictureNamedAndRunsNothingElse) {
  TestFolder folder;
  StandIn(folder.PathOf("bin/swaymsg"), "printf %s \"$*\" >" + ShellWord(folder.PathOf("sent")));
  const std::string pictures = folder.PathOf("o'neil $HOME, `id`");
  std::filesystem::create_directories(pictures);
  ASSERT_EQ(RunCli("make --size 8x8 " + ShellWord(pictures + "/p.png")), 0);
  const char* names[] = {"pic $(cd;touch PWNED).png", "a;exec touch X;.png", "it's, \"quoted\".png",
                         "back`id`\\slash\\.png",   "two  spaces *?[a].png", "~ {a,b} #%.png",
                         "caf\xC3\xA9 \xE2\x80\x94.png", "line\nfeed.png"};
  for (const std::string name : names) {
    SCOPED_TRACE(name);
    const std::string picture = pictures + "/" + name;
    std::filesystem::copy_file(pictures + "/p.png", picture);
    std::filesystem::remove(folder.PathOf("sent"));
    std::string errors;
    const int exitCode = RunCliWith(On(folder, "sway"), "wallpaper tile --file " + ShellWord(picture), &errors);
    if (name.find('\n') != std::string::npos) {
      EXPECT_EQ(exitCode, 1);
      EXPECT_NE(errors.find("line feed"), std::string::npos) << errors;
      EXPECT_FALSE(std::filesystem::exists(folder.PathOf("sent")));
    } else {
      EXPECT_EQ(exitCode, 0) << errors;
      EXPECT_EQ(SwayOpens(TestFolder::Read(folder.PathOf("sent"))), picture);
    }
  }
}

TEST(CliWallpaper, ProgramsRunFromThePathsWholeFoldersOnly) {
  TestFolder folder;
  StandIn(folder.PathOf("here/gsettings"), "echo here >>" + ShellWord(folder.PathOf("ran")));
  StandIn(folder.PathOf("bin/gsettings"), "echo bin >>" + ShellWord(folder.PathOf("ran")));
  const struct {
    std::string path;
    int exitCode;
    std::string ran;
  } cases[] = {{":" + folder.PathOf("bin"), 0, "bin\nbin\nbin\n"}, {".:here", 1, ""}, {":", 1, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::filesystem::remove(folder.PathOf("ran"));
    EXPECT_EQ(RunCliWith("-C " + folder.PathOf("here") + " " + On(folder, "GNOME") + " PATH=" + c.path,
                         "wallpaper tile --size 8x8"),
              c.exitCode);
    EXPECT_EQ(TestFolder::Read(folder.PathOf("ran")), c.ran);
  }
}

TEST(CliWallpaper, FailedRunsNeverRemoveThePictureTheDesktopShows) {
  TestFolder folder;
  StandIn(folder.PathOf("bin/gsettings"), "test ! -e " + ShellWord(folder.PathOf("refuse")));
  const struct {
    bool refused;
    std::vector<std::string> kept;
  } runs[] = {{false, {"1"}}, {true, {"1", "2"}}, {true, {"1", "2", "3"}}, {true, {"1", "2", "3", "4"}},
              {false, {"1", "5"}}, {false, {"5", "6"}}};
  for (const auto& run : runs) {
    if (run.refused) RunCommand("touch " + folder.PathOf("refuse"));
    else std::filesystem::remove(folder.PathOf("refuse"));
    EXPECT_EQ(RunCliWith(On(folder, "GNOME"), "wallpaper tile --size 8x8"), run.refused ? 1 : 0);
    std::vector<std::string> kept;
    for (int n = 1; n <= 6; ++n) {
      if (std::filesystem::exists(folder.PathOf("data/vitrelle/wallpaper-" + std::to_string(n) + ".png"))) kept.push_back(std::to_string(n));
    }
    EXPECT_EQ(kept, run.kept);
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
  for (const std::string argument : {"--file a.png", "--config mine.cfg"}) {
    EXPECT_EQ(RunCliWith("-C " + folder.PathOf("") + " " + Nowhere(folder), "autostart on center " + argument), 0);
    const std::string entry = TestFolder::Read(folder.PathOf("config/autostart/vitrelle-wallpaper.desktop"));
    const std::string whole = argument.substr(0, argument.find(' ') + 1) + folder.PathOf(argument.substr(argument.find(' ') + 1));
    EXPECT_NE(entry.find(" center " + whole + (argument[2] == 'f' ? "\n" : " --pattern random\n")), std::string::npos) << entry;
  }
}

TEST(CliWallpaper, TheHomeComesFromTheUserRecordAndIsNeverRelative) {
  TestFolder folder;
  const std::string entry = std::string(getpwuid(getuid())->pw_dir) + "/.config/autostart/vitrelle-wallpaper.desktop";
  if (std::filesystem::exists(entry)) GTEST_SKIP() << "leaves the user's own entry alone: " << entry;
  std::filesystem::create_directories(folder.PathOf("here"));
  const struct {
    std::string environment, arguments, message;
    int exitCode;
  } cases[] = {
      {"-u HOME", "autostart off", "(" + entry + " does not exist)", 0},
      {"HOME=", "autostart off", "(" + entry + " does not exist)", 0},
      {"HOME=here", "autostart on", "set HOME to your home folder", 1},
      {"HOME=here", "wallpaper tile --size 8x8", "set HOME to your home folder", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.environment + " " + c.arguments);
    std::string errors, output;
    EXPECT_EQ(RunCliWith("-C " + folder.PathOf("here") + " -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME " +
                             c.environment, c.arguments, &errors, &output),
              c.exitCode);
    EXPECT_NE((output + errors).find(c.message), std::string::npos) << output << errors;
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.PathOf("here")));
}

}  // namespace
