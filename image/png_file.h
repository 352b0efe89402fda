// The PNG writer: a held picture as a PNG file, laid out as
//
//   signature 89 50 4E 47 0D 0A 1A 0A
//   IHDR  width, height (u32, big-endian), bit depth, colour type, 0, 0, 0
//         (palette pictures: their own depth 1, 4 or 8 with colour type 3;
//         full colour: depth 8 with colour type 2, red-green-blue)
//   PLTE  the colour table, as many entries as the picture's pixels need
//   tRNS  only with a transparent index: alpha 255 for every entry up to it,
//         0 for that one entry
//   tEXt  one for each text given: keyword, a zero byte, the text
//   IDAT  zlib data (level 6) of the rows, top row first, each preceded by
//         its filter byte; split into chunks of at most 64 KiB
//   IEND
//
// Every chunk is length (u32), type, data, CRC-32 of type and data. Palette
// rows go unfiltered, which compresses them best; full-colour rows each get
// the filter whose output has the smallest sum of absolute byte values, and
// are compressed by runs only (photographs) or with the search for repeats
// (drawings), whichever does better on a sample of the rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/owner.h"
#include "image/dib_image.h"

// A tEXt chunk: keyword (1 to 79 Latin-1 characters) and text.
struct PngText {
  std::string keyword, text;
};

struct PngOptions {
  // The one colour-table entry written as fully transparent; ignored for
  // full-colour pictures and for an index beyond the picture's depth.
  std::optional<int> transparentIndex;
  std::vector<PngText> texts;
};

// Writes the picture to a sink. False when it is not a picture of 1, 4, 8 or
// 24 bits without compression, its block does not hold what its header
// describes, memory ran out, or the sink refused bytes.
bool WritePng(const ByteSink& sink, const DibImage& image, const PngOptions& options);
// Writes the picture as a PNG file, replacing any old file only once the new
// one is complete. False on failure; the failure to create the file is shown
// as "Cannot open file" with the path as caption.
bool WritePngFile(const Owner* owner, const char* path, const DibImage& image, const PngOptions& options);
// The same, showing nothing.
bool WritePngFile(const DibImage& image, const std::string& path, const PngOptions& options);

// The text of a PNG file's first tEXt chunk with that keyword whose checksum
// holds and that has at most 4096 bytes; empty when the file is no PNG file
// or has no such chunk. Every chunk length is checked against the file.
std::string ReadPngText(const char* path, const std::string& keyword);
