// Files for the codecs and the Pattern file: a file that closes itself, a
// byte sink that writers write to, and the safe replacement of a file that
// holds user data (write a temporary file beside it, then move it over).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenFile(const char* path, const char* mode);
// Size of an open file in bytes, or -1; the position is left at the start.
long long FileSizeOf(std::FILE* file);
// The whole content of a file; false when it cannot be read, is larger than
// `limit` bytes or there is no memory for it.
bool ReadFileBytes(const char* path, std::vector<uint8_t>& bytes, uint64_t limit = SIZE_MAX / 2);
// True when a file of this name can be opened for reading.
bool FileExists(const char* path);
inline bool FileExists(const std::string& path) { return FileExists(path.c_str()); }
// The name inside the folder: one separator between them (none when the
// folder is empty or already ends in one).
std::string PathInFolder(const std::string& folder, const std::string& name);

// Where a writer puts its bytes. write returns false when not all were taken.
struct ByteSink {
  void* context = nullptr;
  bool (*write)(void* context, const uint8_t* data, size_t size) = nullptr;

  bool Put(const uint8_t* data, size_t size) const { return write(context, data, size); }
};
ByteSink FileSink(std::FILE* file);
ByteSink VectorSink(std::vector<uint8_t>* bytes);

// Writes a new version of a file without ever losing the old one: Open makes
// a temporary file with the given prefix in the target's folder; Commit puts
// its bytes on the disk, closes it and moves it over the target. Until Commit succeeds the target is
// untouched, and the temporary file is removed when the writer goes away.
// The new version keeps the old file's permissions (on Windows its hidden,
// system and not-indexed attributes; a read-only file is not replaced), and
// a target that is a symbolic link has the file it points to replaced, the
// link kept; Open fails on links that go round in a loop.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool Open(const char* targetPath, const char* prefix);
  std::FILE* file() const { return file_.get(); }
  bool Commit();
  const std::string& temporaryPath() const { return temporaryPath_; }

 private:
  void Discard();

  FilePtr file_;
  std::string targetPath_;
  std::string temporaryPath_;
};

// A UTF-8 file name as std::filesystem takes it on every system.
std::filesystem::path FileSystemPath(const std::string& name);

// The folder part of a path ("." when it has none), and its file name.
std::string FolderOf(const std::string& path);
