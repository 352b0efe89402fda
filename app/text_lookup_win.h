// Numbered texts from the program's string table (resources/strings.def).
#pragma once

#include <windows.h>

#include <string>

// The text of a string-table entry (at most 511 characters); empty when the
// entry does not exist.
std::string LoadText(HINSTANCE instance, int id);
