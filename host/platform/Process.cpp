// The process functions of zcprocess.h over posix_spawn and waitpid. A handle stands for a
// child of the host; the child is reaped by the wait that sees it end, or, once its handle is
// closed while it still runs, by a thread of its own (so no zombie remains).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ChildSpawn.h"
#include "platform/CommandLine.h"
#include "platform/HandleTable.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcimage.h"
#include "zcad/platform/zcprocess.h"

namespace vtcad::platform {

namespace {

// Win32's TRUE and FALSE, not defined here as names: libjpeg's headers make them macros.
constexpr BOOL kTrue = 1;
constexpr BOOL kFalse = 0;

struct Child {
  std::mutex mutex;
  pid_t pid = 0;
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
};

HandleTable<HANDLE, std::shared_ptr<Child>>& children() {
  // Process handles start far from the registry's and the internet's.
  static HandleTable<HANDLE, std::shared_ptr<Child>> table(0x30000000);
  return table;
}

DWORD exitCodeOf(int status) {
  if (WIFEXITED(status)) return static_cast<DWORD>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return static_cast<DWORD>(128 + WTERMSIG(status));
  return 1;
}

// Reaps the child when it has ended; `block` waits for that. Under the child's lock.
bool reap(Child& child, bool block) {
  if (child.ended) return true;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child.pid, &status, block ? 0 : WNOHANG);
    if (done == child.pid) {
      child.ended = true;
      child.exitCode = exitCodeOf(status);
      return true;
    }
    if (done < 0 && errno == EINTR) continue;
    // ECHILD: someone else reaped it; nothing more can be known of it.
    if (done < 0) {
      child.ended = true;
      child.exitCode = 1;
      return true;
    }
    return false;
  }
}

}  // namespace

}  // namespace vtcad::platform

using vtcad::platform::kFalse;
using vtcad::platform::kTrue;

BOOL CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, void* /*lpProcessAttributes*/,
                    void* /*lpThreadAttributes*/, BOOL /*bInheritHandles*/, DWORD dwCreationFlags,
                    void* /*lpEnvironment*/, LPCWSTR lpCurrentDirectory, STARTUPINFOW* /*lpStartupInfo*/,
                    PROCESS_INFORMATION* lpProcessInformation) {
  using namespace vtcad::platform;
  if (!lpProcessInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  *lpProcessInformation = PROCESS_INFORMATION{};
  std::vector<std::wstring> argv = splitCommandLine(lpCommandLine ? lpCommandLine : L"");
  std::wstring program = lpApplicationName ? lpApplicationName : L"";
  if (program.empty() && !argv.empty()) program = argv.front();
  if (program.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  if (argv.empty()) argv.push_back(program);

  std::vector<std::string> arguments;
  for (const std::wstring& argument : argv) arguments.push_back(encodeUtf8(argument));
  ChildSpawnOptions options;
  options.output =
      (dwCreationFlags & CREATE_NO_WINDOW) != 0 ? ChildOutput::kSilenced : ChildOutput::kInherited;
  options.interrupt = ChildInterrupt::kDefault;
  const ChildSpawnResult spawned = spawnChild(
      encodeUtf8(program), arguments, encodeUtf8(lpCurrentDirectory ? lpCurrentDirectory : L""), options);
  const int error = spawned.error;
  const pid_t pid = spawned.pid;
  if (error != 0) {
    SetLastError(error == EACCES || error == EPERM ? ERROR_ACCESS_DENIED
                 : error == ENOMEM                 ? ERROR_NOT_ENOUGH_MEMORY
                                                   : ERROR_FILE_NOT_FOUND);
    return kFalse;
  }
  auto child = std::make_shared<Child>();
  child->pid = pid;
  lpProcessInformation->hProcess = children().add(child);
  lpProcessInformation->dwProcessId = static_cast<DWORD>(pid);
  return kTrue;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  using namespace vtcad::platform;
  auto found = children().find(hHandle);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  Child& child = **found;
  std::lock_guard lock(child.mutex);
  if (dwMilliseconds == INFINITE) {
    reap(child, /*block=*/true);
    return WAIT_OBJECT_0;
  }
  // Polled, with pauses growing from 1 to 20 ms: a short program is seen to end at once, a long
  // wait costs nothing noticeable.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (reap(child, /*block=*/false)) return WAIT_OBJECT_0;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return WAIT_TIMEOUT;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
  using namespace vtcad::platform;
  auto found = children().find(hProcess);
  if (!found || !lpExitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  Child& child = **found;
  std::lock_guard lock(child.mutex);
  reap(child, /*block=*/false);
  *lpExitCode = child.exitCode;
  return kTrue;
}

BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode) {
  using namespace vtcad::platform;
  auto found = children().find(hProcess);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  Child& child = **found;
  std::lock_guard lock(child.mutex);
  if (reap(child, /*block=*/false)) return kTrue;
  // The whole session: a program that started helpers of its own takes them with it.
  ::kill(-child.pid, SIGKILL);
  ::kill(child.pid, SIGKILL);
  reap(child, /*block=*/true);
  child.exitCode = uExitCode;
  return kTrue;
}

BOOL CloseHandle(HANDLE hObject) {
  using namespace vtcad::platform;
  auto removed = children().remove(hObject);
  if (!removed) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  std::shared_ptr<Child> child = *removed;
  std::lock_guard lock(child->mutex);
  if (reap(*child, /*block=*/false)) return kTrue;
  try {
    std::thread([child] {
      std::lock_guard inner(child->mutex);
      reap(*child, /*block=*/true);
    }).detach();
  } catch (...) {
    // Degenerate case, no thread to be had: the program runs on and stays a zombie once it
    // ends, until the host exits.
  }
  return kTrue;
}
