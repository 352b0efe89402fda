#include "base/file_io.h"

#include "base/file_settings.h"

#include <fcntl.h>

#include <cerrno>

#include <filesystem>
#include <new>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#include <sys/stat.h>
#ifndef O_BINARY
#define O_BINARY 0
#endif

FilePtr OpenFile(const char* path, const char* mode) { return FilePtr(std::fopen(path, mode)); }

long long FileSizeOf(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long long size = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool ReadFileBytes(const char* path, std::vector<uint8_t>& bytes, uint64_t limit) {
  FilePtr file = OpenFile(path, "rb");
  if (!file) return false;
  const long long size = FileSizeOf(file.get());
  if (size < 0 || uint64_t(size) > limit || uint64_t(size) > SIZE_MAX / 2) return false;
  // What opens but cannot be read, such as a folder, claims any size: it
  // must fail before that much memory is asked for.
  const int first = std::fgetc(file.get());
  if (first == EOF ? std::ferror(file.get()) != 0 : std::ungetc(first, file.get()) == EOF) return false;
  // A large file may find no room in a 32-bit program: that is a failure to
  // read it, not the end of the program.
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

bool FileExists(const char* path) { return OpenFile(path, "rb") != nullptr; }

std::string PathInFolder(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  constexpr char kSeparator = '\\';
#else
  constexpr char kSeparator = '/';
#endif
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + kSeparator + name;
}

static bool WriteToFile(void* context, const uint8_t* data, size_t size) {
  return std::fwrite(data, 1, size, static_cast<std::FILE*>(context)) == size;
}

static bool WriteToVector(void* context, const uint8_t* data, size_t size) {
  static_cast<std::vector<uint8_t>*>(context)->insert(static_cast<std::vector<uint8_t>*>(context)->end(), data,
                                                       data + size);
  return true;
}

ByteSink FileSink(std::FILE* file) { return ByteSink{file, WriteToFile}; }
ByteSink VectorSink(std::vector<uint8_t>* bytes) { return ByteSink{bytes, WriteToVector}; }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

// File names are UTF-8: the Windows program runs with UTF-8 as its code page
// (see its manifest), while std::filesystem would read a plain string in the
// C library's code page and miss every name with non-ASCII characters.
std::filesystem::path FileSystemPath(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// Creates a new file for writing, failing when the name is taken: never
// write into a file that someone else owns. The name goes through the same
// path conversion as the rename that later moves the file, so that both
// name the same file (on Windows the wide name, not the code page's).
static int CreateNewFile(const std::string& name) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;
#ifdef _WIN32
  return ::_wopen(FileSystemPath(name).c_str(), flags, _S_IREAD | _S_IWRITE);
#else
  return ::open(FileSystemPath(name).c_str(), flags, 0666);
#endif
}

// Waits until the file's bytes are on the disk, not only in the system's
// cache, so that a power cut after the rename cannot leave an empty file.
// On Windows _commit is FlushFileBuffers.
static bool FlushToDisk(std::FILE* file) {
#ifdef _WIN32
  return ::_commit(::_fileno(file)) == 0;
#else
  return ::fsync(::fileno(file)) == 0;
#endif
}

static std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// The file a name stands for once its symbolic links are followed (relative
// ones from their own folder), so that a new version replaces the file a
// link points to and the link stays. Empty when the links go round in a
// loop or cannot be read.
static std::string FileBehindLinks(const std::string& name) {
  constexpr int kMostLinks = 40;
  std::filesystem::path path = FileSystemPath(name);
  for (int link = 0; link < kMostLinks; ++link) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return link == 0 ? name : Utf8Of(path);
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return {};
    path = path.parent_path() / target;
  }
  return {};
}

static void RemoveFile(const std::string& name) {
  std::error_code ignored;
  std::filesystem::remove(FileSystemPath(name), ignored);
}

SafeFileWriter::~SafeFileWriter() { Discard(); }

bool SafeFileWriter::Open(const char* targetPath, const char* prefix) {
  Discard();
  targetPath_ = FileBehindLinks(targetPath);
  if (targetPath_.empty()) return false;
  const std::string folder = FolderOf(targetPath_);
  for (unsigned attempt = 0; attempt < 10000; ++attempt) {
    const std::string candidate = folder + "/" + prefix + std::to_string(attempt) + ".tmp";
    const int fd = CreateNewFile(candidate);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    file_.reset(::fdopen(fd, "wb"));
    if (!file_) {
      ::close(fd);
      RemoveFile(candidate);
      return false;
    }
    temporaryPath_ = candidate;
    return true;
  }
  return false;
}

bool SafeFileWriter::Commit() {
  if (!file_) return false;
  const bool flushed =
      std::fflush(file_.get()) == 0 && !std::ferror(file_.get()) && FlushToDisk(file_.get());
  const bool closed = std::fclose(file_.release()) == 0;
  if (!flushed || !closed) {
    Discard();
    return false;
  }
  KeepFileSettings(FileSystemPath(targetPath_), FileSystemPath(temporaryPath_));
  std::error_code error;
  std::filesystem::rename(FileSystemPath(temporaryPath_), FileSystemPath(targetPath_), error);
  if (error) {
    Discard();
    return false;
  }
  temporaryPath_.clear();
  return true;
}

void SafeFileWriter::Discard() {
  file_.reset();
  if (!temporaryPath_.empty()) RemoveFile(temporaryPath_);
  temporaryPath_.clear();
}
