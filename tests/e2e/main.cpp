// vitrelle-e2e: drives vitrelle.exe (in the same folder) through one scenario.
//   vitrelle-e2e --list    prints the scenario names, one a line
//   vitrelle-e2e NAME      runs that scenario: exit code 0 when it passed
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/scenarios.h"

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain line feeds for the script
  if (argc == 2 && !std::strcmp(argv[1], "--list")) {
    for (const Scenario* scenario = kScenarios; scenario->name; ++scenario) std::printf("%s\n", scenario->name);
    return 0;
  }
  if (argc == 2) {
    for (const Scenario* scenario = kScenarios; scenario->name; ++scenario) {
      if (!std::strcmp(argv[1], scenario->name)) return scenario->run() ? 0 : 1;
    }
  }
  std::fprintf(stderr, "Usage: vitrelle-e2e --list | SCENARIO\n");
  return 2;
}
