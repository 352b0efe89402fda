// What the commands of vitrelle-cli share in reading their arguments: help
// on request, a usage error that points to the help, and option values.
#pragma once

#include <string>

// The exit code of a usage error.
constexpr int kUsageErrorExit = 2;

// True when the arguments ask for help ("--help" or "-h" anywhere); the help
// text has then been printed to standard output.
bool ShowHelpIfAsked(int argc, char** argv, const char* help);
// Prints the text and "Try: vitrelle-cli COMMAND --help" to standard error
// and returns kUsageErrorExit.
int UsageError(const char* command, const std::string& text);
// The value after option argv[i], moving i onto it; false when there is none.
bool TakeOptionValue(int argc, char** argv, int& i, std::string& value);
