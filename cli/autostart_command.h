#pragma once

extern const char kAutostartUsage[];
int RunAutostartCommand(int argc, char** argv);
