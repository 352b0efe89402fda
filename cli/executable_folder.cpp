#include "cli/executable_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/file_io.h"

std::string ExecutableFolder(const char* argv0) {
#ifdef _WIN32
  // The C runtime keeps the full path of the program.
  if (_pgmptr && *_pgmptr) return FolderOf(_pgmptr);
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path().string();
#endif
  return FolderOf(argv0 ? argv0 : "");
}
