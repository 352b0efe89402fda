#include "cli/cli_owner.h"

#include <cstdio>

static void WarnOnStandardError(void*, const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", text, caption);
}

Owner CliOwner() {
  Owner owner;
  owner.warn = WarnOnStandardError;
  return owner;
}

static void KeepFirstWarning(void* context, const char* text, const char* caption) {
  std::string& message = *static_cast<std::string*>(context);
  if (message.empty()) message = std::string(text) + ": " + caption;
}

Owner MessageKeepingOwner(std::string& message) {
  Owner owner;
  owner.context = &message;
  owner.warn = KeepFirstWarning;
  return owner;
}
