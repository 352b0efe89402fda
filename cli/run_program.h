// Running an outside program without a shell (POSIX systems).
#pragma once

#include <string>
#include <vector>

// Runs the program (found by ProgramPath) with the arguments,
// argument 0 being its name, and waits for it. True when it ran and exited
// with 0; otherwise `failure` says why: that it could not be started, its
// exit code or signal, and what it wrote to standard error. What it wrote to
// standard output is kept in `output` when one is given.
bool RunProgram(const std::vector<std::string>& arguments, std::string& failure, std::string* output = nullptr);

// The full path of the program of that name in the first folder of $PATH
// that holds it as an executable file; empty when none does.
std::string ProgramPath(const std::string& name);
