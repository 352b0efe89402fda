// Numbered texts of the program, shared with the resource script's string
// table through resources/strings.def.
#pragma once

enum TextId : int {
#define VTR_TEXT(name, number, text) name = number,
#include "resources/strings.def"
#undef VTR_TEXT
};

// The text of a numbered entry; an empty text for an unknown number.
const char* TextOf(int id);
