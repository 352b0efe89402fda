// The GIF reader: the first image of a GIF87a or GIF89a file as a new
// palette picture.
//
//   "GIF8?a", logical screen (width, height, flags, background, aspect),
//   [global colour table], extensions (0x21 label, sub-blocks, 0x00), image
//   descriptor (0x2C, left, top, width, height, flags), [local colour table],
//   LZW minimum code size, image data sub-blocks, 0x00 ... 0x3B.
//
// The picture has the logical screen's size and a depth from the size field
// of the table the first image is drawn with: its local table when it has
// one, else the global one (2 colours: 1 bit; up to 16: 4 bits; else 8). An image
// lands in the bottom-left corner of the picture (stored rows from 0); one
// larger than the screen is cut to it. Pixel values are masked to the depth.
// Rows whose data are broken keep what they received; the rest stays zero.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/owner.h"
#include "gif/gif_save_options.h"
#include "image/dib_image.h"

// What a file says about its first image that a later GIF save may keep.
struct GifFileFlags {
  bool interlace = false;
  bool transparent = false;  // the graphic control extension's transparency bit
  // The extension's transparent index, taken whatever the bit says; none
  // without an extension. The last extension before the image counts.
  int transparentIndex = kTransparentIndexNone;
};

// Reads a GIF file held in memory: the picture, with `flags` set from the
// file. None when the file is not a GIF file, does not hold an image (an
// image 0 pixels wide or high included), or
// claims a screen far larger than its image data could fill; then `flags`
// stays as it was. A screen that would not fit in memory
// (PictureFitsInMemory) is refused too, with its size in `tooLarge` when given.
DibImagePtr ReadGifBytes(const uint8_t* data, size_t size, GifFileFlags& flags, PictureSize* tooLarge = nullptr);
// Reads a GIF file in about ten pieces, showing "Reading a file (N %)" in the
// owner's title meanwhile and restoring the title afterwards. Shows no message.
DibImagePtr ReadGifFile(const Owner* owner, const char* path, GifFileFlags& flags, PictureSize* tooLarge = nullptr);
