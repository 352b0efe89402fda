// The log of the wallpapers the tool has set, "wallpapers.log": one line a
// wallpaper, oldest first, the last kWallpaperLogLimit kept. A line reads
//
//   TIME<TAB>ARRANGEMENT<TAB>SCREEN<TAB>recipe<TAB>RECIPE LINE
//   TIME<TAB>ARRANGEMENT<TAB>SCREEN<TAB>file<TAB>PICTURE PATH
//
// TIME as "2026-12-09 14:05:12 UTC", ARRANGEMENT "tile" or "center", SCREEN
// the desktop that took it; a picture without a recipe is logged by its file.
// Control characters in the texts are written as '?', so that every entry
// stays one line. Lines that read otherwise are skipped.
#pragma once

#include <string>
#include <vector>

constexpr size_t kWallpaperLogLimit = 100;
constexpr char kWallpaperLogName[] = "wallpapers.log";

struct WallpaperLogEntry {
  std::string time, arrangement, screen;
  std::string recipe;  // the recipe line, or empty
  std::string file;    // the picture file, when it carries no recipe
};

// The entries of a log's text, oldest first.
std::vector<WallpaperLogEntry> ReadWallpaperLog(const std::string& text);
// The text of the entries' last kWallpaperLogLimit.
std::string WallpaperLogText(const std::vector<WallpaperLogEntry>& entries);

// Adds the entry to the log file, dropping the oldest beyond the limit; the
// file is replaced whole, through a temporary file beside it. False when it
// cannot be written (the old log then stays).
bool AppendWallpaperLog(const std::string& path, const WallpaperLogEntry& entry);
// The entries of the log file, newest first; false when there is no log file
// or it cannot be read.
bool ReadWallpaperLogFile(const std::string& path, std::vector<WallpaperLogEntry>& newestFirst);
