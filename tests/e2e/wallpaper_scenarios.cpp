// The wallpaper commands as a person uses them: the picture goes on the
// desktop tiled or centred, comes back with the other arrangement, any bitmap
// file can be chosen, and the wallpaper can be cleared.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario_pictures.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/session.h"

namespace {

// An 8 x 3 picture (whole bytes a row, no padding) whose table and pixel
// bytes all differ from their neighbours.
DibImagePtr Picture(int depth) {
  DibImagePtr image = CreateDibImage(8, 3, depth);
  uint8_t* bytes = image->start() + kInfoHeaderSize;
  for (size_t i = 0; i + kInfoHeaderSize < DibTotalSize(*image); ++i) bytes[i] = uint8_t(i * 37 + depth);
  for (int i = 0; i < DibColorCount(*image); ++i) DibColorTable(*image)[i].reserved = 0;
  return image;
}

// The file holds the picture in its own depth: same table, same pixel bytes.
bool ExpectFileHolds(const std::string& path, const DibImage& image) {
  const std::string file = FileBytes(path);
  const size_t size = kBmpFileHeaderSize + DibTotalSize(image);
  if (!ExpectEqual(long(file.size()), long(size), path + " size")) return false;
  const auto* block = reinterpret_cast<const uint8_t*>(file.data()) + kBmpFileHeaderSize;
  bool ok = ExpectEqual(block[kBiBitCount], DibBitCount(image), "the wallpaper file's depth");
  const size_t tableAndRows = DibTotalSize(image) - kInfoHeaderSize;
  ok &= Expect(std::memcmp(block + kInfoHeaderSize, image.start() + kInfoHeaderSize, tableAndRows) == 0,
               "the wallpaper file holds the picture's table and pixels");
  return ok;
}

// A command of the Wallpaper menu and the desktop's values after it.
struct DesktopCommand {
  int command;
  const char* tile;
  std::string wallpaper;
  const char* when;
};

// Tile writes each depth as it is; Center, the two Recalls and Clear follow
// for the last, leaving the file as Tile wrote it.
bool TileCenterRecallAndClear() {
  const std::string folder = ScenarioFolder();
  const std::string wallpaper = WindowsWallpaperFile();
  const std::vector<DesktopCommand> lastPictureCommands = {{IDM_CENTER, "0", wallpaper, "after Center"},
                                                 {IDM_RECALL_TILE, "1", wallpaper, "after Recall_Tile"},
                                                 {IDM_RECALL_CENTER, "0", wallpaper, "after Recall_Center"},
                                                 {IDM_CLEAR, "0", "", "after Clear"}};
  bool ok = true;
  for (int depth : {1, 4, 8, 24}) {
    DibImagePtr image = Picture(depth);
    const std::string path = WritePictureFile(folder + "depth" + std::to_string(depth) + ".bmp", *image);
    Program program;
    HWND main = StartWithFile(program, path);
    if (!Expect(main != nullptr, "vitrelle.exe opens " + path)) return false;
    DeleteFileA(wallpaper.c_str());
    ok &= Expect(SendCommandAndWait(main, IDM_TILE), "Tile runs");
    ok &= ExpectFileHolds(wallpaper, *image);
    ok &= ExpectDesktopValues("1", wallpaper, "after Tile at " + std::to_string(depth) + " bits");
    for (const auto& command : depth == 24 ? lastPictureCommands : std::vector<DesktopCommand>{}) {
      ok &= Expect(SendCommandAndWait(main, command.command), std::string("the command runs ") + command.when);
      ok &= ExpectDesktopValues(command.tile, command.wallpaper, command.when);
      ok &= ExpectFileHolds(wallpaper, *image);
    }
    ok &= CloseProgram(program, main);
  }
  return ok;
}

// Without a picture Tile says so and touches neither file nor desktop.
bool TileWithoutPicture() {
  Program program;
  HWND main = StartMainWindow(program);
  if (!main) return false;
  const std::string wallpaper = WindowsWallpaperFile();
  DeleteFileA(wallpaper.c_str());
  const std::string before = UserRegistryValue(kDesktopKey, "Wallpaper");
  SendCommand(main, IDM_TILE);
  bool ok = AnswerMessageBox(program, "Caution", "No image", IDOK);
  ok &= Expect(!FileExists(wallpaper), "no wallpaper file is written");
  ok &= ExpectEqual(UserRegistryValue(kDesktopKey, "Wallpaper"), before, "the desktop's wallpaper");
  return ok & CloseProgram(program, main);
}

// Option_Center installs the chosen file where it is; Tile in between does
// not change what Option_Tile offers next; cancelling changes nothing.
bool OptionRemembersTheChosenFile() {
  const std::string folder = ScenarioFolder();
  DibImagePtr image = Picture(8);
  const std::string chosen = WritePictureFile(folder + "chosen.bmp", *image);
  const std::string opened = WritePictureFile(folder + "opened.bmp", *Picture(4));
  Program program;
  HWND main = StartWithFile(program, opened);
  if (!Expect(main != nullptr, "vitrelle.exe opens a picture")) return false;

  SendCommand(main, IDM_OPTION_CENTER);
  bool ok = FillFileDialog(program, "Option", chosen);
  ok &= Expect(WaitUntil([&] { return UserRegistryValue(kDesktopKey, "Wallpaper") == chosen; }),
               "the chosen file becomes the wallpaper");
  ok &= ExpectDesktopValues("0", chosen, "after Option_Center");
  ok &= ExpectFileHolds(chosen, *image);

  SendCommandAndWait(main, IDM_TILE);
  ok &= ExpectDesktopValues("1", WindowsWallpaperFile(), "after Tile");

  SendCommand(main, IDM_OPTION_TILE);
  HWND dialog = WaitForDialog(program, "Option");
  if (!Expect(dialog != nullptr, "Option_Tile shows the Option dialog")) return false;
  const std::string offered = FileNameOffered(dialog);
  ok &= Expect(offered.size() >= 10 && offered.substr(offered.size() - 10) == "chosen.bmp",
               "the Option dialog offers the file chosen before, got \"" + offered + "\"");
  ClickButton(dialog, IDCANCEL);
  ok &= Expect(WaitForClose(dialog), "the Option dialog closes on Cancel");
  ok &= ExpectDesktopValues("1", WindowsWallpaperFile(), "after a cancelled Option_Tile");
  return ok & CloseProgram(program, main);
}

// Run inside a Wine virtual desktop: after Tile the desktop shows the
// picture repeated from its top-left corner.
bool DesktopShowsTheTiledPicture() {
  constexpr int kWidth = 48, kHeight = 40;
  DibImagePtr image = CreateDibImage(kWidth, kHeight, 8);
  for (int i = 0; i < 256; ++i) DibColorTable(*image)[i] = {uint8_t(i * 40), uint8_t(255 - i * 9), uint8_t(i * 17), 0};
  const size_t stride = DibRowStride(kWidth, 8);
  auto indexAt = [](int x, int y) { return (x / 6 + (y / 5) * 8) % 64; };  // x, y from the top
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) DibPixels(*image)[(kHeight - 1 - y) * stride + x] = uint8_t(indexAt(x, y));
  }
  const std::string path = WritePictureFile(ScenarioFolder() + "desktop.bmp", *image);
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  bool ok = Expect(SendCommandAndWait(main, IDM_TILE), "Tile runs");
  ShowWindow(main, SW_MINIMIZE);
  ok &= DesktopShowsTiled(BmpColors(path), kWidth, kHeight);
  return ok & CloseProgram(program, main);
}

// "Each screen" on Wine's screen, which has no per-monitor wallpaper
// interface: the pictures composed to the screens' size are set spanned,
// and the primary screen's picture is the current one, one Undo step away
// from the picture Make showed before.
bool EachScreenSpansTheComposedPicture() {
  Session session("each-screen");
  if (!session.Start()) return false;
  bool ok = Expect(SendCommandAndWait(session.main, IDM_MAKE), "Make runs");
  const std::string made = session.Status();
  ok &= Expect(SendCommandAndWait(session.main, IDM_EACH_SCREEN), "Each screen runs");
  const std::string wallpaper = WindowsWallpaperFile();
  ok &= ExpectEqual(UserRegistryValue(kDesktopKey, "WallpaperStyle"), "22", "WallpaperStyle after Each screen");
  ok &= ExpectEqual(UserRegistryValue(kDesktopKey, "TileWallpaper"), "0", "TileWallpaper after Each screen");
  ok &= ExpectEqual(UserRegistryValue(kDesktopKey, "Wallpaper"), wallpaper, "the desktop's wallpaper");
  int width = 0, height = 0;
  BmpColors(wallpaper, &width, &height);
  ok &= ExpectEqual(width, GetSystemMetrics(SM_CXVIRTUALSCREEN), "the composed picture's width");
  ok &= ExpectEqual(height, GetSystemMetrics(SM_CYVIRTUALSCREEN), "the composed picture's height");
  ok &= session.TitleBecomes("Vitrelle -No title-");
  const auto undoEnabled = [&] { return Ask(session.toolbar, TB_ISBUTTONENABLED, IDM_UNDO) != 0; };
  ok &= Expect(undoEnabled(), "Undo is offered after Each screen");
  ok &= Expect(SendCommandAndWait(session.main, IDM_UNDO), "Undo runs");
  ok &= Expect(!undoEnabled(), "one Undo takes Each screen back");
  ok &= ExpectEqual(session.Status(), made, "the status after Undo");
  return session.Close() && ok;
}

}  // namespace

VITRELLE_SCENARIO("desktop-tiled-wallpaper", DesktopShowsTheTiledPicture);
VITRELLE_SCENARIO("wallpaper-tile-center-recall-clear", TileCenterRecallAndClear);
VITRELLE_SCENARIO("wallpaper-tile-without-picture", TileWithoutPicture);
VITRELLE_SCENARIO("wallpaper-option", OptionRemembersTheChosenFile);
VITRELLE_SCENARIO("wallpaper-each-screen", EachScreenSpansTheComposedPicture);
