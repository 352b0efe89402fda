#include "app/registry_store_win.h"

#include <windows.h>

static constexpr const char* kSettingsKey = "Software\\Tavik\\vitrelle";

// Every read and write opens the key and closes it again; failures are silent.
static bool ReadRegistrySetting(void*, const char* name, std::string& value) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char text[kSettingMaxLength + 1] = "";
  DWORD size = kSettingMaxLength;
  const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return false;
  // The stored data need not end with a zero; a trailing one is not text.
  while (size > 0 && text[size - 1] == '\0') --size;
  value.assign(text, size);
  return true;
}

static void WriteRegistrySetting(void*, const char* name, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()), DWORD(value.size()));
  RegCloseKey(key);
}

static void RemoveRegistrySetting(void*, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

SettingsStore RegistrySettingsStore() {
  SettingsStore store;
  store.read = ReadRegistrySetting;
  store.write = WriteRegistrySetting;
  store.remove = RemoveRegistrySetting;
  return store;
}
