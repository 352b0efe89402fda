#include "app/history_win.h"

#include "app/bars_win.h"
#include "app/commands_win.h"
#include "app/display_palette_win.h"
#include "app/image_view_win.h"
#include "base/texts.h"
#include "resources/resource.h"

namespace {

std::string WindowTitle(HWND window) {
  std::string title(size_t(GetWindowTextLengthA(window)) + 1, '\0');
  title.resize(size_t(GetWindowTextA(window, title.data(), int(title.size()))));
  return title;
}

// The current picture with all that belongs to it, taken out of the state.
PictureEntry TakeCurrentPicture(AppState& state) {
  PictureEntry current = CurrentPictureDetails(state);
  current.picture = std::move(state.currentImage);
  return current;
}

void ShowEntry(AppState& state, PictureEntry entry) {
  state.currentImage = std::move(entry.picture);
  state.gifOptions = std::move(entry.gifOptions);
  ShowCurrentPicture(state, entry.title, entry.status, false);
  ShowHistoryButtons(state);
}

// Undo or Redo: the current picture goes into the history, and the one
// stepped to is shown as it was.
void StepThroughHistory(AppState& state, bool (*step)(PictureHistory&, PictureEntry&)) {
  PictureEntry current = TakeCurrentPicture(state);
  step(state.history, current);
  ShowEntry(state, std::move(current));
}

void ShowStepItem(HMENU menu, int command, int formatId, PictureStep step) {
  ModifyMenuA(menu, command, MF_BYCOMMAND | MF_STRING | (step == PictureStep::kNone ? MF_GRAYED : MF_ENABLED),
              command, StepMenuText(TextOf(formatId), step).c_str());
}

}  // namespace

PictureEntry CurrentPictureDetails(const AppState& state) {
  PictureEntry details;
  details.title = WindowTitle(state.mainWindow);
  details.status = StatusText(state);
  details.gifOptions = state.gifOptions;
  return details;
}

void KeepForUndo(AppState& state, PictureEntry replaced, PictureStep change, const std::string& recipe) {
  KeepReplacedPicture(state.history, std::move(replaced), change, recipe);
  ShowHistoryButtons(state);
}

void ShowCurrentPicture(AppState& state, const std::string& title, const std::string& status, bool layoutAlways) {
  const DibImage& shown = *state.currentImage;
  const bool sizeChanged = DibWidth(shown) != state.imageWidth || DibHeight(shown) != state.imageHeight;
  RefreshDisplayPalette(state);
  state.imageWidth = DibWidth(shown);
  state.imageHeight = DibHeight(shown);
  if (layoutAlways || sizeChanged) LayoutHidden(state);
  ShowStatusText(state, status);
  SetWindowTextA(state.mainWindow, title.c_str());
  ShowImageFromStart(state);
}

void UndoPicture(AppState& state) {
  if (UndoStep(state.history) == PictureStep::kNone) return;
  // A picture too large to keep for Redo would be gone for good. (Redo never
  // meets one: such a picture cannot have come out of the history.)
  if (StepLosesCurrentPicture(state.history, state.currentImage->blockSize) &&
      !OwnerAsk(&state.owner, TextOf(IDS_ASK_UNDO_DROPS_PICTURE), TextOf(IDS_CAUTION))) {
    return;
  }
  StepThroughHistory(state, StepBack);
}

void RedoPicture(AppState& state) {
  if (RedoStep(state.history) != PictureStep::kNone) StepThroughHistory(state, StepForward);
}

void PictureSaved(AppState& state, const std::string& path) { MarkPictureSaved(state.history, path); }

void PrepareHistoryItems(const AppState& state, HMENU menu) {
  ShowStepItem(menu, IDM_UNDO, IDS_UNDO_ITEM, UndoStep(state.history));
  ShowStepItem(menu, IDM_REDO, IDS_REDO_ITEM, RedoStep(state.history));
}

bool MayClose(AppState& state) {
  if (!state.currentImage || !state.history.currentUnsaved) return true;
  switch (MessageBoxA(state.mainWindow, TextOf(IDS_ASK_SAVE_BEFORE_CLOSING), TextOf(IDS_CAUTION),
                      MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDNO:
      return true;
    case IDYES:
      // Save As clears the mark only when the file was written.
      RunCommand(state, IDM_SAVE_AS);
      return !state.history.currentUnsaved;
  }
  return false;
}
