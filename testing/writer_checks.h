// The checks every picture writer passes: it ignores the bits of a row that
// hold no pixel, and it replaces a file only with a whole picture.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/dib_image.h"
#include "testing/gif_test_pictures.h"
#include "testing/test_support.h"

// Pictures of 1 and 4 bits whose rows end inside a byte are written alike
// whatever the unused low bits of their last byte and the row padding hold.
inline void ExpectBitsBeyondTheRowIgnored(const std::function<std::vector<uint8_t>(const DibImage&)>& write) {
  for (int depth : {1, 4}) {
    DibImagePtr image = RulePicture(5, 3, depth, [](int x, int y) { return x ^ y; });
    const std::vector<uint8_t> clean = write(*image);
    const size_t stride = DibRowStride(5, depth);
    for (int y = 0; y < 3; ++y) {
      uint8_t* row = DibPixels(*image) + y * stride;
      if (depth == 1) row[0] |= 0x07;  // bits 2 to 0 lie beyond pixel 4
      if (depth == 4) row[2] |= 0x0F;
      row[3] = 0xFF;  // row padding
    }
    EXPECT_EQ(write(*image), clean) << depth;
  }
}

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
