#include "base/file_settings.h"

#include <windows.h>

void KeepFileSettings(const std::filesystem::path& oldFile, const std::filesystem::path& newFile) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD oldAttributes = GetFileAttributesW(oldFile.c_str()), newAttributes = GetFileAttributesW(newFile.c_str());
  if (oldAttributes == INVALID_FILE_ATTRIBUTES || newAttributes == INVALID_FILE_ATTRIBUTES) return;
  if (oldAttributes & kKept) SetFileAttributesW(newFile.c_str(), newAttributes | (oldAttributes & kKept));
}
