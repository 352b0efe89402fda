// The plug-in libraries of the program directory: found at start-up, and
// asked for their information and to decode a file, always in a helper
// process (vitrelle-decode.exe beside the program), so that a plug-in that
// crashes or hangs costs that plug-in or that one file, never the program.
// No plug-in code is ever loaded into the program itself.
#pragma once

#include <string>

#include "plugins/plugin_discovery.h"
#include "plugins/plugin_table.h"

// How long one plug-in may take for one file before its helper is ended.
constexpr unsigned long kPluginTimeLimitMilliseconds = 10000;
// How long one plug-in may take to load and answer its information.
constexpr unsigned long kPluginInfoTimeLimitMilliseconds = 5000;

// Asks every "*.spi" file of the folder, in the order the directory lists
// them, and keeps those that answer information 0 with "IN" at the third and
// fourth characters (at most kMaxPlugins). A library that crashes or hangs
// meanwhile is left out and remembered, and those remembered with their
// file unchanged are not asked at all. A folder that is not a full path
// that fits gives no plug-ins.
void DiscoverPlugins(PluginTable& table, const std::string& programFolder, const FailedPluginMemory& memory = {});

// The picture of the file from the last plug-in that could decode it, as its
// blocks joined it (not yet held); none when no plug-in delivered. Shows nothing.
DibImagePtr LoadPictureThroughPlugins(const PluginTable& table, const std::string& programFolder,
                                      const char* path);
