#include "cli/picture_output.h"

#include <algorithm>
#include <cctype>

#include "app/texts.h"
#include "image/bmp_file.h"

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(),
                    [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

}  // namespace

bool WritePictureFile(const Owner* owner, const std::string& path, const DibImage& image) {
  if (EndsWithNoCase(path, ".bmp")) {
    if (WriteBmpFile(owner, path.c_str(), image)) return true;
    OwnerWarn(owner, TextOf(IDS_SAVE_BMP_FAILED), path.c_str());
    return false;
  }
  OwnerWarn(owner, "Unsupported output file type (use .bmp)", path.c_str());
  return false;
}
