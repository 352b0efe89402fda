#include "app/settings_store.h"

#include "generator/pattern_file.h"

namespace {

const SettingsStore& StoreOf(void* context) { return *static_cast<const SettingsStore*>(context); }

std::string FailedPluginSetting(const std::string& name) { return kFailedPluginSettingPrefix + name; }

}  // namespace

std::string ProgramFolderOf(const std::string& modulePath) {
  const size_t slash = modulePath.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : modulePath.substr(0, slash);
}

void StoreProgramFolder(const SettingsStore& store, const std::string& programFolder) {
  if (!programFolder.empty()) store.write(store.context, kProgramFolderSetting, programFolder);
}

FailedPluginMemory FailedPluginMemoryIn(const SettingsStore& store) {
  FailedPluginMemory memory;
  memory.context = const_cast<SettingsStore*>(&store);
  memory.recall = [](void* context, const std::string& name, std::string& stamp) {
    return StoreOf(context).read(StoreOf(context).context, FailedPluginSetting(name).c_str(), stamp);
  };
  memory.remember = [](void* context, const std::string& name, const std::string& stamp) {
    StoreOf(context).write(StoreOf(context).context, FailedPluginSetting(name).c_str(), stamp);
  };
  memory.forget = [](void* context, const std::string& name) {
    if (StoreOf(context).remove) StoreOf(context).remove(StoreOf(context).context, FailedPluginSetting(name).c_str());
  };
  return memory;
}

bool ReadDetailsMode(const SettingsStore& store) {
  std::string value = "0";
  store.read(store.context, kDetailsSetting, value);
  return ParseNumber(value) == 1;
}

void WriteDetailsMode(const SettingsStore& store, bool full) {
  store.write(store.context, kDetailsSetting, full ? "1" : "0");
}
