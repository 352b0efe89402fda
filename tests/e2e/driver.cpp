#include "tests/e2e/driver.h"

#include <cstdio>
#include <vector>

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
  const std::string folder = DriverFolder();
  const std::string exe = folder + "\\vitrelle.exe";
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::vector<char> writable(commandLine.begin(), commandLine.end() + 1);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &program.process) != 0;
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
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM searchPointer) {
  auto* search = reinterpret_cast<WindowSearch*>(searchPointer);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window) || ClassOf(window) != search->className) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND WaitForWindow(const Program& program, const char* className, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search{program.process.dwProcessId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
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

struct DialogSearch {
  DWORD processId;
  std::string title;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM searchPointer) {
  auto* search = reinterpret_cast<DialogSearch*>(searchPointer);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window) || ClassOf(window) != "#32770" ||
      WindowText(window) != search->title) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// The file name box of the Explorer-style file dialog (a combo box on
// Windows, an edit box under Wine).
HWND FileNameBox(HWND fileDialog) {
  HWND box = GetDlgItem(fileDialog, 0x47C);
  return box ? box : GetDlgItem(fileDialog, 0x480);
}

}  // namespace

HWND WaitForDialog(const Program& program, const std::string& title, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    DialogSearch search{program.process.dwProcessId, title, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
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
  SendMessageTimeoutA(fileDialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types),
                      SMTO_ABORTIFHUNG, kWaitMilliseconds, nullptr);
}

std::string ScenarioFolder() {
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  const std::string folder = std::string(temporary) + "vitrelle-e2e-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

HWND StartWithFile(Program& program, const std::string& path) {
  if (!StartProgram(program, "\"" + path + "\"")) return nullptr;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!main || !WaitUntil([&] { return WindowText(main) == path; })) return nullptr;
  return main;
}

POINT ScreenPointOf(HWND window, int x, int y) {
  POINT point = {x, y};
  ClientToScreen(window, &point);
  return point;
}
