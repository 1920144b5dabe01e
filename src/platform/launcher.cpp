#include "platform/launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <thread>

#include "text/codepage.h"

extern char** environ;

namespace vellox {

bool SystemLauncher::startProgram(const Text& program, const std::vector<Text>& arguments) {
  std::vector<std::string> args;
  args.reserve(arguments.size() + 1);
  args.push_back(gbkToUtf8(program));
  for (const Text& a : arguments) args.push_back(gbkToUtf8(a));
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  // posix_spawnp searches PATH for a bare name, as a desktop's "run" does; glibc reports a
  // failed exec here rather than in the child.
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  // Nobody waits for the started program, but its exit status must be collected or it stays a
  // zombie for the rest of this process's life.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

bool SystemLauncher::openAddress(const Text& address) {
  return startProgram("xdg-open", {address});
}

}  // namespace vellox
