// The main window as a person uses it: start-up, Make, opening, saving, the
// clipboard, the panel's two forms, help and About.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "gif/gif_writer.h"
#include "image/bmp_file.h"
#include "image/display_palette.h"
#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/session.h"

namespace {

// Starts the session's program on a Pattern file whose Make grows 80 x 60
// pictures of mirror mode 2.
bool StartWithSmallMakes(Session& session) {
  return Expect(SetStateFields(session.PatternFile(), {{17, 2}, {18, 80}, {19, 60}}), "the Pattern file takes the size") &&
         session.Start();
}

// The outer size the layout gives the main window for the picture and panel.
SIZE ExpectedWindowSize(HWND main, HWND panel, int width, int height) {
  RECT client, outer, panelRect = {};
  GetClientRect(main, &client);
  GetWindowRect(main, &outer);
  if (panel) GetClientRect(panel, &panelRect);
  const int frameWidth = (outer.right - outer.left) - client.right, frameHeight = (outer.bottom - outer.top) - client.bottom;
  return SIZE{std::max<LONG>(frameWidth + panelRect.right + width + 30, 350),
              std::max<LONG>(frameHeight + panelRect.bottom + 60, frameHeight + height + 80)};
}

// A full-colour BMP file of a small picture with every pixel different.
std::string FullColorBmp(int width, int height) {
  const int stride = (3 * width + 3) / 4 * 4;
  const uint32_t size = 54 + stride * height;
  std::string file(size, '\0');
  auto put32 = [&](size_t at, uint32_t value) { std::memcpy(&file[at], &value, 4); };
  file[0] = 'B', file[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      char* pixel = &file[54 + y * stride + 3 * x];
      pixel[0] = char(x * 4), pixel[1] = char(y * 5), pixel[2] = char(255 - x - y);
    }
  }
  return file;
}

// Start-up: the settings it stores and reads, the window's parts and sizes,
// and the toolbar's tooltips.
bool StartUp() {
  DeleteSettings();
  Session session("startup");
  if (!session.Start()) return false;
  bool ok = ExpectEqual(WindowText(session.main), "Vitrelle", "the title at start");
  const SIZE view = WindowSize(session.view);
  ok &= ExpectEqual(view.cx, 102, "the view's width");
  ok &= ExpectEqual(view.cy, 102, "the view's height");
  ok &= ExpectEqual(UserRegistryValue(kSettingsKey, "plug in"), session.folder, "the stored program folder");
  ok &= ExpectEqual(UserRegistryValue(kSettingsKey, "Setdialog"), "", "no panel form stored yet");
  ok &= ExpectEqual(WindowSize(session.toolbar).cy, 28, "the toolbar's height");
  ok &= ExpectEqual(long(SendMessageA(session.toolbar, TB_BUTTONCOUNT, 0, 0)), 15, "toolbar entries");

  const struct {
    int command;
    const char* tip;
  } tips[] = {{IDM_OPEN, "Open"}, {IDM_MAKE, "Make a Wallpaper image"}, {IDM_HELP, "Help"}};
  for (const auto& tip : tips) {
    ok &= ExpectEqual(session.TooltipOf(tip.command), tip.tip, "the tooltip of toolbar command " + std::to_string(tip.command));
  }

  // Without a picture, Copy is greyed (Ctrl+C does nothing) and Save As says so.
  PressKey(session.main, 'C', {VK_CONTROL});
  ok &= Expect(NoDialogAppears(session.program, "Caution"), "Ctrl+C without a picture shows nothing");
  PressKey(session.main, 'S', {VK_CONTROL});
  ok &= AnswerMessageBox(session.program, "Caution", "No image", IDOK);

  // Started from another folder, it still stores its own folder; a command
  // line of quotes alone opens nothing.
  ok &= session.Close();
  Session elsewhere;
  elsewhere.folder = session.folder;
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  if (!elsewhere.Start("\"\"", temporary)) return false;
  ok &= ExpectEqual(UserRegistryValue(kSettingsKey, "plug in"), session.folder, "the stored folder after that start");
  Sleep(500);
  ok &= ExpectEqual(WindowText(elsewhere.main), "Vitrelle", "the title after a command line of quotes");
  // A refused open would show a message box captioned with the name.
  ok &= Expect(WaitForWindow(elsewhere.program, "#32770", 500) == nullptr, "nothing is opened, no message");
  ok &= ExpectEqual(WindowSize(elsewhere.view).cx, 102, "the view's width after it");
  return elsewhere.Close() && ok;
}

// Make with each mirror mode, from the toolbar, the menu bar and Enter: the
// title, the status text, the state line, the layout and the pixels shown.
bool MakeShowsThePicture() {
  bool ok = true;
  const struct {
    int mirror, width, height;
  } makes[] = {{0, 120, 90}, {1, 64, 64}, {2, 200, 150}, {3, 256, 256}};
  for (const auto& make : makes) {
    Session session("make");
    if (!SetStateFields(session.PatternFile(), {{17, make.mirror}, {18, make.width}, {19, make.height}}) ||
        !session.Start()) {
      return false;
    }
    const std::string what = " (mirror " + std::to_string(make.mirror) + ")";
    if (make.mirror == 0) {
      session.ClickToolbarButton(IDM_MAKE);
    } else if (make.mirror == 1) {
      HWND panel = session.Panel();
      ok &= Expect(panel != nullptr, "the panel exists");
      PressKey(panel, VK_RETURN);  // Enter in the panel
    } else if (make.mirror == 2) {
      // The menu bar's "&Make" by its key, as the window's system menu handling
      // gets it when the main window itself has the focus.
      PostMessageA(session.main, WM_SYSCOMMAND, SC_KEYMENU, 'm');
    } else {
      SendCommand(session.main, IDM_MAKE);
    }
    ok &= session.TitleBecomes("Vitrelle -No title-");
    const std::string size = std::to_string(make.width) + "x" + std::to_string(make.height);
    const std::string status = session.Status();
    ok &= Expect(status == "Image Info.(" + size + " 256 color)" || status == "Image Info.(" + size + " 16 color)",
                 "the status text" + what + ": " + status);
    const std::vector<int> state = StateFields(session.PatternFile());
    ok &= Expect(state.size() == 20 && state[17] == make.mirror && state[18] == make.width && state[19] == make.height,
                 "the state line holds mirror and size" + what);
    const SIZE view = session.ViewClientSize();
    ok &= ExpectEqual(view.cx, make.width, "the view's client width" + what);
    ok &= ExpectEqual(view.cy, make.height, "the view's client height" + what);
    const SIZE expected = ExpectedWindowSize(session.main, session.Panel(), make.width, make.height);
    const SIZE window = WindowSize(session.main);
    ok &= ExpectEqual(window.cx, expected.cx, "the window's width" + what);
    ok &= ExpectEqual(window.cy, expected.cy, "the window's height" + what);

    // What the view shows is the picture Copy puts on the clipboard.
    int width = 0, height = 0;
    const std::vector<uint32_t> picture = CopiedColors(session.main, &width, &height);
    ok &= Expect(width == make.width && height == make.height, "the copied picture's size" + what);
    ok &= Expect(ScreenShows(session.view, width, height, picture), "the view shows the picture's pixels" + what);

    // A window resized by hand keeps its size at a Make of the same size.
    SetWindowPos(session.main, nullptr, 0, 0, window.cx + 40, window.cy + 30, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowTextA(session.main, "marker");
    SendCommand(session.main, IDM_MAKE);
    ok &= session.TitleBecomes("Vitrelle -No title-");
    ok &= ExpectEqual(WindowSize(session.main).cx, window.cx + 40, "the window's width after a Make of the same size");
    ok &= session.Close();
  }
  return ok;
}

// Make with a Pattern file that cannot be written says so and keeps the picture.
bool MakeWithReadOnlyPatternFile() {
  Session session("readonly");
  if (!StartWithSmallMakes(session)) return false;
  SendCommand(session.main, IDM_MAKE);
  bool ok = session.TitleBecomes("Vitrelle -No title-");
  const std::string status = session.Status();
  const std::string before = FileBytes(session.PatternFile());
  {
    const HeldFile held(session.PatternFile(), true);
    SetWindowTextA(session.main, "marker");  // a Make that went through would retitle the window
    SendCommand(session.main, IDM_MAKE);
    ok &= AnswerMessageBox(session.program, session.PatternFile(), TextOf(IDS_CANNOT_SAVE_CONFIG), IDOK);
  }
  ok &= ExpectEqual(WindowText(session.main), "marker", "the title after the refused Make");
  ok &= ExpectEqual(session.Status(), status, "the status after the refused Make");
  ok &= Expect(FileBytes(session.PatternFile()) == before, "the Pattern file is unchanged");
  return session.Close() && ok;
}

// Opening by the Open dialog, the command line (quoted, with a blank in the
// name) and dropping; a file no reader takes keeps the picture shown.
bool OpenPictures() {
  Session session("open");
  const std::string picture = session.folder + "\\my picture.bmp";
  const std::string other = session.folder + "\\other.bmp";
  const std::string text = session.folder + "\\notes.bmp";
  WriteFileBytes(picture, FullColorBmp(40, 30));
  WriteFileBytes(other, FullColorBmp(50, 20));
  WriteFileBytes(text, "not a picture");
  if (!session.Start("\"" + picture + "\"")) return false;
  bool ok = session.TitleBecomes(picture);
  ok &= ExpectEqual(session.Status(), "Image Info.(40x30 full color)", "the status after a command-line open");
  ok &= ExpectEqual(session.ViewClientSize().cx, 40, "the view's width after opening");
  ok &= Expect(ScreenShows(session.view, 40, 30, BmpColors(picture)), "the view shows the opened picture");

  PressKey(session.main, 'O', {VK_CONTROL});
  ok &= FillFileDialog(session.program, "Open file", other);
  ok &= session.TitleBecomes(other);
  ok &= ExpectEqual(session.Status(), "Image Info.(50x20 full color)", "the status after the Open dialog");

  // A file no reader takes: the message, and the picture stays.
  SendCommand(session.main, IDM_OPEN);
  ok &= FillFileDialog(session.program, "Open file", text);
  ok &= AnswerMessageBox(session.program, text, TextOf(IDS_OPEN_FAILED), IDOK);
  ok &= ExpectEqual(WindowText(session.main), other, "the title after the refused file");
  ok &= ExpectEqual(session.Status(), "Image Info.(50x20 full color)", "the status after the refused file");
  ok &= Expect(ScreenShows(session.view, 50, 20, BmpColors(other)), "the view still shows the picture");

  // Dropping two files opens the first.
  const std::string names = picture + '\0' + other + '\0' + '\0';
  const size_t size = sizeof(DROPFILES) + names.size();
  void* remote = VirtualAllocEx(session.program.process.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  std::string drop(size, '\0');
  auto* header = reinterpret_cast<DROPFILES*>(drop.data());
  header->pFiles = sizeof(DROPFILES);
  std::memcpy(&drop[sizeof(DROPFILES)], names.data(), names.size());
  WriteProcessMemory(session.program.process.hProcess, remote, drop.data(), size, nullptr);
  PostMessageA(session.main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  ok &= session.TitleBecomes(picture);
  ok &= ExpectEqual(session.Status(), "Image Info.(40x30 full color)", "the status after a drop");
  ok &= session.Close();

  // A name longer than the program keeps is refused, never cut.
  Session tooLong;
  tooLong.folder = session.folder;
  const std::string longName = session.folder + "\\" + std::string(520, 'x') + ".bmp";
  if (!tooLong.Start("\"" + longName + "\"")) return false;
  ok &= AnswerMessageBox(tooLong.program, longName, TextOf(IDS_OPEN_FAILED), IDOK);
  ok &= ExpectEqual(WindowText(tooLong.main), "Vitrelle", "the title after a name too long");
  return tooLong.Close() && ok;
}

// What a Save As leaves at the name it writes.
enum class Saved { kThePicture, kAGif, kAsBefore, kNothing };

// A question or message a Save As shows, captioned with the file's path
// (or "Error"), and the button that answers it.
struct SaveAnswer {
  bool aboutTheFile;
  int text;
  int button;
};

// One Save As by Ctrl+S: the name typed, the file type chosen (1 for the
// first), the answers, and what is written where (`written`, when it is not
// the typed name). The window is named after the written file only when
// something was written.
struct SaveStep {
  const char* typed;
  int fileType;
  std::vector<SaveAnswer> answers;
  Saved saved;
  const char* written = nullptr;
  bool heldOpen = false;  // another program holds the file open
};

// Opens a full-colour picture of that size and saves it step by step; after
// each step the title and the file are checked, and the picture on screen
// stays the one opened.
bool SavesWriteWhatTheyShould(const char* copyName, int width, int height, const std::vector<SaveStep>& steps) {
  Session session(copyName);
  const std::string source = session.folder + "\\source.bmp";
  WriteFileBytes(source, FullColorBmp(width, height));
  if (!session.Start("\"" + source + "\"") || !session.TitleBecomes(source)) return false;
  const std::vector<uint32_t> colors = BmpColors(source);
  const std::string status = session.Status();
  bool ok = true;
  for (const SaveStep& step : steps) {
    const std::string typed = session.folder + "\\" + step.typed;
    const std::string written = step.written ? session.folder + "\\" + step.written : typed;
    const std::string before = FileBytes(written);
    SetWindowTextA(session.main, "marker");
    std::optional<HeldFile> held;
    if (step.heldOpen) held.emplace(written, false);
    PressKey(session.main, 'S', {VK_CONTROL});
    ok &= FillFileDialog(session.program, "Save file", typed, step.fileType);
    for (const SaveAnswer& answer : step.answers) {
      ok &= AnswerMessageBox(session.program, answer.aboutTheFile ? written : TextOf(IDS_ERROR), TextOf(answer.text),
                             answer.button);
    }
    const bool writes = step.saved == Saved::kThePicture || step.saved == Saved::kAGif;
    ok &= writes ? session.TitleBecomes(written) : ExpectEqual(WindowText(session.main), "marker", "the title");
    const std::string bytes = FileBytes(written);
    switch (step.saved) {
      case Saved::kThePicture: {
        const std::string signature = written.find(".png") != std::string::npos ? "\x89PNG" : "BM";
        ok &= Expect(bytes.substr(0, signature.size()) == signature, written + " has its type");
        int readWidth = 0, readHeight = 0;
        ok &= Expect(PillowColors(written, &readWidth, &readHeight) == colors, "Pillow reads the picture from " + written);
        ok &= Expect(readWidth == width && readHeight == height, "the size Pillow reads from " + written);
        break;
      }
      case Saved::kAGif:
        ok &= Expect(bytes.substr(0, 6) == "GIF89a", written + " is a GIF file");
        break;
      case Saved::kAsBefore:
        ok &= Expect(!bytes.empty() && bytes == before, written + " is as it was");
        break;
      case Saved::kNothing:
        ok &= Expect(!FileExists(written), "nothing is written to " + written);
        break;
    }
    ok &= ExpectEqual(session.Status(), status, std::string("the status after saving ") + step.typed);
  }
  return session.Close() && ok;
}

// Save As: BMP and GIF, the reduction question for a full-colour picture
// (which stays full colour), Cancel to the overwrite question and a file that
// another program holds open leaving the file as it was, and Cancel to the
// reduction writing nothing.
bool SavePictures() {
  const SaveAnswer reduce = {true, IDS_ASK_REDUCE_FOR_GIF, IDOK}, overwrite = {true, IDS_ASK_OVERWRITE, IDOK};
  return SavesWriteWhatTheyShould(
      "save", 40, 30,
      {{"copy.bmp", 1, {}, Saved::kThePicture},
       {"copy.gif", 2, {reduce}, Saved::kAGif},
       {"copy.bmp", 1, {{true, IDS_ASK_OVERWRITE, IDCANCEL}}, Saved::kAsBefore},
       {"copy.bmp", 1, {overwrite, {false, IDS_SAVE_BMP_FAILED, IDOK}}, Saved::kAsBefore, nullptr, true},
       {"refused.gif", 2, {{true, IDS_ASK_REDUCE_FOR_GIF, IDCANCEL}}, Saved::kNothing}});
}

// Save As PNG: the PNG entry, and a typed .png with the BMP entry chosen,
// write PNG files with the picture's colours; another typed extension keeps
// the chosen entry and gets its extension, which a typed .png never gets (so
// saving it again asks about that very file).
bool SavePng() {
  return SavesWriteWhatTheyShould("save-png", 41, 29,
                                  {{"chosen.png", 4, {}, Saved::kThePicture},
                                   {"typed.png", 1, {}, Saved::kThePicture},
                                   {"photo.jpg", 1, {}, Saved::kThePicture, "photo.jpg.bmp"},
                                   {"typed.png", 1, {{true, IDS_ASK_OVERWRITE, IDCANCEL}}, Saved::kAsBefore}});
}

// Make after opening a GIF whose colour 5 is transparent: the new picture
// has nothing transparent, so Save As PNG writes no transparent colour and
// the GIF options open with Transparent unchecked.
bool MakeAfterATransparentGif() {
  Session session("make-after-gif");
  const std::string gif = session.folder + "\\transparent.gif";
  DibImagePtr picture = CreateDibImage(16, 8, 8);
  std::memset(DibPixels(*picture), 5, DibRowStride(16, 8) * 8);
  GifSaveOptions transparent;
  transparent.transparentIndex = 5;
  if (!Expect(WriteGifFile(nullptr, gif.c_str(), *picture, transparent, true, false), "the GIF is written") ||
      !StartWithSmallMakes(session)) {
    return false;
  }
  PressKey(session.main, 'O', {VK_CONTROL});
  bool ok = FillFileDialog(session.program, "Open file", gif) && session.TitleBecomes(gif);
  SendCommand(session.main, IDM_MAKE);
  ok &= session.TitleBecomes("Vitrelle -No title-");

  const std::string png = session.folder + "\\made.png";
  PressKey(session.main, 'S', {VK_CONTROL});
  ok &= FillFileDialog(session.program, "Save file", png, 4) && session.TitleBecomes(png);
  const std::string bytes = FileBytes(png);
  ok &= Expect(bytes.substr(0, 4) == "\x89PNG" && bytes.find("tRNS") == std::string::npos,
               "the PNG has no transparent colour");
  PressKey(session.main, 'S', {VK_CONTROL});
  ok &= FillFileDialog(session.program, "Save file", session.folder + "\\made.gif", 3);
  HWND options = WaitForDialog(session.program, "GIF Save Option");
  ok &= Expect(options && !IsButtonChecked(options, IDC_GIF_TRANSPARENT), "the GIF options open with Transparent unchecked");
  if (options) {
    ClickButton(options, IDCANCEL);
    ok &= Expect(WaitForClose(options), "Cancel closes the GIF options");
  }
  return session.Close() && ok;
}

// Copy then Paste gives the identical picture; with an empty clipboard Paste
// is greyed, so Ctrl+V does nothing.
bool CopyAndPaste() {
  Session session("clipboard");
  const std::string source = session.folder + "\\source.bmp";
  WriteFileBytes(source, FullColorBmp(33, 17));
  EmptyTheClipboard();
  if (!session.Start("\"" + source + "\"") || !session.TitleBecomes(source)) return false;

  PressKey(session.main, 'V', {VK_CONTROL});
  bool ok = Expect(NoDialogAppears(session.program, "Error"), "Ctrl+V with an empty clipboard shows nothing");
  ok &= ExpectEqual(WindowText(session.main), source, "the title after Ctrl+V with an empty clipboard");

  PressKey(session.main, 'C', {VK_CONTROL});
  ok &= Expect(WaitUntil([] { return ClipboardHasPicture(); }), "Copy puts a picture on the clipboard");
  const std::string copied = ClipboardPicture();
  ok &= Expect(DibColors(copied) == BmpColors(source), "the copied picture is the picture");

  PressKey(session.main, 'V', {VK_CONTROL});
  ok &= session.TitleBecomes("Vitrelle -No title-");
  ok &= ExpectEqual(session.Status(), "Image Info.(33x17 full color)", "the status after Paste");
  EmptyTheClipboard();
  SendCommand(session.main, IDM_COPY);
  ok &= Expect(WaitUntil([] { return ClipboardHasPicture(); }), "Copy after Paste");
  ok &= Expect(ClipboardPicture().substr(0, DibColors(copied).size() ? copied.size() : 0) == copied,
               "the pasted picture is identical to the copied one");

  // While another program holds the clipboard open, Copy says it could not.
  EmptyTheClipboard();
  const bool held = OpenClipboard(nullptr);
  ok &= Expect(held, "the driver holds the clipboard");
  if (held) {
    SendCommand(session.main, IDM_COPY);
    ok &= AnswerMessageBox(session.program, TextOf(IDS_ERROR), TextOf(IDS_COPY_REFUSED), IDOK);
    CloseClipboard();
    ok &= Expect(!ClipboardHasPicture(), "no picture on the clipboard after the refused Copy");
  }
  return session.Close() && ok;
}

// Details twice stores "1" then "0"; the next start shows the chosen form.
bool DetailsSwitchesThePanel() {
  DeleteSettings();
  Session session("details");
  if (!session.Start()) return false;
  HWND shortPanel = session.Panel();
  const SIZE shortSize = shortPanel ? WindowSize(shortPanel) : SIZE{};
  SendCommand(session.main, IDM_DETAILS);
  bool ok = Expect(WaitUntil([] { return UserRegistryValue(kSettingsKey, "Setdialog") == "1"; }), "Setdialog becomes 1");
  // The setting is stored before the panel is exchanged.
  auto panelSizeOtherThan = [&](SIZE size) {
    HWND panel = session.Panel();
    return panel && (WindowSize(panel).cx != size.cx || WindowSize(panel).cy != size.cy);
  };
  ok &= Expect(WaitUntil([&] { return panelSizeOtherThan(shortSize); }), "the full panel differs from the short one");
  HWND fullPanel = session.Panel();
  const SIZE fullSize = fullPanel ? WindowSize(fullPanel) : SIZE{};
  ok &= session.Close();

  Session again;
  again.folder = session.folder;
  if (!again.Start()) return false;
  HWND panel = again.Panel();
  ok &= Expect(panel && WindowSize(panel).cx == fullSize.cx && WindowSize(panel).cy == fullSize.cy,
               "a restart shows the full panel");
  SendCommand(again.main, IDM_DETAILS);
  ok &= Expect(WaitUntil([] { return UserRegistryValue(kSettingsKey, "Setdialog") == "0"; }), "Setdialog becomes 0");
  ok &= Expect(WaitUntil([&] {
                 HWND shown = again.Panel();
                 return shown && WindowSize(shown).cx == shortSize.cx && WindowSize(shown).cy == shortSize.cy;
               }),
               "the short panel is back");
  return again.Close() && ok;
}

// Help without a help file or manual says so; About opens and Esc closes it;
// Exit ends the program.
bool HelpAboutAndExit() {
  Session session("help");
  if (!session.Start()) return false;
  PressKey(session.main, VK_F1);
  bool ok = AnswerMessageBox(session.program, "Caution",
                             "No help is installed: neither vitrelle.hlp nor vitrelle.html is in the program folder", IDOK);
  SendCommand(session.main, IDM_ABOUT);
  HWND about = WaitForDialog(session.program, "About Vitrelle");
  ok &= Expect(about != nullptr, "the About box appears");
  if (about) {
    PressKey(about, VK_ESCAPE);
    ok &= Expect(WaitForClose(about), "Esc closes the About box");
  }
  SendCommand(session.main, IDM_EXIT);
  return ExpectEqual(WaitForExit(session.program), 0, "the exit code after Exit") && ok;
}

int ScreenDepth() {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

int SquaredDistance(uint32_t a, uint32_t b) {
  int sum = 0;
  for (int shift : {0, 8, 16}) {
    const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
    sum += d * d;
  }
  return sum;
}

// On a screen of fewer than 16 bits per pixel a full-colour picture is shown
// through its display palette: every pixel in the palette colour nearest to
// its own. Skipped (and said so) on a deeper screen.
bool PaletteScreenShowsFullColour() {
  const int depth = ScreenDepth();
  if (depth >= 16) {
    std::fprintf(stderr, "  the screen has %d bits per pixel: no palette to check (run on an 8-bit screen)\n", depth);
    return true;
  }
  Session session("palette");
  const std::string source = session.folder + "\\gradient.bmp";
  WriteFileBytes(source, FullColorBmp(60, 50));
  if (!session.Start("\"" + source + "\"") || !session.TitleBecomes(source)) return false;

  DibImagePtr picture = ReadBmpFile(source.c_str());
  if (!Expect(picture != nullptr, "the picture reads back")) return false;
  DisplayColorTable table;
  ComputeDisplayColorTable(*picture, table);
  const PaletteColors palette = ImagePaletteColors(*picture, table);
  bool ok = ExpectEqual(palette.count, 224, "display palette entries");
  std::vector<uint32_t> colors;
  for (int i = 0; i < palette.count; ++i) {
    colors.push_back(uint32_t(palette.entries[i].red) << 16 | palette.entries[i].green << 8 | palette.entries[i].blue);
  }
  SetForegroundWindow(session.main);
  RedrawWindow(session.view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(500);
  const std::vector<uint32_t> expected = BmpColors(source), shown = ScreenPixels(session.view, 60, 50);
  int wrong = 0;
  for (size_t i = 0; i < shown.size() && i < expected.size(); ++i) {
    int nearest = INT32_MAX;
    for (uint32_t color : colors) nearest = std::min(nearest, SquaredDistance(expected[i], color));
    if (SquaredDistance(expected[i], shown[i]) != nearest && wrong++ < 8) {
      std::fprintf(stderr, "  pixel %d: picture %06x, shown %06x, nearest distance %d\n", int(i), expected[i], shown[i], nearest);
    }
  }
  ok &= ExpectEqual(wrong, 0, "pixels not in their nearest palette colour");
  return session.Close() && ok;
}

// Tells the program that its window moved to a screen of another scale, with
// the place Windows suggests; true once it has taken the change.
bool SendScaleChange(const Session& session, const RECT& suggested) {
  // The suggested place travels as a pointer into the program's memory.
  void* remote = VirtualAllocEx(session.program.process.hProcess, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(session.program.process.hProcess, remote, &suggested, sizeof suggested, nullptr);
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(session.main, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(remote),
                             SMTO_NORMAL, 5000, &answer) != 0;
}

// Moved to a screen of another scale, the window goes where Windows suggests,
// takes the size its layout gives, and makes its toolbar and status bar
// anew; the status text and the picture stay, and the commands still work.
bool DpiChangeRebuildsTheBars() {
  Session session("dpi");
  if (!StartWithSmallMakes(session)) return false;
  SendCommand(session.main, IDM_MAKE);
  bool ok = session.TitleBecomes("Vitrelle -No title-");
  const std::string status = session.Status();
  const SIZE view = session.ViewClientSize();
  RECT suggested;
  GetWindowRect(session.main, &suggested);
  OffsetRect(&suggested, 10, 10);
  suggested.right += 30;
  suggested.bottom += 20;

  ok &= Expect(SendScaleChange(session, suggested), "the program takes the scale change");
  RECT now;
  GetWindowRect(session.main, &now);
  ok &= ExpectEqual(now.left, suggested.left, "the window's left edge");
  ok &= ExpectEqual(now.top, suggested.top, "the window's top edge");
  const SIZE laidOut = ExpectedWindowSize(session.main, session.Panel(), 80, 60);
  ok &= ExpectEqual(now.right - now.left, laidOut.cx, "the window's width from the layout");
  ok &= ExpectEqual(now.bottom - now.top, laidOut.cy, "the window's height from the layout");
  HWND toolbar = FindChild(session.main, TOOLBARCLASSNAMEA), statusBar = FindChild(session.main, STATUSCLASSNAMEA);
  ok &= Expect(toolbar && statusBar, "the toolbar and the status bar exist again");
  if (toolbar) ok &= ExpectEqual(long(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)), 15, "toolbar entries");
  if (statusBar) ok &= ExpectEqual(WindowText(statusBar), status, "the status text");
  ok &= ExpectEqual(session.ViewClientSize().cx, view.cx, "the view's width");
  ok &= ExpectEqual(session.ViewClientSize().cy, view.cy, "the view's height");

  session.toolbar = toolbar;
  SetWindowTextA(session.main, "marker");
  session.ClickToolbarButton(IDM_MAKE);
  ok &= session.TitleBecomes("Vitrelle -No title-");
  return session.Close() && ok;
}

// How many GDI objects, device contexts and handles the tally build of the
// program holds now (what it counts is told in object_tally_win.cpp); -1
// when it does not answer in time.
long HeldObjects(HWND main) {
  const UINT question = RegisterWindowMessageA("VitrelleObjectTally");
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // gives this thread its message queue
  PostMessageA(main, question, GetCurrentThreadId(), 0);
  long held = -1;
  WaitUntil([&] {
    if (PeekMessageA(&message, nullptr, question, question, PM_REMOVE)) held = long(message.wParam);
    return held >= 0;
  });
  return held;
}

// Commands let go of what they make: the program holds as many objects and
// handles after 20 Makes, 5 Opens and a change of scale as after one of each.
bool CommandsReleaseWhatTheyMake() {
  Session session("tally");
  const std::string tally = DriverFolder() + "\\vitrelle-tally.exe";
  if (!Expect(CopyFileA(tally.c_str(), (session.folder + "\\vitrelle.exe").c_str(), FALSE), "the tally build is in place"))
    return false;
  const std::string picture = session.folder + "\\picture.bmp";
  WriteFileBytes(picture, FullColorBmp(40, 30));
  if (!StartWithSmallMakes(session)) return false;
  const auto make = [&] {
    SetWindowTextA(session.main, "marker");
    SendCommand(session.main, IDM_MAKE);
    return session.TitleBecomes("Vitrelle -No title-");
  };
  const auto open = [&] {
    PressKey(session.main, 'O', {VK_CONTROL});
    return FillFileDialog(session.program, "Open file", picture) && session.TitleBecomes(picture);
  };
  const auto changeScale = [&] {
    RECT place;
    GetWindowRect(session.main, &place);
    return SendScaleChange(session, place);
  };
  bool ok = make() && open() && changeScale();
  const long held = HeldObjects(session.main);
  ok &= Expect(held > 0, "the tally build answers (it holds at least the toolbar's images)");
  for (int i = 0; i < 20; ++i) ok &= make();
  for (int i = 0; i < 5; ++i) ok &= open();
  ok &= Expect(changeScale(), "the program takes the scale change");
  ok &= ExpectEqual(HeldObjects(session.main), held, "objects and handles held after 20 Makes, 5 Opens and a scale change");
  return session.Close() && ok;
}

}  // namespace

VITRELLE_SCENARIO("shell-commands-release-what-they-make", CommandsReleaseWhatTheyMake);
VITRELLE_SCENARIO("shell-dpi-change", DpiChangeRebuildsTheBars);
VITRELLE_SCENARIO("shell-palette-screen", PaletteScreenShowsFullColour);
VITRELLE_SCENARIO("shell-startup", StartUp);
VITRELLE_SCENARIO("shell-make", MakeShowsThePicture);
VITRELLE_SCENARIO("shell-make-read-only", MakeWithReadOnlyPatternFile);
VITRELLE_SCENARIO("shell-make-after-transparent-gif", MakeAfterATransparentGif);
VITRELLE_SCENARIO("shell-open", OpenPictures);
VITRELLE_SCENARIO("shell-save", SavePictures);
VITRELLE_SCENARIO("shell-save-png", SavePng);
VITRELLE_SCENARIO("shell-clipboard", CopyAndPaste);
VITRELLE_SCENARIO("shell-details", DetailsSwitchesThePanel);
VITRELLE_SCENARIO("shell-help-about", HelpAboutAndExit);
