#include "platform/ChildSpawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace vtcad::platform {

ChildSpawnResult spawnChild(const std::string& program, const std::vector<std::string>& argv,
                            const std::string& folder, const ChildSpawnOptions& options) {
  std::vector<std::string> arguments = argv;
  std::vector<char*> pointers;
  pointers.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawnattr_init(&attributes);
  ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, /*mode=*/0);
  if (options.output == ChildOutput::kSilenced) {
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, /*mode=*/0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, /*mode=*/0);
  }
  if (!folder.empty()) ::posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  // Signal handling as a fresh program expects it, whatever the host blocked or ignored.
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  if (options.interrupt == ChildInterrupt::kDefault) sigaddset(&defaults, SIGINT);
  ::posix_spawnattr_setsigmask(&attributes, &none);
  ::posix_spawnattr_setsigdefault(&attributes, &defaults);
  ::posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  ChildSpawnResult result;
  result.error =
      ::posix_spawnp(&result.pid, program.c_str(), &actions, &attributes, pointers.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::posix_spawnattr_destroy(&attributes);
  if (result.error != 0) result.pid = 0;
  return result;
}

}  // namespace vtcad::platform
