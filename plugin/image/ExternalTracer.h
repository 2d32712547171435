#pragma once
// The external tracer program: started on a BMP file of the picture, it writes the traced
// outlines as a DXF file.
#include <string>
#include <vector>

#include "zcad/platform/zcwintypes.h"

namespace veltrace {

// The tracer's path under the program folder (a Linux program has no ".exe").
inline constexpr const wchar_t* kTracerProgram = L"autotrace/autotrace";
// How long the tracer may run before it is ended.
inline constexpr DWORD kTracerTimeLimitMs = 20000;

// programFolder() + kTracerProgram.
std::wstring tracerProgramPath();

// The command line of `arguments` as CommandLineToArgvW reads it back: each argument in
// quotes when it is empty or holds a blank or a quote, backslashes before a quote doubled.
std::wstring commandLineOf(const std::vector<std::wstring>& arguments);

enum class TracerOutcome {
  kTraced,          // the DXF file is there
  kProgramMissing,  // the message box was shown
  kNotStarted,      // the program could not be started
  kTimedOut,        // ended after the time limit
  kFailed,          // ended with a failure status, or wrote no file
};

struct TracerRun {
  TracerOutcome outcome = TracerOutcome::kFailed;
  std::wstring dxfPath;  // the traced file when kTraced; nothing is left of it otherwise
};

// Runs the tracer on `bmpPath` ("-color-count 2 -output-format dxf -output-file X", X a new
// ".dxf" path in the temporary folder), waiting at most `timeLimitMs`. A program that is
// still running then is ended; one that ends with a failure status or leaves no file fails.
// A missing program gets the message box "<path>Program file not found, please reinstall.".
TracerRun runExternalTracer(const std::wstring& bmpPath, DWORD timeLimitMs = kTracerTimeLimitMs);

}  // namespace veltrace
