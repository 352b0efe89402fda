#include "cli/commands.h"

#include "cli/make_command.h"

const CliCommand kCliCommands[] = {
    {"make", kMakeUsage, RunMakeCommand},
    {nullptr, nullptr, nullptr},
};
