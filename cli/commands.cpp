#include "cli/commands.h"

#include "cli/convert_command.h"
#include "cli/info_command.h"
#include "cli/make_command.h"

const CliCommand kCliCommands[] = {
    {"make", kMakeUsage, RunMakeCommand},
    {"convert", kConvertUsage, RunConvertCommand},
    {"info", kInfoUsage, RunInfoCommand},
    {nullptr, nullptr, nullptr},
};
