// The check every picture file writer passes: it replaces a file only with
// a whole picture.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "testing/test_support.h"

using PictureFileWrite = std::function<bool(const Owner*, const char*, const DibImage&)>;
using PictureFileRead = std::function<std::vector<uint8_t>(const std::string&)>;

// `good` replaces a file of other bytes and reads back as `expected`; a
// picture the writer refuses leaves that file as it was, with no temporary
// file beside it and nothing said; a missing folder is told as "Cannot open
// file" with the path.
inline void ExpectFileReplacedOnlyWhenComplete(const std::string& extension, const DibImage& good,
                                               const DibImage& refused, const PictureFileWrite& write,
                                               const PictureFileRead& read, const std::vector<uint8_t>& expected) {
  TestFolder folder;
  OwnerRecorder recorder;
  const Owner owner = recorder.owner();
  const std::string path = folder.PathOf("out" + extension);
  ASSERT_TRUE(WriteBytes(path, {1, 2, 3}));
  EXPECT_TRUE(write(&owner, path.c_str(), good));
  EXPECT_EQ(read(path), expected);

  EXPECT_FALSE(write(&owner, path.c_str(), refused));
  EXPECT_EQ(read(path), expected);
  EXPECT_EQ(folder.FileCount(), 1u);
  EXPECT_TRUE(recorder.warnings.empty());

  const std::string missing = folder.PathOf("no/such/folder" + extension);
  EXPECT_FALSE(write(&owner, missing.c_str(), good));
  EXPECT_EQ(recorder.warnings, std::vector<std::string>{Shown(IDS_CANNOT_OPEN_FILE, missing)});
}
