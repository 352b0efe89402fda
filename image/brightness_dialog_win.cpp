#include "image/brightness_dialog_win.h"

#include "base/dialog_record_win.h"
#include "image/brightness_scroll.h"
#include "resources/resource.h"

namespace {

// What one opening of the dialog holds: its record and the image as it was.
struct BrightnessDialog {
  BrightnessDialogData* data;
  DibImagePtr backup;
};

BrightnessDialog* DialogOf(HWND dialog) {
  return DialogRecord<BrightnessDialog>(dialog);
}

// Recomputes the current image from the backup and shows it.
void ShowLevel(HWND dialog, BrightnessDialog& state, int level) {
  SetDlgItemInt(dialog, IDC_BRIGHTNESS_LEVEL, UINT(level), FALSE);
  ApplyBrightness(*state.backup, **state.data->currentImage, level);
  if (state.data->refreshPalette) state.data->refreshPalette(state.data->context);
  InvalidateRect(state.data->imageView, nullptr, FALSE);
}

void OnInitDialog(HWND dialog, BrightnessDialog& state) {
  KeepDialogRecord(dialog, &state);
  const DibImagePtr& image = *state.data->currentImage;
  if (image) state.backup = CopyDibImage(*image);
  if (!state.backup) {
    EndDialog(dialog, IDCANCEL);
    return;
  }
  const int level = state.data->level->value;
  HWND bar = GetDlgItem(dialog, IDC_BRIGHTNESS_BAR);
  SetScrollRange(bar, SB_CTL, 0, 255, FALSE);
  SetScrollPos(bar, SB_CTL, level, FALSE);
  ShowLevel(dialog, state, level);
}

void OnScroll(HWND dialog, BrightnessDialog& state, int code, int thumbPosition) {
  const int level = ScrolledBrightnessLevel(state.data->level->value, code, thumbPosition);
  if (level < 0) return;
  state.data->level->value = level;
  SetScrollPos(GetDlgItem(dialog, IDC_BRIGHTNESS_BAR), SB_CTL, level, TRUE);
  ShowLevel(dialog, state, level);
}

// Cancel and the close box: the image as it was at opening comes back.
void OnClose(HWND dialog, BrightnessDialog& state) {
  *state.data->currentImage = std::move(state.backup);
  if (state.data->refreshPalette) state.data->refreshPalette(state.data->context);
  InvalidateRect(state.data->imageView, nullptr, TRUE);
  EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK BrightnessDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, *reinterpret_cast<BrightnessDialog*>(lParam));
      return TRUE;
    case WM_HSCROLL:
      OnScroll(dialog, *DialogOf(dialog), LOWORD(wParam), short(HIWORD(wParam)));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          // The adjusted image stays; the backup goes to the caller, or with the dialog.
          BrightnessDialog& state = *DialogOf(dialog);
          if (state.data->unchanged) *state.data->unchanged = std::move(state.backup);
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          SendMessageA(dialog, WM_CLOSE, 0, 0);
          return TRUE;
      }
      break;
    case WM_CLOSE:
      OnClose(dialog, *DialogOf(dialog));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowBrightnessDialog(HWND owner, BrightnessDialogData& data) {
  BrightnessDialog state{&data, nullptr};
  DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)), "TXUSU", owner,
                  BrightnessDialogProc, reinterpret_cast<LPARAM>(&state));
}
