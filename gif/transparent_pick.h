// Picking the transparent colour of a GIF save with the dropper: a press on
// the image view, which shows the picture unscaled with its top-left corner
// at the view's origin, names one pixel of the picture.
#pragma once

#include "gif/gif_save_options.h"
#include "image/dib_image.h"

enum class PickOutcome {
  Outside,       // the press missed the picture: nothing changes
  NeedsPalette,  // a full-colour picture has no index to pick: nothing changes
  Picked,        // the options hold the picked index and colour
};

// Takes the pixel at column x of row y counted from the top of the picture.
// At 4 and 8 bits the pixel's index and table colour become the transparent
// ones and transparency is switched on; a 2-colour picture always gives
// index 1 in white and leaves the transparency switch as it was.
PickOutcome PickTransparentColor(const DibImage& image, int x, int y, GifSaveOptions& options);
