// Checks every source file against the layering of the folders: a folder
// includes only folders below it, only `_win` files include Windows headers,
// and the shared test helpers stay out of the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The layer of each folder of the program; a file may include its own folder
// and folders of a lower layer.
const std::map<std::string, int> kLayerOf = {
    {"base", 0}, {"image", 1}, {"gif", 2}, {"generator", 2}, {"wallpaper", 3}, {"plugins", 3}, {"app", 4}, {"cli", 5},
};

// Folders whose files only test or measure the program: they may include any
// folder of the program and the shared test helpers.
bool IsTestFolder(const std::string& folder) {
  return folder == "testing" || folder == "tests" || folder == "bench" || folder == "fuzz";
}

bool IsWindowsHeader(const std::string& header) {
  static const char* const kHeaders[] = {"windows.h", "windowsx.h", "commctrl.h", "commdlg.h", "shellapi.h",
                                         "shlobj.h",  "shlwapi.h",  "winreg.h",   "winuser.h", "wingdi.h",
                                         "objbase.h", "ole2.h",     "wininet.h",  "winbase.h"};
  std::string lower;
  for (char c : header) lower += char(c >= 'A' && c <= 'Z' ? c + 32 : c);
  for (const char* name : kHeaders) {
    if (lower == name) return true;
  }
  return false;
}

bool IsWinFile(const std::string& path) {
  const std::string stem = fs::path(path).stem().string();
  return stem.size() >= 4 && stem.compare(stem.size() - 4, 4, "_win") == 0;
}

bool IsTestFile(const std::string& path) {
  const std::string stem = fs::path(path).stem().string();
  return stem.size() >= 5 && stem.compare(stem.size() - 5, 5, "_test") == 0;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// What is wrong with `line` in the file at `path` (relative to the source
// folder), or an empty text when nothing is.
std::string LayerViolation(const std::string& path, const std::string& line) {
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line.compare(start, 8, "#include") != 0) return std::string();
  const size_t open = line.find_first_of("<\"", start + 8);
  if (open == std::string::npos) return std::string();
  const size_t close = line.find(line[open] == '<' ? '>' : '"', open + 1);
  if (close == std::string::npos) return std::string();
  const std::string header = line.substr(open + 1, close - open - 1);
  const std::string folder = FolderOf(path);

  if (line[open] == '<') {
    if (IsWindowsHeader(header) && !IsWinFile(path)) return "only _win files include <" + header + ">";
    return std::string();
  }
  if (IsWinFile(header) && !IsWinFile(path) && !IsTestFolder(folder)) {
    return "only _win files include " + header;
  }
  const std::string target = FolderOf(header);
  if (target == "resources") {
    return header == "resources/resource.h" || header == "resources/strings.def" ? std::string()
                                                                                  : "includes " + header;
  }
  if (target == "testing") {
    return IsTestFile(path) || IsTestFolder(folder) ? std::string() : "only tests include " + header;
  }
  const auto own = kLayerOf.find(folder);
  const auto other = kLayerOf.find(target);
  if (own == kLayerOf.end() || target == folder) return std::string();
  if (other == kLayerOf.end()) return "includes " + header + " from outside the program's folders";
  if (other->second >= own->second) return "reaches up or sideways to " + header;
  return std::string();
}

TEST(Layers, TheRuleCatchesEveryKindOfBreak) {
  struct Case {
    const char* path;
    const char* line;
    bool allowed;
  };
  const Case cases[] = {
      {"image/bmp_file.cpp", "#include \"base/file_io.h\"", true},
      {"image/bmp_file.cpp", "#include \"image/dib_image.h\"", true},
      {"image/bmp_file.cpp", "#include \"gif/gif_save_options.h\"", false},
      {"gif/gif_reader.cpp", "#include \"generator/pattern_file.h\"", false},
      {"base/owner.cpp", "#include \"image/dib_image.h\"", false},
      {"generator/pattern_panel_win.cpp", "#include \"app/main_window_win.h\"", false},
      {"app/main_win.cpp", "  #include <windows.h>", true},
      {"app/picture_files.cpp", "#include <Windows.h>", false},
      {"image/dib_image.h", "#include \"image/brightness_win.h\"", false},
      {"cli/main.cpp", "#include \"testing/test_support.h\"", false},
      {"cli/make_command_test.cpp", "#include \"testing/test_support.h\"", true},
      {"bench/gif_bench.cpp", "#include \"testing/giflib_peer.h\"", true},
      {"app/main_win.cpp", "#include \"resources/resource.h\"", true},
      {"gif/gif_reader.cpp", "#include <cstdio>", true},
      {"gif/gif_reader.cpp", "// #include \"app/picture_files.h\" is a comment", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayerViolation(c.path, c.line).empty(), c.allowed) << c.path << ": " << c.line;
  }
}

TEST(Layers, EveryFileKeepsToItsLayer) {
  const fs::path root = VITRELLE_SOURCE_DIR;
  if (!fs::exists(root / "base")) GTEST_SKIP() << "the source folder is not reachable from here";
  std::vector<std::string> violations;
  int files = 0;
  for (const auto& [folder, layer] : kLayerOf) {
    if (!fs::exists(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      const std::string path = fs::relative(entry.path(), root).generic_string();
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        const std::string violation = LayerViolation(path, line);
        if (!violation.empty()) violations.push_back(path + ":" + std::to_string(number) + ": " + violation);
      }
      ++files;
    }
  }
  EXPECT_GT(files, 30);
  EXPECT_EQ(violations, std::vector<std::string>());
}

}  // namespace
