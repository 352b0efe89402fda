#include "cli/picture_output.h"

#include <algorithm>
#include <cctype>

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(),
                    [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

}  // namespace

bool PictureFileTypeOfName(const std::string& path, PictureFileType& type) {
  if (EndsWithNoCase(path, ".bmp")) {
    type = PictureFileType::kBmp;
    return true;
  }
  if (EndsWithNoCase(path, ".gif")) {
    type = PictureFileType::kGif;
    return true;
  }
  return false;
}

bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image,
                      const GifSaveOptions& options, bool transparent, bool interlace) {
  PictureFileType type;
  if (!PictureFileTypeOfName(path, type)) {
    OwnerWarn(owner, "Unsupported output file type (use .bmp or .gif)", path.c_str());
    return false;
  }
  return SavePictureFile(owner, path.c_str(), type, image, options, transparent, interlace);
}
