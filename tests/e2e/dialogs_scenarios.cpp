// The Brightness dialog and the GIF save options dialog with its dropper, as
// a person uses them: what the view shows, what the dialogs show, and the
// files written.
#include <cstring>

#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario_pictures.h"
#include "tests/e2e/scenarios.h"

namespace {

// A full-colour picture of one colour.
DibImagePtr PlainPicture(uint8_t red, uint8_t green, uint8_t blue) {
  DibImagePtr image = CreateDibImage(40, 30, 24);
  const size_t stride = DibRowStride(40, 24);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      uint8_t* pixel = DibPixels(*image) + y * stride + x * 3;
      pixel[0] = blue, pixel[1] = green, pixel[2] = red;
    }
  }
  return image;
}

// A 40 x 30 picture of 256 colours, entry i being (i, 255 - i, 3i): index 5
// everywhere, 7 along the top row and 200 at column 10 of row 10.
DibImagePtr PalettePicture() {
  DibImagePtr image = CreateDibImage(40, 30, 8);
  for (int i = 0; i < 256; ++i) DibColorTable(*image)[i] = {uint8_t(3 * i), uint8_t(255 - i), uint8_t(i), 0};
  uint8_t* pixels = DibPixels(*image);
  const size_t stride = DibRowStride(40, 8);
  std::memset(pixels, 5, stride * 30);
  std::memset(pixels + 29 * stride, 7, 40);  // stored last: the top row
  pixels[(29 - 10) * stride + 10] = 200;
  return image;
}

COLORREF TableColor(int index) { return RGB(index, 255 - index, (3 * index) & 0xFF); }

int Lightened(int channel, int level) { return channel * level / 255 + 255 - level; }

// Moves a dialog off the main window, so that the picture shows beside it.
void MoveAside(HWND dialog) { SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }

// ---- Brightness ----------------------------------------------------------

struct BrightnessRun {
  Program& program;
  HWND main;
  HWND view;

  HWND Open() {
    PressKey(main, 'U', {VK_CONTROL});
    HWND dialog = WaitForDialog(program, "Brightness");
    if (dialog) MoveAside(dialog);
    return dialog;
  }
  void Scroll(HWND dialog, int code, int position = 0) {
    PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BRIGHTNESS_BAR)));
  }
  // The level shown and the view's first pixel, once the view caught up.
  bool ExpectShown(HWND dialog, int level, COLORREF pixel, const std::string& when) {
    bool ok = Expect(WaitUntil([&] { return WindowText(GetDlgItem(dialog, IDC_BRIGHTNESS_LEVEL)) == std::to_string(level); }),
                     "the level " + std::to_string(level) + " shows " + when + ", got " +
                         WindowText(GetDlgItem(dialog, IDC_BRIGHTNESS_LEVEL)));
    return ok & ExpectPixel(pixel, when);
  }
  bool ExpectPixel(COLORREF pixel, const std::string& when) {
    const POINT point = ScreenPointOf(view, 3, 3);
    return Expect(WaitUntil([&] { return ScreenPixel(point) == pixel; }, 5000),
                  "the view's colour " + when + ": got " + std::to_string(ScreenPixel(point)) + ", expected " +
                      std::to_string(pixel));
  }
};

COLORREF LightenedColor(int red, int green, int blue, int level) {
  return RGB(Lightened(red, level), Lightened(green, level), Lightened(blue, level));
}

// Ctrl+U opens the dialog; the view follows every level; OK keeps, Cancel
// and the close box restore; the level is kept between openings.
bool BrightnessLightensAndRestores() {
  const std::string path = WritePictureFile(ScenarioFolder() + "plain.bmp", *PlainPicture(0, 100, 200));
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  BrightnessRun run{program, main, FindChild(main, "VTRCHILD")};
  const COLORREF original = RGB(0, 100, 200);
  const COLORREF kTwice = LightenedColor(127, 177, 227, 128);

  HWND dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens its dialog")) return false;
  bool ok = run.ExpectShown(dialog, 255, original, "at the first opening");
  run.Scroll(dialog, SB_THUMBTRACK, 128);
  ok &= run.ExpectShown(dialog, 128, LightenedColor(0, 100, 200, 128), "while dragging to 128");
  ClickButton(dialog, IDOK);
  ok &= Expect(WaitForClose(dialog), "OK closes the dialog");
  ok &= run.ExpectPixel(RGB(127, 177, 227), "after OK at 128");

  // Opening again applies the kept level at once; OK keeps it: 0 → 127 → 190.
  dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens again")) return false;
  ok &= run.ExpectShown(dialog, 128, kTwice, "at the second opening");
  ClickButton(dialog, IDOK);
  ok &= Expect(WaitForClose(dialog), "OK closes the dialog");
  ok &= run.ExpectPixel(kTwice, "after the second OK");

  // Cancel brings the picture back; the level stays for the next opening.
  const COLORREF kThrice = LightenedColor(190, 215, 240, 128);
  dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens a third time")) return false;
  ok &= run.ExpectShown(dialog, 128, kThrice, "at the third opening");
  ClickButton(dialog, IDCANCEL);
  ok &= Expect(WaitForClose(dialog), "Cancel closes the dialog");
  ok &= run.ExpectPixel(kTwice, "after Cancel");

  // Steps stop at the ends; the close box restores like Cancel.
  dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens a fourth time")) return false;
  ok &= run.ExpectShown(dialog, 128, kThrice, "at an opening after Cancel at 128");
  run.Scroll(dialog, SB_LEFT);
  ok &= run.ExpectShown(dialog, 0, RGB(255, 255, 255), "at the left end");
  run.Scroll(dialog, SB_LINELEFT);
  run.Scroll(dialog, SB_PAGELEFT);
  run.Scroll(dialog, SB_LINERIGHT);
  ok &= run.ExpectShown(dialog, 1, LightenedColor(190, 215, 240, 1), "after a line and a page left at 0 and a line right");
  run.Scroll(dialog, SB_THUMBPOSITION, 250);
  run.Scroll(dialog, SB_PAGERIGHT);
  run.Scroll(dialog, SB_ENDSCROLL);
  ok &= run.ExpectShown(dialog, 255, kTwice, "after a page right from 250");
  run.Scroll(dialog, SB_PAGELEFT);
  ok &= run.ExpectShown(dialog, 240, LightenedColor(190, 215, 240, 240), "after a page left from 255");
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  ok &= Expect(WaitForClose(dialog), "the close box closes the dialog");
  ok &= run.ExpectPixel(kTwice, "after closing");
  return ok & CloseProgram(program, main);
}

// Without a mouse: the scroll bar has the focus when the dialog opens and
// Tab comes round to it again; Home, End, the arrows and Page Left move the
// level with the view following; Alt+O keeps the picture, Alt+C brings it
// back.
bool BrightnessByKeys() {
  const std::string path = WritePictureFile(ScenarioFolder() + "plain.bmp", *PlainPicture(0, 100, 200));
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  BrightnessRun run{program, main, FindChild(main, "VTRCHILD")};
  const COLORREF kAt5 = LightenedColor(0, 100, 200, 5);

  HWND dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens its dialog")) return false;
  bool ok = Expect(GetsFocus(dialog, IDC_BRIGHTNESS_BAR), "the scroll bar has the focus at opening");
  PressKey(dialog, VK_TAB);
  ok &= Expect(GetsFocus(dialog, IDOK), "Tab moves on to OK");
  PressKey(dialog, VK_TAB);
  PressKey(dialog, VK_TAB);
  ok &= Expect(GetsFocus(dialog, IDC_BRIGHTNESS_BAR), "Tab comes round to the scroll bar");
  PressKey(dialog, VK_HOME);
  ok &= run.ExpectShown(dialog, 0, RGB(255, 255, 255), "after Home");
  for (int i = 0; i < 5; ++i) PressKey(dialog, VK_RIGHT);
  ok &= run.ExpectShown(dialog, 5, kAt5, "after Right five times");
  PressKey(dialog, 'O', {VK_MENU});
  ok &= Expect(WaitForClose(dialog), "Alt+O closes the dialog");
  ok &= run.ExpectPixel(kAt5, "after Alt+O at 5");

  dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens again")) return false;
  ok &= Expect(GetsFocus(dialog, IDC_BRIGHTNESS_BAR), "the scroll bar has the focus at the second opening");
  PressKey(dialog, VK_END);
  ok &= run.ExpectShown(dialog, 255, kAt5, "after End");
  PressKey(dialog, VK_PRIOR);
  for (int i = 0; i < 5; ++i) PressKey(dialog, VK_RIGHT);
  ok &= run.ExpectShown(dialog, 245, LightenedColor(GetRValue(kAt5), GetGValue(kAt5), GetBValue(kAt5), 245),
                        "after Page Left from 255 and Right five times");
  PressKey(dialog, 'C', {VK_MENU});
  ok &= Expect(WaitForClose(dialog), "Alt+C closes the dialog");
  ok &= run.ExpectPixel(kAt5, "after Alt+C");
  return ok & CloseProgram(program, main);
}

// Without a picture Ctrl+U opens nothing and says nothing.
bool BrightnessWithoutPicture() {
  Program program;
  if (!Expect(StartProgram(program), "vitrelle.exe starts")) return false;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "the main window appears")) return false;
  PressKey(main, 'U', {VK_CONTROL});
  bool ok = Expect(NoDialogAppears(program, "Brightness"), "no Brightness dialog stays open");
  ok &= Expect(NoDialogAppears(program, "Caution", 500) && NoDialogAppears(program, "Error", 500), "no message");
  return ok & CloseProgram(program, main);
}

// The picture as Copy puts it on the clipboard.
std::string CopiedPicture(HWND main) {
  SendCommandAndWait(main, IDM_COPY);
  return ClipboardPicture();
}

bool BrightnessChangesOnlyThePaletteOf256Colours() {
  DibImagePtr image = PalettePicture();
  const std::string path = WritePictureFile(ScenarioFolder() + "palette.bmp", *image);
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  BrightnessRun run{program, main, FindChild(main, "VTRCHILD")};
  const std::string before = CopiedPicture(main);
  HWND dialog = run.Open();
  if (!Expect(dialog != nullptr, "Brightness opens its dialog")) return false;
  run.Scroll(dialog, SB_THUMBPOSITION, 128);
  bool ok = run.ExpectShown(dialog, 128, RGB(Lightened(5, 128), Lightened(250, 128), Lightened(15, 128)), "at 128");
  ClickButton(dialog, IDOK);
  ok &= Expect(WaitForClose(dialog), "OK closes the dialog");
  const std::string after = CopiedPicture(main);
  if (!Expect(!before.empty() && after.size() == before.size(), "Copy gives the picture before and after")) {
    return false;
  }
  const size_t table = kInfoHeaderSize, pixels = kInfoHeaderSize + 256 * 4;
  ok &= Expect(after.compare(pixels, std::string::npos, before, pixels, std::string::npos) == 0,
               "the pixel indexes stay as they were");
  for (int i : {0, 5, 200, 255}) {
    const auto* entry = reinterpret_cast<const uint8_t*>(after.data() + table + 4 * i);
    const auto* old = reinterpret_cast<const uint8_t*>(before.data() + table + 4 * i);
    ok &= ExpectEqual(entry[0], Lightened(old[0], 128), "blue of entry " + std::to_string(i));
    ok &= ExpectEqual(entry[2], Lightened(old[2], 128), "red of entry " + std::to_string(i));
    ok &= ExpectEqual(entry[3], old[3], "reserved byte of entry " + std::to_string(i));
  }
  return ok & CloseProgram(program, main);
}

// ---- GIF save options ----------------------------------------------------

// What a GIF file says about its first image, read block by block up to the
// trailer (the comment may follow the image).
struct GifFacts {
  bool read = false;
  bool interlaced = false;
  bool transparent = false;
  int transparentIndex = -1;
  std::string comment;
};

GifFacts ReadGifFacts(const std::string& file) {
  GifFacts facts;
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  const size_t size = file.size();
  if (size < 13 || file.compare(0, 3, "GIF") != 0) return facts;
  size_t at = 13 + ((bytes[10] & 0x80) ? 3u << ((bytes[10] & 7) + 1) : 0u);
  auto skipSubBlocks = [&](std::string* text) {
    while (at < size && bytes[at] != 0) {
      if (text) text->append(file, at + 1, bytes[at]);
      at += bytes[at] + 1;
    }
    ++at;
  };
  while (at + 1 < size) {
    if (bytes[at] == 0x21) {
      const uint8_t label = bytes[at + 1];
      at += 2;
      if (label == 0xF9 && at + 5 < size) {
        facts.transparent = bytes[at + 1] & 1;
        facts.transparentIndex = bytes[at + 4];
      }
      skipSubBlocks(label == 0xFE ? &facts.comment : nullptr);
    } else if (bytes[at] == 0x2C && at + 10 < size && !facts.read) {
      const uint8_t flags = bytes[at + 9];
      facts.interlaced = (flags & 0x40) != 0;
      facts.read = true;
      at += 10 + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0u) + 1;  // descriptor, table, code size
      skipSubBlocks(nullptr);
    } else {
      break;
    }
  }
  return facts;
}

// Save As with the third file type: the options dialog, or null.
HWND OpenGifOptions(Program& program, HWND main, const std::string& path) {
  SendCommand(main, IDM_SAVE_AS);
  if (!FillFileDialog(program, "Save file", path, 3)) return nullptr;
  HWND options = WaitForDialog(program, "GIF Save Option");
  if (!Expect(options != nullptr, "the third file type shows the GIF options")) return nullptr;
  MoveAside(options);
  return options;
}

bool GifOptionsRefuseTransparencyOnFullColour() {
  const std::string folder = ScenarioFolder();
  const std::string path = WritePictureFile(folder + "full.bmp", *PlainPicture(10, 20, 30));
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  const std::string gif = folder + "full.gif";
  HWND options = OpenGifOptions(program, main, gif);
  if (!options) return false;
  bool ok = Expect(!IsButtonChecked(options, IDC_GIF_TRANSPARENT), "Transparent opens unchecked");
  ClickButton(options, IDC_GIF_TRANSPARENT);
  ok &= AnswerMessageBox(program, TextOf(IDS_ERROR), TextOf(IDS_TRANSPARENT_NEEDS_PALETTE), IDOK);
  ok &= Expect(!IsButtonChecked(options, IDC_GIF_TRANSPARENT), "Transparent stays unchecked");
  ClickButton(options, IDC_GIF_PICK_COLOR);
  ok &= AnswerMessageBox(program, TextOf(IDS_ERROR), TextOf(IDS_PICK_NEEDS_PALETTE), IDOK);
  ClickButton(options, IDCANCEL);
  ok &= Expect(WaitForClose(options), "Cancel closes the GIF options");
  ok &= Expect(NoDialogAppears(program, gif), "no question follows Cancel");
  ok &= Expect(!FileExists(gif), "Cancel writes no file");
  return ok & CloseProgram(program, main);
}

// The dropper: Color, then a press on the picture in the view.
bool Pick(HWND options, HWND view, int x, int y) {
  ClickButton(options, IDC_GIF_PICK_COLOR);
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  const DWORD threadId = GetWindowThreadProcessId(options, nullptr);
  if (!Expect(WaitUntil([&] { return GetGUIThreadInfo(threadId, &thread) && thread.hwndCapture == options; }),
              "Color captures the mouse")) {
    return false;
  }
  ClickAt(ScreenPointOf(view, x, y));
  return Expect(WaitUntil([&] { return GetGUIThreadInfo(threadId, &thread) && thread.hwndCapture == nullptr; }),
                "the press ends the capture");
}

bool ExpectSwatch(HWND options, COLORREF color, const std::string& when) {
  HWND swatch = GetDlgItem(options, IDC_GIF_SWATCH);
  RECT area;
  GetClientRect(swatch, &area);
  const POINT middle = ScreenPointOf(swatch, area.right / 2, area.bottom / 2);
  return Expect(WaitUntil([&] { return ScreenPixel(middle) == color; }, 5000),
                "the swatch " + when + ": got " + std::to_string(ScreenPixel(middle)) + ", expected " +
                    std::to_string(color));
}

bool GifOptionsPickInterlaceAndComment() {
  const std::string folder = ScenarioFolder();
  const std::string path = WritePictureFile(folder + "palette.bmp", *PalettePicture());
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  HWND view = FindChild(main, "VTRCHILD");
  const std::string gif = folder + "picked.gif";
  HWND options = OpenGifOptions(program, main, gif);
  if (!options) return false;
  bool ok = ExpectSwatch(options, RGB(255, 255, 255), "at opening");

  ok &= Pick(options, view, 10, 10);
  ok &= Expect(WaitUntil([&] { return IsButtonChecked(options, IDC_GIF_TRANSPARENT); }), "a pick checks Transparent");
  ok &= ExpectSwatch(options, TableColor(200), "after picking index 200");
  ok &= Pick(options, view, 3, 0);
  ok &= ExpectSwatch(options, TableColor(7), "after picking on the top row");
  ok &= Pick(options, view, 40, 5);  // one pixel right of the picture
  ok &= Pick(options, view, 5, 30);  // one pixel below it
  ok &= ExpectSwatch(options, TableColor(7), "after presses beside the picture");

  ClickButton(options, IDC_GIF_INTERLACE);
  ok &= Expect(WaitUntil([&] { return IsButtonChecked(options, IDC_GIF_INTERLACE); }), "Interlace is checked");
  std::string comment;
  for (int i = 0; i < 300; ++i) comment += char('a' + i % 26);
  SendMessageTimeoutA(GetDlgItem(options, IDC_GIF_COMMENT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(comment.c_str()),
                      SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
  ClickButton(options, IDOK);
  ok &= Expect(WaitForClose(options), "Save closes the GIF options");
  ok &= Expect(WaitUntil([&] { return WindowText(main) == gif; }), "the title names the saved file");
  const GifFacts facts = ReadGifFacts(FileBytes(gif));
  ok &= Expect(facts.read, "the saved GIF reads back");
  ok &= Expect(facts.interlaced, "the saved GIF is interlaced");
  ok &= Expect(facts.transparent, "the saved GIF has a transparent colour");
  ok &= ExpectEqual(facts.transparentIndex, 7, "the saved GIF's transparent index");
  ok &= ExpectEqual(facts.comment, comment.substr(0, 254), "the saved GIF's comment");
  return ok & CloseProgram(program, main);
}

bool GifOptionsCancelKeepsTheComment() {
  const std::string folder = ScenarioFolder();
  const std::string path = WritePictureFile(folder + "palette.bmp", *PalettePicture());
  Program program;
  HWND main = StartWithFile(program, path);
  if (!Expect(main != nullptr, "vitrelle.exe opens the picture")) return false;
  const std::string gif = folder + "cancelled.gif";
  HWND options = OpenGifOptions(program, main, gif);
  if (!options) return false;
  bool ok = ExpectEqual(WindowText(GetDlgItem(options, IDC_GIF_COMMENT)), "Vitrelle", "the comment offered first");
  SendMessageTimeoutA(GetDlgItem(options, IDC_GIF_COMMENT), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>("edited, then cancelled"), SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
  ClickButton(options, IDCANCEL);
  ok &= Expect(WaitForClose(options), "Cancel closes the GIF options");
  ok &= Expect(!FileExists(gif), "Cancel writes no file");
  ok &= ExpectEqual(WindowText(main), path, "the title after Cancel");

  options = OpenGifOptions(program, main, gif);
  if (!options) return false;
  ok &= ExpectEqual(WindowText(GetDlgItem(options, IDC_GIF_COMMENT)), "edited, then cancelled",
                    "the comment offered after Cancel");
  PostMessageA(options, WM_CLOSE, 0, 0);
  ok &= Expect(WaitForClose(options), "the close box closes the GIF options");
  ok &= Expect(!FileExists(gif), "closing writes no file");
  return ok & CloseProgram(program, main);
}

}  // namespace

VITRELLE_SCENARIO("brightness", BrightnessLightensAndRestores);
VITRELLE_SCENARIO("brightness-keys", BrightnessByKeys);
VITRELLE_SCENARIO("brightness-without-picture", BrightnessWithoutPicture);
VITRELLE_SCENARIO("brightness-palette", BrightnessChangesOnlyThePaletteOf256Colours);
VITRELLE_SCENARIO("gif-options-full-color", GifOptionsRefuseTransparencyOnFullColour);
VITRELLE_SCENARIO("gif-options-pick", GifOptionsPickInterlaceAndComment);
VITRELLE_SCENARIO("gif-options-cancel", GifOptionsCancelKeepsTheComment);
