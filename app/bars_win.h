// The toolbar and the status bar of the main window.
#pragma once

#include <windows.h>

#include "app/app_state_win.h"

// Twelve entries (Open, Save as, Make, Tile, Center, Clear, Help and the
// separators between them) with tooltips, 28 pixels high across the screen;
// sizes and images are scaled to the main window's DPI. Sets the state's
// toolbar and the strip of images it draws from.
void CreateToolbar(AppState& state);
// Destroys the toolbar and deletes its strip of images.
void DestroyToolbar(AppState& state);
// Two parts, with right edges at 150 and 2000 pixels, scaled to the DPI.
HWND CreateStatusBar(const AppState& state);
// Answers a toolbar's request for a tooltip: the text numbered by the
// button's command plus 1000.
void AnswerTooltipRequest(const AppState& state, NMHDR* notification);
// The text of the status bar's first part.
void ShowStatusText(const AppState& state, const std::string& text);
