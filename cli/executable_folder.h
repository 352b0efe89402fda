// The folder that holds the running executable, where vitrelle.cfg ships.
#pragma once

#include <string>

std::string ExecutableFolder(const char* argv0);
