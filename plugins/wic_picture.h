// The portable half of the shipped plug-in (vitrelle-wic.spi): which files it
// takes, and how a decoded picture (32-bit BGRA rows, top-down, as the
// system's imaging component converts every format to) becomes the two
// blocks that GetPicture hands back: a 40-byte bitmap header, and bottom-up
// rows of 24 bits, or of 32 bits when some pixel is not fully opaque.
#pragma once

#include <cstddef>
#include <cstdint>

enum class WicFormat { kNone, kPng, kJpeg, kTiff, kIco, kWebp, kHeif };

// The format that the first bytes of a file announce; kNone for anything else.
WicFormat SniffWicFormat(const uint8_t* head, size_t size);

// The largest picture the plug-in decodes, in pixels; a width or height
// above 32767 is refused too.
constexpr uint64_t kMaxWicPixels = uint64_t(64) << 20;

// The depth of the picture handed back: 32 when any alpha byte is below 255.
int WicOutputDepth(const uint8_t* bgra, uint64_t pixelCount);
// Bytes of the pixel block for that size and depth; 0 when the picture is
// empty or beyond the limits above.
size_t WicPixelBlockSize(int width, int height, int depth);
// The 40-byte header of the header block.
constexpr size_t kWicHeaderBlockSize = 40;
void WriteWicHeader(uint8_t* header, int width, int height, int depth);
// The pixel block (of WicPixelBlockSize bytes) from the BGRA rows.
void WriteWicPixels(const uint8_t* bgra, int width, int height, int depth, uint8_t* pixels);
