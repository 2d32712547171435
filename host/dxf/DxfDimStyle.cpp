// DIMSTYLE: a dimension style. The class holds the few variables the host reads: DIMSCALE (40),
// DIMASZ (41), DIMEXO (42), DIMEXE (44), DIMTXT (140), DIMGAP (147), DIMDEC (271) and DIMTXSTY
// (340); every other dimension variable is kept. Files name the record's handle with group 105
// (5 is the obsolete DIMBLK name of R12 files, kept); the document reader takes care of it.
//
// CAD programs leave out the variables that have their default value, and the defaults of a
// drawing in inches are not the class's (which are metric). A variable the file left out is
// therefore left out again, unless it was changed since: the codec notes the class's value of
// each one the file did not give.
#include <array>
#include <string>

#include "database/ZcDbKeptGroup.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfTagWriter.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbDimStyleTable.h"

namespace vtcad::dxf {
namespace {

using Style = ZcDbDimStyleTableRecord;

struct Variable {
  int code;
  bool integer;
  double (*get)(const Style&);
  Zcad::ErrorStatus (*set)(Style&, double);
};

constexpr std::array<Variable, 7> kVariables = {{
    {40, false, [](const Style& s) { return s.dimscale(); },
     [](Style& s, double v) { return s.setDimscale(v); }},
    {41, false, [](const Style& s) { return s.dimasz(); }, [](Style& s, double v) { return s.setDimasz(v); }},
    {42, false, [](const Style& s) { return s.dimexo(); }, [](Style& s, double v) { return s.setDimexo(v); }},
    {44, false, [](const Style& s) { return s.dimexe(); }, [](Style& s, double v) { return s.setDimexe(v); }},
    {140, false, [](const Style& s) { return s.dimtxt(); },
     [](Style& s, double v) { return s.setDimtxt(v); }},
    {147, false, [](const Style& s) { return s.dimgap(); },
     [](Style& s, double v) { return s.setDimgap(v); }},
    {271, true, [](const Style& s) { return static_cast<double>(s.dimdec()); },
     [](Style& s, double v) {
       return v >= 0.0 && v <= 8.0 ? s.setDimdec(static_cast<int>(v)) : Zcad::eInvalidInput;
     }},
}};

std::string valueText(const Variable& var, double value) {
  return var.integer ? std::to_string(static_cast<int>(value)) : formatReal(value);
}

class DimStyleCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "DIMSTYLE"; }
  ZcRxClass* rxClass() const override { return ZcDbDimStyleTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override {
    return new ZcDbDimStyleTableRecord;
  }

 protected:
  std::string_view recordSubclass() const override { return "AcDbDimStyleTableRecord"; }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& style = static_cast<Style&>(record);
    std::array<bool, kVariables.size()> given{};
    for (const BodyGroup& g : fields) {
      const int code = g.tag.code;
      if (code == 340) {
        ZcDbObjectId textStyle = ctx.idOfHandle(g.tag);
        if (!textStyle.isNull() && style.setDimtxsty(textStyle) == Zcad::eOk) continue;
      }
      bool taken = false;
      for (size_t k = 0; k < kVariables.size() && !taken; ++k) {
        const Variable& var = kVariables[k];
        if (var.code != code || given[k]) continue;
        given[k] = true;  // refused or not: the file gave it
        if (var.integer) {
          std::optional<std::int64_t> v = ctx.integer(g.tag);
          taken = v && var.set(style, static_cast<double>(*v)) == Zcad::eOk;
        } else {
          std::optional<double> v = ctx.real(g.tag);
          taken = v && var.set(style, *v) == Zcad::eOk;
        }
      }
      if (!taken) ctx.keep(style, g);
    }
    for (size_t k = 0; k < kVariables.size(); ++k) {
      if (given[k]) continue;
      const std::string value = valueText(kVariables[k], kVariables[k].get(style));
      ctx.keep(style, Tag{kVariables[k].code, 0, value}, kCodecOwnSlot);
    }
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& style = static_cast<const Style&>(record);
    for (const Variable& var : kVariables) {
      if (keptInstead(style, var.code)) continue;
      const double value = var.get(style);
      const ZcDbKeptGroup* absent = codecOwnGroup(style, var.code);
      if (absent && absent->value == valueText(var, value)) continue;
      var.integer ? ctx.integer(var.code, static_cast<int>(value)) : ctx.real(var.code, value);
    }
    if (!style.dimtxsty().isNull() && !keptInstead(style, 340)) ctx.handle(340, style.dimtxsty());
  }
};

}  // namespace

const ObjectCodec& dimStyleCodec() {
  static const DimStyleCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
