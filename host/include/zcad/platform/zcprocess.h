#pragma once
// Starting a program and waiting for it, shaped as the Win32 process functions plug-in code
// calls (CreateProcessW, WaitForSingleObject, GetExitCodeProcess, TerminateProcess,
// CloseHandle):
//
//   PROCESS_INFORMATION info;
//   STARTUPINFOW startup;
//   if (CreateProcessW(program, commandLine, nullptr, nullptr, /*inherit=*/0, CREATE_NO_WINDOW, nullptr,
//                      nullptr, &startup, &info)) {
//     if (WaitForSingleObject(info.hProcess, 20000) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
//     CloseHandle(info.hProcess);
//   }
//
// Never through a shell: the command line is cut into the program's argument vector by the
// rules of Windows' CommandLineToArgvW (blanks separate, "..." groups, backslashes before a
// quote escape it), so a path in quotes may hold spaces, '$', ';' or '*' as plain characters.
// The program gets standard input from /dev/null (the host reads its commands there) and runs in
// a session of its own, so Ctrl+C in the host's terminal does not reach it and TerminateProcess
// ends it with everything it started. Headless and on a desktop alike: a caller that waits for a
// program needs its work done.
#include "zcad/platform/zcwintypes.h"

using HANDLE = void*;

inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
// WaitForSingleObject's answers.
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
// GetExitCodeProcess of a program still running.
inline constexpr DWORD STILL_ACTIVE = 259;
// dwCreationFlags: the program's standard output and error go to /dev/null (a console program
// without a window shows nothing); without it they are the host's.
inline constexpr DWORD CREATE_NO_WINDOW = 0x08000000u;

struct STARTUPINFOW {
  DWORD cb = sizeof(STARTUPINFOW);
  DWORD dwFlags = 0;
  WORD wShowWindow = 0;
};

struct PROCESS_INFORMATION {
  HANDLE hProcess = nullptr;
  HANDLE hThread = nullptr;  // always null: no thread handle is handed out
  DWORD dwProcessId = 0;
  DWORD dwThreadId = 0;
};

// Starts lpApplicationName (a path; null: the command line's first argument, looked up in PATH
// when it has no '/') with the arguments of lpCommandLine after its first (the program's name as
// it sees itself). lpCurrentDirectory: its working folder (null: the host's). The attributes,
// handle inheritance and environment are those of the host whatever is passed. FALSE, with
// GetLastError ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED or ERROR_INVALID_PARAMETER (no program
// named, or lpProcessInformation null), when nothing was started.
BOOL CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, void* lpProcessAttributes,
                    void* lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                    void* lpEnvironment, LPCWSTR lpCurrentDirectory, STARTUPINFOW* lpStartupInfo,
                    PROCESS_INFORMATION* lpProcessInformation);

// WAIT_OBJECT_0 once the process has ended, WAIT_TIMEOUT when it still runs after
// dwMilliseconds (INFINITE: no limit), WAIT_FAILED for a handle that is not a process's.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// The process's exit status (128 + the signal's number when a signal ended it, uExitCode after
// TerminateProcess), or STILL_ACTIVE. FALSE for a handle that is not a process's.
BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
// Ends the process and its session at once (SIGKILL) and waits until it is gone. TRUE also
// when it had ended already.
BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode);
// Gives the handle back. A process still running goes on and is reaped when it ends.
BOOL CloseHandle(HANDLE hObject);
