// The two per-user settings: "plug in", the program's folder, and
// "Setdialog", "1" for the full Pattern panel and "0" for the short one.
// The store behind them (the registry key Software\Tavik\vitrelle of the
// current user) is reached through a small record so that the rules here can
// be tried without one.
#pragma once

#include <string>

constexpr const char* kProgramFolderSetting = "plug in";
constexpr const char* kDetailsSetting = "Setdialog";
// A stored text is read only when it has at most this many bytes.
constexpr size_t kSettingMaxLength = 100;

struct SettingsStore {
  void* context = nullptr;
  // The stored text of a value; false when there is none (or no key, no
  // access, or a text too long), and the caller keeps what it had.
  bool (*read)(void* context, const char* name, std::string& value) = nullptr;
  // Stores the text, creating the key when needed; failures are silent.
  void (*write)(void* context, const char* name, const std::string& value) = nullptr;
};

// What the program needs to know about its folders at start-up.
struct FolderFacts {
  std::string currentFolder;  // the current directory
  std::string runningFolder;  // the folder of the running executable
  // Whether a folder holds "vitrelle.exe".
  bool (*holdsProgram)(const std::string& folder) = nullptr;
};

// The program directory: the current directory when it holds the program (and
// then it is stored as "plug in"); otherwise the stored folder when it holds
// the program; otherwise the folder the program runs from.
std::string FindProgramFolder(const SettingsStore& store, const FolderFacts& facts);

// Details mode from "Setdialog": true only when the stored text reads as the
// number 1; nothing stored gives the short panel.
bool ReadDetailsMode(const SettingsStore& store);
void WriteDetailsMode(const SettingsStore& store, bool full);
