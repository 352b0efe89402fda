// The history of the current picture. Every change of the picture (Make,
// Open, Paste, Brightness) first keeps the picture it replaces, with what the
// window showed with it; Undo steps back to it and keeps the picture it left
// for Redo. The pictures are moved between the current one and the history,
// never copied.
//
// The history holds at most kHistoryMaxPictures pictures and
// kHistoryBudgetBytes of picture blocks, besides the current picture; the
// oldest are dropped first. A picture larger than the whole budget is not
// kept, and Undo (or Redo) then has nothing beyond it: a step never jumps
// over a picture.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "gif/gif_save_options.h"
#include "image/dib_image.h"

constexpr size_t kHistoryMaxPictures = 50;
constexpr size_t kHistoryBudgetBytes = size_t(256) << 20;

// The change that brought a picture; kNone for the state at start.
enum class PictureStep { kNone, kMake, kOpen, kPaste, kBrightness };

// A picture with what belongs to it.
struct PictureEntry {
  DibImagePtr picture;
  std::string title;   // the window title: a file path or "Vitrelle -No title-"
  std::string status;  // the status bar's text
  GifSaveOptions gifOptions;
  bool unsaved = false;  // made, pasted or brightened, and not saved since
  PictureStep step = PictureStep::kNone;
  std::string recipe;  // the recipe of a grown picture; empty for any other
};

struct PictureHistory {
  std::deque<PictureEntry> behind;  // for Undo, the oldest first
  std::vector<PictureEntry> ahead;  // for Redo, the next one last
  size_t maxPictures = kHistoryMaxPictures;
  size_t budgetBytes = kHistoryBudgetBytes;
  // What brought the current picture, and whether it is unsaved.
  PictureStep currentStep = PictureStep::kNone;
  bool currentUnsaved = false;
  std::string currentRecipe;  // the current picture's recipe, if it has one
};

// After a change made a new picture current: keeps the picture it replaced
// (with its title, status and options; none when there was no picture) for
// Undo and drops the pictures ahead. A new Open is not unsaved, a new Make,
// Paste or Brightness is. The new picture's recipe is `recipe`: a Make's,
// or an opened file's; none after Paste or Brightness, whose pixels are not
// the grown ones.
void KeepReplacedPicture(PictureHistory& history, PictureEntry replaced, PictureStep change,
                         const std::string& recipe = std::string());

// The current picture was written to the file at `path`. The pictures of
// the history shown with that file's name (their title, in any case and with
// either slash) no longer match the file, and count as unsaved from now on.
void MarkPictureSaved(PictureHistory& history, const std::string& path);

// The step Undo would take back and the step Redo would take again; kNone
// when there is nothing to undo or redo.
PictureStep UndoStep(const PictureHistory& history);
PictureStep RedoStep(const PictureHistory& history);

// Undo and Redo: `current` holds the current picture and its details and
// is given the one before (or after) it; the one it held is kept for Redo
// (or Undo). False, with nothing changed, when there is nothing to step to.
bool StepBack(PictureHistory& history, PictureEntry& current);
bool StepForward(PictureHistory& history, PictureEntry& current);

// Whether a step away from the current picture of that block size would
// lose it for good: it is unsaved and larger than the whole budget.
bool StepLosesCurrentPicture(const PictureHistory& history, size_t currentBytes);

// The bytes of all picture blocks the history holds (the current picture
// not included).
size_t HistoryBytes(const PictureHistory& history);

// The menu text of Undo or Redo: the format (such as "&Undo %s\tCtrl+Z")
// with the step's name, or without " %s" when there is no step.
std::string StepMenuText(const char* format, PictureStep step);
