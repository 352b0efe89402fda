// Where the tool keeps its files on POSIX systems: the XDG base folders.
#pragma once

#include <string>

// $HOME, or the system's user record when HOME is unset or empty. Empty,
// with `failure` saying why, when it is not a whole path or none is known.
std::string HomeFolder(std::string& failure);

// $NAME when it is a whole path, otherwise the folder `underHome` in the
// home folder: $HOME, or the system's user record when HOME is unset or
// empty. Empty, with `failure` saying why, when HOME is not a whole path or
// no home folder is known, so that nothing is written under "/" or the
// current folder.
std::string XdgFolder(const char* name, const char* underHome, std::string& failure);
