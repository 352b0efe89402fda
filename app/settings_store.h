// The per-user settings: "plug in", the program's folder, and "Setdialog",
// "1" for the full Pattern panel and "0" for the short one; beside them one
// value per plug-in that failed at start-up ("failed plug-in NAME"). The
// store behind them (the registry key Software\Tavik\vitrelle of the
// current user) is reached through a small record so that the rules here can
// be tried without one.
#pragma once

#include <string>

#include "plugins/plugin_discovery.h"

constexpr const char* kProgramFolderSetting = "plug in";
constexpr const char* kDetailsSetting = "Setdialog";
constexpr const char* kFailedPluginSettingPrefix = "failed plug-in ";
// A stored text is read only when it has at most this many bytes.
constexpr size_t kSettingMaxLength = 100;

struct SettingsStore {
  void* context = nullptr;
  // The stored text of a value; false when there is none (or no key, no
  // access, or a text too long), and the caller keeps what it had.
  bool (*read)(void* context, const char* name, std::string& value) = nullptr;
  // Stores the text, creating the key when needed; failures are silent.
  void (*write)(void* context, const char* name, const std::string& value) = nullptr;
  // Removes the value; failures are silent.
  void (*remove)(void* context, const char* name) = nullptr;
};

// The folder part of the running executable's full path; empty when the path
// is empty (it did not fit) or names no folder.
std::string ProgramFolderOf(const std::string& modulePath);
// The program directory is always the folder of the running executable, so
// that code and the Pattern file come only from there. It is still stored as
// "plug in" for tools that read it, but never read back.
void StoreProgramFolder(const SettingsStore& store, const std::string& programFolder);

// The memory of failed plug-ins in the store (which must outlive it).
FailedPluginMemory FailedPluginMemoryIn(const SettingsStore& store);

// Details mode from "Setdialog": true only when the stored text reads as the
// number 1; nothing stored gives the short panel.
bool ReadDetailsMode(const SettingsStore& store);
void WriteDetailsMode(const SettingsStore& store, bool full);
