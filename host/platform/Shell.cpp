// ShellExecuteW: headless it names the request in the transcript; on a desktop it starts
// xdg-open or the program, never through /bin/sh.
#include "platform/Shell.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/ChildSpawn.h"
#include "platform/CommandLine.h"
#include "platform/Headless.h"
#include "platform/TextEncoding.h"
#include "platform/UiBackend.h"
#include "zcad/platform/zcshell.h"

namespace vtcad::platform {

namespace {

// What ShellExecuteW answers on success (any value above 32 is success; Windows gives 42).
constexpr int kShellSuccess = 42;

std::wstring lowerAscii(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return out;
}

bool isUrl(const std::wstring& file) {
  if (lowerAscii(std::wstring_view(file).substr(0, 7)) == L"mailto:") return true;
  size_t colon = file.find(L"://");
  if (colon == std::wstring::npos || colon == 0) return false;
  auto isAlpha = [](wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); };
  if (!isAlpha(file[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    wchar_t c = file[i];
    if (!isAlpha(c) && !(c >= L'0' && c <= L'9') && c != L'+' && c != L'-' && c != L'.') return false;
  }
  return true;
}

bool startsLikeAProgram(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  in.read(head, sizeof head);
  std::string_view start(head, static_cast<size_t>(in.gcount()));
  return start.starts_with(
             "\x7f"
             "ELF") ||
         start.starts_with("#!");
}

}  // namespace

ShellTarget classifyShellTarget(const std::wstring& file) {
  if (isUrl(file)) return ShellTarget::kUrl;
  std::filesystem::path path = pathFromWide(file);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return ShellTarget::kMissing;
  if (S_ISDIR(info.st_mode)) return ShellTarget::kFolder;
  if (S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0 && startsLikeAProgram(path)) {
    return ShellTarget::kProgram;
  }
  return ShellTarget::kDocument;
}

ShellPlan planShellLaunch(std::wstring_view verb, const std::wstring& file, std::wstring_view params,
                          ShellTarget target) {
  std::wstring how = lowerAscii(verb);
  bool open = how.empty() || how == L"open";
  if (!open && how != L"edit" && how != L"explore") return ShellPlan{SE_ERR_NOASSOC, {}};
  if (target == ShellTarget::kMissing) return ShellPlan{SE_ERR_FNF, {}};
  if (how == L"explore" && target != ShellTarget::kFolder) return ShellPlan{SE_ERR_NOASSOC, {}};
  if (target == ShellTarget::kProgram && open) {
    ShellPlan plan;
    plan.argv.push_back(file);
    for (std::wstring& argument : splitCommandLine(params)) plan.argv.push_back(std::move(argument));
    return plan;
  }
  return ShellPlan{0, {L"xdg-open", file}};
}

int launchDetached(const std::vector<std::wstring>& argv, const std::wstring& dir) {
  if (argv.empty()) return SE_ERR_FNF;
  std::vector<std::string> arguments;
  for (const std::wstring& argument : argv) arguments.push_back(encodeUtf8(argument));
  const ChildSpawnResult spawned =
      spawnChild(arguments.front(), arguments, encodeUtf8(dir), ChildSpawnOptions{});
  const int error = spawned.error;
  const pid_t pid = spawned.pid;
  if (error == ENOENT || error == ENOTDIR) return SE_ERR_FNF;
  if (error == EACCES || error == EPERM) return SE_ERR_ACCESSDENIED;
  if (error != 0) return SE_ERR_OOM;
  try {
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (...) {
    // Degenerate case, no thread to be had: the program runs all the same and stays a zombie
    // once it ends, until the host exits.
  }
  return 0;
}

}  // namespace vtcad::platform

HINSTANCE ShellExecuteW(HWND /*hwnd*/, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir,
                        int /*nShowCmd*/) {
  using namespace vtcad::platform;
  auto result = [](int code) { return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(code)); };
  if (!file || file[0] == L'\0') return result(SE_ERR_FNF);
  std::wstring target = file;
  ShellTarget kind = classifyShellTarget(target);
  if (kind != ShellTarget::kUrl && kind != ShellTarget::kMissing) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(pathFromWide(target), ec);
    if (!ec) target = wideFromPath(absolute);
  }
  ShellPlan plan = planShellLaunch(verb ? verb : L"", target, params ? params : L"", kind);
  if (plan.error != 0) return result(plan.error);
  if (isHeadless()) {
    bool shown = uiBackend()->openDocument(verb && verb[0] ? verb : L"open", file, params ? params : L"");
    return result(shown ? kShellSuccess : SE_ERR_NOASSOC);
  }
  int error = launchDetached(plan.argv, dir ? dir : L"");
  return result(error == 0 ? kShellSuccess : error);
}
