#include "gif/gif_options_dialog_win.h"

#include <windowsx.h>

#include "base/dialog_record_win.h"
#include "base/texts.h"
#include "gif/transparent_pick.h"
#include "resources/resource.h"

namespace {

struct GifOptionsDialog {
  GifOptionsDialogData* data;
  HCURSOR dropper;
};

GifOptionsDialog* DialogOf(HWND dialog) {
  return DialogRecord<GifOptionsDialog>(dialog);
}

bool IsFullColor(const GifOptionsDialogData& data) { return !data.image || DibBitCount(*data.image) > 8; }

void WarnNeedsPalette(HWND dialog, int text) { MessageBoxA(dialog, TextOf(text), TextOf(IDS_ERROR), MB_ICONWARNING); }

void OnInitDialog(HWND dialog, GifOptionsDialog& state) {
  KeepDialogRecord(dialog, &state);
  GifSaveOptions& options = *state.data->options;
  if (IsFullColor(*state.data)) options.transparent = false;
  CheckDlgButton(dialog, IDC_GIF_INTERLACE, options.interlace ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_GIF_TRANSPARENT, options.transparent ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextA(dialog, IDC_GIF_COMMENT, options.comment.c_str());
  state.dropper = LoadCursorA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), "COLOR");
}

// The swatch inside the black frame of its static, in the transparent colour.
void PaintSwatch(HWND dialog, const GifSaveOptions& options) {
  PAINTSTRUCT paint;
  BeginPaint(dialog, &paint);
  EndPaint(dialog, &paint);
  HWND swatch = GetDlgItem(dialog, IDC_GIF_SWATCH);
  HDC dc = GetDC(swatch);
  RECT area;
  GetClientRect(swatch, &area);
  InflateRect(&area, -1, -1);
  HBRUSH brush =
      CreateSolidBrush(RGB(options.transparentColor[0], options.transparentColor[1], options.transparentColor[2]));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  ReleaseDC(swatch, dc);
}

void ToggleTransparent(HWND dialog, GifOptionsDialog& state) {
  GifSaveOptions& options = *state.data->options;
  if (IsFullColor(*state.data)) {
    options.transparent = false;
    CheckDlgButton(dialog, IDC_GIF_TRANSPARENT, BST_UNCHECKED);
    WarnNeedsPalette(dialog, IDS_TRANSPARENT_NEEDS_PALETTE);
    return;
  }
  options.transparent = !options.transparent;
  CheckDlgButton(dialog, IDC_GIF_TRANSPARENT, options.transparent ? BST_CHECKED : BST_UNCHECKED);
}

// Color: the next left press anywhere on the screen comes to the dialog.
void StartPicking(HWND dialog, GifOptionsDialog& state) {
  if (IsFullColor(*state.data)) {
    WarnNeedsPalette(dialog, IDS_PICK_NEEDS_PALETTE);
    return;
  }
  SetCapture(dialog);
  SetCursor(state.dropper);
}

// A left press on the dialog, or anywhere while picking: the pixel of the
// picture under it, if any, gives the transparent colour.
void OnLeftButtonDown(HWND dialog, GifOptionsDialog& state, LPARAM position) {
  ReleaseCapture();
  POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (!state.data->image) return;
  ClientToScreen(dialog, &point);
  ScreenToClient(state.data->imageView, &point);
  // Only what the view shows can be picked; it shows the picture from its
  // scroll positions on.
  RECT shown;
  GetClientRect(state.data->imageView, &shown);
  if (!PtInRect(&shown, point)) return;
  point.x += GetScrollPos(state.data->imageView, SB_HORZ);
  point.y += GetScrollPos(state.data->imageView, SB_VERT);
  GifSaveOptions& options = *state.data->options;
  switch (PickTransparentColor(*state.data->image, point.x, point.y, options)) {
    case PickOutcome::Outside:
      return;
    case PickOutcome::NeedsPalette:
      WarnNeedsPalette(dialog, IDS_PICK_NEEDS_PALETTE);
      return;
    case PickOutcome::Picked:
      CheckDlgButton(dialog, IDC_GIF_TRANSPARENT, options.transparent ? BST_CHECKED : BST_UNCHECKED);
      InvalidateRect(dialog, nullptr, FALSE);
      return;
  }
}

// Save and Cancel alike keep the comment as typed, cut to its first 254
// characters; only Save accepts.
void EndWithComment(HWND dialog, GifOptionsDialog& state, bool accepted) {
  char comment[kGifCommentMaxLength + 1] = "";
  GetDlgItemTextA(dialog, IDC_GIF_COMMENT, comment, sizeof comment);
  state.data->options->comment = comment;
  EndDialog(dialog, accepted ? IDOK : IDCANCEL);
}

INT_PTR CALLBACK GifOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, *reinterpret_cast<GifOptionsDialog*>(lParam));
      return TRUE;
    case WM_PAINT:
      PaintSwatch(dialog, *DialogOf(dialog)->data->options);
      return TRUE;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(dialog, *DialogOf(dialog), lParam);
      return TRUE;
    case WM_CLOSE:
      EndWithComment(dialog, *DialogOf(dialog), false);
      return TRUE;
    case WM_COMMAND: {
      GifOptionsDialog& state = *DialogOf(dialog);
      switch (LOWORD(wParam)) {
        case IDC_GIF_INTERLACE:
          state.data->options->interlace = !state.data->options->interlace;
          CheckDlgButton(dialog, IDC_GIF_INTERLACE, state.data->options->interlace ? BST_CHECKED : BST_UNCHECKED);
          return TRUE;
        case IDC_GIF_TRANSPARENT:
          ToggleTransparent(dialog, state);
          return TRUE;
        case IDC_GIF_PICK_COLOR:
          StartPicking(dialog, state);
          return TRUE;
        case IDOK:
          EndWithComment(dialog, state, true);
          return TRUE;
        case IDCANCEL:
          EndWithComment(dialog, state, false);
          return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

}  // namespace

bool ShowGifSaveOptions(HWND owner, GifOptionsDialogData& data) {
  GifOptionsDialog state{&data, nullptr};
  return DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)), "GIFSAVE", owner,
                         GifOptionsDialogProc, reinterpret_cast<LPARAM>(&state)) == IDOK;
}
