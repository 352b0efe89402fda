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
