// The picture history: what Undo and Redo bring back, what a new change
// drops, the limits, and the unsaved mark.
#include "app/picture_history.h"

#include <gtest/gtest.h>

#include "base/texts.h"

namespace {

// A picture whose block has the given size.
DibImagePtr Picture(size_t bytes) { return AllocateDibBlock(bytes); }

PictureEntry Shown(DibImagePtr picture, const std::string& title, const std::string& status) {
  PictureEntry entry;
  entry.picture = std::move(picture);
  entry.title = title;
  entry.status = status;
  return entry;
}

// The current picture as the window holds it, changed as a command does.
struct Window {
  PictureHistory history;
  PictureEntry current;

  void Change(size_t bytes, PictureStep step, const std::string& title, const std::string& recipe = "") {
    PictureEntry replaced = std::move(current);
    current = Shown(Picture(bytes), title, "status of " + title);
    current.gifOptions.comment = "comment of " + title;
    KeepReplacedPicture(history, std::move(replaced), step, recipe);
  }
  bool Undo() { return StepBack(history, current); }
  bool Redo() { return StepForward(history, current); }
};

// Each picture keeps its own recipe through Undo and Redo; Brightness and
// Paste leave a picture with none, as its pixels are no longer grown ones.
TEST(PictureHistory, EachPictureKeepsItsRecipe) {
  Window window;
  window.Change(100, PictureStep::kMake, "made", "R1");
  window.Change(100, PictureStep::kBrightness, "made", "R1");
  window.Change(100, PictureStep::kOpen, "C:\\b.png", "R2");
  window.Change(100, PictureStep::kPaste, "pasted", "R3");
  const char* const recipes[] = {"R1", "", "R2", ""};
  for (int i = 3; i >= 0; --i) {
    EXPECT_EQ(window.history.currentRecipe, recipes[i]) << i;
    if (i > 0) window.Undo();
  }
  for (int i = 1; i < 4; ++i) {
    window.Redo();
    EXPECT_EQ(window.history.currentRecipe, recipes[i]) << i;
  }
}

TEST(PictureHistory, UndoAndRedoBringBackEachPictureWithItsDetails) {
  Window window;
  window.Change(100, PictureStep::kMake, "made");
  const DibImage* made = window.current.picture.get();
  EXPECT_EQ(UndoStep(window.history), PictureStep::kNone) << "nothing came before the first picture";
  window.Change(200, PictureStep::kOpen, "C:\\a.bmp");
  const DibImage* opened = window.current.picture.get();
  window.current.gifOptions.transparent = true;  // as the GIF options dialog may
  window.Change(300, PictureStep::kBrightness, "C:\\a.bmp");
  const DibImage* brightened = window.current.picture.get();

  EXPECT_EQ(UndoStep(window.history), PictureStep::kBrightness);
  ASSERT_TRUE(window.Undo());
  EXPECT_EQ(window.current.picture.get(), opened) << "the very block comes back, not a copy";
  EXPECT_EQ(window.current.title, "C:\\a.bmp");
  EXPECT_TRUE(window.current.gifOptions.transparent);
  EXPECT_FALSE(window.history.currentUnsaved) << "an opened picture is not unsaved";
  EXPECT_EQ(UndoStep(window.history), PictureStep::kOpen);
  EXPECT_EQ(RedoStep(window.history), PictureStep::kBrightness);

  ASSERT_TRUE(window.Undo());
  EXPECT_EQ(window.current.picture.get(), made);
  EXPECT_EQ(window.current.status, "status of made");
  EXPECT_EQ(window.current.gifOptions.comment, "comment of made");
  EXPECT_TRUE(window.history.currentUnsaved);
  EXPECT_FALSE(window.Undo()) << "nothing before the first picture";
  EXPECT_EQ(window.current.picture.get(), made);

  ASSERT_TRUE(window.Redo());
  ASSERT_TRUE(window.Redo());
  EXPECT_EQ(window.current.picture.get(), brightened);
  EXPECT_TRUE(window.history.currentUnsaved);
  EXPECT_FALSE(window.Redo());
  EXPECT_EQ(UndoStep(window.history), PictureStep::kBrightness);
}

TEST(PictureHistory, ANewChangeAfterUndoDropsThePicturesAhead) {
  Window window;
  for (const char* title : {"one", "two", "three"}) window.Change(100, PictureStep::kMake, title);
  ASSERT_TRUE(window.Undo());
  ASSERT_TRUE(window.Undo());
  window.Change(100, PictureStep::kPaste, "pasted");
  EXPECT_EQ(RedoStep(window.history), PictureStep::kNone);
  EXPECT_FALSE(window.Redo());
  ASSERT_TRUE(window.Undo());
  EXPECT_EQ(window.current.title, "one");
  EXPECT_EQ(window.history.ahead.size(), 1u);
}

// Pictures of mixed sizes: the history never holds more than its budget or
// its count and drops the oldest first, so that what it holds is the run of
// pictures just before the current one; Undo and Redo keep the limits too.
TEST(PictureHistory, KeepsWithinItsBudgetAndCountDroppingTheOldest) {
  Window window;
  window.history.budgetBytes = 1000;
  window.history.maxPictures = 4;
  const size_t sizes[] = {300, 50, 600, 10, 10, 990, 5, 400, 20, 20, 20, 20, 700};
  int number = 0;
  for (size_t bytes : sizes) {
    window.Change(bytes, PictureStep::kMake, std::to_string(number));
    EXPECT_LE(HistoryBytes(window.history), 1000u) << "after picture " << number;
    EXPECT_LE(window.history.behind.size(), 4u) << "after picture " << number;
    int expected = number;
    for (auto entry = window.history.behind.rbegin(); entry != window.history.behind.rend(); ++entry) {
      EXPECT_EQ(entry->title, std::to_string(--expected)) << "after picture " << number;
    }
    ++number;
  }
  EXPECT_EQ(window.history.behind.size(), 4u) << "four small pictures before the last";
  window.Change(10, PictureStep::kMake, "small");
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(window.Undo());
    EXPECT_LE(HistoryBytes(window.history), 1000u) << "after Undo " << i;
  }
  EXPECT_EQ(window.current.title, "9");
  EXPECT_EQ(window.history.ahead.size(), 4u);
  while (window.Redo()) EXPECT_LE(HistoryBytes(window.history), 1000u);
  EXPECT_EQ(window.current.title, "small");
}

TEST(PictureHistory, APictureLargerThanTheBudgetIsNotKept) {
  Window window;
  window.history.budgetBytes = 1000;
  window.Change(100, PictureStep::kMake, "small");
  window.Change(1001, PictureStep::kPaste, "large");
  EXPECT_FALSE(StepLosesCurrentPicture(window.history, 100));
  EXPECT_TRUE(StepLosesCurrentPicture(window.history, 1001)) << "the large picture is unsaved";
  window.Change(100, PictureStep::kMake, "after");
  EXPECT_EQ(UndoStep(window.history), PictureStep::kNone) << "Undo never jumps over the large picture";
  EXPECT_EQ(HistoryBytes(window.history), 0u);

  // Stepping back from a large picture leaves nothing to redo.
  window.Change(1001, PictureStep::kOpen, "C:\\large.bmp");
  EXPECT_FALSE(StepLosesCurrentPicture(window.history, 1001)) << "an opened picture is on disk";
  ASSERT_TRUE(window.Undo());
  EXPECT_EQ(window.current.title, "after");
  EXPECT_EQ(RedoStep(window.history), PictureStep::kNone);
}

TEST(PictureHistory, SavingClearsTheUnsavedMarkOfTheCurrentPictureOnly) {
  Window window;
  window.Change(100, PictureStep::kMake, "first");
  window.Change(100, PictureStep::kMake, "second");
  MarkPictureSaved(window.history, "C:\\second.bmp");
  EXPECT_FALSE(window.history.currentUnsaved);
  ASSERT_TRUE(window.Undo());
  EXPECT_TRUE(window.history.currentUnsaved) << "the first picture was never saved";
  ASSERT_TRUE(window.Redo());
  EXPECT_FALSE(window.history.currentUnsaved) << "the second was saved";
}

// Open F, Brightness, Save As F: F holds the brightened picture, so the
// opened one (and any other shown as F) is unsaved; other files' stay saved.
TEST(PictureHistory, SavingOverAFileMarksItsOlderPicturesUnsaved) {
  Window window;
  window.Change(100, PictureStep::kOpen, "C:\\other.bmp");
  window.Change(100, PictureStep::kOpen, "C:\\Pics\\f.bmp");
  window.Change(100, PictureStep::kBrightness, "C:\\Pics\\f.bmp");
  MarkPictureSaved(window.history, "c:/pics/F.BMP");
  for (bool unsaved : {true, false}) {  // f.bmp as opened, then other.bmp
    ASSERT_TRUE(window.Undo());
    EXPECT_EQ(window.history.currentUnsaved, unsaved) << window.current.title;
  }
  ASSERT_TRUE(window.Redo() && window.Redo());
  EXPECT_FALSE(window.history.currentUnsaved) << "the saved picture";
}

TEST(PictureHistory, MenuTextsNameTheStep) {
  const struct {
    PictureStep step;
    const char* text;
  } cases[] = {
      {PictureStep::kNone, "&Undo\tCtrl+Z"},
      {PictureStep::kMake, "&Undo Make\tCtrl+Z"},
      {PictureStep::kOpen, "&Undo Open\tCtrl+Z"},
      {PictureStep::kPaste, "&Undo Paste\tCtrl+Z"},
      {PictureStep::kBrightness, "&Undo Brightness\tCtrl+Z"},
  };
  for (const auto& c : cases) EXPECT_EQ(StepMenuText(TextOf(IDS_UNDO_ITEM), c.step), c.text);
  EXPECT_EQ(StepMenuText(TextOf(IDS_REDO_ITEM), PictureStep::kOpen), "&Redo Open\tCtrl+Y");
}

}  // namespace
