#include "wallpaper/wallpaper_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

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

DesktopCalls SystemDesktopCalls(SystemDesktop& desktop) {
  DesktopCalls calls;
  calls.context = &desktop;
  calls.readValue = ReadDesktopValue;
  calls.writeValue = WriteDesktopValue;
  calls.setWallpaper = SetDesktopWallpaper;
  calls.chooseFile = ChooseBitmapFile;
  calls.measureScreens = [](void*) { return MeasureScreens(); };
  return calls;
}
