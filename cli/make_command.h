#pragma once

int RunMakeCommand(int argc, char** argv);
extern const char kMakeUsage[];
