#include "cli/cli_test_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

int RunCli(const std::string& arguments, std::string* errors, std::string* output) {
  return RunCliWith("", arguments, errors, output);
}

int RunCliWith(const std::string& environment, const std::string& arguments, std::string* errors,
               std::string* output) {
  char errorPath[] = "/tmp/vitrelle-cli-errors-XXXXXX";
  const int fd = mkstemp(errorPath);
  if (fd < 0) return -1;
  const std::string command = (environment.empty() ? std::string() : "env " + environment + " ") +
                              std::string(VITRELLE_BINARY_DIR) + "/vitrelle-cli " + arguments + " 2>" + errorPath;
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[512];
  size_t got;
  while (pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  const int status = pipe ? pclose(pipe) : -1;
  std::ifstream in(errorPath, std::ios::binary);
  const std::string err((std::istreambuf_iterator<char>(in)), {});
  std::remove(errorPath);
  if (errors) *errors = err;
  if (output) *output = out;
  return WEXITSTATUS(status);
}
