// Logical palettes for screens with fewer than 16 bits per pixel.
#pragma once

#include <windows.h>

#include "app/app_state_win.h"
#include "image/display_palette.h"

// The palette of an image (a full-colour image through the display table);
// none, after "Cannot make a palette" / "PAL2", when it cannot be made.
HPALETTE CreateImagePalette(HWND window, const PaletteColors& colors);

// Renews the display palette for the current image: deletes the old one and,
// on a palette screen, makes a new one (a full-colour image is counted into
// the display table first).
void RefreshDisplayPalette(AppState& state);
