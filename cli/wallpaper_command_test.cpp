// vitrelle-cli wallpaper and autostart as a user runs them, where no
// desktop answers: the desktops themselves are tried by scripts/desktop_tests.sh.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_test_support.h"
#include "testing/test_support.h"

namespace {

// No desktop: no name, no display, no Sway; the files go into the folder.
std::string Nowhere(const TestFolder& folder) {
  return "-u DISPLAY -u SWAYSOCK XDG_CURRENT_DESKTOP=Nowhere XDG_DATA_HOME=" + folder.PathOf("data") +
         " XDG_STATE_HOME=" + folder.PathOf("state") + " XDG_CONFIG_HOME=" + folder.PathOf("config");
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

}  // namespace
