// The Pattern panel driven as a person would: lists chosen with the arrow
// keys, values typed character by character, buttons clicked, the new-name
// dialog and the questions answered, Enter pressed; the Pattern file and the
// panel's controls read back.
#include <string>
#include <utility>
#include <vector>

#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

// A Pattern file whose every value the scenarios know. The state line
// selects size 0, colour set 0, Pattern 0 and Vertical mirror.
const char kStateLine[] = "0,0,0,0,0,0,10,0,1,2,3,2,1,9,0,20,5,1,64,48,          \r\n";
const char kPatternFileRest[] =
    "0,1,1,1,0,0,0,0,1,1,1,1,1,5,0,10,3,0,128,96\r\n"
    "2,Small,64,48\r\n"
    "2,Medium,128,96\r\n"
    "4,Gray,2,3,0,0,0,255,255,255\r\n"
    "4,Warm,3,4,255,0,0,255,255,0,0,0,255\r\n"
    "3,First,20,0,1,2,3,2,1,9,0,20,5,0,\r\n"
    "3,Second,30,0,2,1,0,1,2,7,1,10,3,2,\r\n"
    "3,Third,40,0,1,1,1,1,1,4,0,0,0,1,\r\n";

// A copy of the program in a folder of its own with the scenarios' Pattern
// file, set to show the full panel (or the short one); the panel setting is
// put back as it was when the scenario ends.
class PanelSetup {
 public:
  explicit PanelSetup(bool full = true)
      : folder_(MakeProgramCopy("panel")), savedSetting_(UserRegistryValue(kSettingsKey, "Setdialog")) {
    ready_ = WriteFileBytes(PatternFile(), std::string(kStateLine) + kPatternFileRest);
    WriteSetting("Setdialog", full ? "1" : "0");
  }
  ~PanelSetup() {
    if (savedSetting_.empty()) {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Setdialog");
    } else {
      WriteSetting("Setdialog", savedSetting_);
    }
  }
  PanelSetup(const PanelSetup&) = delete;
  PanelSetup& operator=(const PanelSetup&) = delete;
  bool ready() const { return ready_; }
  const std::string& folder() const { return folder_; }
  std::string PatternFile() const { return folder_ + "\\vitrelle.cfg"; }

 private:
  std::string folder_;
  std::string savedSetting_;
  bool ready_ = false;
};

// The program started on the scenario's Pattern file, with its main window
// and its Pattern panel.
struct PanelSession {
  PanelSetup setup;
  Program program;
  HWND main = nullptr;
  HWND panel = nullptr;

  explicit PanelSession(bool full = true) : setup(full) {}

  // True once the main window shows the panel.
  bool Start() {
    if (!Expect(setup.ready(), "the scenario's Pattern file is in place")) return false;
    main = StartMainWindow(program, setup.folder());
    if (!main) return false;
    WaitUntil([&] { return (panel = FindChild(main, "#32770")) != nullptr; });
    return Expect(panel != nullptr, "the Pattern panel appears in the main window");
  }

  bool Close() { return CloseProgram(program, main); }
};

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::vector<std::string> ListEntries(HWND panel, int listId) { return ComboEntries(GetDlgItem(panel, listId)); }

int Selection(HWND panel, int listId) { return int(Ask(GetDlgItem(panel, listId), CB_GETCURSEL)); }

// Presses a key on a control of the panel, whether it has the focus or not;
// the program's message loop gives it to the panel's keyboard handling
// first, as it does for a person.
void PostKey(HWND control, UINT key) {
  PostMessageA(control, WM_KEYDOWN, key, 1);
  PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

// Types text into an edit of the panel, replacing what it holds.
void TypeInto(HWND panel, int editId, const std::string& text) {
  HWND edit = GetDlgItem(panel, editId);
  Ask(edit, EM_SETSEL, 0, -1);
  for (char c : text) Ask(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)));
}

// The edits in the order Initial color, weighted values 1 to 5, divide, fix,
// random, Initial number.
std::string ShownValues(HWND panel) {
  std::string values;
  for (int id : {IDC_INITIAL_COLOR, IDC_WEIGHT_1, IDC_WEIGHT_2, IDC_WEIGHT_3, IDC_WEIGHT_4, IDC_WEIGHT_5, IDC_DIVIDE,
                 IDC_FIX, IDC_RANDOM, IDC_INITIAL_NUMBER}) {
    values += ItemText(panel, id) + ",";
  }
  return values;
}

int CheckedMirror(HWND panel) {
  for (int id = IDC_MIRROR_NORMAL; id <= IDC_MIRROR_KALEIDOSCOPE; ++id) {
    if (IsButtonChecked(panel, id)) return id;
  }
  return 0;
}

// Clicks the middle of a control, which gives it the keyboard focus.
void ClickControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT area = {};
  GetClientRect(control, &area);
  ClickAt(ScreenPointOf(control, area.right / 2, area.bottom / 2));
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find("\r\n")); }

// The text with its first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// Waits until the list holds the entries; on failure says what it holds.
bool ExpectListed(HWND panel, int listId, const std::vector<std::string>& expected, const std::string& what) {
  const bool listed = WaitUntil([&] { return ListEntries(panel, listId) == expected; });
  std::string found;
  for (const std::string& entry : ListEntries(panel, listId)) found += " [" + entry + "]";
  return Expect(listed, what + " (found" + found + ")");
}

// Waits until the Pattern file holds the bytes; on failure shows what it holds.
bool ExpectPatternFile(const PanelSession& session, const std::string& bytes, const std::string& when) {
  WaitUntil([&] { return FileBytes(session.setup.PatternFile()) == bytes; });
  return ExpectEqual(FileBytes(session.setup.PatternFile()), bytes, "the Pattern file after " + when);
}

// What the full panel shows: the values (as ShownValues gives them), the
// checked mirror, and the selected Pattern, colour set and size.
struct PanelState {
  const char* values;
  int mirror, pattern, colourSet, size;
};
constexpr PanelState kStateLineShown = {"10,1,2,3,2,1,9,0,20,5,", IDC_MIRROR_VERTICAL, 0, 0, 0};
// The Patterns Second (colour set Warm) and Third (Gray) chosen after it.
constexpr PanelState kSecondShown = {"30,2,1,0,1,2,7,1,10,3,", IDC_MIRROR_VERTICAL, 1, 1, 0};
constexpr PanelState kThirdShown = {"40,1,1,1,1,1,4,0,0,0,", IDC_MIRROR_VERTICAL, 2, 0, 0};

// Waits until the panel shows the values, then checks the mirror and the
// lists' selections.
bool ExpectShown(HWND panel, const PanelState& expected, const std::string& when) {
  bool ok = Expect(WaitUntil([&] { return ShownValues(panel) == expected.values; }),
                   when + ": the values " + expected.values + ", found " + ShownValues(panel));
  ok &= ExpectEqual(CheckedMirror(panel), expected.mirror, when + ": the checked mirror");
  ok &= ExpectEqual(Selection(panel, IDC_PATTERN_LIST), expected.pattern, when + ": the selected Pattern");
  ok &= ExpectEqual(Selection(panel, IDC_COLOR_LIST), expected.colourSet, when + ": the selected colour set");
  ok &= ExpectEqual(Selection(panel, IDC_SIZE_LIST), expected.size, when + ": the selected size");
  return ok;
}

// Presses a key on the Pattern list and checks what the chosen Pattern shows.
bool ChoosePattern(HWND panel, UINT key, const char* name, const PanelState& shown) {
  PostKey(GetDlgItem(panel, IDC_PATTERN_LIST), key);
  return ExpectShown(panel, shown, std::string("choosing ") + name);
}

// Clicks a control of the panel (which takes the keyboard focus), types
// the values into edits (each reads as typed: nothing is repaired while
// typing) and presses Enter, then waits for the picture made from the
// settings that the state line now holds.
bool MakeWithEnter(const PanelSession& session, int clickedId, const std::string& expectedStateLine,
                   const std::vector<std::pair<int, const char*>>& typed = {}) {
  const std::string patternFile = session.setup.PatternFile();
  ClickControl(session.panel, clickedId);
  bool ok = true;
  for (const auto& [edit, text] : typed) {
    TypeInto(session.panel, edit, text);
    ok &= ExpectEqual(ItemText(session.panel, edit), text, std::string("an edit while ") + text + " is typed");
  }
  PressKey(session.main, VK_RETURN);
  WaitUntil([&] { return FirstLine(FileBytes(patternFile)) == expectedStateLine; });
  ok &= ExpectEqual(FirstLine(FileBytes(patternFile)), expectedStateLine, "the state line that Enter writes");
  ok &= Expect(WaitUntil([&] { return WindowText(session.main) == "Vitrelle -No title-"; }),
               "Enter in the panel makes a picture (title " + WindowText(session.main) + ")");
  ok &= Expect(NoDialogAppears(session.program, "Input new pattern name."), "Enter does not press Add");
  return ok;
}

// The panel shows the state line; choosing Patterns with the arrow keys
// loads their values and, when they name one, their colour set; the radio
// buttons change the mirror; Enter makes the picture from all of it.
bool SelectingPatternsLoadsThem() {
  PanelSession session;
  if (!session.Start()) return false;
  HWND panel = session.panel;

  bool ok = ExpectListed(panel, IDC_PATTERN_LIST, {"First", "Second", "Third"}, "the Patterns, in file order");
  ok &= ExpectListed(panel, IDC_COLOR_LIST, {"Gray", "Warm"}, "the colour sets");
  // The display mode, as the program measures it: after a Wine virtual
  // desktop has run in the prefix, the system metrics give that desktop's size.
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  const std::string screen =
      "Screen (" + std::to_string(mode.dmPelsWidth) + " x " + std::to_string(mode.dmPelsHeight) + ")";
  ok &= ExpectListed(panel, IDC_SIZE_LIST, {"Small", "Medium", screen}, "the size lines, then the screen");
  ok &= ExpectShown(panel, kStateLineShown, "at start, the state line");

  ok &= ChoosePattern(panel, VK_DOWN, "Second", kSecondShown);
  ok &= ChoosePattern(panel, VK_DOWN, "Third", kThirdShown);
  PostKey(GetDlgItem(panel, IDC_SIZE_LIST), VK_DOWN);
  ok &= Expect(WaitUntil([&] { return Selection(panel, IDC_SIZE_LIST) == 1; }), "the size Medium is chosen");
  ClickButton(panel, IDC_MIRROR_CROSS);
  ok &= Expect(WaitUntil([&] { return CheckedMirror(panel) == IDC_MIRROR_CROSS; }), "Cross mirror checked alone");

  ok &= MakeWithEnter(session, IDC_INITIAL_NUMBER, "0,1,0,2,0,0,40,0,1,1,1,1,1,4,0,0,0,2,128,96,          ");

  // Initialize shows the default line; the lists keep their entries.
  ClickButton(panel, IDC_INITIALIZE);
  ok &= ExpectShown(panel, {"0,1,1,1,1,1,5,0,10,3,", IDC_MIRROR_NORMAL, 1, 1, 1}, "Initialize, the default line");
  ok &= ExpectListed(panel, IDC_PATTERN_LIST, {"First", "Second", "Third"}, "the Patterns after Initialize");
  ok &= session.Close();
  return ok;
}

// The short panel has no values to show, yet choosing a Pattern there loads
// its values and colour set, and Enter makes the picture from them.
bool ShortPanelChoosesAndMakes() {
  PanelSession session(false);
  if (!session.Start()) return false;
  HWND panel = session.panel;

  bool ok = Expect(GetDlgItem(panel, IDC_INITIAL_COLOR) == nullptr && GetDlgItem(panel, IDC_COLOR_LIST) == nullptr,
                   "the short panel has no edits and no colour list");
  PostKey(GetDlgItem(panel, IDC_PATTERN_LIST), VK_DOWN);
  ok &= Expect(WaitUntil([&] { return Selection(panel, IDC_PATTERN_LIST) == 1; }), "Second is chosen");
  ok &= MakeWithEnter(session, IDC_MIRROR_KALEIDOSCOPE, "0,0,1,1,0,0,30,0,2,1,0,1,2,7,1,10,3,3,64,48,          ");
  ok &= ExpectEqual(CheckedMirror(panel), IDC_MIRROR_KALEIDOSCOPE, "the clicked mirror");
  ok &= session.Close();
  return ok;
}

// Values are repaired when the person is done with them, not while typing:
// clearing divide and typing 5 gives 5, a negative divide can be typed, and
// Initial color 256 becomes 0 only when the field is left. Make repairs a
// value still being typed before it saves and uses it.
bool TypedValuesAreRepairedWhenDone() {
  PanelSession session;
  if (!session.Start()) return false;
  HWND panel = session.panel, main = session.main;

  // Alt+D selects the text of divide; Backspace clears it, then 5 and Tab.
  ClickControl(panel, IDC_INITIAL_NUMBER);
  PressKey(main, 'D', {VK_MENU});
  bool ok = Expect(GetsFocus(panel, IDC_DIVIDE), "Alt+D puts the focus on divide");
  PressKey(main, VK_BACK);
  ok &= Expect(WaitUntil([&] { return ItemText(panel, IDC_DIVIDE).empty(); }, 5000),
               "Backspace empties divide, which reads " + ItemText(panel, IDC_DIVIDE));
  PressKey(main, '5');
  PressKey(main, VK_TAB);
  ok &= Expect(GetsFocus(panel, IDC_FIX), "Tab leaves divide");
  ok &= ExpectEqual(ItemText(panel, IDC_DIVIDE), "5", "divide after Backspace, 5 and Tab");
  ok &= MakeWithEnter(session, IDC_INITIAL_NUMBER, "0,0,0,0,0,0,10,0,1,2,3,2,1,5,0,20,5,1,64,48,          ");

  ok &= MakeWithEnter(session, IDC_INITIAL_NUMBER, "0,0,0,0,0,0,10,0,1,2,-12,2,1,-3,0,20,5,1,64,48,          ",
                      {{IDC_DIVIDE, "-3"}, {IDC_WEIGHT_3, "-12"}});

  ClickControl(panel, IDC_INITIAL_COLOR);
  TypeInto(panel, IDC_INITIAL_COLOR, "256");
  ok &= ExpectEqual(ItemText(panel, IDC_INITIAL_COLOR), "256", "Initial color while 256 is typed");
  PressKey(main, VK_TAB);
  ok &= Expect(WaitUntil([&] { return ItemText(panel, IDC_INITIAL_COLOR) == "0"; }, 5000),
               "Initial color 256 reads 0 once left, not " + ItemText(panel, IDC_INITIAL_COLOR));

  // Enter while divide still holds 0: Make saves 1 and the field shows it.
  // The state line keeps the length it had, with -3 in it: two more spaces.
  ok &= MakeWithEnter(session, IDC_DIVIDE, "0,0,0,0,0,0,0,0,1,2,-12,2,1,1,0,20,5,1,64,48,            ",
                      {{IDC_DIVIDE, "0"}});
  ok &= ExpectEqual(ItemText(panel, IDC_DIVIDE), "1", "divide after Make");
  ok &= session.Close();
  return ok;
}

// Presses "&Add" (a click, or Alt+A typed in an edit of the panel) and
// answers the new-name dialog: types the name and presses OK, or presses
// Cancel when there is no name.
enum class AddBy { kClick, kAltA };
bool AnswerNewName(const PanelSession& session, const char* name, AddBy by = AddBy::kClick) {
  if (by == AddBy::kAltA) {
    ClickControl(session.panel, IDC_FIX);
    PressKey(session.main, 'A', {VK_MENU});
  } else {
    ClickButton(session.panel, IDC_ADD);
  }
  HWND dialog = WaitForDialog(session.program, "Input new pattern name.");
  if (!Expect(dialog != nullptr, "Add opens the new-name dialog")) return false;
  if (name) {
    TypeInto(dialog, IDC_NEW_NAME, name);
    ClickButton(dialog, IDOK);
  } else {
    ClickButton(dialog, IDCANCEL);
  }
  return Expect(WaitForClose(dialog), "the new-name dialog closes");
}

// Add with Cancel or the name "$" adds nothing; a name adds a pattern line
// of the current values, and the panel shows the new list with the values
// of the state line again.
bool AddingPatterns() {
  PanelSession session;
  if (!session.Start()) return false;
  HWND panel = session.panel;
  const std::string original = FileBytes(session.setup.PatternFile());

  bool ok = AnswerNewName(session, nullptr, AddBy::kAltA);
  ok &= ExpectPatternFile(session, original, "Add and Cancel");
  ok &= AnswerNewName(session, "$");
  ok &= ExpectPatternFile(session, original, "Add with the name $");

  PostKey(GetDlgItem(panel, IDC_COLOR_LIST), VK_DOWN);
  ok &= Expect(WaitUntil([&] { return Selection(panel, IDC_COLOR_LIST) == 1; }), "the colour set Warm is chosen");
  TypeInto(panel, IDC_FIX, "4");
  ok &= AnswerNewName(session, "Fourth");
  ok &= ExpectPatternFile(session, original + "3,Fourth,10,0,1,2,3,2,1,9,4,20,5,2,\r\n", "adding Fourth");
  ok &= ExpectListed(panel, IDC_PATTERN_LIST, {"First", "Second", "Third", "Fourth"}, "Fourth listed last");
  ok &= ExpectShown(panel, kStateLineShown, "after adding Fourth, the state line again");

  // A Pattern file that cannot be written: the message, and nothing added.
  const std::string path = session.setup.PatternFile(), added = FileBytes(path);
  {
    const HeldFile held(path, true);
    ok &= AnswerNewName(session, "Fifth");
    ok &= AnswerMessageBox(session.program, path, TextOf(IDS_CANNOT_SAVE_CONFIG), IDOK);
  }
  ok &= ExpectEqual(FileBytes(path), added, "the read-only Pattern file after Add");
  ok &= ExpectEqual(long(ListEntries(panel, IDC_PATTERN_LIST).size()), 4, "the Patterns listed");

  ok &= session.Close();
  return ok;
}

// Clicks Change or Delete and answers its question; checks the question's
// text and caption, the chosen Pattern's name.
bool AnswerQuestion(const PanelSession& session, int button, const std::string& patternName, int answer) {
  ClickButton(session.panel, button);
  HWND box = WaitForDialog(session.program, patternName);
  if (!Expect(box != nullptr, "the question shows with the caption " + patternName)) return false;
  const int question = button == IDC_CHANGE ? IDS_ASK_CHANGE_PATTERN : IDS_ASK_DELETE_PATTERN;
  bool ok = ExpectEqual(MessageBoxText(box), TextOf(question), "the question");
  ok &= Expect(GetDlgItem(box, IDOK) && GetDlgItem(box, IDCANCEL), "the question has OK and Cancel");
  ClickButton(box, answer);
  return Expect(WaitForClose(box), "the question closes") && ok;
}

// Change and Delete ask first; Cancel leaves the Pattern file as it was, OK
// rewrites the selected Pattern's line or removes it, and the panel shows
// the new list with the values of the state line again.
bool ChangingAndDeletingPatterns() {
  PanelSession session;
  if (!session.Start()) return false;
  HWND panel = session.panel;
  const std::string original = FileBytes(session.setup.PatternFile());
  const std::string changed =
      Replaced(original, "3,Second,30,0,2,1,0,1,2,7,1,10,3,2,\r\n", "3,Second,30,0,9,1,0,1,2,7,1,10,3,2,\r\n");
  const std::string deleted = Replaced(changed, "3,Third,40,0,1,1,1,1,1,4,0,0,0,1,\r\n", "");

  bool ok = ChoosePattern(panel, VK_DOWN, "Second", kSecondShown);
  TypeInto(panel, IDC_WEIGHT_1, "9");
  ok &= AnswerQuestion(session, IDC_CHANGE, "Second", IDCANCEL);
  ok &= AnswerQuestion(session, IDC_DELETE, "Second", IDCANCEL);
  ok &= ExpectPatternFile(session, original, "Change and Delete answered Cancel");
  ok &= AnswerQuestion(session, IDC_CHANGE, "Second", IDOK);
  ok &= ExpectPatternFile(session, changed, "Change of Second, which rewrites its line with the values shown");
  ok &= ExpectShown(panel, kStateLineShown, "after Change, the state line again");
  ok &= ChoosePattern(panel, VK_END, "Third", kThirdShown);
  ok &= AnswerQuestion(session, IDC_DELETE, "Third", IDOK);
  ok &= ExpectPatternFile(session, deleted, "Delete of Third, which removes its line");
  ok &= ExpectShown(panel, kStateLineShown, "after Delete, the state line again");
  ok &= ExpectListed(panel, IDC_PATTERN_LIST, {"First", "Second"}, "the Pattern list no longer shows Third");

  ok &= session.Close();
  return ok;
}

// Another program changes the Pattern file while the panel shows it: Change
// of the Pattern the user chose writes nothing, says so, and the panel lists
// the file's Patterns again with the chosen one still selected and the typed
// values kept.
bool ChangeAfterTheFileChanged() {
  PanelSession session;
  if (!session.Start()) return false;
  HWND panel = session.panel;
  const std::string path = session.setup.PatternFile();

  bool ok = ChoosePattern(panel, VK_DOWN, "Second", kSecondShown);
  TypeInto(panel, IDC_WEIGHT_1, "9");
  const std::string edited = Replaced(FileBytes(path), "3,First", "3,Zero,1,1,1,1,1,1,1,1,1,1,1,0,\r\n3,First");
  ok &= Expect(WriteFileBytes(path, edited), "another program adds a Pattern before First");

  ok &= AnswerQuestion(session, IDC_CHANGE, "Second", IDOK);
  ok &= AnswerMessageBox(session.program, path, TextOf(IDS_PATTERN_FILE_CHANGED), IDOK);
  ok &= ExpectPatternFile(session, edited, "the refused Change");
  ok &= ExpectListed(panel, IDC_PATTERN_LIST, {"Zero", "First", "Second", "Third"}, "the file read again");
  ok &= ExpectShown(panel, {"30,9,1,0,1,2,7,1,10,3,", IDC_MIRROR_VERTICAL, 2, 1, 0}, "Second, typed values kept");
  ok &= session.Close();
  return ok;
}

// A Pattern file that cannot be read when a Pattern is chosen: "Cannot open
// file" with the file's path as caption, and the panel ends.
bool PanelEndsWithoutPatternFile() {
  PanelSession session;
  if (!session.Start()) return false;

  const std::string path = session.setup.PatternFile();
  bool ok = Expect(DeleteFileA(path.c_str()) != 0, "the Pattern file is removed");
  PostKey(GetDlgItem(session.panel, IDC_PATTERN_LIST), VK_DOWN);
  ok &= AnswerMessageBox(session.program, path, TextOf(IDS_CANNOT_OPEN_FILE), IDOK);
  ok &= Expect(WaitUntil([&] { return !IsWindow(session.panel); }), "the panel has ended");
  ok &= Expect(FindChild(session.main, "#32770") == nullptr, "the main window has no panel");
  ok &= session.Close();

  // Without a Pattern file at start-up the panel says so and never shows.
  Program again;
  if (!Expect(StartProgramIn(again, session.setup.folder()), "vitrelle.exe starts again")) return false;
  ok &= AnswerMessageBox(again, path, TextOf(IDS_CANNOT_OPEN_FILE), IDOK);
  HWND main = WaitForWindow(again, "vitrelle");
  ok &= Expect(main != nullptr, "the main window shows without a panel");
  ok &= Expect(WaitUntil([&] { return FindChild(main, "#32770") == nullptr; }), "the main window has no panel");
  PostMessageA(main, WM_CLOSE, 0, 0);
  ok &= ExpectEqual(WaitForExit(again), 0, "the program ends");
  return ok;
}

}  // namespace

VITRELLE_SCENARIO("panel-add", AddingPatterns);
VITRELLE_SCENARIO("panel-change-delete", ChangingAndDeletingPatterns);
VITRELLE_SCENARIO("panel-ends-without-file", PanelEndsWithoutPatternFile);
VITRELLE_SCENARIO("panel-file-changed", ChangeAfterTheFileChanged);
VITRELLE_SCENARIO("panel-repairs", TypedValuesAreRepairedWhenDone);
VITRELLE_SCENARIO("panel-select-pattern", SelectingPatternsLoadsThem);
VITRELLE_SCENARIO("panel-short-form", ShortPanelChoosesAndMakes);
