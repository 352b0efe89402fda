// A picture's recipe as a person uses it: Copy recipe, other Makes, Make
// from recipe with the copied text gives the first picture again, a mistyped
// recipe is refused without losing the text, and Undo steps back.
#include <windows.h>

#include <cstring>

#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/session.h"

namespace {

constexpr int kWidth = 61, kHeight = 37;

bool OpenTheClipboard() {
  return WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000);
}

// The clipboard's text; empty when it holds none.
std::string ClipboardText() {
  std::string text;
  if (!OpenTheClipboard()) return text;
  HGLOBAL data = GetClipboardData(CF_TEXT);
  if (const char* start = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
    text.assign(start, strnlen(start, GlobalSize(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Puts text on the clipboard, as a person's copy of a line does.
bool PutClipboardText(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block || !OpenTheClipboard()) return false;
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  const bool placed = EmptyClipboard() && SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  return placed;
}

bool MakeFromRecipeGivesTheFirstPictureAgain() {
  Session session("recipe");
  if (!Expect(SetStateFields(session.PatternFile(), {{17, 2}, {18, kWidth}, {19, kHeight}}),
              "the Pattern file takes the size") ||
      !session.Start()) {
    return false;
  }
  SendCommandAndWait(session.main, IDM_MAKE);
  const std::vector<uint32_t> first = CopiedColors(session.main);
  SendCommandAndWait(session.main, IDM_COPY_RECIPE);
  const std::string recipe = ClipboardText();
  bool ok = Expect(recipe.rfind("vitrelle1:61x37:2:", 0) == 0, "Copy recipe puts the recipe on the clipboard: " + recipe);
  SendCommandAndWait(session.main, IDM_MAKE);
  SendCommandAndWait(session.main, IDM_MAKE);
  const std::vector<uint32_t> third = CopiedColors(session.main);
  ok &= Expect(!third.empty() && third != first, "the later Makes make other pictures");
  // Copy put the picture on the clipboard; the recipe goes back on it.
  ok &= Expect(PutClipboardText(recipe), "the copied recipe goes back on the clipboard");

  SendCommand(session.main, IDM_MAKE_FROM_RECIPE);
  HWND dialog = WaitForDialog(session.program, "Make from recipe");
  if (!Expect(dialog != nullptr, "Make from recipe opens its dialog")) return false;
  HWND edit = GetDlgItem(dialog, IDC_RECIPE_TEXT);
  ok &= ExpectEqual(WindowText(edit), recipe, "the edit offers the clipboard's recipe");

  // One character mistyped: a message, and the text and picture stay.
  std::string mistyped = recipe;
  mistyped[10] = mistyped[10] == '5' ? '4' : '5';
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(mistyped.c_str()));
  ClickButton(dialog, IDOK);
  ok &= AnswerMessageBox(session.program, TextOf(IDS_CAUTION), TextOf(IDS_BAD_RECIPE), IDOK);
  ok &= ExpectEqual(WindowText(edit), mistyped, "the refused text stays in the edit");
  ok &= Expect(IsWindow(dialog) != FALSE, "the dialog stays open after the refusal");

  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(recipe.c_str()));
  ClickButton(dialog, IDOK);
  ok &= Expect(WaitForClose(dialog), "OK on a valid recipe closes the dialog");
  ok &= Expect(ScreenShows(session.view, kWidth, kHeight, first), "the view shows the first picture again");
  ok &= Expect(CopiedColors(session.main) == first, "the first picture again, pixel for pixel");
  // One step back is the third picture: the refused recipe changed nothing.
  PressKey(session.main, 'Z', {VK_CONTROL});
  ok &= Expect(ScreenShows(session.view, kWidth, kHeight, third), "Undo brings back the picture before");
  return session.Close() && ok;
}

}  // namespace

VITRELLE_SCENARIO("recipe-make-again", MakeFromRecipeGivesTheFirstPictureAgain);
