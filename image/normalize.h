// Turns a bitmap block from outside (a BMP file, the clipboard, a plug-in, the
// GIF reader) into a held image: a 40-byte header, no compression, bottom-up
// rows, depth 1, 4 or 8 with the source's colour table and pixel indexes, or
// depth 24 with every pixel's colour for deeper sources.
//
// Accepted: core headers and info headers of 16 bytes and more; depths 1, 4,
// 8, 16, 24 and 32; BI_RGB (16 bits as 5-5-5, 32 bits as 8-8-8 with the
// fourth byte ignored), BI_RLE8, BI_RLE4, and BI_BITFIELDS and
// BI_ALPHABITFIELDS at 16 and 32 bits (masks after a 40-byte header, or inside
// a header of 52 bytes and more); top-down rows (negative height).
//
// Nothing in the block is trusted: every size is checked against blockSize,
// and run-length data is never followed outside the block or the picture.
#pragma once

#include "base/owner.h"
#include "image/dib_image.h"

// Takes the source and returns its held copy. What cannot be converted (depth
// 2, JPEG or PNG inside, damaged run-length data, a header the block does not
// hold) is shown as "Cannot make a bitmap" with the caption "Error" and gives
// none; so does a lack of memory, without the message, and a picture that
// would not fit in memory, shown as "The picture is too large: W x H".
DibImagePtr NormalizeImage(const Owner* owner, DibImagePtr source);
