// The subcommands of vitrelle-cli. Each takes the arguments after its name
// and returns the process exit code.
#pragma once

struct CliCommand {
  const char* name;
  const char* usage;  // one or more lines for --help
  int (*run)(int argc, char** argv);
};

// The command table, ended by an entry whose name is null.
extern const CliCommand kCliCommands[];
