#pragma once
// The system variables the command line knows by name: each one's value type, where its value
// lives, whether commands may set it, its default and the values it takes. Header variables of
// the working drawing that are not listed are system variables too: SystemVariables.cpp answers
// them with the type their value has in the drawing (docs/system-variables.md).
#include <span>
#include <string>
#include <string_view>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbDatabase;

namespace vtcad::editor {

enum class SysVarType {
  kShort,    // RTSHORT
  kLong,     // RTLONG: only header variables a drawing file gives as a 32-bit group
  kReal,     // RTREAL
  kPoint2d,  // RTPOINT (z is 0)
  kPoint3d,  // RT3DPOINT
  kString,   // RTSTR
};

// A value as the command line holds it.
struct SysVarValue {
  SysVarType type = SysVarType::kShort;
  double number = 0.0;  // kShort, kLong (whole numbers), kReal
  ZcGePoint3d point;    // kPoint2d, kPoint3d
  std::wstring text;    // kString
};

enum class SysVarHome {
  kDrawing,        // a header variable of the working drawing, a group `dxfCode` in the file
  kDrawingRecord,  // a header variable naming a live record of the drawing's table `table`
  kDrawingColor,   // the drawing's current colour, as ColorText writes it
  kView,           // the current view, computed from the "*Active" viewport record
  kSession,        // the process: not saved with any drawing
};

struct SysVarDef {
  const wchar_t* name = L"";  // upper case
  SysVarType type = SysVarType::kShort;
  SysVarHome home = SysVarHome::kSession;
  bool readOnly = false;
  short dxfCode = 0;
  // The default: `number` for numbers, (x, y, z) for points, `text` for strings. A drawing
  // variable answers it while the drawing has no value of its own.
  double number = 0.0;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  const wchar_t* text = L"";
  // Numbers: the closed range taken.
  double min = -1e300;
  double max = 1e300;
  // A further rule on the value (null: none).
  bool (*accepts)(const SysVarValue& value) = nullptr;
  // kDrawingRecord: the table whose record the value names.
  ZcDbObjectId (ZcDbDatabase::*table)() const = nullptr;
};

std::span<const SysVarDef> sysVarTable();
// The entry of an upper-case name; null when the table has none.
const SysVarDef* findSysVar(std::wstring_view upperName);
SysVarValue defaultValue(const SysVarDef& def);
// Whole numbers within the type's bits, finite reals and points (any text).
bool fitsType(const SysVarValue& value);
// Whether `value` is one the variable takes: of its type, fitting it, within the entry's range
// and rule.
bool acceptsValue(const SysVarDef& def, const SysVarValue& value);

}  // namespace vtcad::editor
