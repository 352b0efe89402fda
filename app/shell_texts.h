// The texts the main window shows about its picture, and the file name taken
// from the command line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The string id of the colour name for a bit count: 24, 16, 8, 4 and 1 have
// their own; any other count takes the name of the next listed depth above
// it (above 24: full color).
int ColorNameId(int bitCount);

// "Image Info.(WxH colour name)", for the status bar.
std::string ImageInfoText(int width, int height, int bitCount);

// The file to open named by a command line. With every double quote dropped
// and the other characters kept in order, the line is the name when that
// names an existing file (an unquoted path with spaces, for one). Otherwise,
// when it holds two or more quoted names, as Explorer passes several files,
// the first of them is the name and the others are ignored; else the line
// without its quotes is. False when the name would not fit in a buffer of
// `capacity` bytes with its terminating zero; the name is then refused,
// never cut.
bool FileNameFromCommandLine(const char* commandLine, size_t capacity,
                             const std::function<bool(const std::string&)>& fileExists, std::string& name);

// Whether a file-to-open name names something to open: its first byte, taken
// as unsigned, is above 30 (an empty or control-character name opens nothing).
bool NamesFileToOpen(const std::string& name);
