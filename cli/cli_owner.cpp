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
