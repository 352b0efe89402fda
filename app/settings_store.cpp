#include "app/settings_store.h"

#include "generator/pattern_file.h"

std::string FindProgramFolder(const SettingsStore& store, const FolderFacts& facts) {
  if (facts.holdsProgram(facts.currentFolder)) {
    store.write(store.context, kProgramFolderSetting, facts.currentFolder);
    return facts.currentFolder;
  }
  std::string stored;
  if (store.read(store.context, kProgramFolderSetting, stored) && facts.holdsProgram(stored)) return stored;
  return facts.runningFolder;
}

bool ReadDetailsMode(const SettingsStore& store) {
  std::string value = "0";
  store.read(store.context, kDetailsSetting, value);
  return ParseNumber(value) == 1;
}

void WriteDetailsMode(const SettingsStore& store, bool full) {
  store.write(store.context, kDetailsSetting, full ? "1" : "0");
}
