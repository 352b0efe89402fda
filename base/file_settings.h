// What the user set on a file, which the safe writer gives the new version
// of it: its permissions, or on Windows its attributes.
#pragma once

#include <filesystem>

// Gives `newFile` what the user set on `oldFile`: on POSIX systems its
// permission bits, on Windows its hidden, system and not-indexed attributes
// (read-only is not copied: such a file is not replaced, and the new file
// must stay removable). Nothing when there is no old file; where the system
// takes none of them, the new file keeps its defaults.
void KeepFileSettings(const std::filesystem::path& oldFile, const std::filesystem::path& newFile);
