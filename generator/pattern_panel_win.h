// The Pattern panel: a modeless child dialog docked in the main window, in
// its full form ("DMAKE") or its short one ("DMAKE2"). It edits the make
// settings in place and keeps the Pattern file's Pattern list up to date; the
// Enter key sends Make (IDM_MAKE) to the main window, its parent.
#pragma once

#include <windows.h>

#include "generator/make_settings.h"

// What the panel works on, given at its creation; it must outlive the panel.
struct PatternPanelParams {
  MakeSettings* settings = nullptr;
  const char* patternFilePath = nullptr;
  // Called when the panel has ended itself (the Pattern file could not be
  // read, or it got the close message), so that the shell stops routing
  // messages to it. May be null.
  void (*ended)(void* context) = nullptr;
  void* context = nullptr;
};

// Creates the panel as a visible child of the main window; null on failure.
// When the Pattern file cannot be read, the panel says so and ends as soon
// as the message loop runs.
HWND CreatePatternPanel(HINSTANCE instance, HWND mainWindow, bool full, PatternPanelParams* params);

// Repairs the values typed into the panel's edits and shows the repaired
// ones (the panel itself does so when an edit loses the focus). Whatever
// reads the make settings while the panel exists calls it first. Does
// nothing for a null panel.
void RepairPanelValues(HWND panel);
