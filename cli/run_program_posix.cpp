#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cli/run_program.h"

namespace {

// Reads both pipes to their ends, so that neither fills up and blocks the child.
void ReadBoth(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open = 2;
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, size_t(got));
      } else if (got == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

bool RunProgram(const std::vector<std::string>& arguments, std::string& failure, std::string* output) {
  if (arguments.empty()) return false;
  const std::string program = ProgramPath(arguments[0]);
  if (program.empty()) {
    failure = "Cannot run " + arguments[0] + ": " + std::strerror(ENOENT);
    return false;
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int outPipe[2], errPipe[2], execPipe[2];
  if (pipe(outPipe) || pipe(errPipe) || pipe2(execPipe, O_CLOEXEC)) {
    failure = std::string("Cannot run ") + arguments[0] + ": " + std::strerror(errno);
    return false;
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    close(execPipe[0]);
    execv(program.c_str(), argv.data());
    const int error = errno;
    (void)!write(execPipe[1], &error, sizeof error);
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  close(execPipe[1]);
  if (child < 0) {
    failure = std::string("Cannot run ") + arguments[0] + ": " + std::strerror(errno);
    close(outPipe[0]);
    close(errPipe[0]);
    close(execPipe[0]);
    return false;
  }
  std::string out, err;
  ReadBoth(outPipe[0], errPipe[0], out, err);
  int execError = 0;
  const bool notStarted = read(execPipe[0], &execError, sizeof execError) == sizeof execError;
  close(execPipe[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (output) *output = out;
  if (notStarted) {
    failure = "Cannot run " + arguments[0] + ": " + std::strerror(execError);
    return false;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  failure = arguments[0] + (WIFEXITED(status) ? " failed with exit code " + std::to_string(WEXITSTATUS(status))
                                              : " was ended by signal " + std::to_string(WTERMSIG(status)));
  err = Trimmed(err);
  if (!err.empty()) failure += ": " + err;
  return false;
}

std::string ProgramPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path || name.empty() || name.find('/') != std::string::npos) return std::string();
  const std::string folders = path;
  size_t start = 0;
  while (start <= folders.size()) {
    const size_t end = std::min(folders.find(':', start), folders.size());
    // Only whole paths: an empty or relative entry would name the current
    // folder, which is never searched.
    if (end > start && folders[start] == '/') {
      const std::string program = folders.substr(start, end - start) + "/" + name;
      struct stat status;
      if (stat(program.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(program.c_str(), X_OK) == 0) {
        return program;
      }
    }
    start = end + 1;
  }
  return std::string();
}
