// Opening a picture file as the open command does, and saving a picture by
// file type as Save As does; shared by the Windows commands and vitrelle-cli.
#pragma once

#include "base/owner.h"
#include "gif/gif_save_options.h"
#include "image/dib_image.h"

enum class PictureFileType { kBmp, kGif };

// Clears the interlace and transparency flags, tries the BMP reader and then
// the GIF reader (which may set them again from the file), and turns the
// picture into a held image. On success the comment becomes the product name
// and `readAs`, if given, tells which reader read the file. None when no
// reader knows the file ("Cannot open file" with the path as caption) or the
// picture cannot be held (shown by the conversion).
DibImagePtr OpenPictureFile(const Owner* owner, const char* path, GifSaveOptions& options,
                            PictureFileType* readAs = nullptr);

// Writes the picture: BMP unchanged, in whatever depth it has; GIF with the
// options' comment and transparent index and the two flags, a picture above
// 8 bits first reduced to 256 colours (the picture itself is not changed).
// A failure is shown with the caption "Error" ("Cannot save BMP file",
// "Cannot reduce color", "Cannot save GIF file"); the old file stays whole.
bool SavePictureFile(const Owner* owner, const char* path, PictureFileType type, const DibImage& image,
                     const GifSaveOptions& options, bool transparent, bool interlace);
