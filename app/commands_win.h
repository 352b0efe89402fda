// The main window's commands: menu items, accelerators, toolbar buttons, the
// panel's Enter key, dropped files and the command line all end here.
#pragma once

#include <windows.h>

#include "app/app_state_win.h"

// Runs one command; identifiers without a command are ignored.
void RunCommand(AppState& state, int command);

// Before a menu opens (or an accelerator of a menu item runs): Paste is
// enabled only when the clipboard holds a CF_DIB picture, Copy only when
// there is a current picture, Copy recipe only when it has a recipe.
void PrepareMenu(const AppState& state, HMENU menu);

// Adds "Copy recipe" and "Make from recipe..." to the Edit menu, before
// Brightness, with their numbered texts.
void AddRecipeItems(HMENU menu);

// Opens the first of the dropped files.
void OpenDroppedFile(AppState& state, HDROP drop);

// Exchanges the Pattern panel for the other form and stores the choice.
void SwitchDetailsMode(AppState& state);
// Creates the Pattern panel in the form of the details mode.
void CreatePanel(AppState& state);
// Fits the window around panel and picture, hidden meanwhile so that
// showing it again repaints everything.
void LayoutHidden(AppState& state);
