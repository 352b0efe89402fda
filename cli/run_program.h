// Running an outside program without a shell (POSIX systems).
#pragma once

#include <string>
#include <vector>

// Runs the program (looked up on the search path) with the arguments,
// argument 0 being its name, and waits for it. True when it ran and exited
// with 0; otherwise `failure` says why: that it could not be started, its
// exit code or signal, and what it wrote to standard error. What it wrote to
// standard output is kept in `output` when one is given.
bool RunProgram(const std::vector<std::string>& arguments, std::string& failure, std::string* output = nullptr);

// True when a program of that name is an executable file on $PATH.
bool ProgramOnPath(const std::string& name);
