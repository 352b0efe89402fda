#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/bmp_file.h"
#include "image/normalize.h"
#include "plugins/plugin_library_win.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"

namespace {

// A program folder of the scenario's own: the program, its Pattern file and
// decoding helper, and the named plug-ins (from the build folder or its
// test-plugins folder). Ends in a backslash.
std::string MakeProgramFolder(const std::vector<std::string>& plugins) {
  const std::string build = DriverFolder() + "\\";
  const std::string folder = ScenarioFolder() + "program\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"vitrelle.exe", "vitrelle.cfg", "vitrelle-decode.exe"})
    CopyFileA((build + name).c_str(), (folder + name).c_str(), FALSE);
  for (const std::string& plugin : plugins) {
    const std::string from = plugin.rfind("test-", 0) == 0 ? build + "test-plugins\\" + plugin : build + plugin;
    CopyFileA(from.c_str(), (folder + plugin).c_str(), FALSE);
  }
  return folder;
}

const std::vector<std::string> kTestPlugins = {"test-two-formats.spi", "test-wrong-version.spi", "test-crash.spi",
                                               "test-hang.spi"};

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return ok;
}

// A picture of the test plug-ins' own format: one colour, blue green red.
std::string TestPicture(const char* signature, int width, int height, const char bgr[3]) {
  std::string bytes(signature, 3);
  bytes += '\0';
  for (int value : {width, height}) bytes += {char(value & 255), char(value >> 8)};
  return bytes + std::string(bgr, 3);
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
  const std::string picture = folder + "picture.vt2";
  WriteFileBytes(picture, TestPicture("VT2", 3, 2, blue));
  DibImagePtr image = LoadPictureThroughPlugins(table, folder, picture.c_str());
  ok &= ExpectSolidPicture(image.get(), 3, 2, blue, "a test picture");

  for (const char* name : {"picture.crash", "picture.hang"}) {
    WriteFileBytes(folder + name, "nothing to see");
    ok &= Expect(!LoadPictureThroughPlugins(table, folder, (folder + name).c_str()), std::string(name) + " gives none");
  }
  image = LoadPictureThroughPlugins(table, folder, picture.c_str());
  ok &= ExpectSolidPicture(image.get(), 3, 2, blue, "the test picture after the crash and the hang");
  UnloadPlugins(table);
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
    DibImagePtr image = LoadPictureThroughPlugins(table, folder, (pictures + name).c_str());
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
  UnloadPlugins(table);
  return ok;
}

}  // namespace

VITRELLE_SCENARIO("plugins-decode-in-a-helper", PluginsDecodeInAHelper);
VITRELLE_SCENARIO("shipped-plugin-reads-pictures", ShippedPluginReadsPictures);
