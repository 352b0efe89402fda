// The GIF writer: a palette picture (1, 4 or 8 bits per pixel) as a GIF89a
// file, laid out as
//
//   "GIF89a", logical screen = image size, flags 0x80 | (d-1) << 4 | (d-1),
//   background 0, aspect 0, global colour table of 2^d entries (entries the
//   picture does not have are black), [graphic control extension with the
//   transparent index], image descriptor (interlace bit 0x40), LZW minimum
//   code size max(d, 2), image data sub-blocks, comment extension, 0x3B.
#pragma once

#include "base/owner.h"
#include "gif/gif_save_options.h"
#include "image/dib_image.h"
#include "base/file_io.h"

// Writes the picture to a sink with the comment and transparent index of the
// options. False when the picture is not a palette picture of 1, 4 or 8 bits,
// its block does not hold what its header describes, or the sink refused bytes.
bool WriteGif(const ByteSink& sink, const DibImage& image, const GifSaveOptions& options, bool transparent,
              bool interlace);
// Writes the picture as a GIF file, replacing any old file only once the new
// one is complete. False on failure; the failure to create the file is shown
// as "Cannot open file" with the path as caption.
bool WriteGifFile(const Owner* owner, const char* path, const DibImage& image, const GifSaveOptions& options,
                  bool transparent, bool interlace);

// The index the graphic control extension carries: the picked index, or with
// nothing picked the last pure white entry. With no white entry, an index no
// pixel uses (the lowest), so that the picture shows unchanged; when every
// index is used, the last one.
int GifTransparentIndex(const DibImage& image, const GifSaveOptions& options);
