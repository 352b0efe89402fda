// The Open and Save dialogs of the main window.
#pragma once

#include "app/app_state_win.h"

// Builds the filter lists of both dialogs (the Open list with the plug-in
// formats); called once the plug-ins are loaded.
void PrepareFileDialogs(AppState& state);
// The Open dialog: true when the user chose a file, whose full path is then
// in the file-to-open buffer.
bool AskFileToOpen(AppState& state);
// The Save dialog: true when the user chose a name, which is then in the
// remembered save name, with the remembered filter index (1 BMP, 2 GIF,
// 3 GIF with options).
bool AskFileToSave(AppState& state);
