// Header variables by name: the typed ones through their accessors, the others kept as the
// chain of DXF groups they were given.
#include <algorithm>
#include <cmath>
#include <cwctype>
#include <set>
#include <string>

#include "ZcDbDatabaseImpl.h"
#include "ZcDbValidate.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbSymbolTable.h"

namespace {

enum class Var {
  kClayer,
  kCeltype,
  kTextstyle,
  kCecolor,
  kCeltscale,
  kTextsize,
  kPdsize,
  kCelweight,
  kPdmode,
  kSurftab1,
  kSplinesegs,
  kMirrtext,
  kInsunits,
  kExtmin,
  kExtmax,
  kHandseed
};

struct TypedVar {
  const wchar_t* name;
  Var var;
};

constexpr TypedVar kTyped[] = {
    {L"CLAYER", Var::kClayer},     {L"CELTYPE", Var::kCeltype},       {L"TEXTSTYLE", Var::kTextstyle},
    {L"CECOLOR", Var::kCecolor},   {L"CELTSCALE", Var::kCeltscale},   {L"TEXTSIZE", Var::kTextsize},
    {L"PDSIZE", Var::kPdsize},     {L"CELWEIGHT", Var::kCelweight},   {L"PDMODE", Var::kPdmode},
    {L"SURFTAB1", Var::kSurftab1}, {L"SPLINESEGS", Var::kSplinesegs}, {L"MIRRTEXT", Var::kMirrtext},
    {L"INSUNITS", Var::kInsunits}, {L"EXTMIN", Var::kExtmin},         {L"EXTMAX", Var::kExtmax},
    {L"HANDSEED", Var::kHandseed},
};

// Upper case, without a leading '$'.
std::wstring keyOf(const ZTCHAR* name) {
  std::wstring key = name ? name : L"";
  if (!key.empty() && key[0] == L'$') key.erase(0, 1);
  for (auto& c : key) c = static_cast<wchar_t>(std::towupper(c));
  return key;
}

const TypedVar* findTyped(const std::wstring& key) {
  for (const auto& t : kTyped) {
    if (key == t.name) return &t;
  }
  return nullptr;
}

resbuf* stringRb(int code, const ZTCHAR* text) {
  resbuf* rb = zcutNewRb(code);
  rb->resval.rstring = zcutNewString(text);
  return rb;
}
resbuf* realRb(int code, double value) {
  resbuf* rb = zcutNewRb(code);
  rb->resval.rreal = value;
  return rb;
}
resbuf* shortRb(int code, int value) {
  resbuf* rb = zcutNewRb(code);
  rb->resval.rint = static_cast<short>(value);
  return rb;
}
resbuf* pointRb(int code, const ZcGePoint3d& p) {
  resbuf* rb = zcutNewRb(code);
  rb->resval.rpoint[0] = p.x;
  rb->resval.rpoint[1] = p.y;
  rb->resval.rpoint[2] = p.z;
  return rb;
}

resbuf* recordNameRb(int code, ZcDbDatabaseImpl* impl, ZcDbObjectId id) {
  auto* record = ZcDbSymbolTableRecord::cast(impl->peek(id));
  return stringRb(code, record ? record->name().kwszPtr() : L"");
}

// The first number of the chain, whatever its kind; false when there is none.
bool firstNumber(const resbuf* rb, double& value) {
  for (; rb; rb = rb->rbnext) {
    switch (zcutValueKind(rb->restype)) {
      case ZdsValueKind::kReal:
        value = rb->resval.rreal;
        return true;
      case ZdsValueKind::kShort:
        value = rb->resval.rint;
        return true;
      case ZdsValueKind::kLong:
        value = rb->resval.rlong;
        return true;
      case ZdsValueKind::kInt64:
        value = static_cast<double>(rb->resval.mnInt64);
        return true;
      default:
        break;
    }
  }
  return false;
}

const resbuf* firstOfKind(const resbuf* rb, ZdsValueKind kind) {
  for (; rb; rb = rb->rbnext) {
    if (zcutValueKind(rb->restype) == kind) return rb;
  }
  return nullptr;
}

bool allFinite(const resbuf* rb) {
  for (; rb; rb = rb->rbnext) {
    ZdsValueKind kind = zcutValueKind(rb->restype);
    if (kind == ZdsValueKind::kReal && !zcdbFinite(rb->resval.rreal)) return false;
    if (kind == ZdsValueKind::kPoint) {
      for (double c : rb->resval.rpoint) {
        if (!zcdbFinite(c)) return false;
      }
    }
  }
  return true;
}

void keep(ZcDbDatabaseImpl* impl, const std::wstring& key, const resbuf* value) {
  auto& slot = impl->vars.other[key];
  zcutRelRb(slot);
  slot = zcutCopyRbChain(value);
}

// Named records: set now when the table has the record, else kept to be resolved later.
Zcad::ErrorStatus setNamed(ZcDbDatabase* db, ZcDbDatabaseImpl* impl, const std::wstring& key,
                           const resbuf* value, ZcDbObjectId tableId,
                           Zcad::ErrorStatus (ZcDbDatabase::*setter)(ZcDbObjectId)) {
  const resbuf* text = firstOfKind(value, ZdsValueKind::kString);
  if (!text || !text->resval.rstring || !*text->resval.rstring) return Zcad::eInvalidInput;
  ZcDbObjectId id = impl->findRecord(tableId, text->resval.rstring);
  if (!id.isNull()) return (db->*setter)(id);
  keep(impl, key, text);
  return Zcad::eOk;
}

}  // namespace

resbuf* ZcDbDatabase::getHeaderVar(const ZTCHAR* name) const {
  std::wstring key = keyOf(name);
  ZcDbDatabaseImpl* impl = impl_.get();
  const TypedVar* typed = findTyped(key);
  if (!typed) {
    auto it = impl->vars.other.find(key);
    return it == impl->vars.other.end() ? nullptr : zcutCopyRbChain(it->second);
  }
  const ZcDbHeaderVars& v = impl->vars;
  switch (typed->var) {
    case Var::kClayer:
      return recordNameRb(8, impl, clayer());
    case Var::kCeltype:
      return recordNameRb(6, impl, celtype());
    case Var::kTextstyle:
      return recordNameRb(7, impl, textstyle());
    case Var::kCecolor: {
      resbuf* rb = shortRb(62, v.cecolor.colorIndex());
      if (v.cecolor.isByColor()) {
        rb->rbnext = zcutNewRb(420);
        rb->rbnext->resval.rlong = static_cast<Zdesk::Int32>(v.cecolor.trueColorValue());
      }
      return rb;
    }
    case Var::kCeltscale:
      return realRb(40, v.celtscale);
    case Var::kTextsize:
      return realRb(40, v.textsize);
    case Var::kPdsize:
      return realRb(40, v.pdsize);
    case Var::kCelweight:
      return shortRb(370, v.celweight);
    case Var::kPdmode:
      return shortRb(70, v.pdmode);
    case Var::kSurftab1:
      return shortRb(70, v.surftab1);
    case Var::kSplinesegs:
      return shortRb(70, v.splinesegs);
    case Var::kMirrtext:
      return shortRb(70, v.mirrtext ? 1 : 0);
    case Var::kInsunits:
      return shortRb(70, v.insunits);
    case Var::kExtmin:
      return pointRb(10, v.extmin);
    case Var::kExtmax:
      return pointRb(10, v.extmax);
    case Var::kHandseed:
      return stringRb(5, handseed().getIntoAsciiBuffer().c_str());
  }
  return nullptr;
}

Zcad::ErrorStatus ZcDbDatabase::setHeaderVar(const ZTCHAR* name, const resbuf* value) {
  std::wstring key = keyOf(name);
  if (key.empty() || !value || !allFinite(value)) return Zcad::eInvalidInput;
  ZcDbDatabaseImpl* impl = impl_.get();
  const TypedVar* typed = findTyped(key);
  if (!typed) {
    keep(impl, key, value);
    return Zcad::eOk;
  }
  double number = 0.0;
  bool hasNumber = firstNumber(value, number);
  auto asShort = [&](Zcad::ErrorStatus (ZcDbDatabase::*setter)(Zdesk::Int16)) {
    if (!hasNumber || number < -32768 || number > 32767) return Zcad::eInvalidInput;
    return (this->*setter)(static_cast<Zdesk::Int16>(number));
  };
  auto asReal = [&](Zcad::ErrorStatus (ZcDbDatabase::*setter)(double)) {
    return hasNumber ? (this->*setter)(number) : Zcad::eInvalidInput;
  };
  auto asPoint = [&](Zcad::ErrorStatus (ZcDbDatabase::*setter)(const ZcGePoint3d&)) {
    const resbuf* p = firstOfKind(value, ZdsValueKind::kPoint);
    if (!p) return Zcad::eInvalidInput;
    return (this->*setter)(ZcGePoint3d(p->resval.rpoint[0], p->resval.rpoint[1], p->resval.rpoint[2]));
  };
  switch (typed->var) {
    case Var::kClayer:
      return setNamed(this, impl, key, value, impl->layerTable, &ZcDbDatabase::setClayer);
    case Var::kCeltype:
      return setNamed(this, impl, key, value, impl->linetypeTable, &ZcDbDatabase::setCeltype);
    case Var::kTextstyle:
      return setNamed(this, impl, key, value, impl->textStyleTable, &ZcDbDatabase::setTextstyle);
    case Var::kCecolor: {
      ZcCmColor color;
      if (const resbuf* rgb = firstOfKind(value, ZdsValueKind::kLong); rgb && rgb->restype == 420) {
        auto c = static_cast<Zdesk::UInt32>(rgb->resval.rlong);
        color.setRGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
      } else if (!hasNumber || number < 0 || number > 256 ||
                 !color.setColorIndex(static_cast<Zdesk::UInt16>(number))) {
        return Zcad::eInvalidInput;
      }
      return setCecolor(color);
    }
    case Var::kCeltscale:
      return asReal(&ZcDbDatabase::setCeltscale);
    case Var::kTextsize:
      return asReal(&ZcDbDatabase::setTextsize);
    case Var::kPdsize:
      return asReal(&ZcDbDatabase::setPdsize);
    case Var::kCelweight:
      // Checked before the cast: an int that is no weight is no value of the enum either.
      if (!hasNumber || number != std::floor(number) || !zcdbIsValidLineWeight(static_cast<int>(number))) {
        return Zcad::eInvalidInput;
      }
      return setCelweight(static_cast<ZcDb::LineWeight>(static_cast<int>(number)));
    case Var::kPdmode:
      return asShort(&ZcDbDatabase::setPdmode);
    case Var::kSurftab1:
      return asShort(&ZcDbDatabase::setSurftab1);
    case Var::kSplinesegs:
      return asShort(&ZcDbDatabase::setSplinesegs);
    case Var::kInsunits:
      return asShort(&ZcDbDatabase::setInsunits);
    case Var::kMirrtext:
      if (!hasNumber) return Zcad::eInvalidInput;
      return setMirrtext(number != 0.0);
    case Var::kExtmin:
      return asPoint(&ZcDbDatabase::setExtmin);
    case Var::kExtmax:
      return asPoint(&ZcDbDatabase::setExtmax);
    case Var::kHandseed: {
      const resbuf* text = firstOfKind(value, ZdsValueKind::kString);
      ZcDbHandle seed(text ? text->resval.rstring : nullptr);
      if (seed.isNull()) return Zcad::eInvalidInput;
      // Never below a handle already in use.
      impl->handseed = std::max(impl->handseed, seed.value());
      return Zcad::eOk;
    }
  }
  return Zcad::eInvalidInput;
}

ZcArray<ZcString> ZcDbDatabase::headerVarNames() const {
  std::set<std::wstring> names;
  for (const auto& t : kTyped) names.insert(t.name);
  for (const auto& [name, chain] : impl_->vars.other) names.insert(name);
  ZcArray<ZcString> result;
  for (const auto& n : names) result.append(ZcString(n));
  return result;
}
