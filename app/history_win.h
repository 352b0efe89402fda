// The picture history in the main window: keeping the picture a change
// replaces, Undo and Redo with their menu items, and the question before
// the program closes on a picture that was never saved.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_state_win.h"

// What the window shows with the current picture (title, status text, GIF
// options), without the picture: taken before a change runs, since the
// change may alter the options before it succeeds.
PictureEntry CurrentPictureDetails(const AppState& state);

// After a change succeeded: keeps the replaced picture (in `replaced`, with
// the details taken before the change) for Undo; the new picture's recipe is
// `recipe`.
void KeepForUndo(AppState& state, PictureEntry replaced, PictureStep change, const std::string& recipe = std::string());

// Shows the current picture with its title and status text: the display
// palette renewed, the window fitted to the picture (always, or only when
// its size changed) and the view repainted.
void ShowCurrentPicture(AppState& state, const std::string& title, const std::string& status, bool layoutAlways);

void UndoPicture(AppState& state);
void RedoPicture(AppState& state);
// The current picture was written to the file at `path`.
void PictureSaved(AppState& state, const std::string& path);

// Names the step of Undo and Redo in the menu, greyed when there is none.
void PrepareHistoryItems(const AppState& state, HMENU menu);

// Before closing: with an unsaved picture asks whether to save it first.
// True when the program may close: No, or Yes and the picture was saved.
bool MayClose(AppState& state);
