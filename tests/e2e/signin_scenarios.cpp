// A new wallpaper at every sign-in, on Windows: the tool sets the desktop as
// the program's Tile does, its random choices repeat with the same time, and
// the program's check item writes and removes the Run value of this copy.
#include <shlobj.h>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Vitrelle wallpaper";
constexpr const char* kDialogTitle = "New picture at each sign-in";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string LogFile() {
  char folder[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::string(folder) + "\\Vitrelle\\vitrelle-wallpaper.log";
}

// Runs a tool of the driver's folder to its end; its exit code, or -1.
long RunTool(const char* exe, const std::string& arguments) {
  Program tool;
  const std::string folder = DriverFolder();
  if (!StartProgramAt(tool, Wide(folder + "\\" + exe), Wide(folder), Wide(arguments))) return -1;
  return WaitForExit(tool, 60000);
}

void SetRunValue(const std::string& value) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, value.c_str(), DWORD(value.size() + 1));
}
void DeleteRunValue() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue); }

// The Run value once it starts with `start` (the program writes it just after
// its dialog has closed); what it is after the wait.
std::string RunValueOnceItStarts(const std::string& start) {
  WaitUntil([&] { return UserRegistryValue(kRunKey, kRunValue).rfind(start, 0) == 0; });
  return UserRegistryValue(kRunKey, kRunValue);
}

// Chooses in the sign-in dialog, as a person clicks, and presses OK.
bool AnswerSigninDialog(const Program& program, int mirrorButton, int arrangementButton) {
  HWND dialog = WaitForDialog(program, kDialogTitle);
  if (!Expect(dialog != nullptr, "the item shows its dialog")) return false;
  bool ok = Expect(IsButtonChecked(dialog, IDC_SIGNIN_TILE), "the dialog offers Tile first");
  ClickButton(dialog, mirrorButton);
  ClickButton(dialog, arrangementButton);
  ok &= Expect(WaitUntil([&] { return IsButtonChecked(dialog, mirrorButton) && IsButtonChecked(dialog, arrangementButton); }),
               "the dialog takes the clicks");
  ClickButton(dialog, IDOK);
  return ok & Expect(WaitForClose(dialog), "the dialog closes on OK");
}

// Run inside a Wine virtual desktop: the tool tiles the picture it grew and
// writes the values of Tile, and the program's Recall then finds that file.
bool ToolTilesTheDesktop() {
  const std::string wallpaper = WindowsWallpaperFile();
  DeleteFileA(wallpaper.c_str());
  bool ok = ExpectEqual(RunTool("vitrelle-cli.exe", "wallpaper tile --time 4242 --pattern 0 --size 48x40"), 0,
                        "vitrelle-cli.exe wallpaper tile");
  ok &= ExpectDesktopValues("1", wallpaper, "after the tool's tile");
  int width = 0, height = 0;
  const std::vector<uint32_t> colors = BmpColors(wallpaper, &width, &height);
  ok &= ExpectEqual(width * 1000 + height, 48040, "the wallpaper file's picture size (width * 1000 + height)");
  ok &= DesktopShowsTiled(colors, width, height);
  Program program;
  HWND main = StartMainWindow(program);
  if (!main) return false;
  ok &= Expect(SendCommandAndWait(main, IDM_RECALL_CENTER), "Recall_Center runs");
  ok &= ExpectDesktopValues("0", wallpaper, "after Recall_Center");
  return ok & CloseProgram(program, main);
}

// What the log says after its time stamp: the choices and the outcome.
std::string LoggedRun() {
  const std::string line = FileBytes(LogFile());
  const size_t start = line.find(" wallpaper ");
  return start == std::string::npos ? line : line.substr(start);
}

// The console tool and the windowless one grow the same random picture at
// the same time, and say so in the log.
bool RandomRepeatsWithTheSameTime() {
  const std::string wallpaper = WindowsWallpaperFile();
  const std::string options = "wallpaper tile --pattern random --colors random --mirror random --size 64x48 --time ";
  bool ok = ExpectEqual(RunTool("vitrelle-cli.exe", options + "31337"), 0, "the first run");
  const std::string firstPicture = FileBytes(wallpaper), firstLog = LoggedRun();
  DeleteFileA(wallpaper.c_str());
  DeleteFileA(LogFile().c_str());
  ok &= ExpectEqual(RunTool("vitrelle-wallpaper.exe", options + "31337"), 0, "the run of the windowless tool");
  ok &= Expect(!firstPicture.empty() && FileBytes(wallpaper) == firstPicture, "the same time gives the same picture");
  ok &= ExpectEqual(LoggedRun(), firstLog, "the log of the second run");
  ok &= Expect(firstLog.find(" wallpaper tile: pattern ") == 0 && firstLog.find("size 64x48, time 31337") != std::string::npos,
               "the log names the random choices: " + firstLog);
  ok &= ExpectEqual(RunTool("vitrelle-wallpaper.exe", "wallpaper tile --mirror sideways"), 2, "a usage error's exit");
  return ok;
}

// The item is on only while the Run value names the tool beside this
// program: then choosing it removes the value without a question; otherwise
// it asks and writes the value for this copy, replacing a moved copy's. (The
// check mark itself cannot be read from another process under Wine; it
// shows the same test, SigninIsOn, that decides here between the two.)
bool CheckItemWritesAndRemovesTheRunValue() {
  DeleteRunValue();
  Program program;
  HWND main = StartMainWindow(program);
  if (!main) return false;
  std::string tool = DriverFolder();
  tool = "\"" + tool + "\\vitrelle-wallpaper.exe\"";

  SendCommand(main, IDM_SIGNIN_WALLPAPER);
  bool ok = AnswerSigninDialog(program, IDC_SIGNIN_MIRROR_CROSS, IDC_SIGNIN_CENTER);
  const std::string written = RunValueOnceItStarts(tool);
  ok &= Expect(written.rfind(tool + " wallpaper center --pattern random --mirror cross --size ", 0) == 0,
               "the Run value starts the tool beside the program: " + written);

  SendCommand(main, IDM_SIGNIN_WALLPAPER);
  ok &= Expect(WaitUntil([] { return UserRegistryValue(kRunKey, kRunValue).empty(); }), "unchecking removes the value");
  ok &= Expect(NoDialogAppears(program, kDialogTitle, 500), "unchecking asks nothing");

  SetRunValue("\"C:\\elsewhere\\vitrelle-wallpaper.exe\" wallpaper tile --pattern random");
  SendCommand(main, IDM_SIGNIN_WALLPAPER);
  ok &= AnswerSigninDialog(program, IDC_SIGNIN_MIRROR_NORMAL, IDC_SIGNIN_TILE);
  const std::string rewritten = RunValueOnceItStarts(tool);
  ok &= Expect(rewritten.rfind(tool + " wallpaper tile --pattern random --mirror normal --size ", 0) == 0,
               "checking beside a moved copy's value writes this copy's path: " + rewritten);
  DeleteRunValue();
  return ok & CloseProgram(program, main);
}

}  // namespace

VITRELLE_SCENARIO("desktop-tool-tiled-wallpaper", ToolTilesTheDesktop);
VITRELLE_SCENARIO("signin-random-repeats", RandomRepeatsWithTheSameTime);
VITRELLE_SCENARIO("signin-check-item", CheckItemWritesAndRemovesTheRunValue);
