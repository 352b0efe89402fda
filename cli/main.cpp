// vitrelle-cli: makes and converts pictures without a window.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

static void PrintUsage(std::FILE* out) {
  std::fprintf(out, "Usage: vitrelle-cli COMMAND [OPTIONS] ...\n\nCommands:\n");
  for (const CliCommand* command = kCliCommands; command->name; ++command) std::fprintf(out, "%s\n", command->usage);
  std::fprintf(out, "\nvitrelle-cli COMMAND --help explains the options of one command.\n");
}

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const CliCommand* command = kCliCommands; command->name; ++command) {
    if (!std::strcmp(argv[1], command->name)) return command->run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "Unknown command: %s\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
