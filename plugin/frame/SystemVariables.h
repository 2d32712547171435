#pragma once
// Typed access to the host's system variables, and the framing of host commands run from a
// command. Names are given as the host accepts them, in any case.
namespace veltrace {

inline constexpr int kSysVarOk = 0;
inline constexpr int kSysVarFailed = 3;
// What getSysVarIntOr answers for a variable that cannot be read as a short.
inline constexpr int kSysVarUnreadable = -999;

// kSysVarOk and the value, or kSysVarFailed with `value` untouched. Never shows anything.
int getSysVarReal(const wchar_t* name, double& value);
int getSysVarPoint2d(const wchar_t* name, double& x, double& y);
// The short value widened, or kSysVarUnreadable.
int getSysVarIntOr(const wchar_t* name);
// kSysVarOk, or kSysVarFailed after the message box
// "Could not set system variable \"<name>\"." (English in both languages).
int setSysVarInt(const wchar_t* name, short value);
// The host's result code; never reports.
int setSysVarQuiet(const wchar_t* name, short value);

// Host commands run by a command are framed so that the host does not echo their prompts:
// CMDECHO is 0 while this lives and 1 afterwards, whatever it was before.
class QuietHostCommands {
 public:
  QuietHostCommands();
  ~QuietHostCommands();
  QuietHostCommands(const QuietHostCommands&) = delete;
  QuietHostCommands& operator=(const QuietHostCommands&) = delete;
};

}  // namespace veltrace
