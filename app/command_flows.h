// The portable parts of the main window's commands: Save As with its
// questions, Make, and taking a picture from clipboard data. Each keeps the
// caller's current picture alone; the caller replaces it only by a new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/owner.h"
#include "generator/make_settings.h"
#include "generator/pattern_image.h"
#include "generator/screen_sizes.h"
#include "gif/gif_save_options.h"
#include "image/dib_image.h"

// The types of the Save dialog, by their 1-based filter index.
enum SaveFilter : int { kSaveBmp = 1, kSaveGif = 2, kSaveGifWithOptions = 3, kSavePng = 4 };

// The file Save As writes for the name typed and the type chosen in its
// dialog: a name ending in .bmp, .gif or .png (any case) is saved as that
// type whatever type is chosen (.gif as the plain GIF type unless a GIF type
// is chosen); any other name is saved as the chosen type with its extension
// added ("pic.jpg" as BMP becomes "pic.jpg.bmp").
struct SaveTarget {
  std::string path;
  int filterIndex = kSaveBmp;
};
SaveTarget SaveTargetOf(const std::string& typedName, int chosenFilter);

enum class SaveOutcome {
  kCancelled,  // a question was answered with Cancel: nothing was written
  kAttempted,  // the file was written, or the failure was shown
};

// Save As after the dialog (and, for the third type, the options dialog):
// asks before replacing an existing file and before reducing a picture above
// 8 bits for GIF (both with the path as caption), then writes. The second
// type writes without transparency and interlace, the third with the
// options' values; PNG keeps the picture's depth and takes the options'
// transparency and the picture's recipe, if it has one. True in `saved`
// only when the file was written.
SaveOutcome SaveAsFlow(const Owner* owner, const char* path, int filterIndex, const DibImage& image,
                       const GifSaveOptions& options, bool* saved = nullptr, const std::string& recipe = std::string());

// Make: records the settings as the Pattern file's state line, then grows a
// picture of the settings' width and height, its recipe in `recipe` (empty
// when it has none); the GIF options are then reset for the new picture as
// for an opened BMP file (all but the comment, which becomes the product
// name). None when the Pattern file cannot be updated or the picture cannot
// be made (what went wrong has been shown); the options then stay.
DibImagePtr MakePicture(const Owner* owner, const MakeSettings& settings, const std::string& patternFile,
                        int64_t calendarSeconds, GeneratorState& generator, GifSaveOptions& options,
                        std::string* recipe = nullptr);

// Each screen: records the settings as Make does, then grows a picture of
// every screen's size, in the layout's order. Empty when the Pattern file
// cannot be updated or a picture cannot be made (what went wrong has been
// shown).
std::vector<DibImagePtr> MakeScreenPictures(const Owner* owner, const MakeSettings& settings,
                                            const std::string& patternFile, int64_t calendarSeconds,
                                            GeneratorState& generator, const ScreenLayout& screens);

// Paste: a held picture from a copy of the clipboard's CF_DIB data (none
// when the clipboard had none, which is shown as "Cannot paste"), the GIF
// options updated as PastePicture does.
DibImagePtr PastedPicture(const Owner* owner, DibImagePtr clipboardData, GifSaveOptions& options);

// A filter text as the file dialogs take it: every line feed a zero byte,
// ended by an empty string.
std::string DialogFilterList(const std::string& filterText);
