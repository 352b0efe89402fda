// Windows bitmap files: a 14-byte file header followed by a packed DibImage.
//
//   offset 0  "BM"
//   offset 2  u32 file size
//   offset 6  two reserved u16
//   offset 10 u32 offset of the pixel rows
//   offset 14 the DibImage block: header, colour table, pixel rows
//
// The reader accepts a 12-byte core header or any info header of 16 bytes and
// more, and refuses a file that does not hold what its header promises. Pixel
// rows placed further back (a larger row offset) are moved up to follow the
// colour table, as the block layout requires. After a 40-byte header with
// bit-field compression the colour masks stay between header and table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/file_io.h"
#include "base/owner.h"
#include "image/dib_image.h"

constexpr size_t kBmpFileHeaderSize = 14;

// Reads a BMP file held in memory: the block, or none when the data is not a
// BMP file or does not hold what its header promises. A picture that would
// not fit in memory (PictureFitsInMemory) is refused too, with its claimed
// size in `tooLarge` when given.
DibImagePtr ReadBmpBytes(const uint8_t* data, size_t size, PictureSize* tooLarge = nullptr);
// Reads a BMP file as ReadBmpBytes does; a picture too large to hold is
// refused from its headers, before its rows are read. Shows no message.
DibImagePtr ReadBmpFile(const char* path, PictureSize* tooLarge = nullptr);

// The width and height a BMP file's headers give, read from the start of
// the file alone; false when it is not a BMP file whose headers
// ReadDibHeader takes.
bool ReadBmpFileSize(const char* path, PictureSize& size);

// Bytes of bit-field masks that sit between a 40-byte header and its colour
// table (12 for BI_BITFIELDS, 16 for BI_ALPHABITFIELDS, otherwise 0).
size_t DibMaskBytes(const DibImage& image);

// What a bitmap header from outside promises about its block.
struct DibHeader {
  uint32_t headerSize = 0;
  bool coreHeader = false;  // 12 bytes, RGBTRIPLE table entries
  int width = 0;
  int height = 0;  // rows, by magnitude
  bool topDown = false;
  int depth = 0;
  uint32_t compression = kBiRgb;
  uint64_t tableEntries = 0;
  uint64_t tableOffset = 0;  // after the header and any bit-field masks
  uint64_t pixelOffset = 0;  // after the table
};
// Reads the header at the start of a block of `size` bytes. False unless it
// is a core header or an info header of 16 bytes and more, width and height
// are 1 to 32767, a palette depth names at most 256 colours, and the block
// holds the header, the masks and the table.
bool ReadDibHeader(const uint8_t* block, uint64_t size, DibHeader& header);
// True when the block starts with a header ReadDibHeader takes whose picture
// would not fit in memory; its width and height are then in `claimed`.
bool ClaimsTooLargePicture(const uint8_t* block, uint64_t size, PictureSize& claimed);

// Writes file header and image block to a sink; false if the sink refused
// bytes or the block does not hold what its header describes.
bool WriteBmp(const ByteSink& sink, const DibImage& image);
// Writes the image as a BMP file, replacing any old file only once the new
// one is complete. False on failure; the failure to create the file is shown
// as "Cannot open file" with the path as caption.
bool WriteBmpFile(const Owner* owner, const char* path, const DibImage& image);
