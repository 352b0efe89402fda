// Test support: runs the built vitrelle-cli as a user does.
#pragma once

#include <string>

// Runs vitrelle-cli with the arguments (shell words); returns its exit code,
// and what it wrote to standard error and standard output.
int RunCli(const std::string& arguments, std::string* errors = nullptr, std::string* output = nullptr);
// The same with environment settings in front ("NAME=value ..." words that
// env(1) takes, such as "-u DISPLAY").
int RunCliWith(const std::string& environment, const std::string& arguments, std::string* errors = nullptr,
               std::string* output = nullptr);
