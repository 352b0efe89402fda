// The options for the next GIF save: one record for the whole run, not kept
// between runs. Readers, Make and the paste command reset it for each new picture,
// the options dialog edits it, and the GIF writer reads it.
#pragma once

#include <cstdint>
#include <string>

#include "base/texts.h"

constexpr int kTransparentIndexNone = 1000;  // no colour was picked
constexpr size_t kGifCommentMaxLength = 254;

struct GifSaveOptions {
  bool interlace = false;
  bool transparent = false;
  int transparentIndex = kTransparentIndexNone;
  uint8_t transparentColor[3] = {255, 255, 255};  // red, green, blue
  std::string comment = TextOf(IDS_PRODUCT_NAME);
};

// The reset for a newly opened picture: everything but the comment.
void ResetGifSaveOptions(GifSaveOptions& options);
