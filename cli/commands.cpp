#include "cli/commands.h"

#include "cli/convert_command.h"
#include "cli/history_command.h"
#include "cli/info_command.h"
#include "cli/make_command.h"
#include "cli/wallpaper_command.h"
#ifndef _WIN32
#include "cli/autostart_command.h"
#endif

const CliCommand kCliCommands[] = {
    {"make", kMakeUsage, RunMakeCommand},
    {"convert", kConvertUsage, RunConvertCommand},
    {"info", kInfoUsage, RunInfoCommand},
    {"wallpaper", kWallpaperUsage, RunWallpaperCommand},
    {"history", kHistoryUsage, RunHistoryCommand},
    {"keep", kKeepUsage, RunKeepCommand},
#ifndef _WIN32
    {"autostart", kAutostartUsage, RunAutostartCommand},
#endif
    {nullptr, nullptr, nullptr},
};
