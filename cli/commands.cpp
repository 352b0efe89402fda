#include "cli/commands.h"

const CliCommand kCliCommands[] = {
    {nullptr, nullptr, nullptr},
};
