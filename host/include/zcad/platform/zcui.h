#pragma once
// Message boxes and the file prompt, shaped as the Win32, MFC and host functions plug-in code
// calls. Without a desktop they appear on the command line (docs/platform.md): a message box
// is printed to the transcript and answered with its default button; a file is asked for as a
// line of text.
#include "zcad/platform/zcwintypes.h"
#include "zcad/zds.h"

// Buttons (one of).
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
inline constexpr UINT MB_CANCELTRYCONTINUE = 0x6;
// Icons (one of).
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONSTOP = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
// The default button (the one Enter presses).
inline constexpr UINT MB_DEFBUTTON1 = 0x0;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFBUTTON3 = 0x200;
// Modality (no effect here).
inline constexpr UINT MB_APPLMODAL = 0x0;
inline constexpr UINT MB_SYSTEMMODAL = 0x1000;
inline constexpr UINT MB_TASKMODAL = 0x2000;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

// Shows `text` under `caption` (null: the host's title) and returns the button chosen.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// MFC's message box: the caption is the host's title. nIDHelp is ignored.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT nIDHelp = 0);
// The host's alert box (caption: the host's title). RTNORM; RTERROR for a null text.
int zcedAlert(const ZTCHAR* text);

// Flag of zcedGetFileD: the file is to be written, so it need not exist.
inline constexpr int kZcedGetFileSave = 1;

// Asks for a file name: title, default name (null or empty: none), extension ("dxf"; "" or
// "*" for any; "dwg;dxf" appends the first) and flags. Headless, and with FILEDIA 0, it asks
// on the command line with the prompt "\n<title> <<default>>: " (the default in angle
// brackets; "\n<title>: " without one); an empty answer takes the default, or cancels without
// one. A name without an extension gets `ext`. Unless the file is for saving it must exist:
// "File not found: <path>" and the question again, three times at most. RTNORM with
// result->restype RTSTR and result->resval.rstring a malloc'ed path (free it, or zcutRelRb a
// result from zcutNewRb); RTCAN when cancelled (result untouched); RTERROR for a null result.
int zcedGetFileD(const ZTCHAR* title, const ZTCHAR* defawlt, const ZTCHAR* ext, int flags, resbuf* result);
