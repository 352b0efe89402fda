#include "base/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "testing/test_support.h"

namespace {

std::string ContentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SafeFileWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FolderOf(testFolder_.PathOf("user.dat"));
    target_ = folder_ / "user.dat";
    std::ofstream(target_) << "old";
  }
  size_t FilesInFolder() const {
    return size_t(std::distance(std::filesystem::directory_iterator(folder_), {}));
  }

  TestFolder testFolder_;
  std::filesystem::path folder_, target_;
};

TEST_F(SafeFileWriterTest, CommitReplacesTheTarget) {
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(target_.string().c_str(), "MF"));
  EXPECT_EQ(FolderOf(writer.temporaryPath()), folder_.string());
  EXPECT_EQ(std::filesystem::path(writer.temporaryPath()).filename().string().substr(0, 2), "MF");
  std::fputs("new", writer.file());
  EXPECT_EQ(ContentOf(target_), "old");  // untouched until the new file is complete
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ContentOf(target_), "new");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(SafeFileWriterTest, AbandonedWriteKeepsTheOldFile) {
  {
    SafeFileWriter first, second;
    ASSERT_TRUE(first.Open(target_.string().c_str(), "MF"));
    ASSERT_TRUE(second.Open(target_.string().c_str(), "MF"));
    EXPECT_NE(first.temporaryPath(), second.temporaryPath());
    std::fputs("partial", first.file());
  }
  EXPECT_EQ(ContentOf(target_), "old");
  EXPECT_EQ(FilesInFolder(), 1u);
}

// The program passes names as UTF-8, whatever the system's code page.
std::string Utf8(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

TEST_F(SafeFileWriterTest, ReplacesFilesNamedInAnyLanguage) {
  const std::filesystem::path folder = folder_ / std::filesystem::path(u8"Vitrelle Ünïcødé 図案 ★");
  std::filesystem::create_directory(folder);
  const std::filesystem::path target = folder / std::filesystem::path(u8"Bild ★ 図案.cfg");
  std::ofstream(target) << "old";
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(Utf8(target).c_str(), "MF"));
  std::fputs("new", writer.file());
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ContentOf(target), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

#ifndef _WIN32
// A new version keeps the old file's permissions, and replaces the file that
// a chain of links (relative or absolute) ends at, the links staying links.
TEST_F(SafeFileWriterTest, KeepsPermissionsAndWritesThroughLinks) {
  namespace fs = std::filesystem;
  fs::create_directory(folder_ / "elsewhere");
  const fs::path real = folder_ / "elsewhere" / "real.dat";
  const struct {
    fs::perms mode;
    std::vector<fs::path> links;  // what user.dat, then each link after it, points to
  } cases[] = {{fs::perms(0600), {}}, {fs::perms(0751), {}}, {fs::perms(0640), {"elsewhere/real.dat"}},
               {fs::perms(0604), {"hop.lnk", real}}};
  for (const auto& c : cases) {
    for (const fs::path& old : {target_, folder_ / "hop.lnk", real}) fs::remove(old);
    fs::path at = target_;
    for (const fs::path& link : c.links) {
      fs::create_symlink(link, at);
      at = folder_ / link;
    }
    std::ofstream(at) << "old";
    fs::permissions(at, c.mode);
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(target_.string().c_str(), "MF"));
    std::fputs("new", writer.file());
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ContentOf(at), "new") << at;
    EXPECT_EQ(fs::status(at).permissions(), c.mode) << at;
    EXPECT_EQ(fs::is_symlink(target_), !c.links.empty()) << at;
  }
  fs::remove(target_);
  fs::create_symlink("user.dat", target_);  // a link to itself
  SafeFileWriter writer;
  EXPECT_FALSE(writer.Open(target_.string().c_str(), "MF"));
}
#endif

TEST(FileIo, FolderOf) {
  EXPECT_EQ(FolderOf("a/b/c.cfg"), "a/b");
  EXPECT_EQ(FolderOf("C:\\prog\\vitrelle.cfg"), "C:\\prog");
  EXPECT_EQ(FolderOf("plain.cfg"), ".");
  EXPECT_EQ(FolderOf("/root.cfg"), "/");
}

TEST(FileIo, PathInFolderPutsOneSeparatorBetween) {
  const struct {
    const char* folder;
    const char* expected;
  } cases[] = {
      {"", "x.bmp"},
      {"C:\\prog\\", "C:\\prog\\x.bmp"},
      {"dir/", "dir/x.bmp"},
#ifdef _WIN32
      {"dir", "dir\\x.bmp"},
#else
      {"dir", "dir/x.bmp"},
#endif
  };
  for (const auto& c : cases) EXPECT_EQ(PathInFolder(c.folder, "x.bmp"), c.expected) << c.folder;
}

TEST(FileIo, ReadFileBytesReadsWholeFilesWithinTheLimit) {
  TestFolder folder;
  const std::string path = folder.Write(std::string("a\0b\r\n", 5), "data.bin");
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(path.c_str(), bytes, 5));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{'a', 0, 'b', '\r', '\n'}));
  EXPECT_FALSE(ReadFileBytes(path.c_str(), bytes, 4));
  EXPECT_TRUE(FileExists(path));
  const std::string missing = folder.PathOf("missing.bin");
  EXPECT_FALSE(ReadFileBytes(missing.c_str(), bytes));
  EXPECT_FALSE(FileExists(missing));
  // A folder may open but claims a size that must never be allocated.
  EXPECT_FALSE(ReadFileBytes(FolderOf(path).c_str(), bytes));
}

TEST(FileIo, VectorSinkCollectsBytes) {
  std::vector<uint8_t> bytes;
  ByteSink sink = VectorSink(&bytes);
  const uint8_t data[] = {1, 2, 3};
  EXPECT_TRUE(sink.Put(data, 3));
  EXPECT_TRUE(sink.Put(data, 1));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3, 1}));
}

}  // namespace
