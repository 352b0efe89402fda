#include "app/picture_files.h"

#include "base/texts.h"
#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "image/bmp_file.h"
#include "image/color_reduction.h"
#include "image/normalize.h"

DibImagePtr OpenPictureFile(const Owner* owner, const char* path, GifSaveOptions& options, PictureFileType* readAs) {
  options.interlace = false;
  options.transparent = false;
  PictureFileType type = PictureFileType::kBmp;
  DibImagePtr image = ReadBmpFile(path, options);
  if (!image) {
    type = PictureFileType::kGif;
    image = ReadGif(owner, path, options);
  }
  if (!image) {
    OwnerWarn(owner, TextOf(IDS_OPEN_FAILED), path);
    return nullptr;
  }
  image = NormalizeImage(owner, std::move(image));
  if (!image) return nullptr;
  options.comment = TextOf(IDS_PRODUCT_NAME);
  if (readAs) *readAs = type;
  return image;
}

bool SavePictureFile(const Owner* owner, const char* path, PictureFileType type, const DibImage& image,
                     const GifSaveOptions& options, bool transparent, bool interlace) {
  if (type == PictureFileType::kBmp) {
    if (WriteBmpFile(owner, path, image)) return true;
    OwnerWarn(owner, TextOf(IDS_SAVE_BMP_FAILED), TextOf(IDS_ERROR));
    return false;
  }
  DibImagePtr reduced;
  if (DibBitCount(image) > 8) {
    reduced = ReduceTo256Colors(owner, image);
    if (!reduced) {
      OwnerWarn(owner, TextOf(IDS_REDUCE_FAILED), TextOf(IDS_ERROR));
      return false;
    }
  }
  if (WriteGifFile(owner, path, reduced ? *reduced : image, options, transparent, interlace)) return true;
  OwnerWarn(owner, TextOf(IDS_SAVE_GIF_FAILED), TextOf(IDS_ERROR));
  return false;
}
