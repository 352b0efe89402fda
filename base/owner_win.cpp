#include "base/owner_win.h"

static HWND WindowOf(void* context) { return *static_cast<HWND*>(context); }

Owner WindowOwner(HWND* window) {
  Owner owner;
  owner.context = window;
  owner.warn = [](void* context, const char* text, const char* caption) {
    MessageBoxA(WindowOf(context), text, caption, MB_OK | MB_ICONWARNING);
  };
  owner.ask = [](void* context, const char* text, const char* caption) {
    return MessageBoxA(WindowOf(context), text, caption, MB_OKCANCEL) == IDOK;
  };
  owner.getCaption = [](void* context) {
    char text[100] = "";
    const int length = GetWindowTextA(WindowOf(context), text, sizeof text);
    return std::string(text, length > 0 ? size_t(length) : 0);
  };
  owner.setCaption = [](void* context, const char* text) { SetWindowTextA(WindowOf(context), text); };
  return owner;
}
