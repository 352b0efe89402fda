// The image-loader plug-ins as the program sees them: the table of accepted
// plug-ins with the answers they gave, the Open filter entries they describe,
// and loading a file by asking each of them in turn. The library calls
// themselves are made in the helper process (decode_helper_win.cpp); here
// they are function pointers, so that tests can put fakes in their place.
//
// A plug-in is a library that exports GetPluginInfo, IsSupported and
// GetPicture. GetPluginInfo answers numbered questions into a 200-byte
// buffer: 0 is the interface version (accepted when its third and fourth
// characters are "IN"), 2k + 2 the file pattern and 2k + 3 the description of
// format k; the formats end at the first k whose description is refused.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "image/dib_image.h"

constexpr int kMaxPlugins = 20;
constexpr int kPluginInfoSize = 200;
// The whole Open filter, line feeds and the final zero byte included.
constexpr size_t kOpenFilterCapacity = 504;
// No plug-in describes more formats than this; a plug-in that answers every
// question is not asked forever.
constexpr int kMaxPluginFormats = 100;

// Asks one plug-in's GetPluginInfo: non-zero when it wrote the answer.
using PluginInfoFunction = int (*)(void* module, int number, char* buffer, int length);

// What a plug-in answered: its version text (empty when it is no plug-in or
// did not answer) and, for each format it describes, the pattern (empty
// when refused) and the description.
struct PluginAnswers {
  std::string version;
  std::vector<std::pair<std::string, std::string>> formats;
};

// Asks the version and, when it is accepted, every format, each answer cut
// to kPluginInfoSize - 1 characters.
PluginAnswers AskPluginAnswers(PluginInfoFunction info, void* module);

// The processor a library is built for, from its PE header; each kind is
// run by the helper built for it.
enum class PluginMachine {
  kNone,   // no PE file, or one the header of which does not hold together
  kX64,    // 64-bit: vitrelle-decode.exe
  kI386,   // 32-bit: vitrelle-decode32.exe
  kOther,  // ARM64 and any other: no helper runs it
};

struct PluginEntry {
  std::string fileName;  // the library's file name in the program directory
  PluginAnswers answers;
  PluginMachine machine = PluginMachine::kX64;
};

struct PluginTable {
  PluginEntry entries[kMaxPlugins];
  int count = 0;
};

// Whether an interface version text says "IN" at its third and fourth characters.
bool IsAcceptedVersion(const char* text);

// What becomes of a library offered to the table.
enum class PluginOffer {
  kAccepted,  // now in the table
  kRefused,   // its version text is not accepted: unload it
  kTableFull, // the table holds kMaxPlugins already: unload it
};
// Adds the library to the table when its version is accepted.
PluginOffer OfferPlugin(PluginTable& table, const std::string& fileName, const PluginAnswers& answers,
                        PluginMachine machine = PluginMachine::kX64);

// The Open filter text: "BMP/GIF Files (*.BMP,*.GIF)\n*.BMP;*.GIF\n", then for
// each format of each plug-in in table order "description (pattern)\npattern\n",
// then "All Files (*.*)\n*.*\n". A format whose entry no longer fits into
// kOpenFilterCapacity is left out (and so are all after it), so that the list
// always stays whole and ends with "All Files"; so is a format whose
// description or pattern is empty or holds a line break, which would break
// the description and pattern pairs apart.
std::string BuildOpenFilter(const PluginTable& table);

// Decodes one file with one plug-in; none when that plug-in cannot.
using PluginDecodeFunction = DibImagePtr (*)(void* context, const PluginEntry& plugin, const char* path);

// Asks every plug-in in table order, also after one has succeeded: the
// picture of the last plug-in that delivered one is the result, or none.
DibImagePtr LoadThroughPlugins(const PluginTable& table, const char* path, PluginDecodeFunction decode,
                               void* context);
