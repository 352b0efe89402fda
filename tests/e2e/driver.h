// Helpers of the end-to-end driver: start vitrelle.exe, find its windows,
// read their texts, send them commands, and report what did not hold.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_io.h"  // FileExists, for the files a scenario checks

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
// Starts the program file exe with folder as its current directory.
bool StartProgramAt(Program& program, const std::wstring& exe, const std::wstring& folder,
                    const std::wstring& arguments = L"");
// A fresh folder under the temporary folder holding copies of vitrelle.exe
// and the shipped Pattern file, so that a scenario may change them freely.
std::string MakeProgramCopy(const std::string& name);
// Starts the vitrelle.exe of such a folder, with the given current directory
// (the folder itself when empty).
bool StartProgramIn(Program& program, const std::string& folder, const std::string& arguments = "",
                    const std::string& currentDirectory = "");
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

// A visible dialog (class #32770) of the program with that title, or null
// when none appears in time. Message boxes are dialogs too.
HWND WaitForDialog(const Program& program, const std::string& title, DWORD milliseconds = kWaitMilliseconds);
// Waits until the window is gone; false when it is still there in time.
bool WaitForClose(HWND window, DWORD milliseconds = kWaitMilliseconds);
// The text of a message box.
std::string MessageBoxText(HWND box);
// Clicks a button of a dialog, as a person would, without waiting for what
// the click opens.
void ClickButton(HWND dialog, int id);
bool IsButtonChecked(HWND dialog, int id);
// Types a name into a file dialog's file name box and confirms it.
void ChooseFileName(HWND fileDialog, const std::string& name);
std::string FileNameOffered(HWND fileDialog);

// A string value under HKEY_CURRENT_USER\key; empty when it is missing.
std::string UserRegistryValue(const char* key, const char* name);
// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);
// The colour of a screen pixel, red, green and blue as COLORREF.
COLORREF ScreenPixel(POINT screenPoint);
// Moves the mouse to the screen point and presses and releases the left button.
void ClickAt(POINT screenPoint);
// Sends a menu command and waits until the program has carried it out; only
// for commands that open no dialog or message box.
bool SendCommandAndWait(HWND window, int command);
// Picks an entry (1 for the first) of a file dialog's file type list.
void ChooseFileType(HWND fileDialog, int index);
// The entries of a combo box of the program, first to last, read with the
// wide message (the narrow one gives only the first character across
// processes).
std::vector<std::string> ComboEntries(HWND combo);
// The entries of a file dialog's file type list, first to last.
std::vector<std::string> FileTypeEntries(HWND fileDialog);
// The result of a message sent to a window of the program; 0 when it does
// not answer in time.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
SIZE ClientSize(HWND window);
// Checks the condition every 50 ms until it holds or the time is up.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = kWaitMilliseconds) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(50);
  }
  return true;
}
// A fresh folder for the scenario's own files (under the temporary folder),
// ending in a backslash.
std::string ScenarioFolder();
// Starts the vitrelle.exe of a folder (as StartProgramIn does) and waits for
// its main window; the main window, or null after saying what failed.
HWND StartMainWindow(Program& program, const std::string& folder = DriverFolder(), const std::string& arguments = "",
                     const std::string& currentDirectory = "");
// Starts the vitrelle.exe of a folder with the file on its command line and
// waits until its main window shows that file; the main window, or null.
HWND StartWithFile(Program& program, const std::string& path, const std::string& folder = DriverFolder(),
                   const std::string& currentDirectory = "");
// The program's main window once its title reads `title`; null if it does not in time.
HWND WaitForTitle(const Program& program, const std::string& title);
// The screen position of a point of a window's client area.
POINT ScreenPointOf(HWND window, int x, int y);

// Whether no dialog with that title appears within the time.
bool NoDialogAppears(const Program& program, const std::string& title, DWORD milliseconds = 1500);
// Waits for the message box with that caption, checks its text, and answers
// it with the button (IDOK, IDCANCEL).
bool AnswerMessageBox(const Program& program, const std::string& caption, const std::string& text, int button);
// Fills a file dialog with that title: picks the file type (1 for the first;
// 0 keeps it), types the name and confirms; true once the dialog has closed.
bool FillFileDialog(const Program& program, const std::string& title, const std::string& name, int fileType = 0);

// One key going down or up, and one action of the mouse (MOUSEEVENTF_*), as
// SendInput takes them.
INPUT KeyInput(WORD key, bool up);
INPUT MouseInput(DWORD flags);
// A key as a person types it on the window (brought to the front first),
// with the modifiers (VK_CONTROL, VK_MENU, VK_SHIFT) held meanwhile.
void PressKey(HWND window, WORD key, const std::vector<WORD>& modifiers = {});
// Moves the mouse to a screen point.
void MoveMouseTo(POINT screenPoint);
// The centre of the toolbar button with that command, in the toolbar's client
// coordinates (asked of the program's toolbar).
POINT ToolbarButtonCentre(const Program& program, HWND toolbar, int command);
// The text of a visible tooltip of the program, or empty when none shows in time.
std::string VisibleTooltipText(const Program& program, DWORD milliseconds = 5000);

// The clipboard: whether it holds CF_DIB data, those bytes, and emptying it.
bool ClipboardHasPicture();
std::string ClipboardPicture();
void EmptyTheClipboard();
// The colours of the picture the program's Copy (Ctrl+C) puts on the
// clipboard, in the form DibColors gives.
std::vector<uint32_t> CopiedColors(HWND main, int* width = nullptr, int* height = nullptr);

// A file held open against writers, and read-only when asked, for as long as
// this lives: a file the program cannot replace, even as a user whom the
// attribute does not stop (as root under Wine).
class HeldFile {
 public:
  HeldFile(const std::string& path, bool readOnly);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
  std::string path_;
  bool readOnly_;
  HANDLE handle_;
};

// The desktop's settings and the file that Tile and Center write.
constexpr const char* kDesktopKey = "Control Panel\\desktop";
std::string WindowsWallpaperFile();
// Whether the desktop's "TileWallpaper" is `tile`, its "WallpaperStyle" "0",
// and its "Wallpaper" the file.
bool ExpectDesktopValues(const std::string& tile, const std::string& wallpaper, const std::string& when);
// Whether the screen comes to show the picture (colours top row first)
// repeated from the top-left corner, at points spread over a 1024 x 768
// Wine virtual desktop.
bool DesktopShowsTiled(const std::vector<uint32_t>& colors, int width, int height);
// Chooses the last entry of the Pattern panel's size list (the screen) by
// the End key; true once it is chosen.
bool ChooseLastSize(HWND panel);

// The program's per-user settings (HKEY_CURRENT_USER\Software\Tavik\vitrelle).
constexpr const char* kSettingsKey = "Software\\Tavik\\vitrelle";
void WriteSetting(const char* name, const std::string& value);
void DeleteSettings();

bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The colours (0xRRGGBB) of a window's client area as the screen shows them,
// top row first.
std::vector<uint32_t> ScreenPixels(HWND window, int width, int height);
// Whether the window's client area comes to show those colours within a few
// seconds (a window that was covered is repainted some time after).
bool ScreenShows(HWND window, int width, int height, const std::vector<uint32_t>& colors);
// The colours of a packed bitmap (as on the clipboard) or a BMP file's
// picture of 1, 4, 8 or 24 bits, top row first; empty when it cannot be read.
std::vector<uint32_t> DibColors(const std::string& dib, int* width = nullptr, int* height = nullptr);
std::vector<uint32_t> BmpColors(const std::string& path, int* width = nullptr, int* height = nullptr);
// The colours of a picture file as Pillow (Debian's /usr/bin/python3, run as
// a Linux process from Wine) reads it, in the same form; empty when Pillow
// cannot read it.
std::vector<uint32_t> PillowColors(const std::string& path, int* width = nullptr, int* height = nullptr);

// The question the program asks before it closes on a picture never saved.
constexpr const char* kCloseQuestionCaption = "Caution";
constexpr const char* kCloseQuestion = "The picture has not been saved.\nDo you want to save it before closing?";

// Closes the main window as its close box does, answering No if the program
// asks about an unsaved picture; true when the program then ends with exit
// code 0.
bool CloseProgram(Program& program, HWND main);

// The window that has the keyboard focus in the thread of that window, or
// null when none has.
HWND KeyboardFocusOf(HWND window);
// Whether the control `id` of the dialog comes to have the keyboard focus.
bool GetsFocus(HWND dialog, int id);
