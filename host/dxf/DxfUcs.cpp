// UCS: a named user coordinate system: origin (10), X axis (11) and Y axis (12). The
// elevation, base UCS and orthographic origins are kept.
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbUCSTable.h"

namespace vtcad::dxf {
namespace {

class UcsCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "UCS"; }
  ZcRxClass* rxClass() const override { return ZcDbUCSTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbUCSTableRecord; }

 protected:
  std::string_view recordSubclass() const override { return "AcDbUCSTableRecord"; }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& ucs = static_cast<ZcDbUCSTableRecord&>(record);
    for (size_t i = 0; i < fields.size(); ++i) {
      const int code = fields[i].tag.code;
      if (code == 10 || code == 11 || code == 12) {
        ReadContext::PointRead p = ctx.point(fields, i);
        // A zero axis is refused by the class and kept as the file gave it.
        if (p.point && (code == 10   ? ucs.setOrigin(*p.point)
                        : code == 11 ? ucs.setXAxis(p.point->asVector())
                                     : ucs.setYAxis(p.point->asVector())) == Zcad::eOk) {
          i += p.taken - 1;
          continue;
        }
      }
      ctx.keep(ucs, fields[i]);
    }
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& ucs = static_cast<const ZcDbUCSTableRecord&>(record);
    if (!keptInstead(ucs, 10)) ctx.point(10, ucs.origin());
    if (!keptInstead(ucs, 11)) ctx.point(11, ucs.xAxis());
    if (!keptInstead(ucs, 12)) ctx.point(12, ucs.yAxis());
  }
};

}  // namespace

const ObjectCodec& ucsCodec() {
  static const UcsCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
