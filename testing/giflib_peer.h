// giflib as an independent peer for the tests and the benchmark (never part
// of the program): files decoded and encoded in memory by giflib, and the
// LZW image data of a file for byte-for-byte comparison.
#pragma once

#include <cstdint>
#include <vector>

struct PeerPicture {
  int width = 0, height = 0;
  int bitsPerPixel = 8;          // of the colour map
  std::vector<uint8_t> colors;   // red, green, blue of each map entry
  std::vector<uint8_t> indexes;  // width x height, top row first
  std::vector<uint8_t> fileOrderIndexes;  // the rows as the file holds them (decoding only)
  bool interlace = false;
  int transparentIndex = -1;     // -1: no graphic control extension
  bool gif89 = true;
  bool localColorMap = false;    // the map goes with the image, not the screen
};

// Decodes the first image (rows in top-to-bottom order); false when giflib
// refuses the file.
bool GiflibDecode(const std::vector<uint8_t>& file, PeerPicture& picture);
// Encodes a picture with giflib; empty when giflib fails.
std::vector<uint8_t> GiflibEncode(const PeerPicture& picture);

// The first image's data: minimum code size byte through the block
// terminator. Empty when the file cannot be walked to it.
std::vector<uint8_t> GifImageData(const std::vector<uint8_t>& file);
