#include "cli/command_line.h"

#include <cstdio>
#include <cstring>

bool ShowHelpIfAsked(int argc, char** argv, const char* help) {
  for (int i = 0; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(help, stdout);
      return true;
    }
  }
  return false;
}

int UsageError(const char* command, const std::string& text) {
  std::fprintf(stderr, "%s\nTry: vitrelle-cli %s --help\n", text.c_str(), command);
  return kUsageErrorExit;
}

bool TakeOptionValue(int argc, char** argv, int& i, std::string& value) {
  if (i + 1 >= argc) return false;
  value = argv[++i];
  return true;
}
