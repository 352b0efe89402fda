// Helpers of the end-to-end driver: start vitrelle.exe, find its windows,
// read their texts, send them commands, and report what did not hold.
#pragma once

#include <windows.h>

#include <string>

// How long a helper waits for the program before it gives up.
constexpr DWORD kWaitMilliseconds = 20000;

// A running vitrelle.exe. A scenario that ends while it still runs has
// failed somewhere; the process is then ended so that it cannot disturb the
// next scenario.
struct Program {
  PROCESS_INFORMATION process = {};
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
};

// The folder of the driver, where vitrelle.exe lies too.
std::string DriverFolder();
// Starts vitrelle.exe from the driver's folder with that folder as its
// current directory and the given command line after the program name.
bool StartProgram(Program& program, const std::string& arguments = "");
// The exit code once the process has ended, or -1 when it did not end in time.
long WaitForExit(Program& program, DWORD milliseconds = kWaitMilliseconds);

// A visible top-level window of the program's process with that class, or
// null when none appears in time.
HWND WaitForWindow(const Program& program, const char* className, DWORD milliseconds = kWaitMilliseconds);
// The first child window of that class, or null.
HWND FindChild(HWND parent, const char* className);
// The window's text (a title, or a control's text) through WM_GETTEXT.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
SIZE WindowSize(HWND window);

// Posts a menu command, as a click would; the driver does not wait for it,
// so that it can answer any dialog the command opens.
void SendCommand(HWND window, int command);

// Report a failed expectation on standard error; each returns whether it held.
bool Expect(bool condition, const std::string& what);
bool ExpectEqual(const std::string& actual, const std::string& expected, const std::string& what);
bool ExpectEqual(long actual, long expected, const std::string& what);
