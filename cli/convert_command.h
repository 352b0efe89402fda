#pragma once

int RunConvertCommand(int argc, char** argv);
extern const char kConvertUsage[];
