#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/home_folder.h"

std::string HomeFolder(std::string& failure) {
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : nullptr;
  }
  if (!home || *home != '/') {
    failure = std::string("The home folder is not known as a whole path (HOME is \"") + (home ? home : "") +
              "\"): set HOME to your home folder";
    return std::string();
  }
  return home;
}

std::string XdgFolder(const char* name, const char* underHome, std::string& failure) {
  const char* value = std::getenv(name);
  if (value && *value == '/') return value;
  const std::string home = HomeFolder(failure);
  return home.empty() ? home : home + "/" + underHome;
}
