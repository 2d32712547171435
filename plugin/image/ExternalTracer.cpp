#include "image/ExternalTracer.h"

#include "frame/Messages.h"
#include "frame/Settings.h"
#include "frame/TempFiles.h"
#include "zcad/platform/zcfile.h"
#include "zcad/platform/zcprocess.h"
#include "zcad/zcut.h"

namespace veltrace {

namespace {

constexpr MessagePair kProgramMissing{L"%sProgram file not found, please reinstall.",
                                      L"%sProgram file not found, please reinstall."};

std::wstring quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled and the quote escaped; elsewhere they are
    // themselves.
    if (c == L'"') {
      out.append(2 * backslashes + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out += c;
  }
  // Before the closing quote, backslashes are doubled.
  out.append(2 * backslashes, L'\\');
  out += L'"';
  return out;
}

}  // namespace

std::wstring tracerProgramPath() { return programFolder() + kTracerProgram; }

std::wstring commandLineOf(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += quoted(argument);
  }
  return line;
}

TracerRun runExternalTracer(const std::wstring& bmpPath, DWORD timeLimitMs) {
  TracerRun run;
  const std::wstring program = tracerProgramPath();
  if (!fileExists(program)) {
    messageBoxBilingual(withPath(kProgramMissing.chinese, program).c_str(),
                        withPath(kProgramMissing.english, program).c_str());
    run.outcome = TracerOutcome::kProgramMissing;
    return run;
  }
  const std::wstring dxf = tempFilePath(L".dxf");
  if (dxf.empty()) {
    run.outcome = TracerOutcome::kNotStarted;
    return run;
  }
  DeleteFileW(dxf.c_str());
  std::wstring line = commandLineOf(
      {program, bmpPath, L"-color-count", L"2", L"-output-format", L"dxf", L"-output-file", dxf});
  STARTUPINFOW startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, /*bInheritHandles=*/0, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    run.outcome = TracerOutcome::kNotStarted;
    return run;
  }
  zcutPrintf(L"waiting... \n ");
  const DWORD waited = WaitForSingleObject(process.hProcess, timeLimitMs);
  DWORD status = 1;
  if (waited == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &status);
  } else {
    // A tracer that hangs is ended: nothing it may still write is read.
    TerminateProcess(process.hProcess, /*uExitCode=*/1);
  }
  CloseHandle(process.hProcess);
  if (waited == WAIT_OBJECT_0 && status == 0 && fileExists(dxf)) {
    run.outcome = TracerOutcome::kTraced;
    run.dxfPath = dxf;
    return run;
  }
  DeleteFileW(dxf.c_str());
  run.outcome = waited == WAIT_OBJECT_0 ? TracerOutcome::kFailed : TracerOutcome::kTimedOut;
  return run;
}

}  // namespace veltrace
