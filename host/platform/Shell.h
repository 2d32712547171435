#pragma once
// ShellExecuteW in steps: what the target is, what would be started for it (a pure decision,
// tested without starting anything), and starting it.
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::platform {

enum class ShellTarget {
  kMissing,
  kUrl,  // scheme://... or mailto:...
  kFolder,
  kProgram,   // a regular file we may execute that starts as a program does ("\x7fELF", "#!")
  kDocument,  // any other file
};

// Looks at the file system (a URL is never looked up). A file with the execute bit but no
// program header (a document on a FAT stick, say) is a document: it is opened, not run.
ShellTarget classifyShellTarget(const std::wstring& file);

// What to start: argv[0] is the program (looked up in PATH when it has no '/'), or `error`
// (an SE_ERR_* code) when nothing can be done. `file` should be absolute, so the program's
// working folder does not change what it names. Documents, folders and URLs go to xdg-open
// (params are dropped: documents take none); programs run with the params split
// (splitCommandLine). Verbs: "", "open", "edit" (a program is opened as a document), "explore"
// (folders only), without regard to case.
struct ShellPlan {
  int error = 0;
  std::vector<std::wstring> argv;
};
ShellPlan planShellLaunch(std::wstring_view verb, const std::wstring& file, std::wstring_view params,
                          ShellTarget target);

// Starts argv without a shell, in `dir` when not empty, with standard input from /dev/null,
// in a session of its own, and does not wait for it (a thread reaps it when it ends, so no
// zombie remains). 0 when it started, otherwise an SE_ERR_* code.
int launchDetached(const std::vector<std::wstring>& argv, const std::wstring& dir);

}  // namespace vtcad::platform
