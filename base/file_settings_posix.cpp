#include "base/file_settings.h"

void KeepFileSettings(const std::filesystem::path& oldFile, const std::filesystem::path& newFile) {
  std::error_code error;
  const std::filesystem::file_status old = std::filesystem::status(oldFile, error);
  if (std::filesystem::exists(old)) std::filesystem::permissions(newFile, old.permissions(), error);
}
