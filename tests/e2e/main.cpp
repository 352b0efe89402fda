// vitrelle-e2e: drives vitrelle.exe (in the same folder) through one scenario.
//   vitrelle-e2e --list    prints the scenario names, one a line
//   vitrelle-e2e NAME      runs that scenario: exit code 0 and "NAME: passed"
//                          when it passed
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/scenarios.h"

std::map<std::string, ScenarioFunction>& Scenarios() {
  static std::map<std::string, ScenarioFunction> scenarios;
  return scenarios;
}

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain line feeds for the script
  if (argc == 2 && !std::strcmp(argv[1], "--list")) {
    for (const auto& [name, run] : Scenarios()) std::printf("%s\n", name.c_str());
    return 0;
  }
  if (argc == 2) {
    const auto scenario = Scenarios().find(argv[1]);
    if (scenario != Scenarios().end()) {
      if (!scenario->second()) return 1;
      std::printf("%s: passed\n", argv[1]);
      return 0;
    }
  }
  std::fprintf(stderr, "Usage: vitrelle-e2e --list | SCENARIO\n");
  return 2;
}
