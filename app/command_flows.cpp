#include "app/command_flows.h"

#include "app/picture_files.h"
#include "base/file_io.h"
#include "base/texts.h"
#include "generator/pattern_file.h"

SaveTarget SaveTargetOf(const std::string& typedName, int chosenFilter) {
  const bool chosenGif = chosenFilter == kSaveGif || chosenFilter == kSaveGifWithOptions;
  PictureFileType typed;
  if (PictureFileTypeOfName(typedName, typed)) {
    switch (typed) {
      case PictureFileType::kBmp: return {typedName, kSaveBmp};
      case PictureFileType::kGif: return {typedName, chosenGif ? chosenFilter : kSaveGif};
      case PictureFileType::kPng: return {typedName, kSavePng};
    }
  }
  if (chosenGif) return {typedName + ".gif", chosenFilter};
  if (chosenFilter == kSavePng) return {typedName + ".png", kSavePng};
  return {typedName + ".bmp", kSaveBmp};
}

SaveOutcome SaveAsFlow(const Owner* owner, const char* path, int filterIndex, const DibImage& image,
                       const GifSaveOptions& options, bool* saved, const std::string& recipe) {
  if (saved) *saved = false;
  if (FileExists(path) && !OwnerAsk(owner, TextOf(IDS_ASK_OVERWRITE), path)) return SaveOutcome::kCancelled;
  const bool gif = filterIndex == kSaveGif || filterIndex == kSaveGifWithOptions;
  if (gif && DibBitCount(image) > 8 && !OwnerAsk(owner, TextOf(IDS_ASK_REDUCE_FOR_GIF), path)) {
    return SaveOutcome::kCancelled;
  }
  const bool png = filterIndex == kSavePng;
  const bool withOptions = filterIndex == kSaveGifWithOptions;
  const PictureFileType type = gif ? PictureFileType::kGif : png ? PictureFileType::kPng : PictureFileType::kBmp;
  const bool written = SavePictureFile(owner, path, type, image, options, (withOptions || png) && options.transparent,
                                       withOptions && options.interlace, recipe);
  if (saved) *saved = written;
  return SaveOutcome::kAttempted;
}

DibImagePtr MakePicture(const Owner* owner, const MakeSettings& settings, const std::string& patternFile,
                        int64_t calendarSeconds, GeneratorState& generator, GifSaveOptions& options,
                        std::string* recipe) {
  if (!WriteStateLine(owner, patternFile, settings)) return nullptr;
  DibImagePtr picture = MakePatternImage(owner, settings, settings[kWidth], settings[kHeight], patternFile,
                                         calendarSeconds, generator, recipe);
  if (!picture) return nullptr;
  ResetGifSaveOptions(options);
  options.comment = TextOf(IDS_PRODUCT_NAME);
  return picture;
}

std::vector<DibImagePtr> MakeScreenPictures(const Owner* owner, const MakeSettings& settings,
                                            const std::string& patternFile, int64_t calendarSeconds,
                                            GeneratorState& generator, const ScreenLayout& screens) {
  std::vector<DibImagePtr> pictures;
  if (!WriteStateLine(owner, patternFile, settings)) return pictures;
  for (const Screen& screen : screens) {
    pictures.push_back(
        MakePatternImage(owner, settings, screen.width, screen.height, patternFile, calendarSeconds, generator));
    if (!pictures.back()) return {};
  }
  return pictures;
}

DibImagePtr PastedPicture(const Owner* owner, DibImagePtr clipboardData, GifSaveOptions& options) {
  if (!clipboardData) {
    OwnerWarn(owner, TextOf(IDS_PASTE_FAILED), TextOf(IDS_ERROR));
    return nullptr;
  }
  return PastePicture(owner, std::move(clipboardData), options);
}

std::string DialogFilterList(const std::string& filterText) {
  std::string list = filterText;
  for (char& c : list) {
    if (c == '\n') c = '\0';
  }
  return list + '\0';
}
