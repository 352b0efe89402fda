#include "plugins/plugin_library_win.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "base/file_io.h"
#include "plugins/plugin_blocks.h"

namespace {

// The helper that runs libraries built for the machine.
const char* HelperName(PluginMachine machine) {
  return machine == PluginMachine::kI386 ? "vitrelle-decode32.exe" : "vitrelle-decode.exe";
}
// The most one helper can say about kPluginsPerHelper libraries.
constexpr uint64_t kMaxInfoReplySize = uint64_t(kPluginsPerHelper) * (8 + (1 + 2 * kMaxPluginFormats) * (4 + kPluginInfoSize));
constexpr uint64_t kMaxPictureReplySize = 16 + 2 * uint64_t(kMaxPluginBlockSize);

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A temporary file that is removed when it goes out of scope.
struct TemporaryFile {
  char path[MAX_PATH] = {};
  bool made = false;
  TemporaryFile() {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    made = length > 0 && length < MAX_PATH && GetTempFileNameA(folder, "vpb", 0, path) != 0;
  }
  ~TemporaryFile() {
    if (made) DeleteFileA(path);
  }
};

// A running helper, in a job that ends every process in it when the job's
// handle is closed, so that nothing a plug-in starts outlives the helper.
// Ending it waits until it is gone, so that its files can be read and removed.
struct Helper {
  HANDLE job = nullptr;
  HANDLE process = nullptr;
  void End() {
    if (process) {
      TerminateProcess(process, DWORD(PluginDecodeStatus::kFailed));
      WaitForSingleObject(process, kPluginTimeLimitMilliseconds);
    }
    if (job) CloseHandle(job);
    job = nullptr;
  }
  ~Helper() {
    End();
    if (process) CloseHandle(process);
  }
};

HANDLE CreateKillingJob() {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  if (job && !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    job = nullptr;
  }
  return job;
}

enum class HelperStart { kStarted, kMissing, kRefused };

// Starts the helper for the machine with the arguments after its name: it
// is missing when its file is not there, refused when the system cannot run
// it (a 32-bit one on a system without 32-bit support). Where no job can be
// made (a system that refuses nested jobs), the helper still runs and is
// still ended on time.
HelperStart StartHelper(Helper& helper, const std::string& programFolder, PluginMachine machine,
                        const std::string& arguments, bool inheritHandles) {
  const std::string exe = PathInFolder(programFolder, HelperName(machine));
  std::string commandLine = Quoted(exe) + " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles,
                      CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, programFolder.c_str(), &startup, &process)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? HelperStart::kMissing
                                                                          : HelperStart::kRefused;
  }
  helper.process = process.hProcess;
  helper.job = CreateKillingJob();
  if (helper.job && !AssignProcessToJobObject(helper.job, process.hProcess)) {
    CloseHandle(helper.job);
    helper.job = nullptr;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  return HelperStart::kStarted;
}

// Waits until the helper ends, at most the time limit, which starts again
// each time the helper signals progress (when it has a progress event);
// `signalled` tells whether it ever did.
// Meanwhile the thread's windows are repainted (first what the closed Open
// dialog uncovered) and messages that other programs send are answered, so
// that a slow plug-in leaves the program drawn and responding; input waits
// in the queue until the file is decided.
bool HelperEndsInTime(HANDLE process, HANDLE progress, DWORD limit, bool& signalled) {
  const HANDLE handles[2] = {process, progress};
  const DWORD count = progress ? 2 : 1;
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limit) return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    const DWORD woken = MsgWaitForMultipleObjects(count, handles, FALSE, limit - elapsed, QS_PAINT | QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0) return true;
    if (count == 2 && woken == WAIT_OBJECT_0 + 1) {
      signalled = true;
      start = GetTickCount();
    } else if (woken != WAIT_OBJECT_0 + count) {
      return false;
    }
  }
}

// The exit code of a helper that ended in time; the helper is ended either way.
DWORD RunToEnd(Helper& helper, HANDLE progress, DWORD limit, bool& signalled) {
  DWORD exitCode = DWORD(PluginDecodeStatus::kFailed);
  if (HelperEndsInTime(helper.process, progress, limit, signalled)) GetExitCodeProcess(helper.process, &exitCode);
  helper.End();
  return exitCode;
}

// A reply file's bytes; false when it cannot be read, is empty or larger than
// the helper can have meant, or there is no memory for it.
bool ReadReply(const char* replyPath, uint64_t limit, std::vector<uint8_t>& reply) {
  return ReadFileBytes(replyPath, reply, limit) && !reply.empty();
}

struct HelperContext {
  const std::string& programFolder;
};

// One helper asks the libraries in turn; it signals once it runs and after
// each answer, and each library has its own time limit. A helper that ends
// without ever signalling never ran: the system could start its process but
// not run it (a 64-bit Wine without its 32-bit part).
PluginHelperRun AskInHelper(void* context, PluginMachine machine, const std::vector<std::string>& names) {
  const std::string& folder = static_cast<HelperContext*>(context)->programFolder;
  PluginHelperRun run;
  TemporaryFile reply;
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE progress = CreateEventA(&inheritable, FALSE, FALSE, nullptr);
  if (reply.made && progress) {
    std::string arguments = "--info ";
    arguments += Quoted(reply.path) + " " + std::to_string(uintptr_t(progress));
    for (const std::string& name : names) arguments += Quoted(PathInFolder(folder, name)).insert(0, 1, ' ');
    Helper helper;
    const HelperStart start = StartHelper(helper, folder, machine, arguments, true);
    run.refused = start == HelperStart::kRefused;
    if (start == HelperStart::kStarted) {
      // A helper that cannot write its reply blames no plug-in.
      bool signalled = false;
      run.started = RunToEnd(helper, progress, kPluginInfoTimeLimitMilliseconds, signalled) !=
                    DWORD(PluginDecodeStatus::kBadArguments);
      run.refused = !signalled;
      std::vector<uint8_t> bytes;
      if (ReadReply(reply.path, kMaxInfoReplySize, bytes)) run.answers = DecodePluginAnswers(bytes.data(), bytes.size());
    }
  }
  if (progress) CloseHandle(progress);
  return run;
}

// The processor a library is built for, from its first bytes.
PluginMachine ReadPluginMachine(const std::string& path) {
  uint8_t header[kPluginHeaderReadSize];
  FilePtr file = OpenFile(path.c_str(), "rb");
  return file ? PluginMachineOf(header, std::fread(header, 1, sizeof header, file.get())) : PluginMachine::kNone;
}

// The "*.spi" files of the folder, in listing order, with their sizes, write
// times and processors; none whose full path would not fit.
std::vector<PluginFile> ListPluginFiles(const std::string& folder) {
  std::vector<PluginFile> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(PathInFolder(folder, "*.spi").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = PathInFolder(folder, found.cFileName);
    if (path.size() > kMaxPluginPathLength) continue;
    files.push_back({found.cFileName, uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow,
                     uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32 | found.ftLastWriteTime.dwLowDateTime,
                     ReadPluginMachine(path)});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

// One plug-in's picture of the file: decoded in the helper, its blocks
// checked and joined (the caller holds it); none on any failure of the plug-in.
DibImagePtr DecodeInHelper(void* context, const PluginEntry& plugin, const char* path) {
  const std::string& folder = static_cast<HelperContext*>(context)->programFolder;
  TemporaryFile reply;
  if (!reply.made) return nullptr;
  Helper helper;
  const std::string arguments =
      Quoted(PathInFolder(folder, plugin.fileName)) + " " + Quoted(path) + " " + Quoted(reply.path);
  std::vector<uint8_t> bytes;
  bool unused = false;
  if (StartHelper(helper, folder, plugin.machine, arguments, false) != HelperStart::kStarted ||
      RunToEnd(helper, nullptr, kPluginTimeLimitMilliseconds, unused) != DWORD(PluginDecodeStatus::kDelivered) ||
      !ReadReply(reply.path, kMaxPictureReplySize, bytes))
    return nullptr;
  return DecodePluginReply(bytes.data(), bytes.size());
}

}  // namespace

void DiscoverPlugins(PluginTable& table, const std::string& programFolder, const FailedPluginMemory& memory) {
  if (!IsPluginFolder(programFolder)) return;
  HelperContext context{programFolder};
  DiscoverPluginFiles(table, ListPluginFiles(programFolder), AskInHelper, &context, memory);
}

DibImagePtr LoadPictureThroughPlugins(const PluginTable& table, const std::string& programFolder,
                                      const char* path) {
  HelperContext context{programFolder};
  return LoadThroughPlugins(table, path, DecodeInHelper, &context);
}
