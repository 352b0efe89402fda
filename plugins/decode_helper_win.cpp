// vitrelle-decode.exe: runs image-loader plug-ins away from the program, so
// that a plug-in that crashes or hangs takes only this process down.
//
//   vitrelle-decode.exe PLUGIN-PATH FILE-PATH REPLY-PATH
//
// Loads the plug-in, hands IsSupported the file's first 2 KB and GetPicture
// the path, and writes both returned blocks to the reply file (see
// plugin_blocks.h). The exit code is a PluginDecodeStatus.
//
//   vitrelle-decode.exe --info REPLY-PATH PROGRESS-EVENT PLUGIN-PATH...
//
// Signals the inherited event once it runs, then loads each plug-in in turn,
// appends its answers to the reply file (see plugin_discovery.h) and signals
// again, so that the program knows that it runs and which plug-in it is at. Exit code 0, or kBadArguments when the reply
// cannot be written.
//
// Names arrive in UTF-8 (the program's code page, and by its manifest this
// helper's too). The process always ends without running the plug-ins'
// unload code, which may crash or hang as well.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/file_io.h"
#include "plugins/plugin_blocks.h"
#include "plugins/plugin_discovery.h"
#include "plugins/plugin_interface_win.h"

namespace {

struct Library {
  IsSupportedProc isSupported;
  GetPictureProc getPicture;
};

int CallIsSupported(void* context, const char* path, const uint8_t* head) {
  return static_cast<Library*>(context)->isSupported(path, reinterpret_cast<DWORD_PTR>(head));
}

int CallGetPicture(void* context, const char* path, void** header, void** pixels) {
  return static_cast<Library*>(context)->getPicture(path, 0, 0, reinterpret_cast<HLOCAL*>(header),
                                                    reinterpret_cast<HLOCAL*>(pixels), nullptr, 0);
}

[[noreturn]] void EndNow(PluginDecodeStatus status) {
  TerminateProcess(GetCurrentProcess(), DWORD(status));
  ExitProcess(DWORD(status));
}

// A crash inside the plug-in ends this process at once, with no debugger or
// error box to wait for.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*) { EndNow(PluginDecodeStatus::kFailed); }

int CallGetPluginInfo(void* function, int number, char* buffer, int length) {
  return reinterpret_cast<GetPluginInfoProc>(function)(number, buffer, length);
}

// The answers of one library; empty ones when it is no plug-in.
PluginAnswers AskLibrary(const char* path) {
  HMODULE module = LoadLibraryA(path);
  void* info = module ? reinterpret_cast<void*>(GetProcAddress(module, "GetPluginInfo")) : nullptr;
  return info ? AskPluginAnswers(CallGetPluginInfo, info) : PluginAnswers{};
}

bool AppendAnswers(const char* path, const PluginAnswers& answers) {
  const std::vector<uint8_t> record = EncodePluginAnswers(answers);
  FilePtr file = OpenFile(path, "ab");
  return file && std::fwrite(record.data(), 1, record.size(), file.get()) == record.size() &&
         std::fflush(file.get()) == 0;
}

[[noreturn]] void AskPlugins(int count, char** arguments) {
  if (count < 2) EndNow(PluginDecodeStatus::kBadArguments);
  const char* replyPath = arguments[0];
  HANDLE progress = reinterpret_cast<HANDLE>(uintptr_t(std::strtoull(arguments[1], nullptr, 10)));
  SetEvent(progress);  // it runs
  for (int i = 2; i < count; ++i) {
    if (!AppendAnswers(replyPath, AskLibrary(arguments[i]))) EndNow(PluginDecodeStatus::kBadArguments);
    SetEvent(progress);
  }
  EndNow(PluginDecodeStatus::kDelivered);
}

// The file's first 2 KB, zero-filled past its end (all zero when it cannot be read).
void ReadHead(const char* path, uint8_t* head) {
  FilePtr file = OpenFile(path, "rb");
  if (file) std::fread(head, 1, kPluginHeadSize, file.get());
}

bool WriteReply(const char* path, const std::vector<uint8_t>& reply) {
  FilePtr file = OpenFile(path, "wb");
  return file && std::fwrite(reply.data(), 1, reply.size(), file.get()) == reply.size() &&
         std::fflush(file.get()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(EndOnCrash);
  if (argc >= 2 && std::strcmp(argv[1], "--info") == 0) AskPlugins(argc - 2, argv + 2);
  if (argc != 4) EndNow(PluginDecodeStatus::kBadArguments);
  HMODULE module = LoadLibraryA(argv[1]);
  if (!module) EndNow(PluginDecodeStatus::kBadArguments);

  Library library = {reinterpret_cast<IsSupportedProc>(reinterpret_cast<void*>(GetProcAddress(module, "IsSupported"))),
                     reinterpret_cast<GetPictureProc>(reinterpret_cast<void*>(GetProcAddress(module, "GetPicture")))};
  PluginDecodeCalls calls;
  calls.context = &library;
  if (library.isSupported) calls.isSupported = CallIsSupported;
  if (library.getPicture) calls.getPicture = CallGetPicture;
  calls.blockSize = [](void*, void* block) -> size_t { return LocalSize(block); };
  calls.lock = [](void*, void* block) { return static_cast<const uint8_t*>(LocalLock(block)); };
  calls.unlock = [](void*, void* block) { LocalUnlock(block); };
  calls.release = [](void*, void* block) { LocalFree(block); };

  uint8_t head[kPluginHeadSize] = {};
  ReadHead(argv[2], head);
  std::vector<uint8_t> reply;
  PluginDecodeStatus status = DecodeWithPlugin(calls, argv[2], head, reply);
  if (status == PluginDecodeStatus::kDelivered && !WriteReply(argv[3], reply)) status = PluginDecodeStatus::kUnusable;
  EndNow(status);
}
