// Checks of the packaged program, run by scripts/install_test.sh after it has
// installed the setup program or unpacked the zip in a Wine prefix:
//   vitrelle-install-check installed-shortcut   the Start menu shortcut's program
//   vitrelle-install-check portable-folder      the zip's program, from the one
//       folder inside %VITRELLE_CHECK_FOLDER% (a name with non-ASCII characters),
//       with a picture of such a name
//   vitrelle-install-check dpi-layout           the same program's layout at the
//       prefix's DPI setting
//   vitrelle-install-check help-opens-manual    F1 in the same program
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

struct Shortcut {
  std::wstring target;
  std::wstring workingFolder;
};

// Target and working folder of a shell link file, or empty texts.
Shortcut ReadShortcut(const std::wstring& path) {
  Shortcut shortcut;
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t text[MAX_PATH] = L"";
      if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) shortcut.target = text;
        if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) shortcut.workingFolder = text;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return shortcut;
}

std::wstring KnownFolder(int folder) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, folder, nullptr, 0, path);
  return path;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// This check runs with UTF-8 as its code page (its manifest), as the program
// does, so its single-byte texts hold any character.
std::string Utf8(const std::wstring& text) {
  std::string utf8(text.size() * 4, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), int(utf8.size()), nullptr,
                                  nullptr));
  return utf8;
}

// Make, after a new fold is chosen in the panel, grows a picture and saves
// the settings into the Pattern file.
bool MakesPicture(HWND main, const std::string& folder) {
  const std::string patternFile = folder + "\\vitrelle.cfg", before = FileBytes(patternFile);
  HWND panel = FindChild(main, "#32770");
  if (!Expect(panel != nullptr, "the Pattern panel shows")) return false;
  ClickButton(panel, IDC_MIRROR_CROSS);
  SendCommand(main, IDM_MAKE);
  bool ok = Expect(WaitUntil([&] { return WindowText(main) == "Vitrelle -No title-"; }), "Make shows a picture");
  ok &= Expect(!before.empty() && FileBytes(patternFile) != before, "Make saves its settings in the Pattern file");
  return ok;
}

bool Close(Program& program, HWND main) { return CloseProgram(program, main); }

// The Start menu shortcut names vitrelle.exe in the per-user program folder
// and that folder as its working folder, and the program started from it
// makes a picture.
bool InstalledShortcutStartsProgram() {
  const std::wstring installFolder = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Vitrelle";
  const Shortcut shortcut = ReadShortcut(KnownFolder(CSIDL_PROGRAMS) + L"\\Vitrelle.lnk");
  bool ok = Expect(SameFolder(shortcut.target, installFolder + L"\\vitrelle.exe"),
                   "the shortcut's target is vitrelle.exe in %LOCALAPPDATA%\\Programs\\Vitrelle");
  ok &= Expect(SameFolder(shortcut.workingFolder, installFolder), "the shortcut's working folder is the program folder");
  if (!ok) return false;
  Program program;
  const std::string folder = Utf8(installFolder);
  if (!Expect(StartProgramIn(program, folder, "", Utf8(shortcut.workingFolder)), "the program starts")) return false;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  ok = MakesPicture(main, folder);
  return Close(program, main) && ok;
}

// The one subfolder of the folder named by %VITRELLE_CHECK_FOLDER%, or an
// empty text.
std::wstring UnpackedFolder() {
  wchar_t parent[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"VITRELLE_CHECK_FOLDER", parent, MAX_PATH);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(parent) + L"\\*").c_str(), &found);
  std::wstring name;
  if (search == INVALID_HANDLE_VALUE) return name;
  do {
    const std::wstring entry = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry != L"." && entry != L"..") name = entry;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return name.empty() ? name : parent + (L"\\" + name);
}

bool HasNonAsciiCharacter(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c > 127) return true;
  }
  return false;
}

// The portable program runs from a folder whose name holds characters
// outside every single-byte code page: it reads and writes its Pattern file
// there, saves a picture under such a name and opens it again.
bool PortableProgramRunsFromAnyFolder() {
  const std::wstring wideFolder = UnpackedFolder();
  if (!Expect(HasNonAsciiCharacter(wideFolder), "the unpacked folder's name holds non-ASCII characters")) return false;
  if (!ExpectEqual(long(GetACP()), long(CP_UTF8), "the check's code page")) return false;
  const std::string folder = Utf8(wideFolder);
  const std::string picture = folder + "\\Bild \u2605 \u56f3\u6848.bmp";

  Program program;
  if (!Expect(StartProgramIn(program, folder), "the program starts")) return false;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  bool ok = MakesPicture(main, folder);
  SendCommand(main, IDM_SAVE_AS);
  ok &= FillFileDialog(program, "Save file", picture, 1);
  ok &= Expect(WaitUntil([&] { return WindowText(main) == picture; }), "the title names the saved picture");
  ok &= Expect(FileBytes(picture).compare(0, 2, "BM") == 0, "the picture is saved under its name");
  ok &= Close(program, main);

  Program second;
  if (!Expect(StartProgramIn(second, folder, "\"" + picture + "\""), "the program starts with the picture")) {
    return false;
  }
  main = WaitForWindow(second, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  ok &= Expect(WaitUntil([&] { return WindowText(main) == picture; }), "the picture named on the command line opens");
  return Close(second, main) && ok;
}

RECT ScreenRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

RECT ClientScreenRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Apart(const RECT& a, const RECT& b) {
  RECT common;
  return !IntersectRect(&common, &a, &b);
}

struct ClippedChildren {
  RECT area;
  int count = 0;
};

BOOL CALLBACK CountClippedChild(HWND child, LPARAM clippedPointer) {
  auto* clipped = reinterpret_cast<ClippedChildren*>(clippedPointer);
  if (IsWindowVisible(child) && !Inside(ScreenRect(child), clipped->area)) ++clipped->count;
  return TRUE;
}

// F1 opens the manual beside the program when there is no vitrelle.hlp: the
// script has made the page opener write the opened name into
// %VITRELLE_OPENED_FILE%.
bool HelpOpensManual() {
  wchar_t openedFile[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"VITRELLE_OPENED_FILE", openedFile, MAX_PATH);
  const std::string opened = Utf8(openedFile), folder = Utf8(UnpackedFolder());
  DeleteFileA(opened.c_str());
  Program program;
  if (!Expect(StartProgramIn(program, folder), "the program starts")) return false;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  PressKey(main, VK_F1);
  const bool ok = Expect(WaitUntil([&] { return FileBytes(opened).find("vitrelle.html") != std::string::npos; }),
                         "F1 opens vitrelle.html");
  // The opener writes the name in the console's code page, which keeps only
  // the ASCII part of the folder's name: the parent folder and the file name.
  const std::string named = FileBytes(opened), parent = folder.substr(0, folder.find_last_of('\\') + 1);
  const bool right = Expect(named.compare(0, parent.size(), parent) == 0 &&
                                named.find("\\vitrelle.html") != std::string::npos,
                            "the manual opened is the one beside the program: " + named);
  return Close(program, main) && ok && right;
}

// At the prefix's DPI (raised by the script) the made picture is shown pixel
// for pixel, and toolbar, panel, picture and status bar neither overlap nor
// reach out of the window; no control of the panel is cut off.
bool LayoutFitsAtThisDpi() {
  Program program;
  if (!Expect(StartProgramIn(program, Utf8(UnpackedFolder())), "the program starts")) return false;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  SendCommand(main, IDM_MAKE);
  if (!Expect(WaitUntil([&] { return WindowText(main) == "Vitrelle -No title-"; }), "Make shows a picture")) {
    return false;
  }
  HWND view = FindChild(main, "VTRCHILD"), panel = FindChild(main, "#32770");
  HWND toolbar = FindChild(main, "ToolbarWindow32"), statusBar = FindChild(main, "msctls_statusbar32");
  if (!Expect(view && panel && toolbar && statusBar, "the window has its view, panel, toolbar and status bar")) {
    return false;
  }
  int width = 0, height = 0;
  const std::string info = WindowText(statusBar);
  bool ok = Expect(std::sscanf(info.c_str(), "Image Info.(%dx%d", &width, &height) == 2, "the status bar: " + info);
  const RECT viewClient = ClientScreenRect(view);
  ok &= ExpectEqual(viewClient.right - viewClient.left, width, "the view's width in device pixels");
  ok &= ExpectEqual(viewClient.bottom - viewClient.top, height, "the view's height in device pixels");

  const RECT client = ClientScreenRect(main);
  RECT toolbarRect = ScreenRect(toolbar);
  toolbarRect.right = std::min(toolbarRect.right, client.right);  // the toolbar is as wide as the screen
  const RECT statusRect = ScreenRect(statusBar), panelRect = ScreenRect(panel), viewRect = ScreenRect(view);
  ok &= Expect(Inside(panelRect, client) && Inside(viewRect, client), "panel and view lie inside the window");
  ok &= Expect(Apart(panelRect, viewRect), "panel and view do not overlap");
  ok &= Expect(Apart(toolbarRect, panelRect) && Apart(toolbarRect, viewRect), "the toolbar covers neither");
  ok &= Expect(Apart(statusRect, panelRect) && Apart(statusRect, viewRect), "the status bar covers neither");
  ClippedChildren clipped{ClientScreenRect(panel)};
  EnumChildWindows(panel, CountClippedChild, reinterpret_cast<LPARAM>(&clipped));
  ok &= ExpectEqual(clipped.count, 0, "controls of the panel reaching out of it");

  return Close(program, main) && ok;
}

}  // namespace

VITRELLE_SCENARIO("dpi-layout", LayoutFitsAtThisDpi);
VITRELLE_SCENARIO("help-opens-manual", HelpOpensManual);
VITRELLE_SCENARIO("installed-shortcut", InstalledShortcutStartsProgram);
VITRELLE_SCENARIO("portable-folder", PortableProgramRunsFromAnyFolder);
