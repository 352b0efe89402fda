// Linked only into vitrelle-tally.exe, the program as the leak scenario runs
// it: before WinMain it redirects the program's own imports of the calls
// that make and release GDI objects, device contexts and kernel handles, and
// keeps the set of those made and not yet released. Wine's GetGuiResources
// counts nothing, so this is how a test sees what the program holds.
//
// Counted: bitmaps (CreateCompatibleBitmap, CreateMappedBitmap, CreateBitmap,
// CreateDIBSection), memory DCs (CreateCompatibleDC), palettes, brushes,
// pens and fonts, the DCs borrowed with GetDC, and the handles of
// CreateFileA/W, FindFirstFileA/W and CreateProcessA (process and thread).
// Not counted: what system libraries make for themselves (common dialogs,
// controls), memory blocks, and objects the clipboard or a control takes.
//
// The driver asks by posting the registered message "VitrelleObjectTally" to
// the main window with its own thread id; the answer comes back to that
// thread as the same message with the count in wParam.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <set>

namespace {

std::set<HANDLE>& Live() {
  static std::set<HANDLE> live;
  return live;
}

template <typename H>
H Made(H handle) {
  if (handle && handle != INVALID_HANDLE_VALUE) Live().insert(reinterpret_cast<HANDLE>(handle));
  return handle;
}

void Released(const void* handle) { Live().erase(const_cast<HANDLE>(handle)); }

// The real functions, taken from the import slots before they are redirected.
struct Originals {
  decltype(&GetDC) getDC;
  decltype(&ReleaseDC) releaseDC;
  decltype(&CreateCompatibleDC) createCompatibleDC;
  decltype(&DeleteDC) deleteDC;
  decltype(&CreateCompatibleBitmap) createCompatibleBitmap;
  decltype(&CreateMappedBitmap) createMappedBitmap;
  decltype(&CreateBitmap) createBitmap;
  decltype(&CreateDIBSection) createDIBSection;
  decltype(&CreatePalette) createPalette;
  decltype(&CreateSolidBrush) createSolidBrush;
  decltype(&CreatePen) createPen;
  decltype(&CreateFontIndirectA) createFontIndirectA;
  decltype(&DeleteObject) deleteObject;
  decltype(&CreateFileA) createFileA;
  decltype(&CreateFileW) createFileW;
  decltype(&FindFirstFileA) findFirstFileA;
  decltype(&FindFirstFileW) findFirstFileW;
  decltype(&FindClose) findClose;
  decltype(&CreateProcessA) createProcessA;
  decltype(&CloseHandle) closeHandle;
} real;

HDC WINAPI TallyGetDC(HWND window) { return Made(real.getDC(window)); }
int WINAPI TallyReleaseDC(HWND window, HDC dc) {
  Released(dc);
  return real.releaseDC(window, dc);
}
HDC WINAPI TallyCreateCompatibleDC(HDC dc) { return Made(real.createCompatibleDC(dc)); }
BOOL WINAPI TallyDeleteDC(HDC dc) {
  Released(dc);
  return real.deleteDC(dc);
}
HBITMAP WINAPI TallyCreateCompatibleBitmap(HDC dc, int width, int height) {
  return Made(real.createCompatibleBitmap(dc, width, height));
}
HBITMAP WINAPI TallyCreateMappedBitmap(HINSTANCE instance, INT_PTR id, UINT flags, LPCOLORMAP map, int count) {
  return Made(real.createMappedBitmap(instance, id, flags, map, count));
}
HBITMAP WINAPI TallyCreateBitmap(int width, int height, UINT planes, UINT depth, const void* bits) {
  return Made(real.createBitmap(width, height, planes, depth, bits));
}
HBITMAP WINAPI TallyCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset) {
  return Made(real.createDIBSection(dc, info, usage, bits, section, offset));
}
HPALETTE WINAPI TallyCreatePalette(const LOGPALETTE* palette) { return Made(real.createPalette(palette)); }
HBRUSH WINAPI TallyCreateSolidBrush(COLORREF color) { return Made(real.createSolidBrush(color)); }
HPEN WINAPI TallyCreatePen(int style, int width, COLORREF color) { return Made(real.createPen(style, width, color)); }
HFONT WINAPI TallyCreateFontIndirectA(const LOGFONTA* font) { return Made(real.createFontIndirectA(font)); }
BOOL WINAPI TallyDeleteObject(HGDIOBJ object) {
  Released(object);
  return real.deleteObject(object);
}
HANDLE WINAPI TallyCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how,
                               DWORD flags, HANDLE from) {
  return Made(real.createFileA(name, access, share, security, how, flags, from));
}
HANDLE WINAPI TallyCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how,
                               DWORD flags, HANDLE from) {
  return Made(real.createFileW(name, access, share, security, how, flags, from));
}
HANDLE WINAPI TallyFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  return Made(real.findFirstFileA(pattern, found));
}
HANDLE WINAPI TallyFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
  return Made(real.findFirstFileW(pattern, found));
}
BOOL WINAPI TallyFindClose(HANDLE search) {
  Released(search);
  return real.findClose(search);
}
BOOL WINAPI TallyCreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processSecurity,
                                LPSECURITY_ATTRIBUTES threadSecurity, BOOL inherit, DWORD flags, LPVOID environment,
                                LPCSTR folder, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION process) {
  const BOOL made = real.createProcessA(application, commandLine, processSecurity, threadSecurity, inherit, flags,
                                        environment, folder, startup, process);
  if (made) {
    Made(process->hProcess);
    Made(process->hThread);
  }
  return made;
}
BOOL WINAPI TallyCloseHandle(HANDLE handle) {
  Released(handle);
  return real.closeHandle(handle);
}

struct Redirect {
  const char* name;
  void* replacement;
  void** original;
};

#define VITRELLE_REDIRECT(name, field) \
  {#name, reinterpret_cast<void*>(Tally##name), reinterpret_cast<void**>(&real.field)}

const Redirect kRedirects[] = {
    VITRELLE_REDIRECT(GetDC, getDC),
    VITRELLE_REDIRECT(ReleaseDC, releaseDC),
    VITRELLE_REDIRECT(CreateCompatibleDC, createCompatibleDC),
    VITRELLE_REDIRECT(DeleteDC, deleteDC),
    VITRELLE_REDIRECT(CreateCompatibleBitmap, createCompatibleBitmap),
    VITRELLE_REDIRECT(CreateMappedBitmap, createMappedBitmap),
    VITRELLE_REDIRECT(CreateBitmap, createBitmap),
    VITRELLE_REDIRECT(CreateDIBSection, createDIBSection),
    VITRELLE_REDIRECT(CreatePalette, createPalette),
    VITRELLE_REDIRECT(CreateSolidBrush, createSolidBrush),
    VITRELLE_REDIRECT(CreatePen, createPen),
    VITRELLE_REDIRECT(CreateFontIndirectA, createFontIndirectA),
    VITRELLE_REDIRECT(DeleteObject, deleteObject),
    VITRELLE_REDIRECT(CreateFileA, createFileA),
    VITRELLE_REDIRECT(CreateFileW, createFileW),
    VITRELLE_REDIRECT(FindFirstFileA, findFirstFileA),
    VITRELLE_REDIRECT(FindFirstFileW, findFirstFileW),
    VITRELLE_REDIRECT(FindClose, findClose),
    VITRELLE_REDIRECT(CreateProcessA, createProcessA),
    VITRELLE_REDIRECT(CloseHandle, closeHandle),
};

// Points every import slot of the program's own module that names one of
// the calls above at its counting stand-in.
void RedirectImports() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
  for (; library->Name; ++library) {
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
        base + (library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      for (const Redirect& redirect : kRedirects) {
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), redirect.name) != 0) continue;
        DWORD protection = 0;
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
        *redirect.original = reinterpret_cast<void*>(slots->u1.Function);
        slots->u1.Function = reinterpret_cast<DWORD_PTR>(redirect.replacement);
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      }
    }
  }
}

UINT TallyMessage() {
  static const UINT message = RegisterWindowMessageA("VitrelleObjectTally");
  return message;
}

// Answers the driver's question as the message loop fetches it.
LRESULT CALLBACK AnswerTallyQuestion(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == TallyMessage()) {
    PostThreadMessageA(DWORD(message->wParam), TallyMessage(), WPARAM(Live().size()), 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct TallyStart {
  TallyStart() {
    RedirectImports();
    SetWindowsHookExA(WH_GETMESSAGE, AnswerTallyQuestion, nullptr, GetCurrentThreadId());
  }
} tallyStart;

}  // namespace
