// vitrelle-decode.exe: decodes one file with one image-loader plug-in, away
// from the program, so that a plug-in that crashes or hangs takes only this
// process down.
//
//   vitrelle-decode.exe PLUGIN-PATH FILE-PATH REPLY-PATH
//
// Loads the plug-in, hands IsSupported the file's first 2 KB and GetPicture
// the path, and writes both returned blocks to the reply file (see
// plugin_blocks.h). The exit code is a PluginDecodeStatus.
#include <windows.h>

#include <cstdio>

#include "base/file_io.h"
#include "plugins/plugin_blocks.h"

namespace {

using IsSupportedProc = int(WINAPI*)(LPCSTR path, DWORD head);
using GetPictureProc = int(WINAPI*)(LPCSTR path, LONG offset, UINT flags, HLOCAL* header, HLOCAL* pixels,
                                    FARPROC progress, LONG userData);

struct Library {
  IsSupportedProc isSupported;
  GetPictureProc getPicture;
};

int CallIsSupported(void* context, const char* path, const uint8_t* head) {
  return static_cast<Library*>(context)->isSupported(path, DWORD(reinterpret_cast<uintptr_t>(head)));
}

int CallGetPicture(void* context, const char* path, void** header, void** pixels) {
  return static_cast<Library*>(context)->getPicture(path, 0, 0, reinterpret_cast<HLOCAL*>(header),
                                                    reinterpret_cast<HLOCAL*>(pixels), nullptr, 0);
}

// A crash inside the plug-in ends this process at once, with no debugger or
// error box to wait for.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*) {
  ExitProcess(DWORD(PluginDecodeStatus::kFailed));
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
  if (argc != 4) return int(PluginDecodeStatus::kBadArguments);
  HMODULE module = LoadLibraryA(argv[1]);
  if (!module) return int(PluginDecodeStatus::kBadArguments);

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
  return int(status);
}
