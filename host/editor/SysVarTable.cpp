// The table of named system variables. Defaults of drawing variables are those of a new metric
// drawing (INSUNITS millimetres, limits of an A3 sheet), matching the database's own defaults.
#include "editor/SysVarTable.h"

#include <cmath>
#include <limits>

#include "database/ZcDbValidate.h"
#include "editor/ColorText.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/zadesk.h"

namespace vtcad::editor {
namespace {

using enum SysVarType;
using enum SysVarHome;

// A figure 0..4, with a circle (32), a square (64) or both (96) around it: 35 is a cross in a
// circle.
bool pdmodeAccepts(const SysVarValue& v) {
  int mode = static_cast<int>(v.number);
  return mode >= 0 && (mode & 7) <= 4 && (mode & ~(7 | 32 | 64)) == 0;
}
// Zero segments would make no curve; negative counts are a mode of their own (arcs).
bool nonZero(const SysVarValue& v) { return v.number != 0.0; }
// 5 quadratic, 6 cubic B-splines.
bool splinetypeAccepts(const SysVarValue& v) { return v.number == 5.0 || v.number == 6.0; }
bool positive(const SysVarValue& v) { return v.number > 0.0; }
// A width a drawing can hold in hundredths of a millimetre (0 .. 211), not ByLayer, ByBlock or
// Default: LWDEFAULT is what Default means.
bool lineweightWidthAccepts(const SysVarValue& v) {
  return v.number >= 0.0 && zcdbIsValidLineWeight(static_cast<int>(v.number));
}
bool colorAccepts(const SysVarValue& v) { return parseColorText(v.text).has_value(); }

// clang-format off
// One entry per line reads as the table of docs/system-variables.md.
const SysVarDef kTable[] = {
    // The process: the user's settings and the program's own facts.
    {.name = L"ACADVER", .type = kString, .home = kSession, .readOnly = true,
     // The release whose drawing format (AC1027) vtcad saves: plug-ins read the leading number.
     .text = L"19.0 (vtcad)"},
    {.name = L"CMDACTIVE", .type = kShort, .home = kSession, .readOnly = true},
    {.name = L"CMDECHO", .type = kShort, .home = kSession, .number = 1, .min = 0, .max = 1},
    // 0: COPY places copies until stopped; 1: one copy.
    {.name = L"COPYMODE", .type = kShort, .home = kSession, .min = 0, .max = 1},
    {.name = L"DWGNAME", .type = kString, .home = kSession, .readOnly = true, .text = L"Drawing1.dwg"},
    // Empty here: SystemVariables answers the current directory until the program names one.
    {.name = L"DWGPREFIX", .type = kString, .home = kSession, .readOnly = true},
    {.name = L"ERRNO", .type = kShort, .home = kSession},
    {.name = L"FILEDIA", .type = kShort, .home = kSession, .number = 1, .min = 0, .max = 1},
    // Per viewport in a drawing; one value for the one viewport here.
    {.name = L"GRIDMODE", .type = kShort, .home = kSession, .min = 0, .max = 1},
    // The grid's spacing in x and y (GRIDMODE 1 shows it in the program's pictures).
    {.name = L"GRIDUNIT", .type = kPoint2d, .home = kSession, .x = 10, .y = 10},
    {.name = L"HIGHLIGHT", .type = kShort, .home = kSession, .number = 1, .min = 0, .max = 1},
    {.name = L"HPISLANDDETECTION", .type = kShort, .home = kSession, .number = 1, .min = 0, .max = 2},
    {.name = L"HPISLANDDETECTIONMODE", .type = kShort, .home = kSession, .number = 1, .min = 0, .max = 1},
    {.name = L"LASTPOINT", .type = kPoint3d, .home = kSession},
    {.name = L"ORTHOMODE", .type = kShort, .home = kSession, .min = 0, .max = 1},
    // Endpoint, centre, intersection and extension; bit 16384 switches snapping off.
    {.name = L"OSMODE", .type = kShort, .home = kSession, .number = 4133, .min = 0, .max = 32767},
    {.name = L"PICKBOX", .type = kShort, .home = kSession, .number = 3, .min = 0, .max = 50},
    {.name = L"PRODUCT", .type = kString, .home = kSession, .readOnly = true, .text = L"vtcad"},
    {.name = L"PROGRAM", .type = kString, .home = kSession, .readOnly = true, .text = L"vtcad"},
    {.name = L"SCREENSIZE", .type = kPoint2d, .home = kSession, .readOnly = true, .x = 1600, .y = 1000},
    {.name = L"USERS1", .type = kString, .home = kSession},
    {.name = L"USERS2", .type = kString, .home = kSession},
    {.name = L"USERS3", .type = kString, .home = kSession},
    {.name = L"USERS4", .type = kString, .home = kSession},
    {.name = L"USERS5", .type = kString, .home = kSession},

    // The current view.
    {.name = L"VIEWCTR", .type = kPoint3d, .home = kView, .readOnly = true},
    {.name = L"VIEWSIZE", .type = kReal, .home = kView, .readOnly = true},

    // The drawing.
    {.name = L"ANGBASE", .type = kReal, .home = kDrawing, .dxfCode = 50},
    {.name = L"ANGDIR", .type = kShort, .home = kDrawing, .dxfCode = 70, .min = 0, .max = 1},
    {.name = L"AUPREC", .type = kShort, .home = kDrawing, .dxfCode = 70, .min = 0, .max = 8},
    {.name = L"CECOLOR", .type = kString, .home = kDrawingColor, .text = L"BYLAYER", .accepts = colorAccepts},
    {.name = L"CELTSCALE", .type = kReal, .home = kDrawing, .dxfCode = 40, .number = 1, .accepts = positive},
    {.name = L"CELTYPE", .type = kString, .home = kDrawingRecord, .dxfCode = 6, .text = L"ByLayer",
     .table = &ZcDbDatabase::linetypeTableId},
    // ByLayer (-1), ByBlock (-2), the default (-3) or a standard width; the database checks.
    {.name = L"CELWEIGHT", .type = kShort, .home = kDrawing, .dxfCode = 370, .number = -1},
    {.name = L"CLAYER", .type = kString, .home = kDrawingRecord, .dxfCode = 8, .text = L"0",
     .table = &ZcDbDatabase::layerTableId},
    // An empty drawing's extents, as the database keeps them.
    {.name = L"EXTMAX", .type = kPoint3d, .home = kDrawing, .readOnly = true, .dxfCode = 10,
     .x = -1e20, .y = -1e20, .z = -1e20},
    {.name = L"EXTMIN", .type = kPoint3d, .home = kDrawing, .readOnly = true, .dxfCode = 10,
     .x = 1e20, .y = 1e20, .z = 1e20},
    // The next handle: only the database gives handles out.
    {.name = L"HANDSEED", .type = kString, .home = kDrawing, .readOnly = true, .dxfCode = 5},
    // 0..20 the classic units, 21..24 the US survey ones.
    {.name = L"INSUNITS", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 4, .min = 0, .max = 24},
    {.name = L"LIMMAX", .type = kPoint2d, .home = kDrawing, .dxfCode = 10, .x = 420, .y = 297},
    {.name = L"LIMMIN", .type = kPoint2d, .home = kDrawing, .dxfCode = 10},
    {.name = L"LTSCALE", .type = kReal, .home = kDrawing, .dxfCode = 40, .number = 1, .accepts = positive},
    {.name = L"LUNITS", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 2, .min = 1, .max = 5},
    {.name = L"LUPREC", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 4, .min = 0, .max = 8},
    // Lineweights shown in pictures (1) or every line thin (0); the width of Default.
    {.name = L"LWDEFAULT", .type = kShort, .home = kDrawing, .dxfCode = 370, .number = 25,
     .accepts = lineweightWidthAccepts},
    {.name = L"LWDISPLAY", .type = kShort, .home = kDrawing, .dxfCode = 290, .min = 0, .max = 1},
    {.name = L"MIRRTEXT", .type = kShort, .home = kDrawing, .dxfCode = 70, .min = 0, .max = 1},
    {.name = L"PDMODE", .type = kShort, .home = kDrawing, .dxfCode = 70, .accepts = pdmodeAccepts},
    // Negative sizes are a percentage of the view height.
    {.name = L"PDSIZE", .type = kReal, .home = kDrawing, .dxfCode = 40},
    {.name = L"PLINEWID", .type = kReal, .home = kDrawing, .dxfCode = 40, .min = 0},
    {.name = L"PSLTSCALE", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 1, .min = 0, .max = 1},
    {.name = L"SPLFRAME", .type = kShort, .home = kDrawing, .dxfCode = 70, .min = 0, .max = 1},
    {.name = L"SPLINESEGS", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 8, .accepts = nonZero},
    {.name = L"SPLINETYPE", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 6,
     .accepts = splinetypeAccepts},
    {.name = L"SURFTAB1", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 6,
     .min = 2, .max = 32766},
    {.name = L"SURFTAB2", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 6,
     .min = 2, .max = 32766},
    {.name = L"TEXTSIZE", .type = kReal, .home = kDrawing, .dxfCode = 40, .number = 2.5, .accepts = positive},
    {.name = L"TEXTSTYLE", .type = kString, .home = kDrawingRecord, .dxfCode = 7, .text = L"Standard",
     .table = &ZcDbDatabase::textStyleTableId},
    // Stored only: switching between model space and a layout is the layout commands' work.
    {.name = L"TILEMODE", .type = kShort, .home = kDrawing, .dxfCode = 70, .number = 1, .min = 0, .max = 1},
    {.name = L"USERI1", .type = kShort, .home = kDrawing, .dxfCode = 70},
    {.name = L"USERI2", .type = kShort, .home = kDrawing, .dxfCode = 70},
    {.name = L"USERI3", .type = kShort, .home = kDrawing, .dxfCode = 70},
    {.name = L"USERI4", .type = kShort, .home = kDrawing, .dxfCode = 70},
    {.name = L"USERI5", .type = kShort, .home = kDrawing, .dxfCode = 70},
    {.name = L"USERR1", .type = kReal, .home = kDrawing, .dxfCode = 40},
    {.name = L"USERR2", .type = kReal, .home = kDrawing, .dxfCode = 40},
    {.name = L"USERR3", .type = kReal, .home = kDrawing, .dxfCode = 40},
    {.name = L"USERR4", .type = kReal, .home = kDrawing, .dxfCode = 40},
    {.name = L"USERR5", .type = kReal, .home = kDrawing, .dxfCode = 40},
};
// clang-format on

}  // namespace

std::span<const SysVarDef> sysVarTable() { return kTable; }

const SysVarDef* findSysVar(std::wstring_view upperName) {
  for (const SysVarDef& def : kTable) {
    if (upperName == def.name) return &def;
  }
  return nullptr;
}

SysVarValue defaultValue(const SysVarDef& def) {
  SysVarValue value;
  value.type = def.type;
  value.number = def.number;
  value.point.set(def.x, def.y, def.type == SysVarType::kPoint2d ? 0.0 : def.z);
  value.text = def.text;
  return value;
}

bool fitsType(const SysVarValue& value) {
  switch (value.type) {
    case SysVarType::kShort:
      return value.number == std::floor(value.number) && value.number >= std::numeric_limits<short>::min() &&
             value.number <= std::numeric_limits<short>::max();
    case SysVarType::kLong:
      return value.number == std::floor(value.number) &&
             value.number >= std::numeric_limits<Zdesk::Int32>::min() &&
             value.number <= std::numeric_limits<Zdesk::Int32>::max();
    case SysVarType::kReal:
      return std::isfinite(value.number);
    case SysVarType::kPoint2d:
    case SysVarType::kPoint3d:
      return std::isfinite(value.point.x) && std::isfinite(value.point.y) && std::isfinite(value.point.z);
    case SysVarType::kString:
      return true;
  }
  return false;
}

bool acceptsValue(const SysVarDef& def, const SysVarValue& value) {
  if (value.type != def.type || !fitsType(value)) return false;
  bool numeric =
      def.type == SysVarType::kShort || def.type == SysVarType::kLong || def.type == SysVarType::kReal;
  if (numeric && (value.number < def.min || value.number > def.max)) return false;
  return !def.accepts || def.accepts(value);
}

}  // namespace vtcad::editor
