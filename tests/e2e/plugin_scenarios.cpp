#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <windows.h>
#include <tlhelp32.h>

#include "image/bmp_file.h"
#include "image/normalize.h"
#include "image/png_file.h"
#include "plugins/plugin_discovery.h"
#include "plugins/plugin_library_win.h"
#include "base/texts.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

// A program folder of the scenario's own (MakeProgramCopy) with the decoding
// helper and the named plug-ins (from the build folder or its test-plugins
// folder) beside the program.
std::string MakeProgramFolder(const std::vector<std::string>& plugins) {
  const std::string build = DriverFolder() + "\\";
  const std::string folder = MakeProgramCopy("plugins");
  CopyFileA((build + "vitrelle-decode.exe").c_str(), (folder + "\\vitrelle-decode.exe").c_str(), FALSE);
  for (const std::string& plugin : plugins) {
    const std::string from = plugin.rfind("test-", 0) == 0 ? build + "test-plugins\\" + plugin : build + plugin;
    CopyFileA(from.c_str(), (folder + "\\" + plugin).c_str(), FALSE);
  }
  return folder;
}

const std::vector<std::string> kTestPlugins = {"test-two-formats.spi", "test-wrong-version.spi", "test-crash.spi",
                                               "test-hang.spi"};

// A picture of the test plug-ins' own format: one colour, blue green red.
std::string TestPicture(const char* signature, int width, int height, const char bgr[3]) {
  std::string bytes(signature, 3);
  bytes += '\0';
  for (int value : {width, height}) bytes += {char(value & 255), char(value >> 8)};
  return bytes + std::string(bgr, 3);
}

// The first test format's picture of 5 x 4 green pixels, written as
// picture.vt1 into the folder; its path.
std::string WriteTestOnePicture(const std::string& folder) {
  const char green[3] = {10, char(220), 30};
  const std::string path = folder + "\\picture.vt1";
  WriteFileBytes(path, TestPicture("VT1", 5, 4, green));
  return path;
}

// A plug-in's picture held as the open command holds it.
DibImagePtr HeldThroughPlugins(const PluginTable& table, const std::string& folder, const std::string& path) {
  return NormalizeImage(nullptr, LoadPictureThroughPlugins(table, folder, path.c_str()));
}

bool ExpectSolidPicture(const DibImage* image, int width, int height, const char bgr[3], const std::string& what) {
  if (!Expect(image != nullptr, what + " gives a picture")) return false;
  bool ok = ExpectEqual(DibWidth(*image), width, what + ": width");
  ok &= ExpectEqual(DibHeight(*image), height, what + ": height");
  ok &= ExpectEqual(DibBitCount(*image), 24, what + ": depth");
  ok &= Expect(std::memcmp(DibPixels(*image), bgr, 3) == 0, what + ": colour");
  return ok;
}

// Discovery keeps the plug-ins that answer "IN", in listing order; their
// formats fill the filter; a file opens through the plug-in that reads it,
// and a plug-in that crashes or hangs in GetPicture costs only that file.
bool PluginsDecodeInAHelper() {
  const std::string folder = MakeProgramFolder(kTestPlugins);
  PluginTable table;
  DiscoverPlugins(table, folder);
  bool ok = ExpectEqual(table.count, 3, "plug-ins accepted (the wrong version left out)");
  const std::string filter = BuildOpenFilter(table);
  ok &= Expect(filter.find("Test One Pictures (*.vt1)\n*.vt1\nTest Two Pictures (*.vt2;*.vtt)\n*.vt2;*.vtt\n") !=
                   std::string::npos,
               "the two formats in the filter, in order: " + filter);
  ok &= Expect(filter.find("Wrong") == std::string::npos, "no entry of the refused plug-in");

  const char blue[3] = {char(200), 20, 10};
  const std::string picture = folder + "\\picture.vt2";
  WriteFileBytes(picture, TestPicture("VT2", 3, 2, blue));
  DibImagePtr image = HeldThroughPlugins(table, folder, picture);
  ok &= ExpectSolidPicture(image.get(), 3, 2, blue, "a test picture");

  for (const char* name : {"picture.crash", "picture.hang"}) {
    WriteFileBytes(folder + "\\" + name, "nothing to see");
    ok &= Expect(!LoadPictureThroughPlugins(table, folder, (folder + "\\" + name).c_str()), std::string(name) + " gives none");
  }
  image = HeldThroughPlugins(table, folder, picture);
  ok &= ExpectSolidPicture(image.get(), 3, 2, blue, "the test picture after the crash and the hang");
  return ok;
}

// Each picture that Pillow or ImageMagick wrote opens through the shipped
// plug-in with the pixels Pillow decodes from it (within a small tolerance
// for JPEG); the damaged ones open not at all.
bool ShippedPluginReadsPictures() {
  const std::string folder = MakeProgramFolder({"vitrelle-wic.spi"});
  PluginTable table;
  DiscoverPlugins(table, folder);
  bool ok = ExpectEqual(table.count, 1, "the shipped plug-in is accepted");
  const std::string filter = BuildOpenFilter(table);
  for (const char* entry : {"PNG Files (*.png)\n*.png\n", "JPEG Files (*.jpg;*.jpeg;*.jpe;*.jfif)\n",
                            "TIFF Files (*.tif;*.tiff)\n", "Icon Files (*.ico)\n"})
    ok &= Expect(filter.find(entry) != std::string::npos, std::string("the filter lists ") + entry);

  const std::string pictures = DriverFolder() + "\\plugin-pictures\\";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((pictures + "*").c_str(), &found);
  int checked = 0;
  if (!Expect(search != INVALID_HANDLE_VALUE, "the test pictures exist in " + pictures)) return false;
  do {
    const std::string name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || name.size() < 4 || name.substr(name.size() - 4) == ".bmp")
      continue;
    ++checked;
    DibImagePtr image = HeldThroughPlugins(table, folder, pictures + name);
    if (name.rfind("bad-", 0) == 0) {
      ok &= Expect(!image, name + " does not open");
      continue;
    }
    DibImagePtr expected = NormalizeImage(nullptr, ReadBmpFile((pictures + name + ".bmp").c_str()));
    if (!Expect(image != nullptr, name + " opens") || !Expect(expected != nullptr, name + ".bmp reads")) {
      ok = false;
      continue;
    }
    ok &= ExpectEqual(DibWidth(*image), DibWidth(*expected), name + ": width");
    ok &= ExpectEqual(DibHeight(*image), DibHeight(*expected), name + ": height");
    ok &= ExpectEqual(DibBitCount(*image), 24, name + ": depth");
    if (DibTotalSize(*image) != DibTotalSize(*expected)) continue;
    const int tolerance = name.substr(name.size() - 4) == ".jpg" ? 8 : 0;
    int worst = 0;
    const size_t size = DibTotalSize(*image) - kInfoHeaderSize;
    for (size_t i = 0; i < size; ++i) worst = std::max(worst, std::abs(DibPixels(*image)[i] - DibPixels(*expected)[i]));
    ok &= Expect(worst <= tolerance, name + ": largest difference " + std::to_string(worst));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  ok &= Expect(checked >= 14, "pictures checked: " + std::to_string(checked));
  return ok;
}

// The picture size the image view shows (it adds a border of 1 pixel).
bool ExpectViewShows(HWND main, int width, int height, const std::string& what) {
  HWND view = FindChild(main, "VTRCHILD");
  if (!Expect(view != nullptr, "the image view exists")) return false;
  const SIZE size = WindowSize(view);
  return ExpectEqual(size.cx - 2, width, what + ": width in the view") &
         ExpectEqual(size.cy - 2, height, what + ": height in the view");
}

// Opens the file through the Open dialog; the main window once it shows it.
HWND OpenThroughDialog(const Program& program, HWND main, const std::string& path) {
  SendCommand(main, IDM_OPEN);
  HWND dialog = WaitForDialog(program, "Open file");
  if (!Expect(dialog != nullptr, "the Open dialog appears")) return nullptr;
  ChooseFileName(dialog, path);
  return WaitForTitle(program, path);
}

// The Open dialog lists every plug-in format between the program's own
// entry and "All Files", each plug-in's formats in their order, the refused
// plug-in's not at all; a test picture opens through it from the dialog and
// from the command line.
bool PluginFormatsOpenFromDialogAndCommandLine() {
  std::vector<std::string> plugins = kTestPlugins;
  plugins.push_back("vitrelle-wic.spi");
  const std::string folder = MakeProgramFolder(plugins);
  const std::string picture = WriteTestOnePicture(folder);

  Program program;
  HWND main = StartMainWindow(program, folder);
  if (!main) return false;
  SendCommand(main, IDM_OPEN);
  HWND dialog = WaitForDialog(program, "Open file");
  if (!Expect(dialog != nullptr, "the Open dialog appears")) return false;
  const std::vector<std::string> types = FileTypeEntries(dialog);
  bool ok = Expect(types.size() >= 2, "the file type list has entries");
  if (ok) {
    ok &= ExpectEqual(types.front(), "BMP/GIF Files (*.BMP,*.GIF)", "the first file type");
    ok &= ExpectEqual(types.back(), "All Files (*.*)", "the last file type");
  }
  auto position = [&](const std::string& entry) {
    for (size_t i = 0; i < types.size(); ++i)
      if (types[i] == entry) return long(i);
    return -1L;
  };
  const long first = position("Test One Pictures (*.vt1)");
  ok &= Expect(first > 0, "the first test format is listed");
  ok &= ExpectEqual(position("Test Two Pictures (*.vt2;*.vtt)"), first + 1, "the second test format follows it");
  for (const char* entry : {"Crash Pictures (*.crash)", "PNG Files (*.png)", "JPEG Files (*.jpg;*.jpeg;*.jpe;*.jfif)",
                            "TIFF Files (*.tif;*.tiff)"})
    ok &= Expect(position(entry) > 0, std::string("the file types list ") + entry);
  ok &= ExpectEqual(position("Wrong Version Pictures (*.wrong)"), -1, "the refused plug-in's format");

  ChooseFileName(dialog, picture);
  main = WaitForTitle(program, picture);
  if (!Expect(main != nullptr, "the picture opens from the dialog")) return false;
  ok &= ExpectViewShows(main, 5, 4, "the test picture");
  ok &= CloseProgram(program, main);

  Program again;
  main = StartWithFile(again, picture, folder);
  if (!Expect(main != nullptr, "the picture opens from the command line")) return false;
  ok &= ExpectViewShows(main, 5, 4, "the test picture");
  return CloseProgram(again, main) && ok;
}

// A program folder with the test plug-ins, a file that only a failing
// plug-in takes (by its name's extension), and a 6 x 3 test picture.
struct FailingPluginFiles {
  std::string folder, failing, picture;
};

FailingPluginFiles MakeFailingPluginFiles(const char* failingName) {
  const std::string folder = MakeProgramFolder(kTestPlugins);
  FailingPluginFiles files = {folder, folder + "\\" + failingName, folder + "\\picture.vt2"};
  WriteFileBytes(files.failing, "no picture here");
  const char red[3] = {0, 0, char(250)};
  WriteFileBytes(files.picture, TestPicture("VT2", 6, 3, red));
  return files;
}

// A plug-in that crashes in GetPicture costs that file: "Cannot open file",
// and the program goes on, with its plug-ins.
bool PluginCrashCostsOneFile() {
  const FailingPluginFiles files = MakeFailingPluginFiles("picture.crash");
  const std::string &folder = files.folder, &crash = files.failing, &picture = files.picture;
  Program program;
  if (!Expect(StartProgramIn(program, folder, "\"" + crash + "\""), "vitrelle.exe starts")) return false;
  HWND box = WaitForDialog(program, crash);
  if (!Expect(box != nullptr, "a message box with the path as caption appears")) return false;
  bool ok = ExpectEqual(MessageBoxText(box), TextOf(IDS_OPEN_FAILED), "the message");
  ClickButton(box, IDOK);
  ok &= Expect(WaitForClose(box), "the message box closes");
  HWND main = WaitForWindow(program, "vitrelle");
  if (!Expect(main != nullptr, "the program still runs")) return false;
  ok &= ExpectEqual(WindowText(main), "Vitrelle", "the title after the failed open");

  main = OpenThroughDialog(program, main, picture);
  if (!Expect(main != nullptr, "a picture still opens through a plug-in")) return false;
  ok &= ExpectViewShows(main, 6, 3, "the test picture");
  return CloseProgram(program, main) && ok;
}

// Whether the decoding helper is running.
bool HelperRuns() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    found = lstrcmpiA(entry.szExeFile, "vitrelle-decode.exe") == 0;
  CloseHandle(snapshot);
  return found;
}

// While a plug-in hangs, the program answers and keeps its picture; at the
// time limit the file is given up with "Cannot open file", and the helper
// ends together with the second one the plug-in started.
bool PluginHangKeepsProgramAnswering() {
  const FailingPluginFiles files = MakeFailingPluginFiles("picture.hang");
  const std::string &folder = files.folder, &hang = files.failing, &picture = files.picture;
  Program program;
  HWND main = StartWithFile(program, picture, folder);
  if (!Expect(main != nullptr, "the picture opens")) return false;
  SendCommand(main, IDM_OPEN);
  bool ok = FillFileDialog(program, "Open file", hang);
  ok &= Expect(WaitUntil(HelperRuns), "the decoding helper starts");
  // The Open dialog lay over the window: the picture is drawn again at once.
  ok &= Expect(ScreenShows(FindChild(main, "VTRCHILD"), 6, 3, std::vector<uint32_t>(6 * 3, 0xFA0000)),
               "the picture is drawn while the plug-in hangs");
  DWORD_PTR answer = 0;
  ok &= Expect(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &answer) != 0,
               "the program answers while the plug-in hangs");
  ok &= Expect(HelperRuns(), "the plug-in still hangs after that answer");
  ok &= AnswerMessageBox(program, hang, TextOf(IDS_OPEN_FAILED), IDOK);
  ok &= Expect(WaitUntil([] { return !HelperRuns(); }, 3000), "no helper outlives the time limit");
  ok &= ExpectEqual(WindowText(main), picture, "the title after the hanging plug-in");
  ok &= ExpectViewShows(main, 6, 3, "the picture kept");
  return CloseProgram(program, main) && ok;
}

// A BMP file that the program reads is never handed to a plug-in, even one
// that takes every *.bmp file; a damaged one that the readers refuse is.
bool OwnReadersComeBeforePlugins() {
  const std::string folder = MakeProgramFolder(kTestPlugins);
  const std::string real = folder + "\\real.bmp", damaged = folder + "\\damaged.bmp";
  DibImagePtr source = CreateDibImage(9, 6, 24);
  bool ok = Expect(source && WriteBmpFile(nullptr, real.c_str(), *source), "a BMP file is written");
  WriteFileBytes(damaged, "BM not really");

  Program program;
  HWND main = StartWithFile(program, real, folder);
  if (!Expect(main != nullptr, "the BMP file opens")) return false;
  ok &= ExpectViewShows(main, 9, 6, "the BMP file read by the program");
  main = OpenThroughDialog(program, main, damaged);
  if (!Expect(main != nullptr, "the damaged BMP file opens through the plug-in")) return false;
  ok &= ExpectViewShows(main, 7, 5, "the plug-in's picture of the damaged file");
  return CloseProgram(program, main) && ok;
}

// A PNG file opens out of the box through the shipped plug-in; each damaged
// PNG, JPEG and TIFF file then gives "Cannot open file", and the PNG stays.
bool ShippedPluginOpensPng() {
  const std::string folder = MakeProgramFolder({"vitrelle-wic.spi"});
  const std::string pictures = DriverFolder() + "\\plugin-pictures\\", png = pictures + "rgba.png";
  Program program;
  HWND main = StartWithFile(program, png, folder);
  if (!Expect(main != nullptr, "the PNG file opens")) return false;
  bool ok = ExpectViewShows(main, 23, 17, "the PNG picture");

  int damaged = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((pictures + "bad-*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found), ++damaged) {
    const std::string path = pictures + found.cFileName;
    SendCommand(main, IDM_OPEN);
    ok &= FillFileDialog(program, "Open file", path);
    ok &= AnswerMessageBox(program, path, TextOf(IDS_OPEN_FAILED), IDOK);
    ok &= ExpectEqual(WindowText(main), png, std::string("the title after ") + found.cFileName);
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  ok &= ExpectEqual(damaged, 6, "damaged files tried");
  ok &= ExpectViewShows(main, 23, 17, "the PNG picture kept");
  return CloseProgram(program, main) && ok;
}

// A folder the program is started in (a download folder, say) holding a
// picture, a vitrelle.exe and a plug-in, with a decoding helper beside it:
// none of its code runs, neither at this start nor at the next, and the
// program's own plug-ins still read a picture from there.
bool CodeRunsOnlyFromTheProgramFolder() {
  const std::string folder = MakeProgramFolder({"test-two-formats.spi"});
  const std::string planted = MakeProgramCopy("planted");
  const std::string build = DriverFolder() + "\\";
  CopyFileA((build + "vitrelle-decode.exe").c_str(), (planted + "\\vitrelle-decode.exe").c_str(), FALSE);
  CopyFileA((build + "test-plugins\\test-marker.spi").c_str(), (planted + "\\x.spi").c_str(), FALSE);
  const std::string marker = planted + "\\x.spi.loaded";
  const std::string picture = planted + "\\picture.bmp";
  DibImagePtr source = CreateDibImage(9, 6, 24);
  bool ok = Expect(source && WriteBmpFile(nullptr, picture.c_str(), *source), "a BMP file is written");
  const std::string testPicture = WriteTestOnePicture(planted);
  DeleteSettings();

  Program program;
  HWND main = StartWithFile(program, picture, folder, planted);
  if (!Expect(main != nullptr, "the picture opens")) return false;
  ok &= ExpectEqual(UserRegistryValue(kSettingsKey, "plug in"), folder, "\"plug in\" names the program's folder");
  main = OpenThroughDialog(program, main, testPicture);
  if (!Expect(main != nullptr, "a picture opens through the program's own plug-in")) return false;
  ok &= ExpectViewShows(main, 5, 4, "the test picture");
  ok &= CloseProgram(program, main);
  ok &= Expect(!FileExists(marker), "the folder's plug-in was never loaded");

  Program again;
  main = StartMainWindow(again, folder);
  if (!main) return false;
  ok &= CloseProgram(again, main);
  return Expect(!FileExists(marker), "the folder's plug-in was not loaded at the next start either") && ok;
}

// How many reply files of the helper lie in the temporary folder.
int HelperReplyFiles() {
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(temporary) + "vpb*.tmp").c_str(), &found);
  int count = 0;
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) ++count;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return count;
}

// Plug-ins whose start-up code crashes or hangs are left out; the program
// starts, lists the other plug-ins' formats and opens their files, and
// leaves no helper and no reply file behind. The one that hung is
// remembered and not loaded again at the next start.
bool StartupCrashOrHangCostsOnlyThatPlugin() {
  const std::string folder = MakeProgramFolder(
      {"test-crash-at-start.spi", "test-hang-at-start.spi", "test-two-formats.spi", "test-marker.spi"});
  const std::string hangMarker = folder + "\\test-hang-at-start.spi.loaded";
  const std::string goodMarker = folder + "\\test-marker.spi.loaded";
  const std::string picture = WriteTestOnePicture(folder);
  DeleteSettings();
  const int replyFiles = HelperReplyFiles();

  Program program;
  HWND main = StartWithFile(program, picture, folder);
  if (!Expect(main != nullptr, "the picture opens through the plug-in that works")) return false;
  bool ok = ExpectViewShows(main, 5, 4, "the test picture");
  ok &= Expect(!HelperRuns(), "no helper is left running");
  ok &= ExpectEqual(HelperReplyFiles(), replyFiles, "reply files left in the temporary folder");
  ok &= Expect(FileExists(hangMarker) && FileExists(goodMarker), "both plug-ins were asked");
  ok &= Expect(!UserRegistryValue(kSettingsKey, "failed plug-in test-hang-at-start.spi").empty(),
               "the hanging plug-in is remembered");
  ok &= Expect(UserRegistryValue(kSettingsKey, "failed plug-in test-two-formats.spi").empty(),
               "the plug-in that works is not");
  SendCommand(main, IDM_OPEN);
  HWND dialog = WaitForDialog(program, "Open file");
  if (!Expect(dialog != nullptr, "the Open dialog appears")) return false;
  const std::vector<std::string> types = FileTypeEntries(dialog);
  const long startup = long(std::count(types.begin(), types.end(), std::string("Start-up Pictures (*.start)")));
  ok &= ExpectEqual(startup, 1, "file types of the start-up plug-ins (only the marker's)");
  ok &= Expect(std::count(types.begin(), types.end(), std::string("Test One Pictures (*.vt1)")) == 1,
               "the working plug-in's formats are listed");
  ClickButton(dialog, IDCANCEL);
  ok &= Expect(WaitForClose(dialog), "the Open dialog closes");
  ok &= CloseProgram(program, main);

  DeleteFileA(hangMarker.c_str());
  DeleteFileA(goodMarker.c_str());
  Program again;
  main = StartWithFile(again, picture, folder);
  if (!Expect(main != nullptr, "the picture opens again")) return false;
  ok &= Expect(FileExists(goodMarker), "the working plug-ins are asked again");
  ok &= Expect(!FileExists(hangMarker), "the remembered plug-in is not loaded again");
  return CloseProgram(again, main) && ok;
}

// A 32-bit plug-in runs in the 32-bit helper beside the 64-bit program and
// opens its format. Where Wine runs no 32-bit programs (the test command
// says so in VITRELLE_E2E_32BIT_WINE), it is left out and remembered with
// that reason, and the 64-bit plug-in beside it still opens its files.
bool Plugin32BitRunsInItsOwnHelper() {
  const std::string folder = MakeProgramFolder({"test-32bit.spi", "vitrelle-wic.spi"});
  CopyFileA((DriverFolder() + "\\vitrelle-decode32.exe").c_str(), (folder + "\\vitrelle-decode32.exe").c_str(), FALSE);
  const char* runs32 = std::getenv("VITRELLE_E2E_32BIT_WINE");
  const bool wine32 = runs32 && std::strcmp(runs32, "1") == 0;
  DibImagePtr png = CreateDibImage(6, 3, 24);
  const std::string picture = wine32 ? WriteTestOnePicture(folder) : folder + "\\picture.png";
  if (!wine32 && !WritePngFile(*png, picture, {})) return Expect(false, "the PNG picture is written");
  DeleteSettings();

  Program program;
  HWND main = StartWithFile(program, picture, folder);
  if (!Expect(main != nullptr, "the picture opens")) return false;
  bool ok = wine32 ? ExpectViewShows(main, 5, 4, "the 32-bit plug-in's picture")
                   : ExpectViewShows(main, 6, 3, "the 64-bit plug-in's picture");
  const std::string record = UserRegistryValue(kSettingsKey, "failed plug-in test-32bit.spi");
  if (wine32) {
    ok &= Expect(record.empty(), "the 32-bit plug-in is not remembered as failed: " + record);
  } else {
    ok &= Expect(record.size() > std::strlen(kPluginHelperCannotStart) &&
                     record.compare(record.size() - std::strlen(kPluginHelperCannotStart), std::string::npos,
                                    kPluginHelperCannotStart) == 0,
                 "the 32-bit plug-in is remembered with the reason: " + record);
  }
  return CloseProgram(program, main) && ok;
}

}  // namespace

VITRELLE_SCENARIO("plugin-32bit-runs-in-its-own-helper", Plugin32BitRunsInItsOwnHelper);
VITRELLE_SCENARIO("code-runs-only-from-the-program-folder", CodeRunsOnlyFromTheProgramFolder);
VITRELLE_SCENARIO("startup-crash-or-hang-costs-only-that-plugin", StartupCrashOrHangCostsOnlyThatPlugin);
VITRELLE_SCENARIO("plugins-decode-in-a-helper", PluginsDecodeInAHelper);
VITRELLE_SCENARIO("shipped-plugin-reads-pictures", ShippedPluginReadsPictures);
VITRELLE_SCENARIO("plugin-formats-open-from-dialog-and-command-line", PluginFormatsOpenFromDialogAndCommandLine);
VITRELLE_SCENARIO("plugin-crash-costs-one-file", PluginCrashCostsOneFile);
VITRELLE_SCENARIO("plugin-hang-keeps-program-answering", PluginHangKeepsProgramAnswering);
VITRELLE_SCENARIO("own-readers-come-before-plugins", OwnReadersComeBeforePlugins);
VITRELLE_SCENARIO("shipped-plugin-opens-png", ShippedPluginOpensPng);
