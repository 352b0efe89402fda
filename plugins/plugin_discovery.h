// Finding the plug-ins at start-up without running their code in the
// program: the helper process asks each library of a list in turn and
// appends its answers to a reply file, one record per library, so that the
// program sees how far it came. A library that ends the helper (a crash) or
// keeps it past its time limit (a hang) is left out and remembered by its
// file's name, size and write time, and is not asked again until the file
// changes; the libraries after it are asked in a new helper.
//
// A record of the reply:
//   offset 0  "VPI1"
//   offset 4  u32 n, the number of texts
//   offset 8  n times: u32 length, then that many bytes
// The texts are the version, then pattern and description of each format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/plugin_table.h"

// How many libraries one helper is asked about (it keeps its command line short).
constexpr size_t kPluginsPerHelper = 16;
// The longest full path of a library or of the search pattern, zero excluded.
constexpr size_t kMaxPluginPathLength = 259;

// Whether plug-ins may be searched in the folder: a full path (drive or
// network share) whose "\*.spi" pattern fits. Nothing relative, so that no
// library is ever found through the current directory.
bool IsPluginFolder(const std::string& folder);

std::vector<uint8_t> EncodePluginAnswers(const PluginAnswers& answers);
// The answers of every whole record at the start of the reply, in order; a
// record that is cut short or does not hold what its sizes say ends them.
std::vector<PluginAnswers> DecodePluginAnswers(const uint8_t* reply, size_t size);

// A "*.spi" file of the program folder.
struct PluginFile {
  std::string name;
  uint64_t size = 0;
  uint64_t writeTime = 0;
};

// What stands for a file's version in the memory of failed plug-ins.
std::string PluginFileStamp(const PluginFile& file);

// The per-user memory of the plug-ins that failed; null functions remember nothing.
struct FailedPluginMemory {
  void* context = nullptr;
  // The stamp stored for the file name; false when none is.
  bool (*recall)(void* context, const std::string& name, std::string& stamp) = nullptr;
  void (*remember)(void* context, const std::string& name, const std::string& stamp) = nullptr;
  void (*forget)(void* context, const std::string& name) = nullptr;
};

// One helper's work on a list of libraries: whether it could be started at
// all, and the answers it gave, in list order, before it ended or was ended.
struct PluginHelperRun {
  bool started = false;
  std::vector<PluginAnswers> answers;
};
using AskPluginsFunction = PluginHelperRun (*)(void* context, const std::vector<std::string>& names);

// Offers the files to the table in their order, each asked through the
// helper unless it is remembered as failed with the same stamp. When the
// helper cannot be started, nothing more is asked and nothing remembered.
void DiscoverPluginFiles(PluginTable& table, const std::vector<PluginFile>& files, AskPluginsFunction ask,
                         void* context, const FailedPluginMemory& memory);
