#include "cli/picture_output.h"

bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image,
                      const GifSaveOptions& options, bool transparent, bool interlace) {
  PictureFileType type;
  if (!PictureFileTypeOfName(path, type)) {
    OwnerWarn(owner, "Unsupported output file type (use .bmp, .gif or .png)", path.c_str());
    return false;
  }
  return SavePictureFile(owner, path.c_str(), type, image, options, transparent, interlace);
}
