#pragma once
// Opening documents and running programs, shaped as the Win32 ShellExecuteW.
//
// Headless (docs/platform.md) nothing is started: the request is printed to the command line's
// transcript as "open: <file> <params>". On a desktop a document, folder or URL is opened with
// xdg-open; an executable program is run with `params` split as a Windows command line
// (CommandLineToArgvW's rules), never through a shell, so quotes, '$' and ';' in paths and
// parameters are plain characters.
#include <cstdint>

#include "zcad/platform/zcwintypes.h"

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

// nShowCmd (no effect here: the opened program decides how it shows).
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

// Failures, as ShellExecuteW's result; anything above 32 is success.
inline constexpr int SE_ERR_FNF = 2;           // the file is not there
inline constexpr int SE_ERR_ACCESSDENIED = 5;  // the program may not be run
inline constexpr int SE_ERR_OOM = 8;           // the program could not be started
inline constexpr int SE_ERR_NOASSOC = 31;      // no way to do `verb` with this file

// verb: null, "", "open", "edit" or "explore" (folders only). file: a path (relative to the
// working folder of the host) or a URL (scheme://..., mailto:). dir: the started program's
// working folder (null: the host's). Returns a value above 32 on success; compare
// reinterpret_cast<std::intptr_t>(result) > 32.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir, int nShowCmd);
