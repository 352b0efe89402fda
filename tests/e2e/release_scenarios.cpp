#include <string>

#include "resources/resource.h"
#include "resources/version.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

std::string ProgramPath() { return DriverFolder() + "\\vitrelle.exe"; }

// The manifest as it is embedded in vitrelle.exe, read from the file.
std::string EmbeddedManifest() {
  HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "";
  std::string text;
  HRSRC resource = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  if (HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr) {
    text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
  }
  FreeLibrary(module);
  return text;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Windows reads these settings from the manifest when it starts the program:
// today's controls, sharp drawing on high-DPI screens, UTF-8 file names, the
// systems it was made for, and no request for administrator rights.
bool ManifestIsEmbedded() {
  const std::string manifest = EmbeddedManifest();
  if (!Expect(!manifest.empty(), "vitrelle.exe holds manifest resource 1")) return false;
  bool ok = true;
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
                           ">UTF-8</activeCodePage>", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                           "level=\"asInvoker\""}) {
    ok &= Expect(Contains(manifest, part), std::string("the manifest holds ") + part);
  }
  return ok;
}

BOOL CALLBACK FindVersionText(HWND child, LPARAM found) {
  if (WindowText(child).find(VITRELLE_VERSION_TEXT) == std::string::npos) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

// The About box shows the program's version.
bool AboutBoxShowsVersion() {
  Program program;
  HWND main = StartMainWindow(program);
  if (!main) return false;
  SendCommand(main, IDM_ABOUT);
  HWND about = WaitForDialog(program, "About Vitrelle");
  if (!Expect(about != nullptr, "the About box opens")) return false;
  bool found = false;
  EnumChildWindows(about, FindVersionText, reinterpret_cast<LPARAM>(&found));
  bool ok = Expect(found, std::string("the About box names version ") + VITRELLE_VERSION_TEXT);
  ClickButton(about, IDOK);
  ok &= Expect(WaitForClose(about), "OK closes the About box");
  PostMessageA(main, WM_CLOSE, 0, 0);
  return ExpectEqual(WaitForExit(program), 0, "the exit code") && ok;
}

}  // namespace

VITRELLE_SCENARIO("about-version", AboutBoxShowsVersion);
VITRELLE_SCENARIO("manifest", ManifestIsEmbedded);
