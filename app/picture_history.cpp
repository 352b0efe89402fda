#include "app/picture_history.h"

#include <algorithm>
#include <cctype>

#include "base/texts.h"

namespace {

size_t EntryBytes(const PictureEntry& entry) { return entry.picture ? entry.picture->blockSize : 0; }

bool FitsBudget(const PictureHistory& history, size_t bytes) { return bytes <= history.budgetBytes; }

// Drops the oldest pictures behind, then the farthest ahead, until both
// limits hold.
void KeepWithinLimits(PictureHistory& history) {
  size_t bytes = HistoryBytes(history);
  while (bytes > history.budgetBytes || history.behind.size() + history.ahead.size() > history.maxPictures) {
    if (!history.behind.empty()) {
      bytes -= EntryBytes(history.behind.front());
      history.behind.pop_front();
    } else {
      bytes -= EntryBytes(history.ahead.front());
      history.ahead.erase(history.ahead.begin());
    }
  }
}

// Puts a picture on top of the pictures behind or ahead. One larger than
// the whole budget is not kept, and neither are those beyond it, so that a
// step never jumps over a picture.
template <typename Entries>
void KeepOnTop(PictureHistory& history, Entries& entries, PictureEntry entry) {
  if (!entry.picture || !FitsBudget(history, EntryBytes(entry))) {
    entries.clear();
    return;
  }
  entries.push_back(std::move(entry));
  KeepWithinLimits(history);
}

// Moves the current picture into `to` and the last entry of `from` into
// the current one.
template <typename From, typename To>
bool Step(PictureHistory& history, PictureEntry& current, From& from, To& to) {
  if (from.empty()) return false;
  PictureEntry left = std::move(current);
  left.step = history.currentStep;
  left.unsaved = history.currentUnsaved;
  left.recipe = std::move(history.currentRecipe);
  current = std::move(from.back());
  from.pop_back();
  history.currentStep = current.step;
  history.currentUnsaved = current.unsaved;
  history.currentRecipe = current.recipe;
  KeepOnTop(history, to, std::move(left));
  return true;
}

// Whether two names are the same on Windows: letters in any case, either slash.
bool SameFileName(const std::string& a, const std::string& b) {
  const auto fold = [](char c) { return c == '/' ? '\\' : char(std::tolower(static_cast<unsigned char>(c))); };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return fold(x) == fold(y); });
}

int StepNameId(PictureStep step) {
  switch (step) {
    case PictureStep::kMake: return IDS_STEP_MAKE;
    case PictureStep::kOpen: return IDS_STEP_OPEN;
    case PictureStep::kPaste: return IDS_STEP_PASTE;
    case PictureStep::kBrightness: return IDS_STEP_BRIGHTNESS;
    case PictureStep::kNone: break;
  }
  return 0;
}

}  // namespace

void KeepReplacedPicture(PictureHistory& history, PictureEntry replaced, PictureStep change,
                         const std::string& recipe) {
  history.ahead.clear();
  replaced.step = history.currentStep;
  replaced.unsaved = history.currentUnsaved;
  replaced.recipe = std::move(history.currentRecipe);
  history.currentRecipe = change == PictureStep::kPaste || change == PictureStep::kBrightness ? "" : recipe;
  KeepOnTop(history, history.behind, std::move(replaced));
  history.currentStep = change;
  history.currentUnsaved = change != PictureStep::kOpen;
}

void MarkPictureSaved(PictureHistory& history, const std::string& path) {
  history.currentUnsaved = false;
  for (PictureEntry& entry : history.behind) entry.unsaved = entry.unsaved || SameFileName(entry.title, path);
  for (PictureEntry& entry : history.ahead) entry.unsaved = entry.unsaved || SameFileName(entry.title, path);
}

PictureStep UndoStep(const PictureHistory& history) {
  return history.behind.empty() ? PictureStep::kNone : history.currentStep;
}

PictureStep RedoStep(const PictureHistory& history) {
  return history.ahead.empty() ? PictureStep::kNone : history.ahead.back().step;
}

bool StepBack(PictureHistory& history, PictureEntry& current) {
  return Step(history, current, history.behind, history.ahead);
}

bool StepForward(PictureHistory& history, PictureEntry& current) {
  return Step(history, current, history.ahead, history.behind);
}

bool StepLosesCurrentPicture(const PictureHistory& history, size_t currentBytes) {
  return history.currentUnsaved && !FitsBudget(history, currentBytes);
}

size_t HistoryBytes(const PictureHistory& history) {
  size_t bytes = 0;
  for (const PictureEntry& entry : history.behind) bytes += EntryBytes(entry);
  for (const PictureEntry& entry : history.ahead) bytes += EntryBytes(entry);
  return bytes;
}

std::string StepMenuText(const char* format, PictureStep step) {
  std::string text = format;
  const size_t mark = text.find(" %s");
  if (mark == std::string::npos) return text;
  if (step == PictureStep::kNone) return text.erase(mark, 3);
  return text.replace(mark + 1, 2, TextOf(StepNameId(step)));
}
