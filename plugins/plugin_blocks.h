// The two blocks a plug-in's GetPicture hands back, and how they travel from
// the decoding helper process to the program.
//
// The header block holds a bitmap header and its colour table (and, after a
// 40-byte header with bit-field compression, the three colour masks between
// them); the pixel block holds the rows that header describes. A block's size
// from the memory manager may exceed what it holds, so the sizes needed are
// computed from the header and checked against the blocks.
//
// The helper's reply, written to a file the program names:
//   offset 0  "VPB1"
//   offset 4  u32 size of the header block
//   offset 8  u32 size of the pixel block
//   offset 12 the header block, then the pixel block
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/dib_image.h"

// The largest block the helper hands back (a picture of 8192 x 8192 pixels
// at 32 bits); anything larger counts as failed, so that a 32-bit program
// always has room to take it.
constexpr size_t kMaxPluginBlockSize = size_t(256) << 20;

// Joins the blocks into one DibImage with the pixels right after the colour
// table. None when the header is not one the program reads, the header
// block does not hold header, masks and table, or the pixel block holds fewer
// rows than the header promises. Run-length pixels are taken whole; their
// decoder checks them.
DibImagePtr JoinPluginBlocks(const uint8_t* header, size_t headerSize, const uint8_t* pixels, size_t pixelSize);

// The reply that carries both blocks.
std::vector<uint8_t> EncodePluginReply(const uint8_t* header, size_t headerSize, const uint8_t* pixels,
                                       size_t pixelSize);
// The joined image of a reply; none when the reply does not hold exactly
// what its sizes say or the blocks cannot be joined.
DibImagePtr DecodePluginReply(const uint8_t* reply, size_t size);

// How the helper process ends; its exit code.
enum class PluginDecodeStatus : int {
  kDelivered = 0,
  kNotSupported = 1,  // IsSupported said no, or the plug-in lacks it
  kFailed = 2,        // GetPicture failed, lacks a block or is missing
  kUnusable = 3,      // the blocks are too large or cannot be read
  kBadArguments = 4,  // the helper was started wrongly or cannot load the plug-in
};

// The plug-in's decoding calls as the helper makes them, behind function
// pointers (the library calls in the helper, fakes in tests). A null
// isSupported or getPicture stands for a missing export.
struct PluginDecodeCalls {
  void* context = nullptr;
  // IsSupported with the full path and the file's first 2 KB.
  int (*isSupported)(void* context, const char* path, const uint8_t* head) = nullptr;
  // GetPicture with offset 0 and flags 0; 0 on success.
  int (*getPicture)(void* context, const char* path, void** header, void** pixels) = nullptr;
  // The block's size from the memory manager, its bytes while locked, and its release.
  size_t (*blockSize)(void* context, void* block) = nullptr;
  const uint8_t* (*lock)(void* context, void* block) = nullptr;
  void (*unlock)(void* context, void* block) = nullptr;
  void (*release)(void* context, void* block) = nullptr;
};

constexpr size_t kPluginHeadSize = 2048;

// Asks the plug-in about the file (head: its first 2 KB, zero-filled past its
// end) and, when it can read it, fetches the picture into a reply. Every
// block the plug-in hands over is released.
PluginDecodeStatus DecodeWithPlugin(const PluginDecodeCalls& calls, const char* path, const uint8_t* head,
                                    std::vector<uint8_t>& reply);
