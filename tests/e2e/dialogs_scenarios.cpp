// The Brightness dialog and the GIF save options dialog with its dropper, as
// a person uses them: what the view shows, what the dialogs show, and the
// files written.
#include <cstring>
#include <span>

#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario_pictures.h"
#include "tests/e2e/scenarios.h"

namespace {

// A full-colour picture of one colour.
DibImagePtr PlainPicture(COLORREF color) {
  DibImagePtr image = CreateDibImage(40, 30, 24);
  const size_t stride = DibRowStride(40, 24);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      uint8_t* pixel = DibPixels(*image) + y * stride + x * 3;
      pixel[0] = GetBValue(color), pixel[1] = GetGValue(color), pixel[2] = GetRValue(color);
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

COLORREF LightenedColor(COLORREF color, int level) {
  return RGB(Lightened(GetRValue(color), level), Lightened(GetGValue(color), level),
             Lightened(GetBValue(color), level));
}

// The program started on a picture written into the scenario's own folder.
struct Session {
  Program program;
  std::string picture;  // the picture file
  std::string gif;      // where the GIF scenarios save it, beside the picture
  HWND main = nullptr;
  HWND view = nullptr;
};

// Writes the picture and starts the program on it; false (reported) when the
// program does not show it.
bool Start(Session& session, const DibImage& image) {
  const std::string folder = ScenarioFolder();
  session.picture = WritePictureFile(folder + "picture.bmp", image);
  session.gif = folder + "picture.gif";
  session.main = StartWithFile(session.program, session.picture);
  if (!Expect(session.main != nullptr, "vitrelle.exe opens the picture")) return false;
  session.view = FindChild(session.main, "VTRCHILD");
  return true;
}

// Moves a dialog off the main window, so that the picture shows beside it.
void MoveAside(HWND dialog) { SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }

// Whether the screen point comes to show the colour (a window repaints a
// little after it changed).
bool ExpectColorAt(POINT point, COLORREF color, const std::string& what) {
  return Expect(WaitUntil([&] { return ScreenPixel(point) == color; }, 5000),
                what + ": got " + std::to_string(ScreenPixel(point)) + ", expected " + std::to_string(color));
}

bool ExpectViewColor(const Session& session, COLORREF color, const std::string& when) {
  return ExpectColorAt(ScreenPointOf(session.view, 3, 3), color, "the view's colour " + when);
}

// ---- Brightness ----------------------------------------------------------

// A way out of the Brightness dialog, and whether it keeps the level shown.
struct WayOut {
  const char* name;
  bool keeps;
  void (*take)(HWND dialog);
};
constexpr WayOut kOk{"OK", true, [](HWND dialog) { ClickButton(dialog, IDOK); }};
constexpr WayOut kCancel{"Cancel", false, [](HWND dialog) { ClickButton(dialog, IDCANCEL); }};
constexpr WayOut kCloseBox{"the close box", false, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }};
constexpr WayOut kAltO{"Alt+O", true, [](HWND dialog) { PressKey(dialog, 'O', {VK_MENU}); }};
constexpr WayOut kAltC{"Alt+C", false, [](HWND dialog) { PressKey(dialog, 'C', {VK_MENU}); }};

// One step of a Brightness scenario: what a person does, or what then shows.
struct BrightnessStep {
  enum Kind { kOpen, kScroll, kKey, kShows, kFocus, kClose } kind;
  int code = 0;                 // the scroll code, the key, the level or the control
  int value = 0;                // the thumb position, or how many times the key is pressed
  const char* when = "";        // how a failure names the step
  const WayOut* way = nullptr;  // how kClose leaves the dialog
};

// Ctrl+U on the main window.
BrightnessStep OpenBrightness() { return {BrightnessStep::kOpen}; }
// A WM_HSCROLL from the scroll bar, as the mouse makes it.
BrightnessStep Scroll(int code, int position = 0) { return {BrightnessStep::kScroll, code, position}; }
BrightnessStep Press(WORD key, int times = 1) { return {BrightnessStep::kKey, key, times}; }
// The dialog shows the level, the view the committed colour lightened at it.
BrightnessStep Shows(int level, const char* when) { return {BrightnessStep::kShows, level, 0, when}; }
BrightnessStep HasFocus(int control, const char* what) { return {BrightnessStep::kFocus, control, 0, what}; }
// The dialog closes; the view shows the picture kept or brought back.
BrightnessStep CloseBy(const WayOut& way) { return {BrightnessStep::kClose, 0, 0, "", &way}; }

// Runs the steps on the session's picture, whose view shows `committed`; a
// way out that keeps makes that the colour lightened at the level last shown.
bool RunBrightnessSteps(Session& session, COLORREF committed, std::span<const BrightnessStep> steps) {
  HWND dialog = nullptr;
  int level = 255;
  bool ok = true;
  for (const BrightnessStep& step : steps) {
    switch (step.kind) {
      case BrightnessStep::kOpen:
        PressKey(session.main, 'U', {VK_CONTROL});
        dialog = WaitForDialog(session.program, "Brightness");
        if (!Expect(dialog != nullptr, "Brightness opens its dialog")) return false;
        MoveAside(dialog);
        break;
      case BrightnessStep::kScroll:
        PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(step.code, step.value),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BRIGHTNESS_BAR)));
        break;
      case BrightnessStep::kKey:
        for (int i = 0; i < step.value; ++i) PressKey(dialog, WORD(step.code));
        break;
      case BrightnessStep::kShows: {
        level = step.code;
        HWND text = GetDlgItem(dialog, IDC_BRIGHTNESS_LEVEL);
        ok &= Expect(WaitUntil([&] { return WindowText(text) == std::to_string(level); }),
                     "the level " + std::to_string(level) + " shows " + step.when + ", got " + WindowText(text));
        ok &= ExpectViewColor(session, LightenedColor(committed, level), step.when);
        break;
      }
      case BrightnessStep::kFocus:
        ok &= Expect(GetsFocus(dialog, step.code), step.when);
        break;
      case BrightnessStep::kClose: {
        const std::string way = step.way->name;
        step.way->take(dialog);
        ok &= Expect(WaitForClose(dialog), way + " closes the dialog");
        if (step.way->keeps) committed = LightenedColor(committed, level);
        ok &= ExpectViewColor(session, committed, "after " + way + " at " + std::to_string(level));
        break;
      }
    }
  }
  return ok;
}

bool RunBrightnessOnPlainPicture(std::span<const BrightnessStep> steps) {
  const COLORREF plain = RGB(0, 100, 200);
  Session session;
  if (!Start(session, *PlainPicture(plain))) return false;
  return RunBrightnessSteps(session, plain, steps) & CloseProgram(session.program, session.main);
}

// Ctrl+U opens the dialog; the view follows every level; OK keeps, Cancel
// and the close box restore; an opening applies the level kept from the last
// one at once; steps stop at the ends.
bool BrightnessLightensAndRestores() {
  const BrightnessStep kSteps[] = {
      OpenBrightness(), Shows(255, "at the first opening"),
      Scroll(SB_THUMBTRACK, 128), Shows(128, "while dragging to 128"),
      CloseBy(kOk),
      OpenBrightness(), Shows(128, "at the second opening"), CloseBy(kOk),
      OpenBrightness(), Shows(128, "at the third opening"), CloseBy(kCancel),
      OpenBrightness(), Shows(128, "at an opening after Cancel at 128"),
      Scroll(SB_LEFT), Shows(0, "at the left end"),
      Scroll(SB_LINELEFT), Scroll(SB_PAGELEFT), Scroll(SB_LINERIGHT),
      Shows(1, "after a line and a page left at 0 and a line right"),
      Scroll(SB_THUMBPOSITION, 250), Scroll(SB_PAGERIGHT), Scroll(SB_ENDSCROLL),
      Shows(255, "after a page right from 250"),
      Scroll(SB_PAGELEFT), Shows(240, "after a page left from 255"),
      CloseBy(kCloseBox),
  };
  return RunBrightnessOnPlainPicture(kSteps);
}

// Without a mouse: the scroll bar has the focus when the dialog opens and
// Tab comes round to it again; Home, End, the arrows and Page Left move the
// level with the view following; Alt+O keeps the picture, Alt+C brings it
// back.
bool BrightnessByKeys() {
  const BrightnessStep kSteps[] = {
      OpenBrightness(), HasFocus(IDC_BRIGHTNESS_BAR, "the scroll bar has the focus at opening"),
      Shows(255, "at the first opening"),
      Press(VK_TAB), HasFocus(IDOK, "Tab moves on to OK"),
      Press(VK_TAB, 2), HasFocus(IDC_BRIGHTNESS_BAR, "Tab comes round to the scroll bar"),
      Press(VK_HOME), Shows(0, "after Home"),
      Press(VK_RIGHT, 5), Shows(5, "after Right five times"),
      CloseBy(kAltO),
      OpenBrightness(), HasFocus(IDC_BRIGHTNESS_BAR, "the scroll bar has the focus at the second opening"),
      Shows(5, "at the second opening"),
      Press(VK_END), Shows(255, "after End"),
      Press(VK_PRIOR), Press(VK_RIGHT, 5), Shows(245, "after Page Left from 255 and Right five times"),
      Press(VK_HOME), Shows(0, "after Home at the second opening"),  // so that what Alt+C brings back shows
      CloseBy(kAltC),
  };
  return RunBrightnessOnPlainPicture(kSteps);
}

// Without a picture Ctrl+U opens nothing and says nothing.
bool BrightnessWithoutPicture() {
  Program program;
  HWND main = StartMainWindow(program);
  if (!main) return false;
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
  Session session;
  if (!Start(session, *PalettePicture())) return false;
  const std::string before = CopiedPicture(session.main);
  const BrightnessStep kSteps[] = {OpenBrightness(), Scroll(SB_THUMBPOSITION, 128), Shows(128, "at 128"), CloseBy(kOk)};
  bool ok = RunBrightnessSteps(session, TableColor(5), kSteps);
  const std::string after = CopiedPicture(session.main);
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
  return ok & CloseProgram(session.program, session.main);
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

// Save As with the third file type for the session's GIF: the options
// dialog, or null.
HWND OpenGifOptions(Session& session) {
  SendCommand(session.main, IDM_SAVE_AS);
  if (!FillFileDialog(session.program, "Save file", session.gif, 3)) return nullptr;
  HWND options = WaitForDialog(session.program, "GIF Save Option");
  if (!Expect(options != nullptr, "the third file type shows the GIF options")) return nullptr;
  MoveAside(options);
  return options;
}

// Starts the program on the picture and opens the GIF options: the dialog,
// or null.
HWND StartInGifOptions(Session& session, const DibImage& image) {
  return Start(session, image) ? OpenGifOptions(session) : nullptr;
}

std::string CommentOf(HWND options) { return WindowText(GetDlgItem(options, IDC_GIF_COMMENT)); }

void SetComment(HWND options, const std::string& comment) {
  SendMessageTimeoutA(GetDlgItem(options, IDC_GIF_COMMENT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(comment.c_str()),
                      SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
}

bool GifOptionsRefuseTransparencyOnFullColour() {
  Session session;
  HWND options = StartInGifOptions(session, *PlainPicture(RGB(10, 20, 30)));
  if (!options) return false;
  bool ok = Expect(!IsButtonChecked(options, IDC_GIF_TRANSPARENT), "Transparent opens unchecked");
  ClickButton(options, IDC_GIF_TRANSPARENT);
  ok &= AnswerMessageBox(session.program, TextOf(IDS_ERROR), TextOf(IDS_TRANSPARENT_NEEDS_PALETTE), IDOK);
  ok &= Expect(!IsButtonChecked(options, IDC_GIF_TRANSPARENT), "Transparent stays unchecked");
  ClickButton(options, IDC_GIF_PICK_COLOR);
  ok &= AnswerMessageBox(session.program, TextOf(IDS_ERROR), TextOf(IDS_PICK_NEEDS_PALETTE), IDOK);
  ClickButton(options, IDCANCEL);
  ok &= Expect(WaitForClose(options), "Cancel closes the GIF options");
  ok &= Expect(NoDialogAppears(session.program, session.gif), "no question follows Cancel");
  ok &= Expect(!FileExists(session.gif), "Cancel writes no file");
  return ok & CloseProgram(session.program, session.main);
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
  return ExpectColorAt(ScreenPointOf(swatch, area.right / 2, area.bottom / 2), color, "the swatch " + when);
}

bool GifOptionsPickInterlaceAndComment() {
  Session session;
  HWND options = StartInGifOptions(session, *PalettePicture());
  if (!options) return false;
  bool ok = ExpectSwatch(options, RGB(255, 255, 255), "at opening");

  // A press on the picture picks the entry under it (which the swatch then
  // shows) and checks Transparent; one just beside it picks nothing.
  struct DropperPress { int x, y, index; const char* when; };
  const DropperPress kPresses[] = {{10, 10, 200, "after picking index 200"}, {3, 0, 7, "after picking on the top row"},
                                   {40, 5, 7, "after a press just right of the picture"},
                                   {5, 30, 7, "after a press just below it"}};
  for (const DropperPress& press : kPresses) {
    ok &= Pick(options, session.view, press.x, press.y);
    ok &= Expect(WaitUntil([&] { return IsButtonChecked(options, IDC_GIF_TRANSPARENT); }),
                 std::string("Transparent is checked ") + press.when);
    ok &= ExpectSwatch(options, TableColor(press.index), press.when);
  }

  ClickButton(options, IDC_GIF_INTERLACE);
  ok &= Expect(WaitUntil([&] { return IsButtonChecked(options, IDC_GIF_INTERLACE); }), "Interlace is checked");
  std::string comment;
  for (int i = 0; i < 300; ++i) comment += char('a' + i % 26);
  SetComment(options, comment);
  ClickButton(options, IDOK);
  ok &= Expect(WaitForClose(options), "Save closes the GIF options");
  ok &= Expect(WaitUntil([&] { return WindowText(session.main) == session.gif; }), "the title names the saved file");
  const GifFacts facts = ReadGifFacts(FileBytes(session.gif));
  ok &= Expect(facts.read, "the saved GIF reads back");
  ok &= Expect(facts.interlaced, "the saved GIF is interlaced");
  ok &= Expect(facts.transparent, "the saved GIF has a transparent colour");
  ok &= ExpectEqual(facts.transparentIndex, 7, "the saved GIF's transparent index");
  ok &= ExpectEqual(facts.comment, comment.substr(0, 254), "the saved GIF's comment");
  return ok & CloseProgram(session.program, session.main);
}

bool GifOptionsCancelKeepsTheComment() {
  Session session;
  HWND options = StartInGifOptions(session, *PalettePicture());
  if (!options) return false;
  bool ok = ExpectEqual(CommentOf(options), "Vitrelle", "the comment offered first");
  SetComment(options, "edited, then cancelled");
  ClickButton(options, IDCANCEL);
  ok &= Expect(WaitForClose(options), "Cancel closes the GIF options");
  ok &= Expect(!FileExists(session.gif), "Cancel writes no file");
  ok &= ExpectEqual(WindowText(session.main), session.picture, "the title after Cancel");

  options = OpenGifOptions(session);
  if (!options) return false;
  ok &= ExpectEqual(CommentOf(options), "edited, then cancelled", "the comment offered after Cancel");
  PostMessageA(options, WM_CLOSE, 0, 0);
  ok &= Expect(WaitForClose(options), "the close box closes the GIF options");
  ok &= Expect(!FileExists(session.gif), "closing writes no file");
  return ok & CloseProgram(session.program, session.main);
}

}  // namespace

VITRELLE_SCENARIO("brightness", BrightnessLightensAndRestores);
VITRELLE_SCENARIO("brightness-keys", BrightnessByKeys);
VITRELLE_SCENARIO("brightness-without-picture", BrightnessWithoutPicture);
VITRELLE_SCENARIO("brightness-palette", BrightnessChangesOnlyThePaletteOf256Colours);
VITRELLE_SCENARIO("gif-options-full-color", GifOptionsRefuseTransparencyOnFullColour);
VITRELLE_SCENARIO("gif-options-pick", GifOptionsPickInterlaceAndComment);
VITRELLE_SCENARIO("gif-options-cancel", GifOptionsCancelKeepsTheComment);
