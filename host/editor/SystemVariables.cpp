// System variables: where each value is read from and written to (the process, the working
// drawing's header, its current view), and zcedGetVar / zcedSetVar over result buffers.
#include "editor/SystemVariables.h"

#include <cmath>
#include <cwctype>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>

#include "editor/ColorText.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/zced.h"

namespace vtcad::editor {
namespace {

std::wstring upperName(std::wstring_view name) {
  std::wstring key(name);
  for (auto& c : key) c = static_cast<wchar_t>(std::towupper(c));
  return key;
}

// ---------------------------------------------------------------------------------------
// The process's values, by name; a variable not set since the last reset has its default.

std::map<std::wstring, SysVarValue>& sessionValues() {
  static std::map<std::wstring, SysVarValue> values;
  return values;
}

std::wstring currentDirectory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  // A directory removed under the process has no name: the drawing then has no folder either.
  if (error) return L"";
  std::wstring text = path.wstring();
  if (text.empty() || text.back() != L'/') text += L'/';
  return text;
}

SysVarValue sessionValue(const SysVarDef& def) {
  auto& values = sessionValues();
  if (auto it = values.find(def.name); it != values.end()) return it->second;
  SysVarValue value = defaultValue(def);
  // A drawing not yet saved belongs to the folder the program was started in.
  if (std::wstring_view(def.name) == L"DWGPREFIX") value.text = currentDirectory();
  return value;
}

void storeSession(const wchar_t* name, SysVarValue value) { sessionValues()[name] = std::move(value); }

// ---------------------------------------------------------------------------------------
// The drawing's header: one DXF group per variable.

bool isNumeric(SysVarType type) {
  return type == SysVarType::kShort || type == SysVarType::kLong || type == SysVarType::kReal;
}

// The value of a header group as `type`; false when the group's kind cannot be one.
bool valueOfGroup(const resbuf* group, SysVarType type, SysVarValue& value) {
  if (!group) return false;
  value.type = type;
  ZdsValueKind kind = zcutValueKind(group->restype);
  if (isNumeric(type)) {
    switch (kind) {
      case ZdsValueKind::kShort:
        value.number = group->resval.rint;
        break;
      case ZdsValueKind::kLong:
        value.number = group->resval.rlong;
        break;
      case ZdsValueKind::kReal:
        value.number = group->resval.rreal;
        break;
      default:
        return false;
    }
    // A drawing file may give a whole-number variable as a real: the nearest whole number.
    if (type != SysVarType::kReal) value.number = std::round(value.number);
    return true;
  }
  if (type == SysVarType::kString) {
    if (kind != ZdsValueKind::kString) return false;
    value.text = group->resval.rstring ? group->resval.rstring : L"";
    return true;
  }
  if (kind != ZdsValueKind::kPoint) return false;
  value.point.set(group->resval.rpoint[0], group->resval.rpoint[1],
                  type == SysVarType::kPoint2d ? 0.0 : group->resval.rpoint[2]);
  return true;
}

// The type a header variable the table does not name has: that of its one group. Variables of
// several groups, of 64-bit numbers or of object references have none here.
std::optional<SysVarType> typeOfGroup(const resbuf* chain) {
  if (!chain || chain->rbnext) return std::nullopt;
  switch (zcutValueKind(chain->restype)) {
    case ZdsValueKind::kShort:
      return SysVarType::kShort;
    case ZdsValueKind::kLong:
      return SysVarType::kLong;
    case ZdsValueKind::kReal:
      return SysVarType::kReal;
    case ZdsValueKind::kPoint:
      return SysVarType::kPoint3d;
    case ZdsValueKind::kString:
      return SysVarType::kString;
    default:
      return std::nullopt;
  }
}

// A new one-group chain holding `value` under `code` (a 2-D point gets z 0: the database keeps
// points as three coordinates).
resbuf* groupOf(short code, const SysVarValue& value) {
  resbuf* rb = zcutNewRb(code);
  if (!rb) return nullptr;
  switch (zcutValueKind(code)) {
    case ZdsValueKind::kShort:
      rb->resval.rint = static_cast<short>(value.number);
      break;
    case ZdsValueKind::kLong:
      rb->resval.rlong = static_cast<Zdesk::Int32>(value.number);
      break;
    case ZdsValueKind::kReal:
      rb->resval.rreal = value.number;
      break;
    case ZdsValueKind::kPoint:
      rb->resval.rpoint[0] = value.point.x;
      rb->resval.rpoint[1] = value.point.y;
      rb->resval.rpoint[2] = value.type == SysVarType::kPoint2d ? 0.0 : value.point.z;
      break;
    case ZdsValueKind::kString:
      rb->resval.rstring = zcutNewString(value.text.c_str());
      break;
    default:
      break;
  }
  return rb;
}

int storeHeader(ZcDbDatabase* db, const wchar_t* name, short code, const SysVarValue& value) {
  resbuf* group = groupOf(code, value);
  if (!group) return RTERROR;
  Zcad::ErrorStatus es = db->setHeaderVar(name, group);
  zcutRelRb(group);
  return es == Zcad::eOk ? RTNORM : RTERROR;
}

// Whether the table has a live record of that name that may become current (a frozen layer
// may not: nothing drawn on it would show).
bool namesUsableRecord(ZcDbObjectId tableId, const std::wstring& name) {
  ZcDbSymbolTable* table = nullptr;
  if (name.empty() || zcdbOpenObject(table, tableId, ZcDb::kForRead) != Zcad::eOk) return false;
  ZcDbSymbolTableRecord* record = nullptr;
  Zcad::ErrorStatus es = table->getAt(name.c_str(), record, ZcDb::kForRead);
  table->close();
  if (es != Zcad::eOk) return false;
  bool usable = true;
  if (auto* layer = ZcDbLayerTableRecord::cast(record)) usable = !layer->isFrozen();
  record->close();
  return usable;
}

int readDrawing(const SysVarDef& def, const ZcDbDatabase* db, SysVarValue& value) {
  if (!db) return RTERROR;
  if (def.home == SysVarHome::kDrawingColor) {
    value.type = SysVarType::kString;
    value.text = colorText(db->cecolor());
    return RTNORM;
  }
  resbuf* chain = db->getHeaderVar(def.name);
  // A drawing without the variable (or with a value of another kind) has the default.
  if (!valueOfGroup(chain, def.type, value)) value = defaultValue(def);
  zcutRelRb(chain);
  return RTNORM;
}

int writeDrawing(const SysVarDef& def, ZcDbDatabase* db, const SysVarValue& value) {
  if (!db) return RTERROR;
  switch (def.home) {
    case SysVarHome::kDrawingColor: {
      std::optional<ZcCmColor> color = parseColorText(value.text);
      if (!color) return RTERROR;
      return db->setCecolor(*color) == Zcad::eOk ? RTNORM : RTERROR;
    }
    case SysVarHome::kDrawingRecord:
      // The database would keep a name its table lacks, to resolve later (drawing files name
      // records before their tables come); a command may only name what is there.
      if (!namesUsableRecord((db->*def.table)(), value.text)) return RTERROR;
      return storeHeader(db, def.name, def.dxfCode, value);
    default:
      return storeHeader(db, def.name, def.dxfCode, value);
  }
}

// ---------------------------------------------------------------------------------------
// Values given for another type.

std::optional<SysVarValue> converted(const SysVarValue& given, SysVarType type) {
  SysVarValue value = given;
  value.type = type;
  bool integer = given.type == SysVarType::kShort || given.type == SysVarType::kLong;
  bool point = given.type == SysVarType::kPoint2d || given.type == SysVarType::kPoint3d;
  switch (type) {
    case SysVarType::kShort:
    case SysVarType::kLong:
      if (!integer) return std::nullopt;
      break;
    case SysVarType::kReal:
      if (!integer && given.type != SysVarType::kReal) return std::nullopt;
      break;
    case SysVarType::kPoint2d:
      if (!point) return std::nullopt;
      value.point.z = 0.0;
      break;
    case SysVarType::kPoint3d:
      if (!point) return std::nullopt;
      if (given.type == SysVarType::kPoint2d) value.point.z = 0.0;
      break;
    case SysVarType::kString:
      if (given.type != SysVarType::kString) return std::nullopt;
      break;
  }
  return value;
}

int setHeaderOnly(ZcDbDatabase* db, const std::wstring& key, const SysVarValue& given) {
  if (!db) return RTERROR;
  resbuf* chain = db->getHeaderVar(key.c_str());
  std::optional<SysVarType> type = typeOfGroup(chain);
  short code = chain ? chain->restype : 0;
  zcutRelRb(chain);
  if (!type) return RTERROR;
  std::optional<SysVarValue> value = converted(given, *type);
  if (!value || !fitsType(*value)) return RTERROR;
  return storeHeader(db, key.c_str(), code, *value);
}

int getHeaderOnly(const ZcDbDatabase* db, const std::wstring& key, SysVarValue& value) {
  if (!db) return RTERROR;
  resbuf* chain = db->getHeaderVar(key.c_str());
  std::optional<SysVarType> type = typeOfGroup(chain);
  bool ok = type && valueOfGroup(chain, *type, value);
  zcutRelRb(chain);
  return ok ? RTNORM : RTERROR;
}

// Names of system variables are words; the database would also take "$NAME", the file's form.
bool isVariableName(const std::wstring& key) { return !key.empty() && key.front() != L'$'; }

// ---------------------------------------------------------------------------------------
// Result buffers.

std::optional<SysVarValue> valueOfResbuf(const resbuf& rb) {
  SysVarValue value;
  switch (rb.restype) {
    case RTSHORT:
      value.type = SysVarType::kShort;
      value.number = rb.resval.rint;
      return value;
    case RTLONG:
      value.type = SysVarType::kLong;
      value.number = rb.resval.rlong;
      return value;
    case RTREAL:
    case RTANG:
    case RTORINT:
      value.type = SysVarType::kReal;
      value.number = rb.resval.rreal;
      return value;
    case RTPOINT:
      // The z of a 2-D point is not part of the value (callers often leave it unset).
      value.type = SysVarType::kPoint2d;
      value.point.set(rb.resval.rpoint[0], rb.resval.rpoint[1], 0.0);
      return value;
    case RT3DPOINT:
      value.type = SysVarType::kPoint3d;
      value.point.set(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
      return value;
    case RTSTR:
      if (!rb.resval.rstring) return std::nullopt;
      value.type = SysVarType::kString;
      value.text = rb.resval.rstring;
      return value;
    default:
      return std::nullopt;
  }
}

// Fills the value of `rb` (its link to a next buffer is the caller's and stays as it is).
void fillResbuf(const SysVarValue& value, resbuf& rb) {
  switch (value.type) {
    case SysVarType::kShort:
      rb.restype = RTSHORT;
      rb.resval.rint = static_cast<short>(value.number);
      break;
    case SysVarType::kLong:
      rb.restype = RTLONG;
      rb.resval.rlong = static_cast<Zdesk::Int32>(value.number);
      break;
    case SysVarType::kReal:
      rb.restype = RTREAL;
      rb.resval.rreal = value.number;
      break;
    case SysVarType::kPoint2d:
    case SysVarType::kPoint3d:
      rb.restype = value.type == SysVarType::kPoint2d ? RTPOINT : RT3DPOINT;
      rb.resval.rpoint[0] = value.point.x;
      rb.resval.rpoint[1] = value.point.y;
      rb.resval.rpoint[2] = value.type == SysVarType::kPoint2d ? 0.0 : value.point.z;
      break;
    case SysVarType::kString:
      rb.restype = RTSTR;
      rb.resval.rstring = zcutNewString(value.text.c_str());
      break;
  }
}

}  // namespace

int getSystemVariable(std::wstring_view name, SysVarValue& value) {
  std::wstring key = upperName(name);
  if (!isVariableName(key)) return RTERROR;
  const SysVarDef* def = findSysVar(key);
  if (!def) return getHeaderOnly(zcdbCurDwg(), key, value);
  switch (def->home) {
    case SysVarHome::kSession:
      value = sessionValue(*def);
      return RTNORM;
    case SysVarHome::kView: {
      ViewTransform view = ViewTransform::current();
      value.type = def->type;
      if (def->type == SysVarType::kReal) {
        value.number = view.height();
      } else {
        value.point = view.center();
      }
      return RTNORM;
    }
    default:
      return readDrawing(*def, zcdbCurDwg(), value);
  }
}

int setSystemVariable(std::wstring_view name, const SysVarValue& given) {
  std::wstring key = upperName(name);
  if (!isVariableName(key)) return RTERROR;
  const SysVarDef* def = findSysVar(key);
  if (!def) return setHeaderOnly(zcdbCurDwg(), key, given);
  if (def->readOnly) return RTERROR;
  std::optional<SysVarValue> value = converted(given, def->type);
  if (!value || !acceptsValue(*def, *value)) return RTERROR;
  switch (def->home) {
    case SysVarHome::kSession:
      storeSession(def->name, *value);
      return RTNORM;
    case SysVarHome::kView:
      return RTERROR;  // computed from the viewport record: ZOOM and PAN change it
    default:
      return writeDrawing(*def, zcdbCurDwg(), *value);
  }
}

void setCommandActive(int bits) {
  SysVarValue value;
  value.number = bits < 0 ? 0 : (bits > 32767 ? 32767 : bits);
  storeSession(L"CMDACTIVE", value);
}

void setDrawingName(std::wstring_view name, std::wstring_view prefix) {
  SysVarValue value;
  value.type = SysVarType::kString;
  value.text = name;
  storeSession(L"DWGNAME", value);
  value.text = prefix;
  storeSession(L"DWGPREFIX", value);
}

bool setScreenSize(ScreenSize size) {
  if (size.width < 1 || size.height < 1) return false;
  SysVarValue value;
  value.type = SysVarType::kPoint2d;
  value.point.set(size.width, size.height, 0.0);
  storeSession(L"SCREENSIZE", value);
  return true;
}

ScreenSize screenSize() {
  SysVarValue value = sessionValue(*findSysVar(L"SCREENSIZE"));
  return {static_cast<int>(value.point.x), static_cast<int>(value.point.y)};
}

void resetSessionVariables() { sessionValues().clear(); }

}  // namespace vtcad::editor

int zcedGetVar(const ZTCHAR* sym, resbuf* result) {
  if (!sym || !result) return RTERROR;
  vtcad::editor::SysVarValue value;
  if (vtcad::editor::getSystemVariable(sym, value) != RTNORM) return RTERROR;
  vtcad::editor::fillResbuf(value, *result);
  return RTNORM;
}

int zcedSetVar(const ZTCHAR* sym, const resbuf* val) {
  if (!sym || !val) return RTERROR;
  std::optional<vtcad::editor::SysVarValue> value = vtcad::editor::valueOfResbuf(*val);
  if (!value) return RTERROR;
  return vtcad::editor::setSystemVariable(sym, *value);
}
