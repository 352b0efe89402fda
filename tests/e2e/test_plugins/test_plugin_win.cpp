// Plug-ins for the end-to-end tests, one source built four times:
//
//   TEST_PLUGIN_TWO_FORMATS  reads the two test formats below, and takes any
//                            file named *.bmp or *.gif as well (as a 7 x 5
//                            picture), to show which files reach plug-ins
//   TEST_PLUGIN_WRONG_VERSION  answers information 0 with "00XX"
//   TEST_PLUGIN_CRASH        takes *.crash files and crashes in GetPicture
//   TEST_PLUGIN_HANG         takes *.hang files and never returns from
//                            GetPicture, after starting a second helper
//                            that does the same (without a third)
//   TEST_PLUGIN_MARKER       writes the file NAME.loaded beside itself
//                            (NAME being its own file name) as soon as it
//                            is loaded, to show that and where it was
//   TEST_PLUGIN_CRASH_AT_START  crashes as soon as it is loaded
//   TEST_PLUGIN_HANG_AT_START   writes its marker as well, then never
//                            returns from being loaded
//
// A test picture file: "VT1" or "VT2", a byte 0, u16 width, u16 height, then
// blue, green, red: one colour for the whole 24-bit picture.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "plugins/plugin_interface_win.h"

namespace {

#if defined(TEST_PLUGIN_TWO_FORMATS)
const char kVersion[] = "00IN";
const char* const kInfo[] = {"*.vt1", "Test One Pictures", "*.vt2;*.vtt", "Test Two Pictures"};
#elif defined(TEST_PLUGIN_WRONG_VERSION)
const char kVersion[] = "00XX";
const char* const kInfo[] = {"*.wrong", "Wrong Version Pictures"};
#elif defined(TEST_PLUGIN_CRASH)
const char kVersion[] = "00IN";
const char* const kInfo[] = {"*.crash", "Crash Pictures"};
#elif defined(TEST_PLUGIN_HANG)
const char kVersion[] = "00IN";
const char* const kInfo[] = {"*.hang", "Hang Pictures"};
#else
const char kVersion[] = "00IN";
const char* const kInfo[] = {"*.start", "Start-up Pictures"};
#endif
constexpr int kInfoCount = int(sizeof kInfo / sizeof kInfo[0]);

bool EndsWith(const char* text, const char* end) {
  const size_t length = std::strlen(text), endLength = std::strlen(end);
  return length >= endLength && lstrcmpiA(text + length - endLength, end) == 0;
}

// A solid 24-bit picture as the two blocks.
int MakePicture(int width, int height, const uint8_t* bgr, HLOCAL* header, HLOCAL* pixels) {
  const int stride = (width * 3 + 3) / 4 * 4;
  *header = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
  *pixels = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size_t(stride) * height);
  auto* info = static_cast<BITMAPINFOHEADER*>(LocalLock(*header));
  info->biSize = sizeof(BITMAPINFOHEADER);
  info->biWidth = width;
  info->biHeight = height;
  info->biPlanes = 1;
  info->biBitCount = 24;
  LocalUnlock(*header);
  auto* rows = static_cast<uint8_t*>(LocalLock(*pixels));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) std::memcpy(rows + y * stride + 3 * x, bgr, 3);
  LocalUnlock(*pixels);
  return 0;
}

#if defined(TEST_PLUGIN_HANG)
// Starts the helper that runs this plug-in once more, with the same
// arguments, so that a test can see whether it outlives its parent.
void StartSecondHelper() {
  if (GetEnvironmentVariableA("VITRELLE_TEST_SECOND_HELPER", nullptr, 0) != 0) return;
  SetEnvironmentVariableA("VITRELLE_TEST_SECOND_HELPER", "1");
  char commandLine[4096];
  lstrcpynA(commandLine, GetCommandLineA(), sizeof commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}
#endif

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
#if defined(TEST_PLUGIN_MARKER) || defined(TEST_PLUGIN_HANG_AT_START)
  char path[MAX_PATH + 8] = "";
  const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    lstrcatA(path, ".loaded");
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  }
#endif
#if defined(TEST_PLUGIN_CRASH_AT_START)
  *static_cast<volatile int*>(nullptr) = int(reinterpret_cast<uintptr_t>(instance));
#elif defined(TEST_PLUGIN_HANG_AT_START)
  for (;;) Sleep(1000);
#else
  (void)instance;
#endif
  return TRUE;
}

int WINAPI GetPluginInfo(int number, LPSTR buffer, int length) {
  if (number == 0) {
    lstrcpynA(buffer, kVersion, length);
    return 1;
  }
  if (number < 2 || number - 2 >= kInfoCount) return 0;
  lstrcpynA(buffer, kInfo[number - 2], length);
  return 1;
}

int WINAPI IsSupported(LPCSTR path, DWORD_PTR head) {
  const char* bytes = reinterpret_cast<const char*>(head);
#if defined(TEST_PLUGIN_TWO_FORMATS)
  return std::memcmp(bytes, "VT1", 4) == 0 || std::memcmp(bytes, "VT2", 4) == 0 || EndsWith(path, ".bmp") ||
         EndsWith(path, ".gif");
#elif defined(TEST_PLUGIN_CRASH)
  return EndsWith(path, ".crash") && bytes[0] != 1;
#elif defined(TEST_PLUGIN_HANG)
  return EndsWith(path, ".hang") && bytes[0] != 1;
#else
  return path && bytes;
#endif
}

int WINAPI GetPicture(LPCSTR path, LONG_PTR, UINT, HLOCAL* header, HLOCAL* pixels, FARPROC, LONG_PTR) {
#if defined(TEST_PLUGIN_CRASH)
  *static_cast<volatile int*>(nullptr) = *reinterpret_cast<const int*>(path);
#elif defined(TEST_PLUGIN_HANG)
  (void)path;
  StartSecondHelper();
  for (;;) Sleep(1000);
#endif
  const uint8_t gray[3] = {128, 128, 128};
  if (!EndsWith(path, ".vt1") && !EndsWith(path, ".vt2") && !EndsWith(path, ".vtt"))
    return MakePicture(7, 5, gray, header, pixels);
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  uint8_t data[11] = {};
  DWORD read = 0;
  const bool ok = file != INVALID_HANDLE_VALUE && ReadFile(file, data, sizeof data, &read, nullptr) && read == 11;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) return 3;
  return MakePicture(data[4] | data[5] << 8, data[6] | data[7] << 8, data + 8, header, pixels);
}

}  // extern "C"
