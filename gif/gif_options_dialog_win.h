// The GIF save options dialog ("GIFSAVE"): interlaced rows, a transparent
// colour picked with a dropper from the picture in the image view, and the
// comment. Every change goes into the options at once; only Save accepts.
#pragma once

#include <windows.h>

#include "gif/gif_save_options.h"
#include "image/dib_image.h"

// The dialog's creation record.
struct GifOptionsDialogData {
  GifSaveOptions* options = nullptr;
  const DibImage* image = nullptr;  // the current image
  HWND imageView = nullptr;         // where the dropper picks from
};

// Runs the dialog modally; true when it was left with Save.
bool ShowGifSaveOptions(HWND owner, GifOptionsDialogData& data);
