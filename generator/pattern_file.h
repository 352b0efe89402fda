// The Pattern file (vitrelle.cfg): comma-separated text lines.
//
//   line 1   the state line: the 20 MakeSettings fields saved by the last Make
//   line 2   the default line: the factory MakeSettings, only read
//   2,label,width,height                     a size line
//   3,name,<eleven values>,colour set number  a pattern line (1-based; 0 none)
//   4,name,n,steps,r,g,b,... (n key colours)  a color line
//   anything else                            ignored
//
// Splitting skips leading commas and takes each run of commas as one
// separator, so empty fields do not exist. Numbers are read leniently (white
// space, sign, digits up to the first other character; no digits give 0).
// Lines are written with CR LF and read with CR LF or LF, on every system,
// each line whole whatever its length; a rewrite keeps every line it does not
// change byte for byte.
// Every operation opens the file, does its work and closes it again; the file
// path is the caption of every message shown.
#pragma once

#include <string>
#include <vector>

#include "base/owner.h"
#include "generator/make_settings.h"

int32_t ParseNumber(const std::string& text);
// The same reading for a side of a picture, where a number beyond 32 bits
// becomes the largest (or smallest) 32-bit value instead of wrapping round,
// so that the size check refuses it.
int32_t ParseSideNumber(const std::string& text);
std::vector<std::string> SplitFields(const std::string& line);

// The two settings lines at the top of the file, by line number.
enum class SettingsLine { kState = 1, kDefault = 2 };

// Reads the state line or the default line into fields 2 to 20 of the
// settings, field 1 becoming 0. False, with "Cannot open file", when the file
// cannot be read; false without a message when it has no such line.
bool LoadMakeSettings(const Owner* owner, const std::string& path, SettingsLine line, MakeSettings& settings);

struct PatternLists {
  std::vector<std::string> sizes, patterns, colorSets;
};
// The labels and names of every entry after the state line, in file order.
bool ListEntries(const Owner* owner, const std::string& path, PatternLists& lists);

enum class EntryRead { kFound, kMissing, kFileUnreadable };
// Entry k (0-based, counting lines of its kind). kFileUnreadable has shown
// "Cannot open file"; kMissing shows nothing.
EntryRead ReadSizeChoice(const Owner* owner, const std::string& path, int k, SizeChoice& size);
EntryRead ReadPattern(const Owner* owner, const std::string& path, int k, Pattern& pattern);
EntryRead ReadColorSet(const Owner* owner, const std::string& path, int k, ColorSet& colors);

// Writes the settings over the start of line 1. The lines after it stay as
// they are; when the new text is longer than the old line, the old line is
// dropped so that line 2 stays whole. False, with "Cannot save config file",
// when the file cannot be updated.
//
// Every operation that changes the file writes the new file beside the old
// one and moves it over the old one only when complete, so a failure leaves
// the old file whole.
bool WriteStateLine(const Owner* owner, const std::string& path, const MakeSettings& settings);

// Appends a pattern line of the name, the current Pattern values and the
// colour set index + 1.
bool AddPattern(const Owner* owner, const std::string& path, const std::string& name, const MakeSettings& settings);

// Appends a color line of the name and the colour set, then a pattern line as
// AddPattern does, in one rewrite; settings[kColorSetIndex] is the new colour
// set's index.
bool AddPatternWithColorSet(const Owner* owner, const std::string& path, const std::string& name,
                            const MakeSettings& settings, const ColorSet& colors);

enum class PatternChange { kChange, kDelete };
enum class PatternReplace {
  kReplaced,
  kFileChanged,  // pattern line k does not hold the confirmed name: nothing written
  kFailed,       // the file cannot be read or written; its message is shown
};
// Replaces pattern line k by a new line built as AddPattern builds it from
// the confirmed name, or removes it, but only while that line still holds
// the name the user confirmed. When it does not (the file was changed since
// its list was read, or has no pattern line k any more), nothing is written
// and "The Pattern file has changed" is shown.
PatternReplace ReplacePattern(const Owner* owner, const std::string& path, int k, PatternChange change,
                              const std::string& confirmedName, const MakeSettings& settings);

// The text of a pattern line, line end included.
std::string PatternLineText(const std::string& name, const MakeSettings& settings);
