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
//
// Each library is asked by the helper built for its processor (read from its
// PE header): 64-bit ones by vitrelle-decode.exe, 32-bit ones by
// vitrelle-decode32.exe. A library of any other processor is left out
// without starting anything; when the helper for a library cannot run at
// all (a system without 32-bit support), the library is left out and
// remembered as failed, with that reason.
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

// The processor of a PE file, from its first bytes (all of them up to the
// machine field of its PE header); kNone when they do not hold such a header.
PluginMachine PluginMachineOf(const uint8_t* bytes, size_t size);
// How many first bytes of a library PluginMachineOf reads at the most: a
// header placed further in is not taken.
constexpr size_t kPluginHeaderReadSize = 4096;

// A "*.spi" file of the program folder.
struct PluginFile {
  std::string name;
  uint64_t size = 0;
  uint64_t writeTime = 0;
  PluginMachine machine = PluginMachine::kX64;
};

// What stands for a file's version in the memory of failed plug-ins; the
// stored record is the stamp, then a comma and why the library failed.
std::string PluginFileStamp(const PluginFile& file);
// Why a library was left out, as its record says.
constexpr char kPluginFailedWhileAsked[] = "crashed or hung when asked";
constexpr char kPluginHelperCannotStart[] = "its helper cannot run on this system";

// The per-user memory of the plug-ins that failed; null functions remember nothing.
struct FailedPluginMemory {
  void* context = nullptr;
  // The stamp stored for the file name; false when none is.
  bool (*recall)(void* context, const std::string& name, std::string& stamp) = nullptr;
  void (*remember)(void* context, const std::string& name, const std::string& stamp) = nullptr;
  void (*forget)(void* context, const std::string& name) = nullptr;
};

// One helper's work on a list of libraries: whether it started and could
// reply, whether the system could not run it at all (it never began its
// work), and the answers it gave, in list order, before it ended or was ended.
struct PluginHelperRun {
  bool started = false;
  bool refused = false;
  std::vector<PluginAnswers> answers;
};
using AskPluginsFunction = PluginHelperRun (*)(void* context, PluginMachine machine,
                                               const std::vector<std::string>& names);

// Offers the files to the table in their order, each asked through the
// helper of its processor unless it is remembered as failed with the same
// stamp. When a helper is missing or cannot write its reply, nothing more is
// asked of it and nothing remembered; when the system cannot run it, its
// libraries are remembered with that reason.
void DiscoverPluginFiles(PluginTable& table, const std::vector<PluginFile>& files, AskPluginsFunction ask,
                         void* context, const FailedPluginMemory& memory);
