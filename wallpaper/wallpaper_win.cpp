#include "wallpaper/wallpaper_win.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "generator/screen_sizes_win.h"

#include "base/file_io.h"
#include "base/texts.h"

WallpaperPlaces SystemWallpaperPlaces() {
  WallpaperPlaces places;
  char folder[MAX_PATH] = "";
  const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) places.windowsFolder = folder;
  if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) {
    places.userFolder = PathInFolder(folder, "Vitrelle");
  }
  return places;
}

constexpr const char* kDesktopKey = "Control Panel\\desktop";

static bool ReadDesktopValue(void*, const char* name, std::string& data) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  char value[MAX_PATH] = "";
  DWORD type = 0, size = sizeof value - 1;
  const bool found = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                         ERROR_SUCCESS &&
                     type == REG_SZ;
  RegCloseKey(key);
  if (found) data.assign(value, strnlen(value, size));
  return found;
}

// The key is opened, made if missing, with the right to set values only; when
// that fails the value is not written.
static void WriteDesktopValue(void*, const char* name, const char* data) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  if (data) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), DWORD(std::strlen(data) + 1));
  } else {
    RegDeleteValueA(key, name);
  }
  RegCloseKey(key);
}

static bool SetDesktopWallpaper(void*, const char* fileName) {
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(fileName),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

// The Option dialog: bitmap files only; the file need not exist.
static bool ChooseBitmapFile(void* context, std::string& fileName) {
  const auto* desktop = static_cast<const SystemDesktop*>(context);
  char file[512] = "";
  char fileTitle[512] = "";
  fileName.copy(file, MAX_PATH - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = desktop->owner;
  dialog.lpstrFilter = "Bitmap Files (*.BMP)\0*.bmp\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = sizeof fileTitle;
  dialog.lpstrInitialDir = desktop->initialFolder.c_str();
  dialog.lpstrTitle = TextOf(IDS_OPTION_TITLE);
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = "bmp";
  if (!GetOpenFileNameA(&dialog)) return false;
  fileName = file;
  return true;
}

namespace {

// COM on this thread for the span of a call, and the desktop's wallpaper
// interface; `wallpaper` is null where the system has none (as under Wine).
struct DesktopWallpaperInterface {
  bool initialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  IDesktopWallpaper* wallpaper = nullptr;
  DesktopWallpaperInterface() {
    if (FAILED(CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                reinterpret_cast<void**>(&wallpaper)))) {
      wallpaper = nullptr;
    }
  }
  ~DesktopWallpaperInterface() {
    if (wallpaper) wallpaper->Release();
    if (initialized) CoUninitialize();
  }
  DesktopWallpaperInterface(const DesktopWallpaperInterface&) = delete;
  DesktopWallpaperInterface& operator=(const DesktopWallpaperInterface&) = delete;
};

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), int(wide.size()));
  wide.resize(length > 0 ? size_t(length - 1) : 0);
  return wide;
}

// Takes a text the interface allocated, and frees it.
std::string TakeNarrow(LPWSTR text) {
  std::string narrow;
  if (!text) return narrow;
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size > 1) {
    narrow.resize(size_t(size));
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(size_t(size - 1));
  }
  CoTaskMemFree(text);
  return narrow;
}

// The attached monitors in the same pixels as MeasureScreenLayout; a
// detached monitor has no rectangle.
bool ListWallpaperMonitors(void*, std::vector<DesktopMonitor>& monitors) {
  PerMonitorPixels awareness;
  DesktopWallpaperInterface desktop;
  UINT count = 0;
  if (!desktop.wallpaper || FAILED(desktop.wallpaper->GetMonitorDevicePathCount(&count))) return false;
  for (UINT i = 0; i < count; ++i) {
    LPWSTR path = nullptr;
    if (FAILED(desktop.wallpaper->GetMonitorDevicePathAt(i, &path))) continue;
    RECT rect = {};
    LPWSTR shown = nullptr;
    const bool attached = SUCCEEDED(desktop.wallpaper->GetMonitorRECT(path, &rect)) && rect.right > rect.left &&
                          rect.bottom > rect.top;
    if (attached) desktop.wallpaper->GetWallpaper(path, &shown);
    DesktopMonitor monitor;
    monitor.path = TakeNarrow(path);
    monitor.wallpaper = TakeNarrow(shown);
    monitor.place = {monitor.path, int(rect.left), int(rect.top), int(rect.right - rect.left), int(rect.bottom - rect.top)};
    if (attached) monitors.push_back(monitor);
  }
  return true;
}

MonitorAnswer SetMonitorWallpaper(void*, const std::string& monitor, const std::string& fileName,
                                  WallpaperArrangement arrangement) {
  DesktopWallpaperInterface desktop;
  if (!desktop.wallpaper) return MonitorAnswer::kNotYet;
  HRESULT result =
      desktop.wallpaper->SetPosition(arrangement == WallpaperArrangement::Tiled ? DWPOS_TILE : DWPOS_CENTER);
  if (SUCCEEDED(result)) result = desktop.wallpaper->SetWallpaper(Wide(monitor).c_str(), Wide(fileName).c_str());
  return SUCCEEDED(result) ? MonitorAnswer::kTaken : result == E_FAIL ? MonitorAnswer::kNotYet : MonitorAnswer::kRefused;
}

}  // namespace

DesktopCalls SystemDesktopCalls(SystemDesktop& desktop) {
  DesktopCalls calls;
  calls.context = &desktop;
  calls.readValue = ReadDesktopValue;
  calls.writeValue = WriteDesktopValue;
  calls.setWallpaper = SetDesktopWallpaper;
  calls.chooseFile = ChooseBitmapFile;
  calls.measureScreens = [](void*) { return MeasureScreens(); };
  calls.listMonitors = ListWallpaperMonitors;
  calls.setMonitorWallpaper = SetMonitorWallpaper;
  calls.pause = [](void*, int milliseconds) { Sleep(DWORD(milliseconds)); };
  return calls;
}
