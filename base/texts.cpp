#include "base/texts.h"

const char* TextOf(int id) {
  switch (id) {
#define VTR_TEXT(name, number, text) \
  case number: return text;
#include "resources/strings.def"
#undef VTR_TEXT
  }
  return "";
}
