#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "image/bmp_file.h"
#include "resources/resource.h"

Program::~Program() {
  if (!process.hProcess) return;
  if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "  vitrelle.exe was still running: ended\n");
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kWaitMilliseconds);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

std::string DriverFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/"));
}

bool StartProgram(Program& program, const std::string& arguments) {
  return StartProgramIn(program, DriverFolder(), arguments);
}

static std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), int(wide.size())));
  return wide;
}

bool StartProgramIn(Program& program, const std::string& folder, const std::string& arguments,
                    const std::string& currentDirectory) {
  return StartProgramAt(program, Wide(folder + "\\vitrelle.exe"),
                        Wide(currentDirectory.empty() ? folder : currentDirectory), Wide(arguments));
}

bool StartProgramAt(Program& program, const std::wstring& exe, const std::wstring& folder,
                    const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end() + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  return CreateProcessW(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &program.process) != 0;
}

std::string MakeProgramCopy(const std::string& name) {
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  const std::string folder = std::string(temporary) + "vitrelle-" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const std::string file = folder + "\\" + found.cFileName;
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (const char* file : {"vitrelle.exe", "vitrelle.cfg"}) {
    CopyFileA((DriverFolder() + "\\" + file).c_str(), (folder + "\\" + file).c_str(), FALSE);
  }
  return folder;
}

long WaitForExit(Program& program, DWORD milliseconds) {
  if (WaitForSingleObject(program.process.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(program.process.hProcess, &code);
  return long(code);
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const std::string* title;  // any title when null
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM searchPointer) {
  auto* search = reinterpret_cast<WindowSearch*>(searchPointer);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window) || ClassOf(window) != search->className) {
    return TRUE;
  }
  if (search->title && WindowText(window) != *search->title) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindProgramWindow(const Program& program, const char* className, const std::string* title,
                       DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search{program.process.dwProcessId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

}  // namespace

HWND WaitForWindow(const Program& program, const char* className, DWORD milliseconds) {
  return FindProgramWindow(program, className, nullptr, milliseconds);
}

HWND FindChild(HWND parent, const char* className) { return FindWindowExA(parent, nullptr, className, nullptr); }

std::string WindowText(HWND window) {
  char text[1024] = "";
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      kWaitMilliseconds, &length);
  return std::string(text, length);
}

std::string ClassOf(HWND window) {
  char name[256];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void SendCommand(HWND window, int command) { PostMessageA(window, WM_COMMAND, WPARAM(command), 0); }

bool Expect(bool condition, const std::string& what) {
  if (!condition) std::fprintf(stderr, "  failed: %s\n", what.c_str());
  return condition;
}

bool ExpectEqual(const std::string& actual, const std::string& expected, const std::string& what) {
  return Expect(actual == expected, what + ": got \"" + actual + "\", expected \"" + expected + "\"");
}

bool ExpectEqual(long actual, long expected, const std::string& what) {
  return Expect(actual == expected, what + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

namespace {

// The file name box of the Explorer-style file dialog (a combo box on
// Windows, an edit box under Wine).
HWND FileNameBox(HWND fileDialog) {
  HWND box = GetDlgItem(fileDialog, 0x47C);
  return box ? box : GetDlgItem(fileDialog, 0x480);
}

}  // namespace

HWND WaitForDialog(const Program& program, const std::string& title, DWORD milliseconds) {
  return FindProgramWindow(program, "#32770", &title, milliseconds);
}

bool WaitForClose(HWND window, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(50);
  }
  return true;
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void ClickButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool IsButtonChecked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kWaitMilliseconds, &state);
  return state == BST_CHECKED;
}

void ChooseFileName(HWND fileDialog, const std::string& name) {
  SendMessageTimeoutA(FileNameBox(fileDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                      SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
  PostMessageA(fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(fileDialog, IDOK)));
}

std::string FileNameOffered(HWND fileDialog) { return WindowText(FileNameBox(fileDialog)); }

std::string UserRegistryValue(const char* key, const char* name) {
  char data[1024] = "";
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return "";
  return data;
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

COLORREF ScreenPixel(POINT screenPoint) {
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, screenPoint.x, screenPoint.y);
  ReleaseDC(nullptr, screen);
  return color;
}

void ClickAt(POINT screenPoint) {
  SetCursorPos(screenPoint.x, screenPoint.y);
  Sleep(100);
  INPUT presses[2] = {};
  presses[0].type = presses[1].type = INPUT_MOUSE;
  presses[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  presses[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, presses, sizeof(INPUT));
}

bool SendCommandAndWait(HWND window, int command) {
  return SendMessageTimeoutA(window, WM_COMMAND, WPARAM(command), 0, SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr) != 0;
}

void ChooseFileType(HWND fileDialog, int index) {
  HWND types = GetDlgItem(fileDialog, 0x470);
  SendMessageTimeoutA(types, CB_SETCURSEL, WPARAM(index - 1), 0, SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
  // Windows takes the new type on CBN_SELCHANGE, Wine on CBN_SELENDOK.
  for (WORD notification : {CBN_SELCHANGE, CBN_SELENDOK}) {
    SendMessageTimeoutA(fileDialog, WM_COMMAND, MAKEWPARAM(0x470, notification), reinterpret_cast<LPARAM>(types),
                        SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
  }
}

std::vector<std::string> ComboEntries(HWND combo) {
  const LRESULT count = Ask(combo, CB_GETCOUNT);
  std::vector<std::string> entries;
  for (LRESULT i = 0; i < count && i < 100; ++i) {
    wchar_t text[512] = L"";
    SendMessageTimeoutW(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        kWaitMilliseconds, nullptr);
    char narrow[512] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    entries.push_back(narrow);
  }
  return entries;
}

std::vector<std::string> FileTypeEntries(HWND fileDialog) { return ComboEntries(GetDlgItem(fileDialog, 0x470)); }

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMilliseconds, &result);
  return LRESULT(result);
}

SIZE ClientSize(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return SIZE{rect.right, rect.bottom};
}

std::string ScenarioFolder() {
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  const std::string folder = std::string(temporary) + "vitrelle-e2e-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

HWND WaitForTitle(const Program& program, const std::string& title) {
  HWND main = WaitForWindow(program, "vitrelle");
  if (!main || !WaitUntil([&] { return WindowText(main) == title; })) return nullptr;
  return main;
}

HWND StartMainWindow(Program& program, const std::string& folder, const std::string& arguments,
                     const std::string& currentDirectory) {
  if (!Expect(StartProgramIn(program, folder, arguments, currentDirectory), "vitrelle.exe starts")) return nullptr;
  HWND main = WaitForWindow(program, "vitrelle");
  Expect(main != nullptr, "the main window appears");
  return main;
}

HWND StartWithFile(Program& program, const std::string& path, const std::string& folder,
                   const std::string& currentDirectory) {
  return StartProgramIn(program, folder, "\"" + path + "\"", currentDirectory) ? WaitForTitle(program, path) : nullptr;
}

POINT ScreenPointOf(HWND window, int x, int y) {
  POINT point = {x, y};
  ClientToScreen(window, &point);
  return point;
}

bool NoDialogAppears(const Program& program, const std::string& title, DWORD milliseconds) {
  return WaitForDialog(program, title, milliseconds) == nullptr;
}

bool AnswerMessageBox(const Program& program, const std::string& caption, const std::string& text, int button) {
  HWND box = WaitForDialog(program, caption);
  if (!Expect(box != nullptr, "a message box \"" + caption + "\" appears")) return false;
  const bool ok = ExpectEqual(MessageBoxText(box), text, "the text of the message box \"" + caption + "\"");
  ClickButton(box, button);
  return WaitForClose(box) && ok;
}

bool FillFileDialog(const Program& program, const std::string& title, const std::string& name, int fileType) {
  HWND dialog = WaitForDialog(program, title);
  if (!Expect(dialog != nullptr, "the file dialog \"" + title + "\" appears")) return false;
  Sleep(300);  // let the dialog fill its lists
  if (fileType > 0) ChooseFileType(dialog, fileType);
  ChooseFileName(dialog, name);
  return Expect(WaitForClose(dialog), "the file dialog \"" + title + "\" closes");
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT MouseInput(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

namespace {

void BringToFront(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  if (GetForegroundWindow() != top) {
    SetForegroundWindow(top);
    Sleep(200);
  }
}

}  // namespace

void PressKey(HWND window, WORD key, const std::vector<WORD>& modifiers) {
  BringToFront(window);
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) inputs.push_back(KeyInput(*m, true));
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(100);
}

void MoveMouseTo(POINT screenPoint) {
  SetCursorPos(screenPoint.x, screenPoint.y);
  INPUT move = MouseInput(MOUSEEVENTF_MOVE);
  SendInput(1, &move, sizeof move);
}

POINT ToolbarButtonCentre(const Program& program, HWND toolbar, int command) {
  const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0);
  void* remote = VirtualAllocEx(program.process.hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  RECT rect = {};
  if (remote) {
    SendMessageA(toolbar, TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(program.process.hProcess, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(program.process.hProcess, remote, 0, MEM_RELEASE);
  }
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string VisibleTooltipText(const Program& program, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    HWND tip = FindProgramWindow(program, TOOLTIPS_CLASSA, nullptr, 100);
    if (tip) {
      const std::string text = WindowText(tip);
      if (!text.empty()) return text;
    }
  } while (GetTickCount() - start < milliseconds);
  return "";
}

namespace {

// Another program may hold the clipboard for a moment.
bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace

bool ClipboardHasPicture() { return IsClipboardFormatAvailable(CF_DIB) != 0; }

std::string ClipboardPicture() {
  std::string bytes;
  if (!OpenClipboardPatiently()) return bytes;
  if (HGLOBAL data = GetClipboardData(CF_DIB)) {
    const auto* start = static_cast<const char*>(GlobalLock(data));
    if (start) bytes.assign(start, start + GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

void EmptyTheClipboard() {
  if (!OpenClipboardPatiently()) return;
  EmptyClipboard();
  CloseClipboard();
}

std::vector<uint32_t> CopiedColors(HWND main, int* width, int* height) {
  EmptyTheClipboard();
  PressKey(main, 'C', {VK_CONTROL});
  WaitUntil([] { return ClipboardHasPicture(); });
  return DibColors(ClipboardPicture(), width, height);
}

HeldFile::HeldFile(const std::string& path, bool readOnly) : path_(path), readOnly_(readOnly) {
  if (readOnly_) SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  handle_ = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  if (readOnly_) SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::string WindowsWallpaperFile() {
  char folder[MAX_PATH];
  GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\vitrelle.BMP";
}

bool ExpectDesktopValues(const std::string& tile, const std::string& wallpaper, const std::string& when) {
  bool ok = ExpectEqual(UserRegistryValue(kDesktopKey, "TileWallpaper"), tile, "TileWallpaper " + when);
  ok &= ExpectEqual(UserRegistryValue(kDesktopKey, "WallpaperStyle"), "0", "WallpaperStyle " + when);
  return ExpectEqual(UserRegistryValue(kDesktopKey, "Wallpaper"), wallpaper, "the desktop's wallpaper " + when) && ok;
}

bool DesktopShowsTiled(const std::vector<uint32_t>& colors, int width, int height) {
  if (!Expect(width > 0 && height > 0 && colors.size() == size_t(width) * size_t(height), "a picture to compare with"))
    return false;
  bool ok = true;
  for (const POINT point : {POINT{600, 400}, POINT{601, 437}, POINT{777, 555}, POINT{950, 700}, POINT{513, 321},
                            POINT{1000, 90}, POINT{20, 740}}) {
    const uint32_t rgb = colors[size_t(point.y % height) * size_t(width) + size_t(point.x % width)];
    const COLORREF expected = RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    ok &= Expect(WaitUntil([&] { return ScreenPixel(point) == expected; }, 5000),
                 "the desktop at " + std::to_string(point.x) + "," + std::to_string(point.y) + " shows " +
                     std::to_string(expected) + ", got " + std::to_string(ScreenPixel(point)));
  }
  return ok;
}

bool ChooseLastSize(HWND panel) {
  HWND sizes = GetDlgItem(panel, IDC_SIZE_LIST);
  const LRESULT last = Ask(sizes, CB_GETCOUNT) - 1;
  PostMessageA(sizes, WM_KEYDOWN, VK_END, 1);
  PostMessageA(sizes, WM_KEYUP, VK_END, 0xC0000001);
  return Expect(WaitUntil([&] { return Ask(sizes, CB_GETCURSEL) == last; }), "End chooses the last size");
}

void WriteSetting(const char* name, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size()));
  RegCloseKey(key);
}

void DeleteSettings() { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return (std::fclose(file) == 0) && ok;
}


std::vector<uint32_t> ScreenPixels(HWND window, int width, int height) {
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool ScreenShows(HWND window, int width, int height, const std::vector<uint32_t>& colors) {
  return !colors.empty() && WaitUntil([&] { return ScreenPixels(window, width, height) == colors; }, 5000);
}

std::vector<uint32_t> DibColors(const std::string& dib, int* widthOut, int* heightOut) {
  // Only the layout the program holds and hands out: a 40-byte header,
  // uncompressed bottom-up rows at 1, 4, 8 or 24 bits.
  const auto* bytes = reinterpret_cast<const uint8_t*>(dib.data());
  DibHeader header;
  if (!ReadDibHeader(bytes, dib.size(), header) || header.headerSize != kInfoHeaderSize ||
      header.compression != kBiRgb || header.topDown) {
    return {};
  }
  const int width = header.width, height = header.height, depth = header.depth;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return {};
  const size_t stride = DibRowStride(width, depth);
  if (header.pixelOffset + stride * height > dib.size()) return {};
  auto tableColor = [&](int index) {  // 0xRRGGBB, black for an entry the table lacks
    const uint8_t* entry = bytes + header.tableOffset + 4 * size_t(index);
    return uint64_t(index) < header.tableEntries ? uint32_t(entry[2] << 16 | entry[1] << 8 | entry[0]) : 0u;
  };
  std::vector<uint32_t> pixels;
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* row = bytes + header.pixelOffset + stride * y;
    for (int x = 0; x < width; ++x) {
      if (depth == 24) {
        pixels.push_back(row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16);
        continue;
      }
      const int perByte = 8 / depth, shift = 8 - depth * (x % perByte + 1);
      pixels.push_back(tableColor((row[x / perByte] >> shift) & ((1 << depth) - 1)));
    }
  }
  if (widthOut) *widthOut = width;
  if (heightOut) *heightOut = height;
  return pixels;
}

std::vector<uint32_t> BmpColors(const std::string& path, int* width, int* height) {
  const std::string file = FileBytes(path);
  if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') return {};
  return DibColors(file.substr(14), width, height);
}

// The Linux name of a file, through Wine's own conversion; empty outside Wine.
static std::string UnixName(const std::string& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  wchar_t wide[MAX_PATH];
  if (!convert || !MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, MAX_PATH)) return std::string();
  char* unix = convert(wide);
  if (!unix) return std::string();
  std::string name = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return name;
}

// Pillow writes what it reads as a 24-bit BMP file beside the picture; Wine
// does not wait for a Linux process, so the file appears whole or not at all.
std::vector<uint32_t> PillowColors(const std::string& path, int* width, int* height) {
  const std::string unixName = UnixName(path), copy = path + ".pillow.bmp";
  if (unixName.empty()) return {};
  DeleteFileA(copy.c_str());
  std::string command =
      "Z:\\usr\\bin\\python3 -c \"import os, sys; from PIL import Image; "
      "Image.open(sys.argv[1]).convert('RGB').save(sys.argv[2] + '.tmp', 'BMP'); "
      "os.replace(sys.argv[2] + '.tmp', sys.argv[2])\" \"" + unixName + "\" \"" + unixName + ".pillow.bmp\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return {};
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!WaitUntil([&] { return FileExists(copy); }, 20000)) return {};
  std::vector<uint32_t> colors = BmpColors(copy, width, height);
  DeleteFileA(copy.c_str());
  return colors;
}

bool CloseProgram(Program& program, HWND main) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = nullptr;
  WaitUntil([&] {
    return WaitForExit(program, 0) != -1 || (question = WaitForDialog(program, kCloseQuestionCaption, 0)) != nullptr;
  });
  if (question && MessageBoxText(question) == kCloseQuestion) ClickButton(question, IDNO);
  return ExpectEqual(WaitForExit(program), 0, "the exit code");
}

HWND KeyboardFocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool GetsFocus(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && WaitUntil([&] { return KeyboardFocusOf(dialog) == control; }, 5000);
}
