// Opening a picture file as the open command does, and saving a picture by
// file type as Save As does; shared by the Windows commands and vitrelle-cli.
// A grown picture's recipe travels in its PNG files as a tEXt chunk with the
// keyword "Vitrelle recipe"; BMP and GIF files carry none.
#pragma once

#include "base/owner.h"
#include "gif/gif_save_options.h"
#include "image/dib_image.h"

#include <string>

enum class PictureFileType { kBmp, kGif, kPng };

// The type a file name ends in: .bmp, .gif or .png, in any case; false for
// any other name.
bool PictureFileTypeOfName(const std::string& path, PictureFileType& type);

// A reader of last resort for files that neither own reader takes: the
// image-loader plug-ins in the Windows program. It gives a bitmap block as it
// came (normalised by the caller) or none, and shows nothing.
struct FallbackReader {
  void* context = nullptr;
  DibImagePtr (*read)(void* context, const char* path) = nullptr;
};

// Tries the BMP reader, the GIF reader, in native builds the PNG reader, and
// then the fallback reader, if given, and turns the picture into a held
// image. The options then hold what the file says: a BMP or PNG file or a
// picture of the fallback reader resets all but the comment; a GIF file
// clears or sets
// the flags and transparent index, and the transparent colour to that entry
// of its table when the transparency bit is set. On success the comment
// becomes the product name and `readAs`, if given, tells which own reader
// read the file (it stays as it is for the fallback reader). None when no
// reader knows the file ("Cannot open file" with the path as caption), the
// picture would not fit in memory ("The picture is too large: W x H" in its
// place, from any reader) or the picture cannot be held (shown by the
// conversion); the options then stay as they were, those of the picture
// still shown.
DibImagePtr OpenPictureFile(const Owner* owner, const char* path, GifSaveOptions& options,
                            PictureFileType* readAs = nullptr, const FallbackReader* fallback = nullptr);

// The recipe a picture file carries for the picture opened from it: the
// text of its "Vitrelle recipe" chunk when that is a valid recipe that grows
// exactly the picture's pixels; empty otherwise (a file of another type, no
// such chunk, or pixels changed since the picture was grown).
std::string PictureFileRecipe(const char* path, const DibImage& picture);

// Turns a block taken from the clipboard into a held image. On success the
// interlace and transparency flags are cleared and the comment becomes the
// product name; the transparent index and colour stay. None when the picture
// cannot be held (shown by the conversion); then the options stay as well.
DibImagePtr PastePicture(const Owner* owner, DibImagePtr block, GifSaveOptions& options);

// Writes the picture: BMP unchanged, in whatever depth it has; GIF with the
// options' comment and transparent index and the two flags, a picture above
// 8 bits first reduced to 256 colours (the picture itself is not changed);
// PNG in the picture's own depth, with `transparent` the picked index (if
// any) as its one transparent colour and the recipe, if any. A failure is shown with the caption
// "Error" ("Cannot save BMP file", "Cannot reduce color", "Cannot save GIF
// file", "Cannot save PNG file"); the old file stays whole.
bool SavePictureFile(const Owner* owner, const char* path, PictureFileType type, const DibImage& image,
                     const GifSaveOptions& options, bool transparent, bool interlace,
                     const std::string& recipe = std::string());
