#pragma once
// The host's command line as commands see it: prompts for input (zced*), printing (zcutPrintf),
// selection sets, system variables, running host commands, coordinate conversion and entity
// names. Every function answers a result code of zds.h (RTNORM, RTNONE, RTCAN, RTERROR,
// RTKWORD) unless it says otherwise. All of them belong to the host's command thread.
#include <cstddef>

#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/platform/zcwintypes.h"
#include "zcad/zds.h"

class ZcDbDatabase;

// Input control bits of zcedInitGet.
inline constexpr int RSG_NONULL = 1;   // an empty input is refused
inline constexpr int RSG_NOZERO = 2;   // zero is refused
inline constexpr int RSG_NONEG = 4;    // negative numbers are refused
inline constexpr int RSG_NOLIM = 8;    // points outside the drawing limits are taken
inline constexpr int RSG_GETZ = 16;    // unused here; kept for callers written for other hosts
inline constexpr int RSG_DASH = 32;    // rubber band drawn dashed (no effect without a view)
inline constexpr int RSG_2D = 64;      // zcedGetDist: the distance in the XY plane only
inline constexpr int RSG_OTHER = 128;  // arbitrary input is answered as a keyword (RTKWORD)

// Input control for the next prompt only: the bits above and a list of keywords separated by
// spaces ("Yes No", "Width Close"); capitals mark the shortest abbreviation a user may type.
int zcedInitGet(int val, const ZTCHAR* kwl);
int zcedGetInt(const ZTCHAR* prompt, int* result);
int zcedGetReal(const ZTCHAR* prompt, zds_real* result);
// A distance typed as a number, or given by two points (the first is `pt` when not null).
int zcedGetDist(const zds_point pt, const ZTCHAR* prompt, zds_real* result);
// An angle in radians: typed in degrees (ANGBASE and ANGDIR applied for zcedGetAngle, not for
// zcedGetOrient), or given by two points.
int zcedGetAngle(const zds_point pt, const ZTCHAR* prompt, zds_real* result);
int zcedGetOrient(const zds_point pt, const ZTCHAR* prompt, zds_real* result);
int zcedGetPoint(const zds_point pt, const ZTCHAR* prompt, zds_point result);
int zcedGetCorner(const zds_point pt, const ZTCHAR* prompt, zds_point result);
// Keyword prompt; the full keyword of zcedInitGet's list is written to `result`, which holds
// `bufLen` characters (the overload without a length assumes 512, as hosts do).
int zcedGetKword(const ZTCHAR* prompt, ZTCHAR* result, size_t bufLen);
int zcedGetKword(const ZTCHAR* prompt, ZTCHAR* result);
// cronly nonzero: the text may hold spaces and ends only at the end of the line.
int zcedGetString(int cronly, const ZTCHAR* prompt, ZTCHAR* result, size_t bufLen);
int zcedGetString(int cronly, const ZTCHAR* prompt, ZTCHAR* result);
// The text of the last RTKWORD answer (a keyword, or arbitrary input under RSG_OTHER).
int zcedGetInput(ZTCHAR* str, size_t bufLen);
int zcedGetInput(ZTCHAR* str);
int zcedEntSel(const ZTCHAR* prompt, zds_name ent, zds_point ptres);
// Nonzero when the user asked to break off the command (Ctrl+C or Esc while it works; not a
// cancel typed at one of its prompts). A command that sees it stops; the host then takes back
// everything the command changed and says "*Cancel*".
int zcedUsrBrk();

// The progress meter of long work: on a terminal one updating line on standard error (only
// when it is a terminal), in the desktop program its status bar. Start it with a label and
// a range, move it (positions outside the range are clamped), and restore the status bar
// when done; a second start replaces the first. Nothing shows for work that ends within a
// quarter of a second. 0 on success, -1 for an empty range (maxPos <= minPos).
int zcedSetStatusBarProgressMeter(const ZTCHAR* label, int minPos, int maxPos);
int zcedSetStatusBarProgressMeterPos(int pos);
void zcedRestoreStatusBar();
// Prints on the command line; the format is printf's with wide strings (%s takes ZTCHAR*).
int zcutPrintf(const ZTCHAR* format, ...);
int zcedPrompt(const ZTCHAR* text);

// Selection sets. `mode` null: interactive selection; ":S" one pick; "_W"/"W", "_C"/"C" with
// the corners in pt1/pt2 (const double*); "_WP"/"_CP" with a point list (resbuf chain of
// RTPOINT or RT3DPOINT) in pt1; "_X"/"X" and "ALL" the whole drawing; "_L"/"L" the last
// entity; "_P"/"P" the previous selection; "_I" the implied selection (empty here).
// `filter` is a chain from zcutBuildList or null. RTNORM and a set with members, else RTERROR
// (nothing selected) or RTCAN.
int zcedSSGet(const ZTCHAR* mode, const void* pt1, const void* pt2, const resbuf* filter, zds_name ss);
int zcedSSLength(const zds_name ss, Zdesk::Int32* len);
int zcedSSName(const zds_name ss, Zdesk::Int32 i, zds_name entres);
// Adds `ename` to the set `sname` (a null or absent set makes a new one), result in `result`.
// Both names null: a new empty set.
int zcedSSAdd(const zds_name ename, const zds_name sname, zds_name result);
int zcedSSDel(const zds_name ename, const zds_name ss);
int zcedSSFree(const zds_name sname);
// Whether `ename` is a member (RTNORM) or not (RTERROR).
int zcedSSMemb(const zds_name ename, const zds_name ss);

// System variables: value types RTSHORT, RTREAL, RTPOINT (2-D), RT3DPOINT, RTSTR. A string
// result is malloc'ed into result->resval.rstring (free it). RTERROR for an unknown name, a
// read-only variable, a value of the wrong type or out of the variable's range.
int zcedGetVar(const ZTCHAR* sym, resbuf* result);
int zcedSetVar(const ZTCHAR* sym, const resbuf* val);

// Runs host commands with typed arguments, ended by RTNONE: RTSTR texts (command names,
// options, "" an empty answer, "\\" a pause that takes one input from the user), RTREAL,
// RTSHORT, RTLONG numbers, RTPOINT/RT3DPOINT points, RTENAME entity names, RTPICKS selection
// sets. A command whose arguments run out before it ends takes the rest from the user.
// RTNORM; RTCAN when a prompt of the commands run was cancelled (Esc at a pause, or the end
// of all input); RTERROR for arguments that are no command.
int zcedCommand(int rtype, ...);
int zcedCmd(const resbuf* rbp);

// Coordinate systems for zcedTrans: RTSHORT 0 world, 1 user, 2 display (the view), 3 paper;
// or an entity name (its object coordinate system). disp nonzero: a displacement.
int zcedTrans(const zds_point pt, const resbuf* from, const resbuf* to, int disp, zds_point result);
// Brings the display up to date with the drawing (a window repaints; without one, nothing).
void zcedUpdateDisplay();

// The colour of index colour 1..255 of the standard table as red | green << 8 | blue << 16
// (red in the low byte). 0 (ByBlock), 256 (ByLayer) and other numbers answer index 7's white.
DWORD zcedGetRGB(int colorIndex);

// Colours of the program's own display, each red | green << 8 | blue << 16. Pictures of model
// space (PNGOUT, vtcad --png) are drawn on dwGfxModelBkColor.
struct ZcColorSettings {
  DWORD dwGfxModelBkColor;       // model space background (black)
  DWORD dwGfxLayoutBkColor;      // layout (paper space) background (white)
  DWORD dwModelCrossHairColor;   // crosshairs over model space (white)
  DWORD dwLayoutCrossHairColor;  // crosshairs over a layout (black)
  DWORD dwTextForeColor;         // command line text (black)
  DWORD dwTextBkColor;           // command line background (white)
};
// FALSE for a null pointer; otherwise the current colours, TRUE.
BOOL zcedGetCurrentColors(ZcColorSettings* settings);
// FALSE for a null pointer; otherwise they become the current colours for this session, TRUE.
BOOL zcedSetCurrentColors(ZcColorSettings* settings);
int zcedRedraw(const zds_name ent, int mode);

// A pixel of the current view: SCREENSIZE pixels show VIEWSIZE drawing units high around
// VIEWCTR; pixel (0,0) is the top left, y grows downwards.
struct CPoint {
  long x = 0;
  long y = 0;
};
bool zcedCoordFromWorldToPixel(int windnum, const ZcGePoint3d& in, CPoint& out);
bool zcedCoordFromPixelToWorld(const CPoint& in, ZcGePoint3d& out);
bool zcedCoordFromPixelToWorld(int windnum, CPoint in, ZcGePoint3d& out);

// Entity names: zds_name[0] the object id (ZcDbObjectId::asOldId), zds_name[1] its database.
Zcad::ErrorStatus zcdbGetObjectId(ZcDbObjectId& objId, const zds_name ename);
Zcad::ErrorStatus zcdbGetZdsName(zds_name& objName, ZcDbObjectId objId);
int zcdbEntLast(zds_name result);
int zcdbEntNext(const zds_name ent, zds_name result);
int zcdbEntDel(const zds_name ent);
int zcdbEntUpd(const zds_name ent);

// The path of the plug-in file whose code is running (its entry point or one of its
// commands); the host's own program path outside any plug-in.
const ZTCHAR* zcedGetAppName();
// Loads or unloads a plug-in file as APPLOAD does (RTNORM, or RTERROR with a message).
int zcedArxLoad(const ZTCHAR* path);
int zcedArxUnload(const ZTCHAR* appName);
