#include "app/picture_files.h"

#include <algorithm>
#include <cctype>

#include "base/texts.h"
#include "generator/pattern_image.h"
#include "generator/recipe.h"
#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "image/bmp_file.h"
#include "image/color_reduction.h"
#include "image/normalize.h"
#include "image/png_file.h"
#ifdef VITRELLE_PNG_READER
#include "image/png_reader.h"
#endif

namespace {

// A GIF file's flags as the options of the next save. The transparent colour
// is the table entry of the transparent index when the file marks one.
void TakeGifFileFlags(const GifFileFlags& flags, const DibImage& image, GifSaveOptions& options) {
  ResetGifSaveOptions(options);
  options.interlace = flags.interlace;
  options.transparent = flags.transparent;
  options.transparentIndex = flags.transparentIndex;
  if (flags.transparent && flags.transparentIndex < DibColorCount(image)) {
    const RgbQuad& color = DibColorTable(image)[flags.transparentIndex];
    options.transparentColor[0] = color.red;
    options.transparentColor[1] = color.green;
    options.transparentColor[2] = color.blue;
  }
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(),
                    [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

bool SavePng(const Owner* owner, const char* path, const DibImage& image, const GifSaveOptions& options,
             bool transparent, const std::string& recipe) {
  PngOptions png;
  if (!recipe.empty()) png.texts.push_back({kRecipePngKeyword, recipe});
  if (transparent && options.transparentIndex >= 0 && options.transparentIndex <= 255) {
    png.transparentIndex = options.transparentIndex;
  }
  if (WritePngFile(owner, path, image, png)) return true;
  OwnerWarn(owner, TextOf(IDS_SAVE_PNG_FAILED), TextOf(IDS_ERROR));
  return false;
}

RgbQuad PixelColor(const DibImage& image, int x, int y) {
  const int depth = DibBitCount(image);
  const uint8_t* row = DibPixels(image) + size_t(y) * DibRowStride(DibWidth(image), depth);
  if (depth == 24) return RgbQuad{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
  const int perByte = 8 / depth, shift = (perByte - 1 - x % perByte) * depth;
  const int index = (row[x / perByte] >> shift) & ((1 << depth) - 1);
  return index < DibColorCount(image) ? DibColorTable(image)[index] : RgbQuad{0, 0, 0, 0};
}

// Whether two pictures of 1, 4, 8 or 24 bits show the same colours.
bool SameColors(const DibImage& a, const DibImage& b) {
  if (DibWidth(a) != DibWidth(b) || DibHeight(a) != DibHeight(b)) return false;
  for (int y = 0; y < DibHeight(a); ++y) {
    for (int x = 0; x < DibWidth(a); ++x) {
      const RgbQuad p = PixelColor(a, x, y), q = PixelColor(b, x, y);
      if (p.red != q.red || p.green != q.green || p.blue != q.blue) return false;
    }
  }
  return true;
}

}  // namespace

bool PictureFileTypeOfName(const std::string& path, PictureFileType& type) {
  const struct {
    const char* extension;
    PictureFileType type;
  } kTypes[] = {{".bmp", PictureFileType::kBmp}, {".gif", PictureFileType::kGif}, {".png", PictureFileType::kPng}};
  for (const auto& known : kTypes) {
    if (EndsWithNoCase(path, known.extension)) {
      type = known.type;
      return true;
    }
  }
  return false;
}

DibImagePtr OpenPictureFile(const Owner* owner, const char* path, GifSaveOptions& options, PictureFileType* readAs,
                            const FallbackReader* fallback) {
  // The options belong to the picture on screen until another replaces it.
  GifSaveOptions found = options;
  found.interlace = false;
  found.transparent = false;
  PictureSize tooLarge;
  PictureFileType type = PictureFileType::kBmp;
  DibImagePtr image = ReadBmpFile(path, &tooLarge);
  if (image) {
    ResetGifSaveOptions(found);
  } else if (!tooLarge.width) {
    type = PictureFileType::kGif;
    GifFileFlags flags;
    image = ReadGifFile(owner, path, flags, &tooLarge);
    if (image) TakeGifFileFlags(flags, *image, found);
  }
#ifdef VITRELLE_PNG_READER
  if (!image && !tooLarge.width) {
    type = PictureFileType::kPng;
    image = ReadPngFile(path, &tooLarge);
    if (image) ResetGifSaveOptions(found);
  }
#endif
  bool fromFallback = false;
  if (!image && !tooLarge.width && fallback && fallback->read) {
    image = fallback->read(fallback->context, path);
    fromFallback = image != nullptr;
    // Checked here, so that the message names the file like the own readers'.
    if (fromFallback && ClaimsTooLargePicture(image->start(), image->blockSize, tooLarge)) image.reset();
    if (image) ResetGifSaveOptions(found);
  }
  if (tooLarge.width) {
    WarnPictureTooLarge(owner, tooLarge, path);
    return nullptr;
  }
  if (!image) {
    OwnerWarn(owner, TextOf(IDS_OPEN_FAILED), path);
    return nullptr;
  }
  image = NormalizeImage(owner, std::move(image));
  if (!image) return nullptr;
  found.comment = TextOf(IDS_PRODUCT_NAME);
  options = std::move(found);
  if (readAs && !fromFallback) *readAs = type;
  return image;
}

std::string PictureFileRecipe(const char* path, const DibImage& picture) {
  Recipe recipe;
  if (!ReadRecipe(ReadPngText(path, kRecipePngKeyword), recipe) || recipe.width != DibWidth(picture) ||
      recipe.height != DibHeight(picture)) {
    return {};
  }
  GeneratorState scratch;
  DibImagePtr grown = MakeRecipePicture(nullptr, recipe, scratch);
  return grown && SameColors(*grown, picture) ? RecipeText(recipe) : std::string();
}

DibImagePtr PastePicture(const Owner* owner, DibImagePtr block, GifSaveOptions& options) {
  DibImagePtr image = NormalizeImage(owner, std::move(block));
  if (!image) return nullptr;
  options.interlace = false;
  options.transparent = false;
  options.comment = TextOf(IDS_PRODUCT_NAME);
  return image;
}

bool SavePictureFile(const Owner* owner, const char* path, PictureFileType type, const DibImage& image,
                     const GifSaveOptions& options, bool transparent, bool interlace, const std::string& recipe) {
  if (type == PictureFileType::kBmp) {
    if (WriteBmpFile(owner, path, image)) return true;
    OwnerWarn(owner, TextOf(IDS_SAVE_BMP_FAILED), TextOf(IDS_ERROR));
    return false;
  }
  if (type == PictureFileType::kPng) return SavePng(owner, path, image, options, transparent, recipe);
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
