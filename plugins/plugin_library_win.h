// The plug-in libraries of the program directory: found and loaded at
// start-up, unloaded at shutdown, and asked to decode a file, each in a
// helper process (vitrelle-decode.exe beside the program) so that a plug-in
// that crashes or hangs costs that one file and never the program.
#pragma once

#include <string>

#include "plugins/plugin_table.h"

// How long one plug-in may take for one file before its helper is ended.
constexpr unsigned long kPluginTimeLimitMilliseconds = 10000;

// Loads every "*.spi" file of the folder, in the order the directory lists
// them, and keeps those that answer information 0 with "IN" at the third and
// fourth characters (at most kMaxPlugins). Everything else is unloaded again.
void DiscoverPlugins(PluginTable& table, const std::string& programFolder);
// Unloads every plug-in of the table, in table order, and empties it.
void UnloadPlugins(PluginTable& table);

// The picture of the file from the last plug-in that could decode it, as its
// blocks joined it (not yet held); none when no plug-in delivered. Shows nothing.
DibImagePtr LoadPictureThroughPlugins(const PluginTable& table, const std::string& programFolder,
                                      const char* path);
