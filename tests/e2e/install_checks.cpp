// Checks of the packaged program, run by scripts/install_test.sh after it has
// installed the setup program or unpacked the zip in a Wine prefix:
//   vitrelle-install-check installed-shortcut   the Start menu shortcut's program
//   vitrelle-install-check portable-folder      the zip's program, from the one
//       folder inside %VITRELLE_CHECK_FOLDER% (a name with non-ASCII characters),
//       with a picture of such a name
//   vitrelle-install-check dpi-layout           the same program's layout at the
//       prefix's DPI setting
//   vitrelle-install-check help-opens-manual    F1 in the same program
//   vitrelle-install-check portable-plugin-pictures  the same program opens a PNG
//       and a JPEG of non-ASCII names there through its shipped plug-in
//       (the pictures of the driver's folder's plugin-pictures\ with the
//       pixels Pillow reads from them)
//   vitrelle-install-check installed-licence    the licence beside the installed
//       program, in its version resource and in that of the installer
//       %VITRELLE_CHECK_SETUP%, and the installer's licence page
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "resources/version.h"
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
  HWND main = StartMainWindow(program, folder, "", Utf8(shortcut.workingFolder));
  if (!main) return false;
  ok = MakesPicture(main, folder);
  return CloseProgram(program, main) && ok;
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
  HWND main = StartMainWindow(program, folder);
  if (!main) return false;
  bool ok = MakesPicture(main, folder);
  SendCommand(main, IDM_SAVE_AS);
  ok &= FillFileDialog(program, "Save file", picture, 1);
  ok &= Expect(WaitUntil([&] { return WindowText(main) == picture; }), "the title names the saved picture");
  ok &= Expect(FileBytes(picture).compare(0, 2, "BM") == 0, "the picture is saved under its name");
  ok &= CloseProgram(program, main);

  Program second;
  if (!Expect(StartProgramIn(second, folder, "\"" + picture + "\""), "the program starts with the picture")) {
    return false;
  }
  main = WaitForWindow(second, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  ok &= Expect(WaitUntil([&] { return WindowText(main) == picture; }), "the picture named on the command line opens");
  return CloseProgram(second, main) && ok;
}

// The largest difference of one colour channel between two pictures of the
// same size; -1 when the sizes differ or a picture is missing.
int LargestDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.empty() || a.size() != b.size()) return -1;
  int worst = 0;
  for (size_t i = 0; i < a.size(); ++i)
    for (int shift : {0, 8, 16})
      worst = std::max(worst, std::abs(int((a[i] >> shift) & 255) - int((b[i] >> shift) & 255)));
  return worst;
}

// The current picture as Copy puts it on the clipboard matches the reference
// BMP file (within the tolerance) and has its size.
bool CopiedPictureMatches(HWND main, const std::string& reference, int tolerance, const std::string& what) {
  int width = 0, height = 0, expectedWidth = 0, expectedHeight = 0;
  const std::vector<uint32_t> copied = CopiedColors(main, &width, &height);
  if (!Expect(!copied.empty(), what + ": Copy puts it on the clipboard")) return false;
  const std::vector<uint32_t> expected = BmpColors(reference, &expectedWidth, &expectedHeight);
  bool ok = ExpectEqual(width, expectedWidth, what + ": width") & ExpectEqual(height, expectedHeight, what + ": height");
  const int worst = LargestDifference(copied, expected);
  return Expect(worst >= 0 && worst <= tolerance, what + ": largest difference " + std::to_string(worst)) && ok;
}

// A PNG and a JPEG named with characters outside every single-byte code page,
// in the non-ASCII folder, open through the shipped plug-in with their
// pixels: the PNG from the command line, the JPEG from the Open dialog.
bool PortablePluginOpensNonAsciiPictures() {
  const std::wstring wideFolder = UnpackedFolder();
  if (!Expect(HasNonAsciiCharacter(wideFolder), "the unpacked folder's name holds non-ASCII characters")) return false;
  const std::string pictures = DriverFolder() + "\\plugin-pictures\\", folder = Utf8(wideFolder);
  const std::wstring name = L"\\Bild \u2605 \u56f3\u6848";
  const std::string png = Utf8(wideFolder + name + L".png"), jpeg = Utf8(wideFolder + name + L".jpg");
  bool ok = Expect(CopyFileA((pictures + "rgb.png").c_str(), png.c_str(), FALSE) &&
                       CopyFileA((pictures + "photo.jpg").c_str(), jpeg.c_str(), FALSE),
                   "the pictures are copied from " + pictures);
  Program program;
  HWND main = StartWithFile(program, png, folder);
  if (!Expect(main != nullptr, "the PNG opens")) return false;
  ok &= CopiedPictureMatches(main, pictures + "rgb.png.bmp", 0, "the PNG");
  SendCommand(main, IDM_OPEN);
  ok &= FillFileDialog(program, "Open file", jpeg);
  ok &= Expect(WaitUntil([&] { return WindowText(main) == jpeg; }), "the JPEG opens");
  ok &= CopiedPictureMatches(main, pictures + "photo.jpg.bmp", 8, "the JPEG");
  return CloseProgram(program, main) && ok;
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
  HWND main = StartMainWindow(program, folder);
  if (!main) return false;
  PressKey(main, VK_F1);
  const bool ok = Expect(WaitUntil([&] { return FileBytes(opened).find("vitrelle.html") != std::string::npos; }),
                         "F1 opens vitrelle.html");
  // The opener writes the name in the console's code page, which keeps only
  // the ASCII part of the folder's name: the parent folder and the file name.
  const std::string named = FileBytes(opened), parent = folder.substr(0, folder.find_last_of('\\') + 1);
  const bool right = Expect(named.compare(0, parent.size(), parent) == 0 &&
                                named.find("\\vitrelle.html") != std::string::npos,
                            "the manual opened is the one beside the program: " + named);
  return CloseProgram(program, main) && ok && right;
}

// At the prefix's DPI (raised by the script) the made picture is shown pixel
// for pixel, and toolbar, panel, picture and status bar neither overlap nor
// reach out of the window; no control of the panel is cut off.
bool LayoutFitsAtThisDpi() {
  Program program;
  HWND main = StartMainWindow(program, Utf8(UnpackedFolder()));
  if (!main) return false;
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

  return CloseProgram(program, main) && ok;
}

// A value of a file's version resource (U.S. English, Unicode), or empty.
std::string VersionValue(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, DWORD(block.size()), block.data())) return "";
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
  return Utf8(value);
}

// The line of a text that starts with `start`, without its line end.
std::string LineStarting(const std::string& text, const std::string& start) {
  const size_t begin = text.find(start);
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_first_of("\r\n", begin) - begin);
}

struct TextSearch {
  const char* part;
  bool found = false;
};

BOOL CALLBACK FindTextInChild(HWND child, LPARAM searchPointer) {
  auto* search = reinterpret_cast<TextSearch*>(searchPointer);
  if (IsWindowVisible(child) && WindowText(child).find(search->part) != std::string::npos) search->found = true;
  return !search->found;
}

// Whether a visible window inside the window shows a text holding `part`.
bool ShowsText(HWND window, const char* part) {
  TextSearch search{part};
  EnumChildWindows(window, FindTextInChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The installed LICENSE.txt is the MIT licence; its copyright line is what
// the version resources of vitrelle.exe and of the installer carry; and the
// installer, run by hand, shows the licence before anything else, to be
// agreed to or cancelled.
bool InstalledLicence() {
  const std::wstring installFolder = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Vitrelle";
  const std::string licence = FileBytes(Utf8(installFolder) + "\\LICENSE.txt");
  bool ok = Expect(licence.compare(0, 13, "MIT License\r\n") == 0, "LICENSE.txt beside the program is the MIT licence");
  const std::string copyright = LineStarting(licence, "Copyright (c) ");
  ok &= Expect(!copyright.empty(), "the licence has a copyright line");
  ok &= ExpectEqual(VersionValue(installFolder + L"\\vitrelle.exe", L"LegalCopyright"), copyright,
                    "vitrelle.exe's LegalCopyright");
  wchar_t setup[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"VITRELLE_CHECK_SETUP", setup, MAX_PATH);
  ok &= ExpectEqual(VersionValue(setup, L"LegalCopyright"), copyright, "the installer's LegalCopyright");

  Program installer;
  if (!Expect(StartProgramAt(installer, setup, installFolder), "the installer starts")) return false;
  // The installer's own caption ends in a space.
  HWND window = WaitForDialog(installer, std::string("Vitrelle ") + VITRELLE_VERSION_TEXT + " Setup ");
  if (!Expect(window != nullptr, "the installer's window appears")) return false;
  ok &= Expect(WaitUntil([&] { return ShowsText(window, copyright.c_str()); }, 5000),
               "the installer's first page shows the licence's copyright line");
  ok &= Expect(ShowsText(window, "Permission is hereby granted"), "the installer's first page shows the licence");
  ok &= Expect(ShowsText(window, "I &Agree"), "the licence page asks to agree");
  ClickButton(window, IDCANCEL);
  return ExpectEqual(WaitForExit(installer), 1, "the installer's exit code after Cancel (aborted)") && ok;
}

}  // namespace

VITRELLE_SCENARIO("dpi-layout", LayoutFitsAtThisDpi);
VITRELLE_SCENARIO("help-opens-manual", HelpOpensManual);
VITRELLE_SCENARIO("installed-licence", InstalledLicence);
VITRELLE_SCENARIO("installed-shortcut", InstalledShortcutStartsProgram);
VITRELLE_SCENARIO("portable-folder", PortableProgramRunsFromAnyFolder);
VITRELLE_SCENARIO("portable-plugin-pictures", PortablePluginOpensNonAsciiPictures);
