// The settings store in the registry: text values under
// HKEY_CURRENT_USER\Software\Tavik\vitrelle.
#pragma once

#include "app/settings_store.h"

SettingsStore RegistrySettingsStore();
