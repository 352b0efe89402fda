// Undo, Redo and the question before closing, as a person meets them: the
// pictures the view shows after each step, the titles and status texts, the
// menu items and toolbar buttons, and the files a Yes at closing writes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario_pictures.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/session.h"

namespace {

constexpr int kWidth = 60, kHeight = 40;

// Writes a 30 x 20 full-colour picture of one grey; returns the path.
std::string WriteGreyPicture(const std::string& path) {
  DibImagePtr picture = CreateDibImage(30, 20, 24);
  std::memset(DibPixels(*picture), 0x40, DibRowStride(30, 24) * 20);
  return WritePictureFile(path, *picture);
}

// A vitrelle.exe of its own folder whose Make grows 60 x 40 pictures.
struct HistorySession : Session {
  bool Start(const std::string& name) {
    folder = MakeProgramCopy(name);
    return Expect(SetStateFields(PatternFile(), {{18, kWidth}, {19, kHeight}}), "the Pattern file takes the size") &&
           Session::Start();
  }

  // Makes a picture and returns its colours as Copy puts them on the clipboard.
  std::vector<uint32_t> Make() {
    SendCommandAndWait(main, IDM_MAKE);
    return CopiedColors(main);
  }

  // Presses the key and waits until the view shows the picture.
  bool StepShows(WORD key, const std::vector<WORD>& modifiers, const std::vector<uint32_t>& picture, int width,
                 int height, const std::string& what) {
    PressKey(main, key, modifiers);
    return Expect(ScreenShows(view, width, height, picture), what);
  }

  bool ButtonEnabled(int command) const {
    return Ask(toolbar, TB_ISBUTTONENABLED, command) != 0;
  }

  // The Undo and Redo buttons' states and, where the menu can be read from
  // another process, the items' texts and states after the program has
  // prepared its menu.
  bool StepsOffered(const std::string& undo, const std::string& redo, const std::string& what) const {
    bool ok = ExpectEqual(ButtonEnabled(IDM_UNDO), !undo.empty(), "the Undo button is enabled " + what);
    ok &= ExpectEqual(ButtonEnabled(IDM_REDO), !redo.empty(), "the Redo button is enabled " + what);
    HMENU menu = GetMenu(main);
    SendMessageTimeoutA(main, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0, SMTO_ABORTIFHUNG, kWaitMilliseconds,
                        nullptr);
    char text[100] = "";
    if (!menu || GetMenuStringA(menu, IDM_UNDO, text, sizeof text, MF_BYCOMMAND) == 0) {
      static bool told = false;
      if (!told) fprintf(stderr, "  note: the program's menu cannot be read from here; only the buttons are checked\n");
      told = true;
      return ok;
    }
    const struct {
      int command;
      std::string expected;
      const char* keys;
      const char* plain;
    } items[] = {{IDM_UNDO, undo, "\tCtrl+Z", "&Undo"}, {IDM_REDO, redo, "\tCtrl+Y", "&Redo"}};
    for (const auto& item : items) {
      GetMenuStringA(menu, item.command, text, sizeof text, MF_BYCOMMAND);
      const std::string label = item.expected.empty() ? item.plain : "&" + item.expected;
      ok &= ExpectEqual(text, label + item.keys, "the menu item " + what);
      const bool greyed = (GetMenuState(menu, item.command, MF_BYCOMMAND) & MF_GRAYED) != 0;
      ok &= ExpectEqual(greyed, item.expected.empty(), "the menu item " + label + " is greyed " + what);
    }
    return ok;
  }

  // Opens the file by the Open dialog; true once the title names it.
  bool Open(const std::string& path) {
    SendCommand(main, IDM_OPEN);
    return FillFileDialog(program, "Open file", path) &&
           Expect(WaitUntil([&] { return WindowText(main) == path; }), "the title names the opened file");
  }

  // Brightness at its lightest, kept by OK.
  bool Brighten() {
    PressKey(main, 'U', {VK_CONTROL});
    HWND dialog = WaitForDialog(program, "Brightness");
    if (!Expect(dialog != nullptr, "Brightness opens its dialog")) return false;
    PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BRIGHTNESS_BAR)));
    ClickButton(dialog, IDOK);
    return Expect(WaitForClose(dialog), "OK closes the dialog");
  }

  bool Shows(const std::string& title, const std::string& status, const std::string& what) const {
    bool ok = ExpectEqual(WindowText(main), title, "the title " + what);
    return ExpectEqual(WindowText(statusBar), status, "the status " + what) && ok;
  }
};

// Three Makes, Undo and Redo by their keys and buttons, an Open, a refused
// Open, and Brightness, each stepped back and forth.
bool UndoAndRedoStepThroughThePictures() {
  HistorySession session;
  if (!session.Start("history")) return false;
  bool ok = session.StepsOffered("", "", "at start");
  const std::vector<uint32_t> first = session.Make();
  const std::string madeStatus = WindowText(session.statusBar);
  ok &= Expect(madeStatus.rfind("Image Info.(60x40 ", 0) == 0, "the status after Make: " + madeStatus);
  ok &= session.StepsOffered("", "", "after the first Make");
  const std::vector<uint32_t> second = session.Make();
  const std::vector<uint32_t> third = session.Make();
  ok &= Expect(first.size() == size_t(kWidth * kHeight) && first != second && second != third,
               "three different pictures are made");
  ok &= session.StepsOffered("Undo Make", "", "after three Makes");

  ok &= session.StepShows('Z', {VK_CONTROL}, second, kWidth, kHeight, "Ctrl+Z shows the second picture");
  ok &= session.StepShows('Z', {VK_CONTROL}, first, kWidth, kHeight, "Ctrl+Z again shows the first picture");
  ok &= session.Shows("Vitrelle -No title-", madeStatus, "after two Undos");
  ok &= session.StepsOffered("", "Redo Make", "at the first picture");
  ok &= ExpectEqual(session.TooltipOf(IDM_REDO), "Redo", "the Redo button's tooltip");
  ok &= session.StepShows('Y', {VK_CONTROL}, second, kWidth, kHeight, "Ctrl+Y shows the second picture");
  ok &= session.StepShows('Z', {VK_CONTROL, VK_SHIFT}, third, kWidth, kHeight, "Ctrl+Shift+Z shows the third");

  // Open a picture of another size; Undo brings back the made one untitled,
  // the window fitted to it again.
  const std::string path = WriteGreyPicture(session.folder + "\\opened.bmp");
  ok &= session.Open(path);
  const std::vector<uint32_t> opened = CopiedColors(session.main);
  ok &= session.StepsOffered("Undo Open", "", "after the Open");
  ok &= ExpectEqual(session.TooltipOf(IDM_UNDO), "Undo", "the Undo button's tooltip");

  // A file no reader takes adds no step.
  const std::string text = session.folder + "\\notes.bmp";
  WriteFileBytes(text, "not a picture");
  SendCommand(session.main, IDM_OPEN);
  ok &= FillFileDialog(session.program, "Open file", text);
  ok &= AnswerMessageBox(session.program, text, TextOf(IDS_OPEN_FAILED), IDOK);
  ok &= session.StepsOffered("Undo Open", "", "after a refused Open");

  session.ClickToolbarButton(IDM_UNDO);
  ok &= Expect(ScreenShows(session.view, kWidth, kHeight, third), "Undo shows the made picture again");
  ok &= session.Shows("Vitrelle -No title-", madeStatus, "after undoing the Open");
  const SIZE view = session.ViewClientSize();
  ok &= Expect(view.cx == kWidth && view.cy == kHeight, "the view fits the made picture again");
  ok &= session.StepsOffered("Undo Make", "Redo Open", "after undoing the Open");
  session.ClickToolbarButton(IDM_REDO);
  ok &= Expect(ScreenShows(session.view, 30, 20, opened), "Redo shows the opened picture");
  ok &= session.Shows(path, "Image Info.(30x20 full color)", "after redoing the Open");

  // Brightness OK, then Undo: the colours before.
  ok &= session.Brighten();
  ok &= Expect(CopiedColors(session.main) != opened, "Brightness lightens the picture");
  ok &= session.StepsOffered("Undo Brightness", "", "after Brightness");
  ok &= session.StepShows('Z', {VK_CONTROL}, opened, 30, 20, "Undo shows the colours before Brightness");
  ok &= session.StepsOffered("Undo Open", "Redo Brightness", "after undoing Brightness");
  return CloseProgram(session.program, session.main) && ok;
}

// Exit after a Make asks: Cancel keeps the program and its picture, Yes
// opens Save As (cancelled there, the program stays), Yes and a name saves
// and ends it. After a Save nothing is asked; No ends the program.
bool ClosingAsksAboutAnUnsavedPicture() {
  HistorySession session;
  if (!session.Start("closing")) return false;
  const std::vector<uint32_t> made = session.Make();
  SendCommand(session.main, IDM_EXIT);
  bool ok = AnswerMessageBox(session.program, kCloseQuestionCaption, kCloseQuestion, IDCANCEL);
  ok &= ExpectEqual(WaitForExit(session.program, 500), -1, "Cancel keeps the program");
  ok &= Expect(ScreenShows(session.view, kWidth, kHeight, made), "the picture stays after Cancel");

  PostMessageA(session.main, WM_CLOSE, 0, 0);  // the close box
  ok &= AnswerMessageBox(session.program, kCloseQuestionCaption, kCloseQuestion, IDYES);
  HWND save = WaitForDialog(session.program, "Save file");
  ok &= Expect(save != nullptr, "Yes opens Save As");
  if (save) {
    PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
    ok &= Expect(WaitForClose(save), "the Save dialog closes");
  }
  ok &= ExpectEqual(WaitForExit(session.program, 500), -1, "a cancelled Save As keeps the program");

  // The system's end of session asks too; Cancel refuses it.
  LRESULT answer = -1;
  std::thread ending([&] {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(session.main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &result)) {
      answer = LRESULT(result);
    }
  });
  ok &= AnswerMessageBox(session.program, kCloseQuestionCaption, kCloseQuestion, IDCANCEL);
  ending.join();
  ok &= ExpectEqual(long(answer), 0, "Cancel refuses the end of the session");

  const std::string saved = session.folder + "\\kept.bmp";
  SendCommand(session.main, IDM_EXIT);
  ok &= AnswerMessageBox(session.program, kCloseQuestionCaption, kCloseQuestion, IDYES);
  ok &= FillFileDialog(session.program, "Save file", saved, 1);
  ok &= ExpectEqual(WaitForExit(session.program), 0, "the exit code after saving");
  ok &= Expect(BmpColors(saved) == made, "Yes saved the picture");

  // Saved, then Exit: no question. Made again and closed: No ends it.
  HistorySession again;
  if (!again.Start("closing-saved")) return false;
  again.Make();
  PressKey(again.main, 'S', {VK_CONTROL});
  ok &= FillFileDialog(again.program, "Save file", again.folder + "\\saved.bmp", 1);
  ok &= Expect(WaitUntil([&] { return WindowText(again.main) == again.folder + "\\saved.bmp"; }), "the picture is saved");
  SendCommand(again.main, IDM_EXIT);
  ok &= Expect(NoDialogAppears(again.program, kCloseQuestionCaption, 1000), "Exit after Save asks nothing");
  ok &= ExpectEqual(WaitForExit(again.program), 0, "the exit code after Save and Exit");

  HistorySession third;
  if (!third.Start("closing-no")) return false;
  third.Make();
  PostMessageA(third.main, WM_CLOSE, 0, 0);
  ok &= AnswerMessageBox(third.program, kCloseQuestionCaption, kCloseQuestion, IDNO);
  return ExpectEqual(WaitForExit(third.program), 0, "the exit code after No") && ok;
}

// Open F, Brightness, Save As F over it: F now holds the brightened picture,
// so Undo shows the opened one as unsaved (closing asks), while Redo comes
// back to the saved one (closing asks nothing).
bool UndoAfterSavingOverTheOpenedFile() {
  HistorySession session;
  if (!session.Start("history-save-over")) return false;
  const std::string path = WriteGreyPicture(session.folder + "\\picture.bmp");
  bool ok = session.Open(path);
  const std::vector<uint32_t> opened = CopiedColors(session.main);
  ok &= session.Brighten();
  PressKey(session.main, 'S', {VK_CONTROL});
  ok &= FillFileDialog(session.program, "Save file", path, 1);
  ok &= AnswerMessageBox(session.program, path, TextOf(IDS_ASK_OVERWRITE), IDOK);
  ok &= Expect(WaitUntil([&] { return BmpColors(path) != opened; }), "the brightened picture is saved over the file");
  const std::vector<uint32_t> saved = BmpColors(path);

  ok &= session.StepShows('Z', {VK_CONTROL}, opened, 30, 20, "Undo shows the picture as opened");
  ok &= ExpectEqual(WindowText(session.main), path, "the title after Undo");
  SendCommand(session.main, IDM_EXIT);
  ok &= AnswerMessageBox(session.program, kCloseQuestionCaption, kCloseQuestion, IDCANCEL);
  ok &= ExpectEqual(WaitForExit(session.program, 500), -1, "Cancel keeps the program");

  ok &= session.StepShows('Y', {VK_CONTROL}, saved, 30, 20, "Redo shows the saved picture");
  SendCommand(session.main, IDM_EXIT);
  ok &= Expect(NoDialogAppears(session.program, kCloseQuestionCaption, 1000), "Exit at the saved picture asks nothing");
  return ExpectEqual(WaitForExit(session.program), 0, "the exit code after Exit") && ok;
}

}  // namespace

VITRELLE_SCENARIO("history-undo-redo", UndoAndRedoStepThroughThePictures);
VITRELLE_SCENARIO("history-undo-after-save-over", UndoAfterSavingOverTheOpenedFile);
VITRELLE_SCENARIO("history-closing", ClosingAsksAboutAnUnsavedPicture);
