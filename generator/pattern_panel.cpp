#include "generator/pattern_panel.h"

#include <algorithm>

#include "base/file_io.h"
#include "base/texts.h"
#include "generator/pattern_image.h"
#include "resources/resource.h"

const PanelEdit kPanelEdits[kPatternValueCount - 1] = {
    {IDC_INITIAL_COLOR, kInitialColor}, {IDC_WEIGHT_1, kWeight1}, {IDC_WEIGHT_2, kWeight2},
    {IDC_WEIGHT_3, kWeight3},           {IDC_WEIGHT_4, kWeight4}, {IDC_WEIGHT_5, kWeight5},
    {IDC_DIVIDE, kDivide},              {IDC_FIX, kFix},          {IDC_RANDOM, kRandom},
    {IDC_INITIAL_NUMBER, kInitialNumber},
};

namespace {

constexpr char kNoName[] = "$";

// The value a field may hold: the one given, or its repair.
int32_t RepairedValue(MakeSettingsField field, int32_t value) {
  if (field == kInitialColor && (value < 0 || value > 255)) return 0;
  if (field == kDivide && value == 0) return 1;
  return value;
}

// The edit of the full panel with that control id, or null.
const PanelEdit* EditOf(int controlId) {
  for (const PanelEdit& edit : kPanelEdits) {
    if (edit.controlId == controlId) return &edit;
  }
  return nullptr;
}

bool WarnUnlessReadable(const Owner* owner, const std::string& path) {
  if (FileExists(path)) return true;
  OwnerWarn(owner, TextOf(IDS_CANNOT_OPEN_FILE), path.c_str());
  return false;
}

// An entry that was not read: a file that cannot be read ends the panel, a
// missing entry leaves it as it is.
PanelNext PanelAfterMissingEntry(EntryRead read) {
  return read == EntryRead::kFileUnreadable ? PanelNext::kEnd : PanelNext::kStay;
}

// Adds the screen entries to the file's size labels; a selected screen entry
// gives the settings its size.
void AddScreenSizes(MakeSettings& settings, const ScreenSizes& screens, std::vector<std::string>& sizes) {
  if (const std::optional<SizeChoice> screen = ScreenSizeAt(screens, int(sizes.size()), settings[kSizeIndex])) {
    settings[kWidth] = screen->width;
    settings[kHeight] = screen->height;
  }
  for (const SizeChoice& choice : ScreenSizeChoices(screens)) sizes.push_back(choice.label);
}

}  // namespace

void RepairPatternValues(MakeSettings& settings) {
  for (MakeSettingsField field : {kInitialColor, kDivide}) settings[field] = RepairedValue(field, settings[field]);
}

void StoreEditText(MakeSettings& settings, int controlId, const std::string& text) {
  if (const PanelEdit* edit = EditOf(controlId)) settings[edit->field] = ParseNumber(text);
}

std::optional<std::string> RepairEditValue(MakeSettings& settings, int controlId) {
  const PanelEdit* edit = EditOf(controlId);
  if (!edit) return std::nullopt;
  const int32_t shown = settings[edit->field];
  settings[edit->field] = RepairedValue(edit->field, shown);
  if (settings[edit->field] == shown) return std::nullopt;
  return std::to_string(settings[edit->field]);
}

int MirrorButtonOf(int32_t mirrorMode) {
  const MirrorKind kind = MirrorKindOf(mirrorMode);
  return kind == kMirrorNone ? 0 : IDC_MIRROR_NORMAL + kind;
}

void ChooseMirrorButton(MakeSettings& settings, int buttonId) {
  if (buttonId < IDC_MIRROR_NORMAL || buttonId > IDC_MIRROR_KALEIDOSCOPE) return;
  settings[kMirrorMode] = WithMirrorKind(settings[kMirrorMode], MirrorKind(buttonId - IDC_MIRROR_NORMAL));
}

int ListSelection(int32_t index, size_t count) { return index >= 0 && size_t(index) < count ? int(index) : -1; }

PanelNext LoadPanel(const Owner* owner, const std::string& path, MakeSettings& settings, PatternLists& lists,
                    const ScreenSizes& screens) {
  if (!ListEntries(owner, path, lists)) return PanelNext::kEnd;
  LoadMakeSettings(owner, path, SettingsLine::kState, settings);
  RepairPatternValues(settings);
  AddScreenSizes(settings, screens, lists.sizes);
  return PanelNext::kShow;
}

PanelNext FollowScreens(const Owner* owner, const std::string& path, MakeSettings& settings,
                        const ScreenSizes& screens, std::vector<std::string>& sizes) {
  PatternLists lists;
  if (!ListEntries(owner, path, lists)) return PanelNext::kEnd;
  AddScreenSizes(settings, screens, lists.sizes);
  sizes = lists.sizes;
  return PanelNext::kShow;
}

PanelNext RefillLists(const Owner* owner, const std::string& path, MakeSettings& settings, PatternLists& lists,
                      const std::optional<std::string>& selectedName, const ScreenSizes& screens) {
  if (!ListEntries(owner, path, lists)) return PanelNext::kEnd;
  AddScreenSizes(settings, screens, lists.sizes);
  if (!selectedName) return PanelNext::kShow;
  const std::vector<std::string>& names = lists.patterns;
  const int32_t place = settings[kPatternIndex];
  if (ListSelection(place, names.size()) >= 0 && names[size_t(place)] == *selectedName) return PanelNext::kShow;
  const auto found = std::find(names.begin(), names.end(), *selectedName);
  settings[kPatternIndex] = found == names.end() ? -1 : int32_t(found - names.begin());
  return PanelNext::kShow;
}

PanelNext LoadDefaultSettings(const Owner* owner, const std::string& path, MakeSettings& settings) {
  if (!WarnUnlessReadable(owner, path)) return PanelNext::kEnd;
  // A file without a default line leaves the settings as they are.
  if (!LoadMakeSettings(owner, path, SettingsLine::kDefault, settings)) return PanelNext::kStay;
  RepairPatternValues(settings);
  return PanelNext::kShow;
}

PanelNext ChooseSize(const Owner* owner, const std::string& path, MakeSettings& settings, int index,
                     const ScreenSizes& screens) {
  SizeChoice size;
  const EntryRead read = ReadSizeChoice(owner, path, index, size);
  // A size that cannot be made is refused, the one before kept and shown.
  if (read == EntryRead::kFound && !CheckPictureSize(owner, size.width, size.height)) return PanelNext::kShow;
  settings[kSizeIndex] = index;
  if (read == EntryRead::kMissing) {
    // Past the file's sizes: a screen entry, sized as measured now.
    std::vector<std::string> sizes;
    return FollowScreens(owner, path, settings, screens, sizes) == PanelNext::kEnd ? PanelNext::kEnd
                                                                                   : PanelNext::kStay;
  }
  if (read != EntryRead::kFound) return PanelAfterMissingEntry(read);
  settings[kWidth] = size.width;
  settings[kHeight] = size.height;
  return PanelNext::kStay;
}

PanelNext ChoosePattern(const Owner* owner, const std::string& path, MakeSettings& settings, int index) {
  settings[kPatternIndex] = index;
  Pattern pattern;
  const EntryRead read = ReadPattern(owner, path, index, pattern);
  if (read != EntryRead::kFound) return PanelAfterMissingEntry(read);
  SelectPattern(settings, pattern, index);
  RepairPatternValues(settings);
  return PanelNext::kShow;
}

PanelNext AddNamedPattern(const Owner* owner, const std::string& path, const MakeSettings& settings,
                          const std::optional<std::string>& name) {
  if (!name || *name == kNoName) return PanelNext::kStay;
  return AddPattern(owner, path, *name, settings) ? PanelNext::kReload : PanelNext::kStay;
}

PanelNext ChangeSelectedPattern(const Owner* owner, const std::string& path, const MakeSettings& settings,
                                PatternChange change, const std::optional<std::string>& selectedName) {
  if (!selectedName) return PanelNext::kStay;
  const int question = change == PatternChange::kChange ? IDS_ASK_CHANGE_PATTERN : IDS_ASK_DELETE_PATTERN;
  if (!OwnerAsk(owner, TextOf(question), selectedName->c_str())) return PanelNext::kStay;
  switch (ReplacePattern(owner, path, settings[kPatternIndex], change, *selectedName, settings)) {
    case PatternReplace::kReplaced: return PanelNext::kReload;
    case PatternReplace::kFileChanged: return PanelNext::kRefill;
    case PatternReplace::kFailed: break;
  }
  return PanelNext::kStay;
}
