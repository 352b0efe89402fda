// What the Pattern panel does to the make settings and the Pattern file,
// apart from its window: the values its edits show, how typed text is stored
// and how it is repaired when the person is done, the radio button of the MirrorMode, and the steps of
// its list selections and of Initialize, Add, Change and Delete. The panel's
// window procedure (pattern_panel_win.cpp) turns messages into these calls.
#pragma once

#include <optional>
#include <string>

#include "base/owner.h"
#include "generator/make_settings.h"
#include "generator/pattern_file.h"
#include "generator/screen_sizes.h"

// An edit of the full panel and the field it shows.
struct PanelEdit {
  int controlId;
  MakeSettingsField field;
};
// Initial color (108), then the weighted values, divide, fix, random and
// Initial number (110 to 118), in the order the panel shows them.
extern const PanelEdit kPanelEdits[kPatternValueCount - 1];

// Initial color outside 0 to 255 becomes 0, divide 0 becomes 1.
void RepairPatternValues(MakeSettings& settings);

// Stores the text typed into an edit, read leniently, as it stands: a value
// is repaired only once the person is done with it (RepairEditValue), so that
// clearing a field or typing a minus sign first does not change what comes
// next. A control that is no edit of the panel stores nothing.
void StoreEditText(MakeSettings& settings, int controlId, const std::string& text);

// Repairs the field an edit shows (see RepairPatternValues). When the value
// had to be repaired, returns the text the edit shows instead; nothing
// otherwise and for a control that is no edit of the panel.
std::optional<std::string> RepairEditValue(MakeSettings& settings, int controlId);

// The radio button (127 to 130) that shows the MirrorMode, or 0 for none.
int MirrorButtonOf(int32_t mirrorMode);
// Choosing a radio button replaces the last digit of the MirrorMode.
void ChooseMirrorButton(MakeSettings& settings, int buttonId);

// The list position to select for a stored index: -1 (no selection) when
// the index lies beyond the list.
int ListSelection(int32_t index, size_t count);

// What the panel does after a step.
enum class PanelNext {
  kStay,    // nothing more: the shown values are still right
  kShow,    // show the settings again (values, selections, radio button)
  kReload,  // initialise the panel again from the Pattern file
  kRefill,  // the Pattern file changed underneath: read its lists again, keeping the settings
  kEnd,     // the Pattern file cannot be read: the panel ends
};

// The initialisation: the lists, the size list ending with the screen
// entries, and the settings saved in the state line. kEnd when the Pattern
// file cannot be read ("Cannot open file" shown), else kShow. A file without
// a state line leaves the settings as they were. While a screen entry is
// the selected size, the settings take its size as measured now.
PanelNext LoadPanel(const Owner* owner, const std::string& path, MakeSettings& settings, PatternLists& lists,
                    const ScreenSizes& screens = {});

// The screens changed: the size list again, with the new screen entries;
// while one of them is selected, the settings take its new size.
PanelNext FollowScreens(const Owner* owner, const std::string& path, MakeSettings& settings,
                        const ScreenSizes& screens, std::vector<std::string>& sizes);

// After kRefill: the lists as the Pattern file holds them now, the settings
// (and so the values the edits show) kept. The Pattern that was selected
// stays selected where the file still has it, at its old place when that
// holds its name, else at its first; else no Pattern is selected (without a
// selected Pattern the index stays). kEnd when the file cannot be read, else
// kShow.
PanelNext RefillLists(const Owner* owner, const std::string& path, MakeSettings& settings, PatternLists& lists,
                      const std::optional<std::string>& selectedName, const ScreenSizes& screens = {});

// "&Initialize": the settings of the default line, the lists kept.
PanelNext LoadDefaultSettings(const Owner* owner, const std::string& path, MakeSettings& settings);

// A size chosen in list 101: its index, width and height, from the file or
// from the screen entry after the file's sizes. A file's size that cannot be
// made is refused with CheckPictureSize's message: the settings stay, and
// kShow selects their size again.
PanelNext ChooseSize(const Owner* owner, const std::string& path, MakeSettings& settings, int index,
                     const ScreenSizes& screens = {});
// A Pattern chosen in list 107: its index, its values, and its colour set
// when it names one.
PanelNext ChoosePattern(const Owner* owner, const std::string& path, MakeSettings& settings, int index);

// "&Add" with the name given in the name dialog (nothing when it was
// cancelled; the name "$" also adds nothing).
PanelNext AddNamedPattern(const Owner* owner, const std::string& path, const MakeSettings& settings,
                          const std::optional<std::string>& name);

// "C&hange" and "&Delete" of the selected Pattern (nothing when none is
// selected): asks first, with the Pattern's name as the caption; Cancel
// changes nothing. kRefill when the file no longer holds that Pattern at its
// place: nothing was written.
PanelNext ChangeSelectedPattern(const Owner* owner, const std::string& path, const MakeSettings& settings,
                                PatternChange change, const std::optional<std::string>& selectedName);
