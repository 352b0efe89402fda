#include "app/file_dialogs_win.h"

#include <commdlg.h>

#include "app/command_flows.h"
#include "base/texts.h"

void PrepareFileDialogs(AppState& state) {
  state.openFilter = DialogFilterList(BuildOpenFilter(state.plugins));
  state.saveFilter = DialogFilterList(std::string(TextOf(IDS_SAVE_FILTER)) + TextOf(IDS_SAVE_FILTER_PNG));
}

static OPENFILENAMEA FileDialogFields(const AppState& state, const std::string& filter, char* name, const char* title) {
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = state.mainWindow;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name;
  dialog.nMaxFile = kDialogNameSize;
  dialog.lpstrTitle = title;
  dialog.lpstrDefExt = "bmp";
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  return dialog;
}

bool AskFileToOpen(AppState& state) {
  char name[kDialogNameSize] = "";
  OPENFILENAMEA dialog = FileDialogFields(state, state.openFilter, name, TextOf(IDS_OPEN_TITLE));
  dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameA(&dialog)) return false;
  lstrcpynA(state.fileToOpen, name, kFileToOpenSize);
  return true;
}

bool AskFileToSave(AppState& state) {
  OPENFILENAMEA dialog = FileDialogFields(state, state.saveFilter, state.saveName, TextOf(IDS_SAVE_TITLE));
  dialog.nFilterIndex = state.saveFilterIndex;
  // Save As gives the name its extension itself (SaveTargetOf), by the typed
  // extension or the chosen type, so the dialog adds none.
  dialog.lpstrDefExt = nullptr;
  dialog.Flags |= OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameA(&dialog)) return false;
  state.saveFilterIndex = dialog.nFilterIndex;
  return true;
}
