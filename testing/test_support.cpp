#include "testing/test_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "base/file_io.h"

// Standard output of a shell command; empty when it could not run.
static std::vector<uint8_t> CommandOutput(const std::string& command) {
  std::vector<uint8_t> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  uint8_t buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + got);
  if (pclose(pipe) != 0) out.clear();
  return out;
}

bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

std::vector<uint8_t> MagickRgb(const std::string& path) {
  return CommandOutput("/usr/bin/convert '" + path + "' -depth 8 rgb:- 2>/dev/null");
}

std::vector<uint8_t> PillowIndexes(const std::string& path) {
  return CommandOutput("/usr/bin/python3 -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                       "sys.stdout.buffer.write(im.tobytes() if im.mode == 'P' else b'')\" '" + path + "' 2>/dev/null");
}

PillowPicture ReadWithPillow(const std::string& path) {
  const std::vector<uint8_t> out = CommandOutput(
      "/usr/bin/python3 -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1]); im.load(); "
      "pal = bytes(im.getpalette() or []) if im.mode == 'P' else b''; t = im.info.get('transparency', -1); "
      "t = t if isinstance(t, int) else -2; "
      "sys.stdout.buffer.write(b'%s %d %d\\n' % (im.mode.encode(), t, len(pal)) + pal + im.tobytes())\" '" +
      path + "' 2>/dev/null");
  PillowPicture picture;
  const auto lineEnd = std::find(out.begin(), out.end(), uint8_t('\n'));
  if (lineEnd == out.end()) return picture;
  char mode[16] = "";
  size_t paletteBytes = 0;
  if (std::sscanf(std::string(out.begin(), lineEnd).c_str(), "%15s %d %zu", mode, &picture.transparency,
                  &paletteBytes) != 3 ||
      size_t(out.end() - lineEnd - 1) < paletteBytes) {
    return picture;
  }
  picture.mode = mode;
  picture.palette.assign(lineEnd + 1, lineEnd + 1 + long(paletteBytes));
  picture.pixels.assign(lineEnd + 1 + long(paletteBytes), out.end());
  return picture;
}

// Index of pixel x in a stored row of a palette image.
static int IndexAt(const uint8_t* row, int x, int depth) {
  if (depth == 8) return row[x];
  if (depth == 4) return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
  return (row[x / 8] >> (7 - x % 8)) & 1;
}

std::vector<uint8_t> HeldIndexes(const DibImage& image) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  std::vector<uint8_t> out;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) out.push_back(uint8_t(IndexAt(DibPixels(image) + y * stride, x, depth)));
  }
  return out;
}

std::vector<uint8_t> HeldRgb(const DibImage& image) {
  const int width = DibWidth(image), height = DibHeight(image), depth = DibBitCount(image);
  const size_t stride = DibRowStride(width, depth);
  std::vector<uint8_t> out;
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* row = DibPixels(image) + y * stride;
    for (int x = 0; x < width; ++x) {
      if (depth == 24) {
        out.insert(out.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
      } else {
        const RgbQuad& color = DibColorTable(image)[IndexAt(row, x, depth)];
        out.insert(out.end(), {color.red, color.green, color.blue});
      }
    }
  }
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FilePtr file = OpenFile(path.c_str(), "wb");
  return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

bool WritePpm(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
  const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), rgb.begin(), rgb.end());
  return WriteBytes(path, bytes);
}

TestFolder::TestFolder() {
  folder_ = std::filesystem::path(::testing::TempDir()) /
            ("vt_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
             std::to_string(std::random_device()()));
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
}

TestFolder::~TestFolder() { std::filesystem::remove_all(folder_); }

std::string TestFolder::PathOf(const std::string& name) const { return (folder_ / name).make_preferred().string(); }

std::string TestFolder::Write(const std::string& content, const std::string& name) const {
  const std::string path = PathOf(name);
  WriteBytes(path, std::vector<uint8_t>(content.begin(), content.end()));
  return path;
}

std::string TestFolder::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t TestFolder::FileCount() const {
  return size_t(std::distance(std::filesystem::directory_iterator(folder_), {}));
}

#ifdef _WIN32
bool FileSizeLimit::Supported() { return false; }
FileSizeLimit::FileSizeLimit(unsigned long) {}
FileSizeLimit::~FileSizeLimit() {}
#else
bool FileSizeLimit::Supported() { return true; }

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
  signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  saved_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = rlim_t(saved_);
  setrlimit(RLIMIT_FSIZE, &limit);
}
#endif

Owner OwnerRecorder::owner() {
  Owner o;
  o.context = this;
  o.warn = [](void* context, const char* text, const char* title) {
    static_cast<OwnerRecorder*>(context)->warnings.push_back(std::string(text) + "|" + title);
  };
  o.ask = [](void* context, const char* text, const char* title) {
    auto* recorder = static_cast<OwnerRecorder*>(context);
    recorder->questions.push_back(std::string(text) + "|" + title);
    const size_t turn = recorder->questions.size() - 1;
    return turn < recorder->script.size() ? bool(recorder->script[turn]) : recorder->answer;
  };
  o.getCaption = [](void* context) { return static_cast<OwnerRecorder*>(context)->caption; };
  o.setCaption = [](void* context, const char* text) {
    static_cast<OwnerRecorder*>(context)->caption = text;
    static_cast<OwnerRecorder*>(context)->captions.push_back(text);
  };
  return o;
}

std::string Shown(TextId text, const std::string& caption) { return std::string(TextOf(text)) + "|" + caption; }

std::string Shown(TextId text, TextId caption) { return Shown(text, TextOf(caption)); }
