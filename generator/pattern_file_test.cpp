#include "generator/pattern_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/texts.h"
#include "testing/test_support.h"

namespace {

const char kSample[] =
    "0,1,2,3,0,0,5,0,1,2,3,2,1,9,0,20,5,3,640,480,          \r\n"
    "0,0,1,2,0,0,0,0,1,2,3,2,1,9,0,20,5,1,320,240\r\n"
    "2,Tile,64,64\r\n"
    "3,Lace,5,0,1,2,3,2,1,9,0,20,5,2,\r\n"
    "4,Gray,2,3,0,0,0,255,255,255\r\n"
    "3,,5,7\n"  // empty fields vanish: the name is 5
    "2,Screen,800,600\r\n"
    "# any other line is ignored\r\n"
    "3,Last,1,1,1,1,1,1,1,1,1,1,1,0,\r\n";

TEST(PatternFileText, LenientNumbersAndSplitting) {
  EXPECT_EQ(ParseNumber("  12abc"), 12);
  EXPECT_EQ(ParseNumber("abc"), 0);
  EXPECT_EQ(ParseNumber("-5\r\n"), -5);
  EXPECT_EQ(ParseNumber("\t+7"), 7);
  EXPECT_EQ(ParseNumber(""), 0);
  EXPECT_EQ(ParseNumber("- 4"), 0);
  EXPECT_EQ(SplitFields(",,3,,5,"), (std::vector<std::string>{"3", "5"}));
  EXPECT_EQ(SplitFields("2,Screen,800,600\r\n"), (std::vector<std::string>{"2", "Screen", "800", "600\r\n"}));
  EXPECT_TRUE(SplitFields(",,,").empty());
}

TEST(PatternFile, ReadsSettingsAndEntries) {
  TestFolder folder;
  const std::string path = folder.Write(kSample);
  MakeSettings settings;
  settings[kMarker] = 9;
  ASSERT_TRUE(LoadMakeSettings(nullptr, path, SettingsLine::kDefault, settings));
  const int32_t expected[] = {0, 0, 1, 2, 0, 0, 0, 0, 1, 2, 3, 2, 1, 9, 0, 20, 5, 1, 320, 240};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), settings.field));
  ASSERT_TRUE(LoadMakeSettings(nullptr, path, SettingsLine::kState, settings));
  EXPECT_EQ(settings[kWidth], 640);
  EXPECT_EQ(settings[kMirrorMode], 3);

  PatternLists lists;
  ASSERT_TRUE(ListEntries(nullptr, path, lists));
  EXPECT_EQ(lists.sizes, (std::vector<std::string>{"Tile", "Screen"}));
  EXPECT_EQ(lists.patterns, (std::vector<std::string>{"Lace", "5", "Last"}));
  EXPECT_EQ(lists.colorSets, (std::vector<std::string>{"Gray"}));

  SizeChoice size;
  ASSERT_EQ(ReadSizeChoice(nullptr, path, 1, size), EntryRead::kFound);
  EXPECT_EQ(size.label, "Screen");
  EXPECT_EQ(size.width, 800);
  EXPECT_EQ(size.height, 600);
  EXPECT_EQ(ReadSizeChoice(nullptr, path, 2, size), EntryRead::kMissing);

  Pattern pattern;
  ASSERT_EQ(ReadPattern(nullptr, path, 1, pattern), EntryRead::kFound);
  EXPECT_EQ(pattern.name, "5");
  EXPECT_EQ(pattern.value[0], 7);
  EXPECT_EQ(pattern.value[1], 0);  // missing fields read as 0
  EXPECT_EQ(pattern.colorSetNumber, 0);

  ColorSet colors;
  ASSERT_EQ(ReadColorSet(nullptr, path, 0, colors), EntryRead::kFound);
  EXPECT_EQ(colors.keyCount, 2);
  EXPECT_EQ(colors.steps, 3);
  EXPECT_EQ(colors.key[1].blue, 255);
  EXPECT_TRUE(colors.complete);
}

TEST(PatternFile, ShortColorLineIsIncomplete) {
  TestFolder folder;
  ColorSet colors;
  ASSERT_EQ(ReadColorSet(nullptr, folder.Write("0\r\n0\r\n4,Cut,2,3,0,0,0,255,255\r\n"), 0, colors), EntryRead::kFound);
  EXPECT_FALSE(colors.complete);
}

TEST(PatternFile, UnreadableFileIsReported) {
  TestFolder folder;
  OwnerRecorder messages;
  Owner owner = messages.owner();
  const std::string missing = folder.PathOf("missing.cfg");
  ColorSet colors;
  EXPECT_EQ(ReadColorSet(&owner, missing, 0, colors), EntryRead::kFileUnreadable);
  MakeSettings settings;
  EXPECT_FALSE(WriteStateLine(&owner, missing, settings));
  EXPECT_FALSE(AddPattern(&owner, missing, "x", settings));
  ASSERT_EQ(messages.warnings.size(), 3u);
  EXPECT_EQ(messages.warnings[0], Shown(IDS_CANNOT_OPEN_FILE, missing));
  EXPECT_EQ(messages.warnings[1], Shown(IDS_CANNOT_SAVE_CONFIG, missing));
  EXPECT_EQ(folder.FileCount(), 0u);

  // A path that opens but cannot be read, such as a folder, is no empty file.
  messages = OwnerRecorder();
  owner = messages.owner();
  const std::string folderPath = folder.PathOf("folder.cfg");
  std::filesystem::create_directory(folderPath);
  PatternLists lists;
  EXPECT_FALSE(ListEntries(&owner, folderPath, lists));
  EXPECT_FALSE(LoadMakeSettings(&owner, folderPath, SettingsLine::kState, settings));
  EXPECT_EQ(ReplacePattern(&owner, folderPath, 0, PatternChange::kDelete, "", settings), PatternReplace::kFailed);
  EXPECT_EQ(messages.warnings, std::vector<std::string>(3, Shown(IDS_CANNOT_OPEN_FILE, folderPath)));
  EXPECT_EQ(folder.FileCount(), 1u);
}

MakeSettings Numbered() {
  MakeSettings settings;
  for (int i = 1; i < kMakeSettingsFieldCount; ++i) settings.field[i] = i;
  return settings;
}

TEST(PatternFile, StateLineReplacesTheStartOfLineOneAndKeepsLineTwoWhole) {
  const std::string text = "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,          ";
  const std::string longLine = std::string(120, '7');
  struct Case {
    std::string old, expected;
  };
  const Case cases[] = {
      // The old line's tail stays before its line end.
      {longLine + "\r\nsecond\r\n", text + longLine.substr(text.size()) + "\r\nsecond\r\n"},
      {"0,0\r\n0,0,1,2\r\n2,Tile,64,64\r\n", text + "\r\n0,0,1,2\r\n2,Tile,64,64\r\n"},
      {"0,0\n0,0,1,2\n", text + "\n0,0,1,2\n"},
      {"0,0", text + "\r\n"},
  };
  TestFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.Write(c.old);
    ASSERT_TRUE(WriteStateLine(nullptr, path, Numbered()));
    EXPECT_EQ(folder.Read(path), c.expected);
    EXPECT_EQ(folder.FileCount(), 1u);
    MakeSettings loaded;
    ASSERT_TRUE(LoadMakeSettings(nullptr, path, SettingsLine::kState, loaded));
    EXPECT_TRUE(std::equal(loaded.field, loaded.field + kMakeSettingsFieldCount, Numbered().field));
  }
}

TEST(PatternFile, AddPatternAppendsOneLine) {
  TestFolder folder;
  const std::string path = folder.Write("0\r\n0\r\n4,Gray,1,0,1,2,3");  // no line end at the end
  MakeSettings settings;
  const int32_t values[] = {5, 0, 1, 2, 3, 2, 1, 9, 0, 20, 5};
  std::copy(std::begin(values), std::end(values), settings.field + kFirstPatternField);
  settings[kColorSetIndex] = 1;
  ASSERT_TRUE(AddPattern(nullptr, path, "Lace", settings));
  EXPECT_EQ(folder.Read(path), "0\r\n0\r\n4,Gray,1,0,1,2,3\r\n3,Lace,5,0,1,2,3,2,1,9,0,20,5,2,\r\n");
  ASSERT_TRUE(AddPattern(nullptr, path, "a,b\nc", settings));  // a comma would shift every field
  Pattern pattern;
  ASSERT_EQ(ReadPattern(nullptr, path, 1, pattern), EntryRead::kFound);
  EXPECT_EQ(pattern.name, "abc");
  EXPECT_EQ(pattern.value[0], 5);
  for (const char* empty : {"", ",,"}) {  // an empty name must not vanish and shift the values
    ASSERT_TRUE(AddPattern(nullptr, path, empty, settings));
    PatternLists lists;
    ASSERT_TRUE(ListEntries(nullptr, path, lists));
    ASSERT_EQ(ReadPattern(nullptr, path, int(lists.patterns.size()) - 1, pattern), EntryRead::kFound);
    EXPECT_EQ(pattern.name, " ");
    EXPECT_EQ(pattern.value[0], 5);
    EXPECT_EQ(pattern.value[10], 5);
    EXPECT_EQ(pattern.colorSetNumber, 2);
  }
}

TEST(PatternFile, ReplacePatternTouchesOnlyItsLine) {
  TestFolder folder;
  const std::string path = folder.Write(kSample);
  MakeSettings settings = Numbered();
  ASSERT_EQ(ReplacePattern(nullptr, path, 1, PatternChange::kDelete, "5", settings), PatternReplace::kReplaced);
  std::string expected = kSample;
  expected.erase(expected.find("3,,5,7\n"), 7);
  EXPECT_EQ(folder.Read(path), expected);

  ASSERT_EQ(ReplacePattern(nullptr, path, 0, PatternChange::kChange, "Lace", settings), PatternReplace::kReplaced);
  const std::string changed = PatternLineText("Lace", settings);
  EXPECT_EQ(changed, "3,Lace,6,7,8,9,10,11,12,13,14,15,16,3,\r\n");
  expected.replace(expected.find("3,Lace"), std::string("3,Lace,5,0,1,2,3,2,1,9,0,20,5,2,\r\n").size(), changed);
  EXPECT_EQ(folder.Read(path), expected);
  EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(PatternFile, LongLinesAreReadWholeAndKeptByteForByte) {
  // A 600-character line whose part after the first 511 characters looks
  // like a pattern line, and a long Pattern name.
  std::string longLine = "9," + std::string(509, 'x') + "3,Phantom,1,1,1,1,1,1,1,1,1,1,1,1,";
  longLine += std::string(600 - longLine.size(), 'y') + "\r\n";
  const std::string longName(300, 'n');
  const std::string lace = "3,Lace,5,0,1,2,3,2,1,9,0,20,5,2,\r\n";
  const std::string longPattern = "3," + longName + ",1,2,3,4,5,6,7,8,9,10,11,0,\n";
  const std::string head = "0,0\r\n0,0\r\n" + longLine + lace + longLine;
  const std::string tail = "4,Gray,2,3,0,0,0,255,255,255";  // no line end
  TestFolder folder;
  const std::string path = folder.Write(head + longPattern + tail);

  PatternLists lists;
  ASSERT_TRUE(ListEntries(nullptr, path, lists));
  EXPECT_EQ(lists.patterns, (std::vector<std::string>{"Lace", longName}));
  Pattern pattern;
  ASSERT_EQ(ReadPattern(nullptr, path, 1, pattern), EntryRead::kFound);
  EXPECT_EQ(pattern.value[10], 11);
  EXPECT_EQ(pattern.name, longName);

  const MakeSettings settings = Numbered();
  ASSERT_EQ(ReplacePattern(nullptr, path, 1, PatternChange::kChange, longName, settings), PatternReplace::kReplaced);
  const std::string changed = PatternLineText(longName, settings);
  EXPECT_EQ(changed.substr(0, longName.size() + 3), "3," + longName + ",") << "the long name is kept whole";
  EXPECT_EQ(folder.Read(path), head + changed + tail);
  ASSERT_EQ(ReplacePattern(nullptr, path, 0, PatternChange::kDelete, "Lace", settings), PatternReplace::kReplaced);
  EXPECT_EQ(folder.Read(path), "0,0\r\n0,0\r\n" + longLine + longLine + changed + tail);
}

TEST(PatternFile, ChangeAndDeleteActOnlyOnTheConfirmedPattern) {
  struct Case {
    int k;
    const char* confirmedName;
  };
  // Another name at that place (the file was edited), and a Pattern that is gone.
  const Case cases[] = {{0, "5"}, {1, "Lace"}, {3, "Last"}, {9, "Lace"}};
  TestFolder folder;
  const std::string path = folder.Write(kSample);
  for (const Case& c : cases) {
    for (PatternChange change : {PatternChange::kChange, PatternChange::kDelete}) {
      OwnerRecorder messages;
      const Owner owner = messages.owner();
      EXPECT_EQ(ReplacePattern(&owner, path, c.k, change, c.confirmedName, Numbered()), PatternReplace::kFileChanged)
          << c.k;
      EXPECT_EQ(folder.Read(path), kSample) << c.k;
      EXPECT_EQ(messages.warnings, std::vector<std::string>{std::string(TextOf(IDS_PATTERN_FILE_CHANGED)) + "|" + path});
    }
  }
  EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(PatternFile, FailedWritesLeaveTheOldFileWhole) {
  struct Operation {
    const char* name;
    std::function<bool(const Owner*, const std::string&)> run;
  };
  const Operation operations[] = {
      {"replace", [](const Owner* owner, const std::string& path) {
         return ReplacePattern(owner, path, 0, PatternChange::kDelete, "Lace", MakeSettings()) ==
                PatternReplace::kReplaced;
       }},
      {"state line in place", [](const Owner* owner, const std::string& path) {
         return WriteStateLine(owner, path, MakeSettings());
       }},
      {"longer state line", [](const Owner* owner, const std::string& path) {
         return WriteStateLine(owner, path, Numbered());
       }},
      {"add", [](const Owner* owner, const std::string& path) {
         return AddPattern(owner, path, "Lace", Numbered());
       }},
  };
  if (!FileSizeLimit::Supported()) GTEST_SKIP() << "no file size limit on this system";
  TestFolder folder;
  std::string big = std::string(55, '1') + "\r\n" + kSample;  // 50 characters of zeros fit, 61 do not
  for (int i = 0; i < 400; ++i) big += "3,Filler,1,1,1,1,1,1,1,1,1,1,1,0,\r\n";
  for (const Operation& operation : operations) {
    const std::string path = folder.Write(big);
    OwnerRecorder messages;
    const Owner owner = messages.owner();
    bool written;
    {
      // Let writes beyond a small size fail, as on a full disk.
      FileSizeLimit limit(1000);
      written = operation.run(&owner, path);
    }
    EXPECT_FALSE(written) << operation.name;
    EXPECT_EQ(folder.Read(path), big) << operation.name;
    EXPECT_EQ(folder.FileCount(), 1u) << operation.name;  // the temporary file is gone
    EXPECT_EQ(messages.warnings, std::vector<std::string>{Shown(IDS_CANNOT_SAVE_CONFIG, path)})
        << operation.name;
  }
}

}  // namespace
