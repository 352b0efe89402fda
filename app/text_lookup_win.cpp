#include "app/text_lookup_win.h"

std::string LoadText(HINSTANCE instance, int id) {
  char text[512];
  const int length = LoadStringA(instance, static_cast<UINT>(id), text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}
