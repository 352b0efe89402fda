#include "generator/recipe_dialog_win.h"

#include "base/dialog_record_win.h"
#include "base/texts.h"
#include "resources/resource.h"

namespace {

// More than a recipe holds, so that a pasted line longer than that is read
// whole and refused rather than cut into a valid-looking one.
constexpr int kEditLimit = 4096;

std::string EditText(HWND edit) {
  std::string text(size_t(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(edit, text.data(), int(text.size()))));
  return text;
}

// OK: ends the dialog on a valid recipe; otherwise says so and leaves the
// text in the edit, selected.
void TakeRecipe(HWND dialog, RecipeDialogData& data) {
  HWND edit = GetDlgItem(dialog, IDC_RECIPE_TEXT);
  if (ReadRecipe(EditText(edit), data.recipe)) {
    EndDialog(dialog, IDOK);
    return;
  }
  MessageBoxA(dialog, TextOf(IDS_BAD_RECIPE), TextOf(IDS_CAUTION), MB_OK | MB_ICONWARNING);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK RecipeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* data = reinterpret_cast<RecipeDialogData*>(lParam);
      KeepDialogRecord(dialog, data);
      SendDlgItemMessageA(dialog, IDC_RECIPE_TEXT, EM_LIMITTEXT, kEditLimit, 0);
      SetDlgItemTextA(dialog, IDC_RECIPE_TEXT, data->startText.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          TakeRecipe(dialog, *DialogRecord<RecipeDialogData>(dialog));
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool AskRecipe(HINSTANCE instance, HWND owner, RecipeDialogData& data) {
  return DialogBoxParamA(instance, "RECIPE", owner, RecipeDialogProc, reinterpret_cast<LPARAM>(&data)) == IDOK;
}
