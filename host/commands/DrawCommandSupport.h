#pragma once
// What the drawing commands share: prompts that answer one value, a keyword, Enter or a
// cancel in one result; adding a finished entity to the drawing; the numbers the command
// line shows; and what LINE and ARC remember so that Enter at their first prompt continues
// from the last line or arc. Everything here talks to the user only through zced* calls.
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbDatabase;
class ZcDbEntity;

namespace vtcad::commands::draw {

// Same text without regard to case.
bool sameText(std::wstring_view a, std::wstring_view b);

// How a prompt was answered. A cancel stands for Esc, the end of a script, and errors of the
// prompt itself: in every case the command stops.
enum class Reply { kValue, kNone, kKeyword, kCancel };

template <typename T>
struct Answer {
  Reply reply = Reply::kCancel;
  T value{};
  // The keyword as the keyword list spells it (the prompt resolves abbreviations), or the
  // text typed when the prompt takes arbitrary input.
  std::wstring keyword;

  bool isValue() const { return reply == Reply::kValue; }
  bool isNone() const { return reply == Reply::kNone; }
  bool isCancel() const { return reply == Reply::kCancel; }
  // A keyword answer naming `name` (compared without regard to case).
  bool is(std::wstring_view name) const { return reply == Reply::kKeyword && sameText(keyword, name); }
};

// Input control of one prompt: zcedInitGet's bits and keyword list ("Close Undo").
struct Ask {
  int bits = 0;
  const wchar_t* keywords = nullptr;
};

Answer<ZcGePoint3d> getPoint(const ZcGePoint3d* base, const std::wstring& prompt, Ask ask = {});
// A distance typed or given by a second point (from `base` when not null).
Answer<double> getDist(const ZcGePoint3d* base, const std::wstring& prompt, Ask ask = {});
// An angle in radians, typed in degrees or given by a second point.
Answer<double> getAngle(const ZcGePoint3d* base, const std::wstring& prompt, Ask ask = {});
Answer<double> getReal(const std::wstring& prompt, Ask ask = {});
// An included angle, which keeps its sign ("-90" turns clockwise, "270" counter-clockwise):
// typed in degrees, or given by a point (the direction from `base` to it, within half a
// turn either way). Repeats until it gets one of those, Enter or a cancel.
Answer<double> getIncludedAngle(const ZcGePoint3d& base, const std::wstring& prompt, int bits = 0);
Answer<std::wstring> getKeyword(const std::wstring& prompt, Ask ask);
// Text: up to the next space, or with `spaces` the rest of the line. An empty answer is
// Enter (kNone).
Answer<std::wstring> getText(bool spaces, const std::wstring& prompt);

// Makes `point` the last point ("@" input is relative to it): where the pen is after Undo or
// after an end point the command worked out itself.
void setLastPoint(const ZcGePoint3d& point);

// Real system variables (PLINEWID, TEXTSIZE): the fallback when there is no such variable.
double realVariable(const wchar_t* name, double fallback);
void setRealVariable(const wchar_t* name, double value);

// Prints on the command line (as given: messages start with "\n").
void say(std::wstring_view text);
// Lengths with LUPREC decimals ("10.0000"), angles in degrees with up to four ("90",
// "22.5"). Never "-0".
std::wstring formatLength(double value);
std::wstring formatAngle(double radians);

ZcGePoint2d flat(const ZcGePoint3d& point);
ZcGePoint3d raised(const ZcGePoint2d& point, double z);

// True when every number is finite. Otherwise says the result is out of range: coordinates
// near the limits of double precision can overflow in a construction, and the database would
// silently keep its defaults for them.
bool inRange(std::initializer_list<double> values);

// The drawing the commands draw in; prints a message and answers null when there is none.
ZcDbDatabase* drawingDatabase();
// Adds a new entity (not in a database) to the drawing's current space with the drawing's
// current layer, colour, linetype and line weight, and closes it. On failure the entity is
// deleted, a message printed and the null id returned.
ZcDbObjectId addEntity(ZcDbDatabase* db, std::unique_ptr<ZcDbEntity> entity);
// Records of a symbol table (block table, text style table): the id of the record named
// `name` (null when there is none), and the names of all of them in table order.
ZcDbObjectId findRecord(ZcDbObjectId tableId, const std::wstring& name);
std::vector<std::wstring> recordNames(ZcDbObjectId tableId);
std::wstring recordName(ZcDbObjectId recordId);

// Erases an entity the running command added (LINE's Undo).
bool eraseEntity(ZcDbObjectId id);

// Where the last line or arc LINE or ARC drew ended, and the direction it ended in.
struct Continuation {
  ZcGePoint3d end;
  ZcGeVector3d direction;  // unit
  bool afterArc = false;
};
void rememberContinuation(ZcDbDatabase* db, ZcDbObjectId entity, const Continuation& continuation);
// Only while that entity is still in the working drawing, where it was drawn.
std::optional<Continuation> lastContinuation(ZcDbDatabase* db);

}  // namespace vtcad::commands::draw
