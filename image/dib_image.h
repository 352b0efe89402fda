// The in-memory picture: one contiguous block holding a packed
// device-independent bitmap, laid out as clipboard data (CF_DIB) and as a
// BMP file after its 14-byte file header:
//
//   header       a 40-byte BITMAPINFOHEADER (12-byte core headers and longer
//                info headers occur only in data from outside)
//   colour table RGBQUAD entries (RGBTRIPLE after a core header)
//   pixel rows   bottom-up, each padded to a multiple of 4 bytes
//
// Width and height are 16-bit quantities. The accessors trust the header;
// blocks from outside are checked by their readers before anyone else sees
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/owner.h"

// Offsets of the BITMAPINFOHEADER fields within the block.
enum InfoHeaderField : size_t {
  kBiSize = 0,
  kBiWidth = 4,
  kBiHeight = 8,
  kBiPlanes = 12,
  kBiBitCount = 14,
  kBiCompression = 16,
  kBiSizeImage = 20,
  kBiXPelsPerMeter = 24,
  kBiYPelsPerMeter = 28,
  kBiClrUsed = 32,
  kBiClrImportant = 36,
};
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;

// Values of biCompression.
enum BitmapCompression : uint32_t {
  kBiRgb = 0,
  kBiRle8 = 1,
  kBiRle4 = 2,
  kBiBitFields = 3,
  kBiJpeg = 4,
  kBiPng = 5,
  kBiAlphaBitFields = 6,
};

struct RgbQuad {
  uint8_t blue, green, red, reserved;
};

// A DibImage owns its block. The block may be larger than its content.
struct DibImage {
  std::unique_ptr<uint8_t[]> block;
  size_t blockSize = 0;

  uint8_t* start() { return block.get(); }
  const uint8_t* start() const { return block.get(); }
};
using DibImagePtr = std::unique_ptr<DibImage>;

// A zero-filled block of the given size, or none if no memory could be had.
DibImagePtr AllocateDibBlock(size_t size);

// The bytes of a full 256-entry colour table.
constexpr size_t kFullColorTableBytes = 256 * 4;

// The block size CreateDibImage reserves: the header, a full colour table and
// the rows at their stride for 8 bits per pixel (24 above 8), so that a
// palette picture may still be given any depth up to 8 and any table.
size_t DibBlockReservation(int width, int height, int depth);
// The most bytes of pixel rows a picture may take in memory: room for any
// of today's screens, while the 32-bit plug-in helper still finds room for a
// plug-in's picture, and the program for the current picture, its
// Brightness copy and the conversions made beside it.
constexpr uint64_t kMostPixelBytes = uint64_t(256) << 20;

// A picture's width and height as its header claims them.
struct PictureSize {
  int width = 0;
  int height = 0;
};

// True when the rows CreateDibImage reserves for a picture of this size and
// depth take at most kMostPixelBytes. Every reader and the generator ask this
// before they make a picture.
bool PictureFitsInMemory(int width, int height, int depth);
// Tells the owner "The picture is too large: W x H" with the caption.
void WarnPictureTooLarge(const Owner* owner, PictureSize size, const char* caption);

// A new image with a 40-byte header of the given size and depth (a depth above
// 8 becomes 24), colour table and pixels zero, in a block of
// DibBlockReservation bytes. Width and height are taken as signed 16-bit
// numbers. None if no memory could be had or the picture does not fit in
// memory.
DibImagePtr CreateDibImage(int width, int height, int depth);
void ReleaseDibImage(DibImagePtr& image);
// A copy of the whole block.
DibImagePtr CopyDibImage(const DibImage& image);

uint32_t DibHeaderSize(const DibImage& image);
int DibWidth(const DibImage& image);   // low 16 bits, unsigned
int DibHeight(const DibImage& image);  // low 16 bits, unsigned
int DibBitCount(const DibImage& image);
// Number of colour-table entries the header announces (RGBQUAD or RGBTRIPLE).
int DibTableEntries(const DibImage& image);
uint8_t* DibPixels(DibImage& image);
const uint8_t* DibPixels(const DibImage& image);
RgbQuad* DibColorTable(DibImage& image);  // info headers only
const RgbQuad* DibColorTable(const DibImage& image);
int DibColorCount(const DibImage& image);
// Bytes per row of a held picture, whose depths above 8 are stored as 24
// bits; 0 for depths it does not hold (such as 2).
size_t DibRowStride(int width, int depth);
// Bytes per row of a bitmap of any depth as it comes from outside: the bits
// of its pixels, padded to a multiple of 4 bytes.
uint64_t BitmapRowStride(uint64_t width, int depth);
size_t DibTotalSize(const DibImage& image);
// Index of the last table entry with these colours; the colour count if none.
int DibFindColor(const DibImage& image, int red, int green, int blue);

// Header field access for the 40-byte header of the program's own images.
uint32_t DibInfoField(const DibImage& image, InfoHeaderField field);
void SetDibInfoField(DibImage& image, InfoHeaderField field, uint32_t value);
