// The PNG reader of the native builds, on libpng (the Windows program reads
// PNG through its shipped plug-in). A picture becomes a held image:
//
//   palette, 1 bit           1-bit palette image, the file's colours
//   palette, 2 and 4 bits    4-bit palette image
//   palette, 8 bits          8-bit palette image
//   grey, 1 to 16 bits       the same depths, with a grey ramp as colour table
//                            (16 bits are rounded to 8)
//   colour, grey with alpha  24-bit image; alpha is dropped, 16 bits rounded
//                            to 8
//
// Transparency (tRNS) leaves the colours as they are. A colour table too
// short for the indexes the pixels use is filled up with black.
//
// Nothing in the file is trusted: width and height must be 1 to 32767, the
// rows may not need more than deflate could make of the file's bytes, every
// chunk must lie within the file, text and colour profiles may not unpack
// to more than the file or 8 MB holds, and a
// file that breaks off, fails a checksum of a critical chunk or holds data
// libpng refuses gives no picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/dib_image.h"

// Reads a PNG file held in memory; none when the data is not a whole PNG
// picture or no memory could be had. A picture that would not fit in memory
// (PictureFitsInMemory) is refused too, with its size in `tooLarge` when
// given.
DibImagePtr ReadPngBytes(const uint8_t* data, size_t size, PictureSize* tooLarge = nullptr);
// Reads a PNG file; none when it cannot be read. Shows no message.
DibImagePtr ReadPngFile(const char* path, PictureSize* tooLarge = nullptr);
