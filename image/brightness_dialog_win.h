// The Brightness dialog ("TXUSU"): a scroll bar sets the level, and the
// current image is recomputed from a copy taken at opening at every change,
// so that the view shows the result at once. OK keeps the adjusted image;
// Cancel or closing brings back the image as it was.
#pragma once

#include <windows.h>

#include "image/brightness.h"
#include "image/dib_image.h"

// The dialog's creation record: what it adjusts and whom it tells.
struct BrightnessDialogData {
  DibImagePtr* currentImage = nullptr;  // replaced by its backup on Cancel
  BrightnessLevel* level = nullptr;     // kept from one opening to the next
  HWND imageView = nullptr;             // repainted at every change
  // Renews the display palette after the image's colours changed.
  void (*refreshPalette)(void* context) = nullptr;
  void* context = nullptr;
  // On OK, receives the image as it was at opening (for Undo), if given.
  DibImagePtr* unchanged = nullptr;
};

// Runs the dialog modally; without a current image it ends at once.
void ShowBrightnessDialog(HWND owner, BrightnessDialogData& data);
