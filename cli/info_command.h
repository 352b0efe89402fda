#pragma once

int RunInfoCommand(int argc, char** argv);
extern const char kInfoUsage[];
