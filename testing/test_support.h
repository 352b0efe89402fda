// Test support: pictures as independent decoders see them (ImageMagick's
// /usr/bin/convert, Pillow through /usr/bin/python3) and as a held image
// holds them, a folder of files for one test, and an owner that records what
// it is shown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/owner.h"
#include "base/texts.h"
#include "image/dib_image.h"

// The independent decoders (ImageMagick, Pillow, giflib) are Linux tools:
// the Windows build of the tests skips the tests that compare with them.
#ifdef _WIN32
#define SKIP_WITHOUT_LINUX_TOOLS() GTEST_SKIP() << "compares with ImageMagick, Pillow or giflib: native build only"
#else
#define SKIP_WITHOUT_LINUX_TOOLS() static_cast<void>(0)
#endif

// Runs a shell command; true when it exits with 0.
bool RunCommand(const std::string& command);

// Red, green, blue bytes of every pixel, top row first.
std::vector<uint8_t> MagickRgb(const std::string& path);
std::vector<uint8_t> HeldRgb(const DibImage& image);

// Colour-table index of every pixel, top row first (Pillow: palette pictures only).
std::vector<uint8_t> PillowIndexes(const std::string& path);
std::vector<uint8_t> HeldIndexes(const DibImage& image);

// A picture as Pillow reads it: its mode ("P", "RGB", ...), colour table as
// red-green-blue bytes, the transparent index (-1 for none, -2 for anything
// but one index), and its pixels (indexes or red-green-blue), top row first.
// The mode is empty when Pillow cannot read the file.
struct PillowPicture {
  std::string mode;
  std::vector<uint8_t> palette;
  int transparency = -1;
  std::vector<uint8_t> pixels;
};
PillowPicture ReadWithPillow(const std::string& path);

// Writes a binary PPM picture (the input format every tool reads).
bool WritePpm(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
// Writes bytes as a file.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh folder named after the running test, removed afterwards.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  std::string PathOf(const std::string& name) const;
  // Writes a file into the folder and returns its path.
  std::string Write(const std::string& content, const std::string& name = "vitrelle.cfg") const;
  static std::string Read(const std::string& path);
  size_t FileCount() const;

 private:
  std::filesystem::path folder_;
};

// Lets writes beyond `bytes` into any file fail, as on a full disk, while it
// lives. Only where the system can limit file sizes (not on Windows).
class FileSizeLimit {
 public:
  static bool Supported();
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long long saved_ = 0;
};

// Records the warnings, questions and captions an operation shows through
// its owner. Questions are answered from `script` in turn (true: OK), and
// with `answer` once the script is used up.
struct OwnerRecorder {
  std::vector<std::string> warnings;   // "text|caption"
  std::vector<std::string> questions;  // "text|caption"
  std::vector<bool> script;
  bool answer = false;
  std::vector<std::string> captions;  // every caption set, in order
  std::string caption = "Vitrelle";   // the current title

  Owner owner();
};

// A message as OwnerRecorder records it: the numbered text, then its caption.
std::string Shown(TextId text, const std::string& caption);
std::string Shown(TextId text, TextId caption);
