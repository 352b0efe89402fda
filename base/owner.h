// The owner record: how core operations reach the window they work for.
// The Windows shell fills it with message boxes and the main window's title;
// vitrelle-cli with standard error; tests with a recorder. Every function
// pointer may be null, and so may the owner itself: then nothing is shown.
#pragma once

#include <string>

struct Owner {
  void* context = nullptr;
  // A warning message box (exclamation icon, OK button).
  void (*warn)(void* context, const char* text, const char* caption) = nullptr;
  // An OK/Cancel question; true for OK.
  bool (*ask)(void* context, const char* text, const char* caption) = nullptr;
  // The owner window's title (at most 99 characters are kept).
  std::string (*getCaption)(void* context) = nullptr;
  void (*setCaption)(void* context, const char* text) = nullptr;
};

void OwnerWarn(const Owner* owner, const char* text, const char* caption);
// Without an ask function the answer is Cancel.
bool OwnerAsk(const Owner* owner, const char* text, const char* caption);

// Shows progress in the owner's title and puts the old title back when it
// goes out of scope.
class CaptionScope {
 public:
  explicit CaptionScope(const Owner* owner);
  ~CaptionScope();
  CaptionScope(const CaptionScope&) = delete;
  CaptionScope& operator=(const CaptionScope&) = delete;
  void Show(const char* text);

 private:
  const Owner* owner_;
  std::string saved_;
};
