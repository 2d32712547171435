// Starting a child program without a shell: the one set-up of standard input, working folder,
// session and signals that every way the host starts programs shares.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vtcad::platform {

enum class ChildOutput {
  kInherited,  // the child writes to the host's standard output and error
  kSilenced,   // both go to /dev/null (a program started without a window)
};

enum class ChildInterrupt {
  kAsHostHasIt,  // SIGINT handling inherited as the host has it
  kDefault,      // SIGINT back to its default action, so the child can be interrupted
};

struct ChildSpawnOptions {
  ChildOutput output = ChildOutput::kInherited;
  ChildInterrupt interrupt = ChildInterrupt::kAsHostHasIt;
};

struct ChildSpawnResult {
  pid_t pid = 0;
  int error = 0;  // errno of the failed start, 0 when the child runs
};

// Starts `program` (run as it is when it holds a '/', else looked up in PATH) with `argv`
// (UTF-8, argv[0] first) in `folder` (the host's own when empty). The child never reads the
// host's standard input (the host's command line) and runs in a session of its own, so Ctrl+C
// in the host's terminal does not reach it.
ChildSpawnResult spawnChild(const std::string& program, const std::vector<std::string>& argv,
                            const std::string& folder, const ChildSpawnOptions& options);

}  // namespace vtcad::platform
