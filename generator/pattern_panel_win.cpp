#include "generator/pattern_panel_win.h"

#include <optional>
#include <string>

#include "base/dialog_record_win.h"
#include "base/owner_win.h"
#include "generator/pattern_panel.h"
#include "resources/resource.h"

namespace {

// Longest text taken from an edit, the terminating zero not
// counted.
constexpr int kMaxText = 99;

PatternPanelParams& ParamsOf(HWND panel) {
  return *DialogRecord<PatternPanelParams>(panel);
}

std::string ItemText(HWND dialog, int id) {
  char text[kMaxText + 1] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

int ListSelectionOf(HWND panel, int listId) { return int(SendDlgItemMessageA(panel, listId, CB_GETCURSEL, 0, 0)); }

// The text of the selected list entry, or nothing when none is selected (or
// the form has no such list).
std::optional<std::string> SelectedText(HWND panel, int listId) {
  const int selected = ListSelectionOf(panel, listId);
  if (selected < 0) return std::nullopt;
  HWND list = GetDlgItem(panel, listId);
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, selected, 0);
  if (length < 0) return std::nullopt;
  std::string text(size_t(length) + 1, '\0');
  SendMessageA(list, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
  text.resize(size_t(length));
  return text;  // whole: Change and Delete compare it with the Pattern file's name
}

void FillList(HWND panel, int listId, const std::vector<std::string>& entries) {
  SendDlgItemMessageA(panel, listId, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries) {
    SendDlgItemMessageA(panel, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
}

void FillLists(HWND panel, const PatternLists& lists) {
  FillList(panel, IDC_SIZE_LIST, lists.sizes);
  FillList(panel, IDC_COLOR_LIST, lists.colorSets);
  FillList(panel, IDC_PATTERN_LIST, lists.patterns);
}

void SelectInList(HWND panel, int listId, int32_t index) {
  const LRESULT count = SendDlgItemMessageA(panel, listId, CB_GETCOUNT, 0, 0);
  const int selection = ListSelection(index, count > 0 ? size_t(count) : 0);
  SendDlgItemMessageA(panel, listId, CB_SETCURSEL, WPARAM(selection), 0);
}

// Shows the settings: the list selections, the radio button and the values.
// Setting an edit's text makes it report a change, which stores the same
// value again.
void ShowSettings(HWND panel) {
  const MakeSettings& settings = *ParamsOf(panel).settings;
  SelectInList(panel, IDC_SIZE_LIST, settings[kSizeIndex]);
  SelectInList(panel, IDC_COLOR_LIST, settings[kColorSetIndex]);
  SelectInList(panel, IDC_PATTERN_LIST, settings[kPatternIndex]);
  CheckRadioButton(panel, IDC_MIRROR_NORMAL, IDC_MIRROR_KALEIDOSCOPE, MirrorButtonOf(settings[kMirrorMode]));
  for (const PanelEdit& edit : kPanelEdits) {
    SetDlgItemTextA(panel, edit.controlId, std::to_string(settings[edit.field]).c_str());
  }
}

// The panel ends itself through its close message, once the control whose
// notification brought it here has finished with it.
void EndPanel(HWND panel) { PostMessageA(panel, WM_CLOSE, 0, 0); }

void Follow(HWND panel, PanelNext next);

// Loads the lists and the state line and shows them; the panel ends when the
// Pattern file cannot be read.
void InitializePanel(HWND panel) {
  PatternPanelParams& params = ParamsOf(panel);
  HWND mainWindow = GetParent(panel);  // owns the panel's messages
  const Owner owner = WindowOwner(&mainWindow);
  PatternLists lists;
  const PanelNext next = LoadPanel(&owner, params.patternFilePath, *params.settings, lists);
  if (next == PanelNext::kShow) FillLists(panel, lists);
  Follow(panel, next);
}

// The Pattern file changed underneath the panel: its lists are read again,
// while the settings, and so the values in the edits, stay.
void RefillPanel(HWND panel) {
  PatternPanelParams& params = ParamsOf(panel);
  HWND mainWindow = GetParent(panel);  // owns the panel's messages
  const Owner owner = WindowOwner(&mainWindow);
  PatternLists lists;
  const PanelNext next = RefillLists(&owner, params.patternFilePath, *params.settings, lists,
                                     SelectedText(panel, IDC_PATTERN_LIST));
  if (next == PanelNext::kShow) FillLists(panel, lists);
  Follow(panel, next);
}

void Follow(HWND panel, PanelNext next) {
  // A message box or the name dialog may have outlived the panel.
  if (!IsWindow(panel)) return;
  switch (next) {
    case PanelNext::kStay: break;
    case PanelNext::kShow: ShowSettings(panel); break;
    case PanelNext::kReload: InitializePanel(panel); break;
    case PanelNext::kRefill: RefillPanel(panel); break;
    case PanelNext::kEnd: EndPanel(panel); break;
  }
}

// An edit's text goes into its field as it is typed; the value is repaired
// only when the person is done with it.
void OnEditChange(HWND panel, int editId) {
  StoreEditText(*ParamsOf(panel).settings, editId, ItemText(panel, editId));
}

// Repairs the value of one edit and shows the repaired one, with the caret
// after it should the person type on.
void ShowRepairedValue(HWND panel, int editId) {
  const std::optional<std::string> repaired = RepairEditValue(*ParamsOf(panel).settings, editId);
  if (!repaired) return;
  SetDlgItemTextA(panel, editId, repaired->c_str());
  SendDlgItemMessageA(panel, editId, EM_SETSEL, repaired->size(), repaired->size());
}

INT_PTR CALLBACK NewNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogRecord(dialog, reinterpret_cast<std::string*>(lParam));
      SendDlgItemMessageA(dialog, IDC_NEW_NAME, EM_LIMITTEXT, kMaxText, 0);
      SetFocus(GetDlgItem(dialog, IDC_NEW_NAME));
      return FALSE;  // the focus is set: the name can be typed at once
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          *DialogRecord<std::string>(dialog) = ItemText(dialog, IDC_NEW_NAME);
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

// Runs the name dialog; the name typed, or nothing when it was cancelled.
std::optional<std::string> AskNewPatternName(HWND owner) {
  std::string name;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  const INT_PTR result =
      DialogBoxParamA(instance, "INPNAME", owner, NewNameDialogProc, reinterpret_cast<LPARAM>(&name));
  if (result != IDOK) return std::nullopt;
  return name;
}

void OnCommand(HWND panel, int id, int code) {
  PatternPanelParams& params = ParamsOf(panel);
  MakeSettings& settings = *params.settings;
  HWND mainWindow = GetParent(panel);  // owns the panel's messages
  const Owner owner = WindowOwner(&mainWindow);
  switch (id) {
    case IDOK:
      SendMessageA(GetParent(panel), WM_COMMAND, IDM_MAKE, 0);
      break;
    case IDC_SIZE_LIST:
      if (code == CBN_SELCHANGE) {
        Follow(panel, ChooseSize(&owner, params.patternFilePath, settings, ListSelectionOf(panel, id)));
      }
      break;
    case IDC_COLOR_LIST:
      if (code == CBN_SELCHANGE) settings[kColorSetIndex] = ListSelectionOf(panel, id);
      break;
    case IDC_PATTERN_LIST:
      if (code == CBN_SELCHANGE) {
        Follow(panel, ChoosePattern(&owner, params.patternFilePath, settings, ListSelectionOf(panel, id)));
      }
      break;
    case IDC_INITIAL_COLOR:
    case IDC_WEIGHT_1:
    case IDC_WEIGHT_2:
    case IDC_WEIGHT_3:
    case IDC_WEIGHT_4:
    case IDC_WEIGHT_5:
    case IDC_DIVIDE:
    case IDC_FIX:
    case IDC_RANDOM:
    case IDC_INITIAL_NUMBER:
      if (code == EN_CHANGE) OnEditChange(panel, id);
      if (code == EN_KILLFOCUS) ShowRepairedValue(panel, id);
      break;
    case IDC_MIRROR_NORMAL:
    case IDC_MIRROR_VERTICAL:
    case IDC_MIRROR_CROSS:
    case IDC_MIRROR_KALEIDOSCOPE:
      ChooseMirrorButton(settings, id);
      CheckRadioButton(panel, IDC_MIRROR_NORMAL, IDC_MIRROR_KALEIDOSCOPE, id);
      break;
    case IDC_ADD:
      RepairPanelValues(panel);
      Follow(panel, AddNamedPattern(&owner, params.patternFilePath, settings, AskNewPatternName(GetParent(panel))));
      break;
    case IDC_CHANGE:
    case IDC_DELETE: {
      RepairPanelValues(panel);
      const PatternChange change = id == IDC_CHANGE ? PatternChange::kChange : PatternChange::kDelete;
      Follow(panel, ChangeSelectedPattern(&owner, params.patternFilePath, settings, change,
                                          SelectedText(panel, IDC_PATTERN_LIST)));
      break;
    }
    case IDC_INITIALIZE:
      Follow(panel, LoadDefaultSettings(&owner, params.patternFilePath, settings));
      break;
  }
}

INT_PTR CALLBACK PatternPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogRecord(panel, reinterpret_cast<PatternPanelParams*>(lParam));
      // Enter makes the picture: IDOK becomes the default command, so the
      // "&Add" button is pressed only by a click or its mnemonic.
      SendMessageA(panel, DM_SETDEFID, IDOK, 0);
      InitializePanel(panel);
      return TRUE;
    case WM_COMMAND:
      // Notifications may come before the initialisation has stored the parameters.
      if (!DialogRecord<PatternPanelParams>(panel)) return FALSE;
      OnCommand(panel, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE: {
      // The panel vanishes, and the shell hears of it.
      const PatternPanelParams& params = ParamsOf(panel);
      // What stays behind for Make holds no value still waiting for repair.
      RepairPatternValues(*params.settings);
      (*params.settings)[kMarker] = 0;
      DestroyWindow(panel);
      if (params.ended) params.ended(params.context);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

void RepairPanelValues(HWND panel) {
  if (!panel || !DialogRecord<PatternPanelParams>(panel)) return;
  for (const PanelEdit& edit : kPanelEdits) ShowRepairedValue(panel, edit.controlId);
}

HWND CreatePatternPanel(HINSTANCE instance, HWND mainWindow, bool full, PatternPanelParams* params) {
  HWND panel = CreateDialogParamA(instance, full ? "DMAKE" : "DMAKE2", mainWindow, PatternPanelProc,
                                  reinterpret_cast<LPARAM>(params));
  return panel;
}
