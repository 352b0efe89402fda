// Checks of the packaged program, run by scripts/install_test.sh after it has
// installed the setup program or unpacked the zip in a Wine prefix:
//   vitrelle-install-check installed-shortcut   the Start menu shortcut's program
//   vitrelle-install-check portable-folder      the zip's program, from the one
//       folder inside %VITRELLE_CHECK_FOLDER% (a name with non-ASCII characters)
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

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

// The program starts from its folder and shows its main window, then closes.
bool StartsAndCloses(const std::wstring& exe, const std::wstring& folder) {
  Program program;
  if (!Expect(StartProgramAt(program, exe, folder), "the program starts")) return false;
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "its main window appears")) return false;
  bool ok = ExpectEqual(WindowText(main), "Vitrelle", "the main window's title");
  PostMessageA(main, WM_CLOSE, 0, 0);
  ok &= ExpectEqual(WaitForExit(program), 0, "the exit code after closing");
  return ok;
}

// The Start menu shortcut names vitrelle.exe in the per-user program folder
// and that folder as its working folder, and the program starts from it.
bool InstalledShortcutStartsProgram() {
  const std::wstring installFolder = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Vitrelle";
  const Shortcut shortcut = ReadShortcut(KnownFolder(CSIDL_PROGRAMS) + L"\\Vitrelle.lnk");
  bool ok = Expect(SameFolder(shortcut.target, installFolder + L"\\vitrelle.exe"),
                   "the shortcut's target is vitrelle.exe in %LOCALAPPDATA%\\Programs\\Vitrelle");
  ok &= Expect(SameFolder(shortcut.workingFolder, installFolder), "the shortcut's working folder is the program folder");
  if (!ok) return false;
  return StartsAndCloses(shortcut.target, shortcut.workingFolder);
}

// The one subfolder of the given folder, or an empty text.
std::wstring OnlySubfolder(const std::wstring& parent) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((parent + L"\\*").c_str(), &found);
  std::wstring name;
  if (search == INVALID_HANDLE_VALUE) return name;
  do {
    const std::wstring entry = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry != L"." && entry != L"..") name = entry;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return name.empty() ? name : parent + L"\\" + name;
}

bool HasNonAsciiCharacter(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c > 127) return true;
  }
  return false;
}

// The portable program runs from a folder whose name holds characters
// outside every single-byte code page.
bool PortableProgramRunsFromAnyFolder() {
  wchar_t parent[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"VITRELLE_CHECK_FOLDER", parent, MAX_PATH);
  const std::wstring folder = OnlySubfolder(parent);
  if (!Expect(HasNonAsciiCharacter(folder), "the unpacked folder's name holds non-ASCII characters")) return false;
  return StartsAndCloses(folder + L"\\vitrelle.exe", folder);
}

}  // namespace

VITRELLE_SCENARIO("installed-shortcut", InstalledShortcutStartsProgram);
VITRELLE_SCENARIO("portable-folder", PortableProgramRunsFromAnyFolder);
