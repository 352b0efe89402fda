#include "generator/pattern_panel.h"

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "testing/test_support.h"

namespace {

const char kPatternFile[] =
    "0,1,1,0,0,0,300,0,1,2,3,2,1,0,0,20,5,41,640,480,          \r\n"
    "0,0,1,2,0,0,0,0,1,2,3,2,1,9,0,20,5,1,320,240\r\n"
    "2,Tile,64,64\r\n"
    "3,Lace,5,0,1,2,3,2,1,9,0,20,5,0,\r\n"
    "4,Gray,2,3,0,0,0,255,255,255\r\n"
    "2,Screen,800,600\r\n"
    "3,Rings,7,0,2,2,2,2,2,4,1,10,3,3,\r\n"
    "4,Red,2,0,0,0,0,255,0,0\r\n"
    "4,Blue,2,0,0,0,0,0,0,255\r\n"
    "3,Last,1,1,1,1,1,1,1,1,1,1,1,1,\r\n";

TEST(PatternPanelEdits, TypedValuesAreStoredAsTypedAndRepairedWhenDone) {
  // What is typed into an edit, the value stored as it stands, the text the
  // edit shows once repaired (nothing when it stays), and the value then.
  const struct {
    int edit;
    MakeSettingsField field;
    const char* typed;
    int32_t asTyped;
    std::optional<std::string> repaired;
    int32_t stored;
  } cases[] = {
      {IDC_INITIAL_COLOR, kInitialColor, "300", 300, "0", 0},
      {IDC_INITIAL_COLOR, kInitialColor, "256", 256, "0", 0},
      {IDC_INITIAL_COLOR, kInitialColor, "-5", -5, "0", 0},
      {IDC_INITIAL_COLOR, kInitialColor, "255", 255, std::nullopt, 255},
      {IDC_DIVIDE, kDivide, "0", 0, "1", 1},
      {IDC_DIVIDE, kDivide, "", 0, "1", 1},  // no digits read as 0
      {IDC_DIVIDE, kDivide, "-", 0, "1", 1},
      {IDC_DIVIDE, kDivide, "-3", -3, std::nullopt, -3},
      {IDC_DIVIDE, kDivide, "5", 5, std::nullopt, 5},
      {IDC_WEIGHT_3, kWeight3, "0", 0, std::nullopt, 0},
  };
  for (const auto& c : cases) {
    MakeSettings settings;
    settings[kDivide] = 9;
    StoreEditText(settings, c.edit, c.typed);
    EXPECT_EQ(settings[c.field], c.asTyped) << c.typed;
    EXPECT_EQ(RepairEditValue(settings, c.edit), c.repaired) << c.typed;
    EXPECT_EQ(settings[c.field], c.stored) << c.typed;
  }

  // Every edit reaches its own field, and only that one.
  for (const PanelEdit& edit : kPanelEdits) {
    MakeSettings one;
    one[kDivide] = 1;
    StoreEditText(one, edit.controlId, " 12abc");
    for (int f = 0; f < kMakeSettingsFieldCount; ++f) {
      const int32_t expected = f == edit.field ? 12 : f == kDivide ? 1 : 0;
      EXPECT_EQ(one.field[f], expected) << "edit " << edit.controlId << ", field " << f;
    }
  }
  MakeSettings settings;
  StoreEditText(settings, IDC_PATTERN_LIST, "7");
  EXPECT_EQ(settings[kPatternIndex], 0);
  EXPECT_EQ(RepairEditValue(settings, IDC_PATTERN_LIST), std::nullopt);

  MakeSettings loaded;
  loaded[kInitialColor] = 256;
  loaded[kDivide] = 0;
  RepairPatternValues(loaded);
  EXPECT_EQ(loaded[kInitialColor], 0);
  EXPECT_EQ(loaded[kDivide], 1);
}

TEST(PatternPanelEdits, MirrorButtonsAndListSelections) {
  EXPECT_EQ(MirrorButtonOf(0), IDC_MIRROR_NORMAL);
  EXPECT_EQ(MirrorButtonOf(23), IDC_MIRROR_KALEIDOSCOPE);
  EXPECT_EQ(MirrorButtonOf(7), 0);
  EXPECT_EQ(MirrorButtonOf(-21), 0);  // a negative remainder shows no button

  MakeSettings settings;
  settings[kMirrorMode] = 41;
  ChooseMirrorButton(settings, IDC_MIRROR_KALEIDOSCOPE);
  EXPECT_EQ(settings[kMirrorMode], 43);
  ChooseMirrorButton(settings, IDC_MIRROR_VERTICAL);
  EXPECT_EQ(settings[kMirrorMode], 41);
  ChooseMirrorButton(settings, IDC_ADD);
  EXPECT_EQ(settings[kMirrorMode], 41);

  EXPECT_EQ(ListSelection(2, 3), 2);
  EXPECT_EQ(ListSelection(3, 3), -1);
  EXPECT_EQ(ListSelection(-1, 3), -1);
  EXPECT_EQ(ListSelection(0, 0), -1);
}

TEST(PatternPanelFile, LoadsListsStateAndDefaults) {
  TestFolder folder;
  const std::string path = folder.Write(kPatternFile);
  MakeSettings settings;
  PatternLists lists;
  ASSERT_EQ(LoadPanel(nullptr, path, settings, lists), PanelNext::kShow);
  EXPECT_EQ(lists.sizes, (std::vector<std::string>{"Tile", "Screen"}));
  EXPECT_EQ(lists.patterns, (std::vector<std::string>{"Lace", "Rings", "Last"}));
  EXPECT_EQ(lists.colorSets, (std::vector<std::string>{"Gray", "Red", "Blue"}));
  EXPECT_EQ(settings[kColorSetIndex], 1);
  EXPECT_EQ(settings[kInitialColor], 0);  // 300 repaired
  EXPECT_EQ(settings[kDivide], 1);        // 0 repaired
  EXPECT_EQ(settings[kMirrorMode], 41);
  EXPECT_EQ(settings[kWidth], 640);

  ASSERT_EQ(LoadDefaultSettings(nullptr, path, settings), PanelNext::kShow);
  const int32_t defaults[] = {0, 0, 1, 2, 0, 0, 0, 0, 1, 2, 3, 2, 1, 9, 0, 20, 5, 1, 320, 240};
  EXPECT_TRUE(std::equal(std::begin(defaults), std::end(defaults), settings.field));

  // A file of one line keeps the settings through Initialize.
  settings[kWeight1] = 77;
  EXPECT_EQ(LoadDefaultSettings(nullptr, folder.Write("0,1,2\r\n", "short.cfg"), settings), PanelNext::kStay);
  EXPECT_EQ(settings[kWeight1], 77);
}

TEST(PatternPanelFile, SelectionsLoadTheirEntries) {
  TestFolder folder;
  const std::string path = folder.Write(kPatternFile);
  MakeSettings settings;
  settings[kColorSetIndex] = 2;
  settings[kWidth] = 5;

  EXPECT_EQ(ChooseSize(nullptr, path, settings, 1), PanelNext::kStay);
  EXPECT_EQ(settings[kSizeIndex], 1);
  EXPECT_EQ(settings[kWidth], 800);
  EXPECT_EQ(settings[kHeight], 600);

  // Colour set number 0 leaves the colour set selection alone.
  ASSERT_EQ(ChoosePattern(nullptr, path, settings, 0), PanelNext::kShow);
  EXPECT_EQ(settings[kPatternIndex], 0);
  EXPECT_EQ(settings[kInitialColor], 5);
  EXPECT_EQ(settings[kInitialNumber], 5);
  EXPECT_EQ(settings[kColorSetIndex], 2);

  // Colour set number 3 selects the third colour set.
  ASSERT_EQ(ChoosePattern(nullptr, path, settings, 1), PanelNext::kShow);
  EXPECT_EQ(settings[kInitialColor], 7);
  EXPECT_EQ(settings[kDivide], 4);
  EXPECT_EQ(settings[kColorSetIndex], 2);
  ASSERT_EQ(ChoosePattern(nullptr, path, settings, 2), PanelNext::kShow);
  EXPECT_EQ(settings[kColorSetIndex], 0);

  EXPECT_EQ(ChoosePattern(nullptr, path, settings, 9), PanelNext::kStay);
  EXPECT_EQ(settings[kInitialColor], 1);
}

// The file has two sizes, so index 2 is "Screen" and index 3 "All screens".
TEST(PatternPanelFile, ScreenEntriesFollowTheScreens) {
  TestFolder folder;
  std::string text = kPatternFile;
  text.replace(0, 3, "0,2");  // the state line selects the Screen entry
  const std::string path = folder.Write(text);
  const ScreenSizes one = {1, 1920, 1080, 1920, 1080};
  const ScreenSizes two = {2, 1920, 1080, 3840, 1200};

  MakeSettings settings;
  PatternLists lists;
  ASSERT_EQ(LoadPanel(nullptr, path, settings, lists, one), PanelNext::kShow);
  EXPECT_EQ(lists.sizes, (std::vector<std::string>{"Tile", "Screen", "Screen (1920 x 1080)"}));
  EXPECT_EQ(settings[kSizeIndex], 2);
  EXPECT_EQ(settings[kWidth], 1920);  // the screen as it is now, not the stored 640 x 480
  EXPECT_EQ(settings[kHeight], 1080);

  // A change of screen renames the entries and, while one is selected, resizes the next Make.
  std::vector<std::string> sizes;
  ASSERT_EQ(FollowScreens(nullptr, path, settings, two, sizes), PanelNext::kShow);
  EXPECT_EQ(sizes, (std::vector<std::string>{"Tile", "Screen", "Screen (1920 x 1080)", "All screens (3840 x 1200)"}));
  EXPECT_EQ(ChooseSize(nullptr, path, settings, 3, two), PanelNext::kStay);
  EXPECT_EQ(settings[kWidth], 3840);
  EXPECT_EQ(settings[kHeight], 1200);
  EXPECT_EQ(FollowScreens(nullptr, path, settings, one, sizes), PanelNext::kShow);
  EXPECT_EQ(sizes.size(), 3u);  // All screens has gone; the size stays as it was
  EXPECT_EQ(settings[kWidth], 3840);

  // A file size keeps its own numbers through a change of screen.
  EXPECT_EQ(ChooseSize(nullptr, path, settings, 1, one), PanelNext::kStay);
  EXPECT_EQ(FollowScreens(nullptr, path, settings, two, sizes), PanelNext::kShow);
  EXPECT_EQ(settings[kWidth], 800);
  EXPECT_EQ(settings[kHeight], 600);

  // Where no screen is known the list holds the file's sizes alone.
  PatternLists plain;
  ASSERT_EQ(LoadPanel(nullptr, path, settings, plain), PanelNext::kShow);
  EXPECT_EQ(plain.sizes, (std::vector<std::string>{"Tile", "Screen"}));
  EXPECT_EQ(settings[kWidth], 640);
  EXPECT_EQ(ChooseSize(nullptr, path, settings, 2), PanelNext::kStay);
  EXPECT_EQ(settings[kWidth], 640);
}

TEST(PatternPanelFile, UnreadableFileEndsThePanel) {
  TestFolder folder;
  const std::string missing = folder.PathOf("missing.cfg");
  OwnerRecorder messages;
  const Owner owner = messages.owner();
  MakeSettings settings;
  settings[kWeight2] = 6;
  PatternLists lists;
  EXPECT_EQ(LoadPanel(&owner, missing, settings, lists), PanelNext::kEnd);
  EXPECT_EQ(LoadDefaultSettings(&owner, missing, settings), PanelNext::kEnd);
  EXPECT_EQ(ChooseSize(&owner, missing, settings, 0), PanelNext::kEnd);
  EXPECT_EQ(ChoosePattern(&owner, missing, settings, 0), PanelNext::kEnd);
  EXPECT_EQ(settings[kWeight2], 6);
  ASSERT_EQ(messages.warnings.size(), 4u);
  for (const std::string& warning : messages.warnings) EXPECT_EQ(warning, Shown(IDS_CANNOT_OPEN_FILE, missing));
}

TEST(PatternPanelFile, AddKeepsOnlyNamedPatterns) {
  TestFolder folder;
  const std::string path = folder.Write(kPatternFile);
  MakeSettings settings;
  LoadMakeSettings(nullptr, path, SettingsLine::kDefault, settings);

  EXPECT_EQ(AddNamedPattern(nullptr, path, settings, std::nullopt), PanelNext::kStay);
  EXPECT_EQ(AddNamedPattern(nullptr, path, settings, std::string("$")), PanelNext::kStay);
  EXPECT_EQ(TestFolder::Read(path), kPatternFile);

  EXPECT_EQ(AddNamedPattern(nullptr, path, settings, std::string("New")), PanelNext::kReload);
  EXPECT_EQ(TestFolder::Read(path), std::string(kPatternFile) + "3,New,0,0,1,2,3,2,1,9,0,20,5,2,\r\n");

  OwnerRecorder messages;
  const Owner owner = messages.owner();
  const std::string missing = folder.PathOf("missing.cfg");
  EXPECT_EQ(AddNamedPattern(&owner, missing, settings, std::string("X")), PanelNext::kStay);
  EXPECT_EQ(messages.warnings, std::vector<std::string>{Shown(IDS_CANNOT_SAVE_CONFIG, missing)});
}

TEST(PatternPanelFile, ChangeAndDeleteAskFirst) {
  TestFolder folder;
  const std::string path = folder.Write(kPatternFile);
  MakeSettings settings;
  LoadMakeSettings(nullptr, path, SettingsLine::kDefault, settings);
  settings[kPatternIndex] = 1;
  settings[kColorSetIndex] = 0;
  OwnerRecorder messages;
  const Owner owner = messages.owner();

  messages.answer = false;
  EXPECT_EQ(ChangeSelectedPattern(&owner, path, settings, PatternChange::kDelete, std::string("Rings")),
            PanelNext::kStay);
  EXPECT_EQ(TestFolder::Read(path), kPatternFile);
  EXPECT_EQ(messages.questions, (std::vector<std::string>{Shown(IDS_ASK_DELETE_PATTERN, "Rings")}));

  // No selected Pattern: nothing to ask about.
  EXPECT_EQ(ChangeSelectedPattern(&owner, path, settings, PatternChange::kChange, std::nullopt), PanelNext::kStay);
  EXPECT_EQ(messages.questions.size(), 1u);

  messages.answer = true;
  EXPECT_EQ(ChangeSelectedPattern(&owner, path, settings, PatternChange::kChange, std::string("Rings")),
            PanelNext::kReload);
  EXPECT_EQ(messages.questions.back(), Shown(IDS_ASK_CHANGE_PATTERN, "Rings"));
  std::string changed = kPatternFile;
  const std::string oldLine = "3,Rings,7,0,2,2,2,2,2,4,1,10,3,3,\r\n";
  changed.replace(changed.find(oldLine), oldLine.size(), "3,Rings,0,0,1,2,3,2,1,9,0,20,5,1,\r\n");
  EXPECT_EQ(TestFolder::Read(path), changed);

  EXPECT_EQ(ChangeSelectedPattern(&owner, path, settings, PatternChange::kDelete, std::string("Rings")),
            PanelNext::kReload);
  changed.erase(changed.find("3,Rings"), std::string("3,Rings,0,0,1,2,3,2,1,9,0,20,5,1,\r\n").size());
  EXPECT_EQ(TestFolder::Read(path), changed);
  EXPECT_TRUE(messages.warnings.empty());
}

TEST(PatternPanelFile, ChangeAfterTheFileChangedRefillsTheListsAndKeepsTheValues) {
  TestFolder folder;
  const std::string path = folder.Write(kPatternFile);
  MakeSettings settings;
  PatternLists lists;
  ASSERT_EQ(LoadPanel(nullptr, path, settings, lists), PanelNext::kShow);
  ASSERT_EQ(ChoosePattern(nullptr, path, settings, 1), PanelNext::kShow);  // Rings
  settings[kWeight3] = 42;  // typed since
  const MakeSettings typed = settings;

  // Another program puts a Pattern before Rings.
  std::string edited = kPatternFile;
  edited.insert(edited.find("3,Lace"), "3,New,1,1,1,1,1,1,1,1,1,1,1,0,\r\n");
  folder.Write(edited);
  OwnerRecorder messages;
  messages.answer = true;
  const Owner owner = messages.owner();
  for (PatternChange change : {PatternChange::kChange, PatternChange::kDelete}) {
    EXPECT_EQ(ChangeSelectedPattern(&owner, path, settings, change, std::string("Rings")), PanelNext::kRefill);
    EXPECT_EQ(TestFolder::Read(path), edited);
  }
  EXPECT_EQ(messages.warnings.size(), 2u);

  ASSERT_EQ(RefillLists(&owner, path, settings, lists, std::string("Rings")), PanelNext::kShow);
  EXPECT_EQ(lists.patterns, (std::vector<std::string>{"New", "Lace", "Rings", "Last"}));
  EXPECT_EQ(settings[kPatternIndex], 2);
  MakeSettings expected = typed;
  expected[kPatternIndex] = 2;
  EXPECT_TRUE(std::equal(settings.field, settings.field + kMakeSettingsFieldCount, expected.field));
  // Now the Pattern at its new place is deleted.
  EXPECT_EQ(ChangeSelectedPattern(&owner, path, settings, PatternChange::kDelete, std::string("Rings")),
            PanelNext::kReload);
  ASSERT_EQ(RefillLists(&owner, path, settings, lists, std::string("Rings")), PanelNext::kShow);
  EXPECT_EQ(lists.patterns, (std::vector<std::string>{"New", "Lace", "Last"}));
  EXPECT_EQ(settings[kPatternIndex], -1);  // gone: nothing is selected
}

}  // namespace
