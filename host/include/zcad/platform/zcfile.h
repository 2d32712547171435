#pragma once
// Temporary files and file tests, shaped as the Win32 functions plug-in code calls. Paths are
// Linux paths ('/' separated) in wide characters; they reach the file system as UTF-8.
#include "zcad/platform/zcwintypes.h"

// The longest path, terminator included, the functions below write (as on Windows).
inline constexpr DWORD MAX_PATH = 260;

// The folder for temporary files: $TMPDIR when it names a folder, otherwise /tmp; it always
// ends in '/'. With a buffer of nBufferLength characters large enough, writes it and returns
// its length (without the terminator); otherwise returns the length the buffer needs (with the
// terminator) and leaves the buffer alone. 0 on failure.
DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);

// A temporary file name <lpPathName>/<up to 3 characters of lpPrefixString><hex>.tmp, written
// to lpTempFileName (MAX_PATH characters). uUnique 0: a new empty file (mode 0600) is made
// under a name no file had (O_EXCL, so two callers never get the same), and its number is
// returned. uUnique not 0: the name with the 16 low bits of uUnique is only formed, not made,
// and uUnique returned. 0 on failure (no folder, no rights, a name longer than MAX_PATH).
// The hex number has 4 upper-case digits: "vtc00A3.tmp".
UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName);

// Nonzero when the file or folder exists.
BOOL PathFileExistsW(LPCWSTR pszPath);
// Removes a file (not a folder). Nonzero on success.
BOOL DeleteFileW(LPCWSTR lpFileName);
