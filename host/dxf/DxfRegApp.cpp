// APPID: the name of an application that files extended data; nothing but the name and the
// flags. Anything else the record holds is kept.
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "zcad/db/ZcDbRegAppTable.h"

namespace vtcad::dxf {
namespace {

class RegAppCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "APPID"; }
  ZcRxClass* rxClass() const override { return ZcDbRegAppTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbRegAppTableRecord; }

 protected:
  std::string_view recordSubclass() const override { return "AcDbRegAppTableRecord"; }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    for (const BodyGroup& g : fields) ctx.keep(record, g);
    return true;
  }
  void writeFields(const ZcDbSymbolTableRecord&, WriteContext&) const override {}
};

}  // namespace

const ObjectCodec& regAppCodec() {
  static const RegAppCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
