#include "plugins/plugin_library_win.h"

#include <windows.h>

#include <memory>
#include <new>

#include "base/file_io.h"
#include "plugins/plugin_blocks.h"

namespace {

constexpr char kHelperName[] = "vitrelle-decode.exe";

using GetPluginInfoProc = int(WINAPI*)(int number, LPSTR buffer, int length);

int AskLibrary(void* module, int number, char* buffer, int length) {
  auto info = reinterpret_cast<GetPluginInfoProc>(
      reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), "GetPluginInfo")));
  return info ? info(number, buffer, length) : 0;
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// A library that fails to load shows no message box of its own.
HMODULE LoadQuietly(const std::string& path) {
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  SetErrorMode(oldMode);
  return module;
}

// Offers one library to the table; false once the table is full.
bool OfferLibrary(PluginTable& table, const std::string& folder, const std::string& name) {
  HMODULE module = LoadQuietly(InFolder(folder, name));
  if (!module) return true;
  if (!GetProcAddress(module, "GetPluginInfo")) {
    FreeLibrary(module);
    return true;
  }
  const PluginOffer offer = OfferPlugin(table, module, name);
  if (offer != PluginOffer::kAccepted) FreeLibrary(module);
  return offer != PluginOffer::kTableFull;
}

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

// Waits until the helper ends, at most the time limit. Meanwhile the
// thread's windows are repainted (first what the closed Open dialog
// uncovered) and messages that other programs send are answered, so that a
// slow plug-in leaves the program drawn and responding; input waits in the
// queue until the file is decided.
bool HelperEndsInTime(HANDLE process) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= kPluginTimeLimitMilliseconds) return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    const DWORD woken =
        MsgWaitForMultipleObjects(1, &process, FALSE, kPluginTimeLimitMilliseconds - elapsed, QS_PAINT | QS_SENDMESSAGE);
    if (woken != WAIT_OBJECT_0 + 1) return woken == WAIT_OBJECT_0;
  }
}

// Runs the helper on one plug-in and one file; true when it ended in time
// and says it wrote the picture into the reply file.
bool RunHelper(const std::string& programFolder, const std::string& pluginPath, const char* path,
               const char* replyPath) {
  const std::string helper = InFolder(programFolder, kHelperName);
  std::string commandLine = "\"" + helper + "\" \"" + pluginPath + "\" \"" + path + "\" \"" + replyPath + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      programFolder.c_str(), &startup, &process))
    return false;
  CloseHandle(process.hThread);
  DWORD exitCode = 1;
  if (HelperEndsInTime(process.hProcess)) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kPluginTimeLimitMilliseconds);
  }
  CloseHandle(process.hProcess);
  return exitCode == DWORD(PluginDecodeStatus::kDelivered);
}

// The reply file's bytes; none when it cannot be read or there is no memory
// for it (a failure of that plug-in, not of the program).
struct Reply {
  std::unique_ptr<uint8_t[]> bytes;
  size_t size = 0;
};

bool ReadReply(const char* replyPath, Reply& reply) {
  FilePtr file = OpenFile(replyPath, "rb");
  if (!file) return false;
  const long long size = FileSizeOf(file.get());
  if (size <= 0 || uint64_t(size) > 16 + 2 * uint64_t(kMaxPluginBlockSize)) return false;
  reply.size = size_t(size);
  reply.bytes.reset(new (std::nothrow) uint8_t[reply.size]);
  return reply.bytes && std::fread(reply.bytes.get(), 1, reply.size, file.get()) == reply.size;
}

struct DecodeContext {
  const std::string& programFolder;
};

// One plug-in's picture of the file: decoded in the helper, its blocks
// checked and joined (the caller holds it); none on any failure of the plug-in.
DibImagePtr DecodeInHelper(void* context, const PluginEntry& plugin, const char* path) {
  const std::string& folder = static_cast<DecodeContext*>(context)->programFolder;
  TemporaryFile reply;
  Reply bytes;
  if (!reply.made || !RunHelper(folder, InFolder(folder, plugin.fileName), path, reply.path) ||
      !ReadReply(reply.path, bytes))
    return nullptr;
  return DecodePluginReply(bytes.bytes.get(), bytes.size);
}

}  // namespace

void DiscoverPlugins(PluginTable& table, const std::string& programFolder) {
  table.info = AskLibrary;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(InFolder(programFolder, "*.spi").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!OfferLibrary(table, programFolder, found.cFileName)) break;
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void UnloadPlugins(PluginTable& table) {
  for (int i = 0; i < table.count; ++i) FreeLibrary(static_cast<HMODULE>(table.entries[i].module));
  table.count = 0;
}

DibImagePtr LoadPictureThroughPlugins(const PluginTable& table, const std::string& programFolder,
                                      const char* path) {
  DecodeContext context{programFolder};
  return LoadThroughPlugins(table, path, DecodeInHelper, &context);
}
