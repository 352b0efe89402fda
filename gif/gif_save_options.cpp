#include "gif/gif_save_options.h"

void ResetGifSaveOptions(GifSaveOptions& options) {
  options.interlace = false;
  options.transparent = false;
  options.transparentColor[0] = options.transparentColor[1] = options.transparentColor[2] = 255;
  options.transparentIndex = kTransparentIndexNone;
}
