#include "wallpaper/signin.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

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
  choice.eachScreen = true;
  EXPECT_EQ(SigninWallpaperArguments(choice).back(), "--each-screen");
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
  EXPECT_EQ(OldNumberedPictures(names, {"wallpaper-10.png"}, nullptr), std::vector<std::string>{"wallpaper-2.png"});
  const std::string first = "wallpaper-1.png", nines = "wallpaper-" + std::string(20, '9') + ".png";
  const std::vector<std::string> shown = {first, "wallpaper-3.png"}, five = {"wallpaper-5.png", "wallpaper-4.png"};
  EXPECT_TRUE(OldNumberedPictures({first, "wallpaper-2.png"}, {"wallpaper-2.png"}, &shown).empty());
  EXPECT_EQ(OldNumberedPictures({first, "wallpaper-2.png", "wallpaper-3.png", five[0], five[1]}, five, &shown),
            std::vector<std::string>{"wallpaper-2.png"});
  EXPECT_EQ(NextNumberedPicture({nines, "wallpaper-0099.png"}), "wallpaper-1" + std::string(20, '0') + ".png");
}

// Stands in for the Run value and the dialog.
struct SigninRecorder {
  bool haveValue = false;
  std::string value;
  bool answers = true;  // OK in the dialog, choosing centred and cross
  bool writes = true, deletes = true;
  SigninChoice offered;

  SigninCalls Calls() {
    SigninCalls calls;
    calls.context = this;
    calls.readRunValue = [](void* context, std::string& text) {
      auto* self = static_cast<SigninRecorder*>(context);
      text = self->value;
      return self->haveValue;
    };
    calls.writeRunValue = [](void* context, const std::string& text) {
      auto* self = static_cast<SigninRecorder*>(context);
      if (!self->writes) return false;
      self->haveValue = true;
      self->value = text;
      return true;
    };
    calls.deleteRunValue = [](void* context) {
      auto* self = static_cast<SigninRecorder*>(context);
      if (self->deletes) self->haveValue = false;
      return self->deletes;
    };
    calls.askChoice = [](void* context, SigninChoice& choice) {
      auto* self = static_cast<SigninRecorder*>(context);
      self->offered = choice;
      choice.arrangement = WallpaperArrangement::Centered;
      choice.mirror = kMirrorCross;
      return self->answers;
    };
    return calls;
  }
};

TEST(Signin, TheMenuItemRegistersThisCopyAndRemovesOnlyWhatItChecks) {
  TestFolder folder;
  const std::string tool = folder.Write("tool", "vitrelle-wallpaper.exe");
  const std::string registered = "\"" + tool + "\" wallpaper center --pattern random --mirror cross --size 800x600";
  SigninChoice defaults;
  defaults.mirror = kMirrorVertical;
  defaults.width = 800;
  defaults.height = 600;
  const struct {
    const char* what;
    bool haveValue;
    std::string value;
    bool answers, writes, deletes;
    bool expectValue;
    std::string expectedValue, expectedWarning;
  } cases[] = {
      {"unchecked: asks and registers", false, "", true, true, true, true, registered, ""},
      {"cancelled: nothing", false, "", false, true, true, false, "", ""},
      {"a moved copy's value is replaced", true, "\"D:\\old\\vitrelle-wallpaper.exe\" wallpaper tile", true, true,
       true, true, registered, ""},
      {"a moved copy's value stays on cancel", true, "\"D:\\old\\x.exe\"", false, true, true, true,
       "\"D:\\old\\x.exe\"", ""},
      {"checked: removed without asking", true, registered, true, true, true, false, "", ""},
      {"the value cannot be written", false, "", true, false, true, false, "",
       Shown(IDS_SIGNIN_NOT_REGISTERED, IDS_CAUTION)},
      {"the value cannot be removed", true, registered, true, true, false, true, registered,
       Shown(IDS_SIGNIN_NOT_REMOVED, IDS_CAUTION)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SigninRecorder recorder;
    recorder.haveValue = c.haveValue;
    recorder.value = c.value;
    recorder.answers = c.answers;
    recorder.writes = c.writes;
    recorder.deletes = c.deletes;
    OwnerRecorder owner;
    const Owner ownerRecord = owner.owner();
    SwitchSignin(&ownerRecord, recorder.Calls(), tool, defaults);
    EXPECT_EQ(recorder.haveValue, c.expectValue);
    if (c.expectValue) {
      EXPECT_EQ(recorder.value, c.expectedValue);
    }
    EXPECT_EQ(owner.warnings, c.expectedWarning.empty() ? std::vector<std::string>{}
                                                        : std::vector<std::string>{c.expectedWarning});
    EXPECT_EQ(SigninIsOn(recorder.Calls(), tool), c.expectValue && recorder.value == registered);
  }
  SigninRecorder recorder;
  OwnerRecorder owner;
  const Owner ownerRecord = owner.owner();
  SwitchSignin(&ownerRecord, recorder.Calls(), tool, defaults);
  EXPECT_EQ(recorder.offered.mirror, kMirrorVertical);  // the dialog starts from the panel's values

  const std::string missing = folder.PathOf("elsewhere/vitrelle-wallpaper.exe");
  SigninRecorder noTool;
  SwitchSignin(&ownerRecord, noTool.Calls(), missing, defaults);
  EXPECT_FALSE(noTool.haveValue);
  EXPECT_EQ(owner.warnings.back(),
            "A new picture at each sign-in needs vitrelle-wallpaper.exe, which is not in the program folder|" + missing);
}

}  // namespace
