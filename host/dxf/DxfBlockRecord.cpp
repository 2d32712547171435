// BLOCK_RECORD: the block table record's entry in the table; its name. The layout it belongs
// to (340), insertion units (70), explodability (280), scalability (281) and preview image
// (310) are kept; a record without them (a block made in this session) gets the values a
// new block has. The block's origin and entities come with its BLOCK record, which the
// document reader handles.
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbBlockTable.h"

namespace vtcad::dxf {
namespace {

class BlockRecordCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "BLOCK_RECORD"; }
  ZcRxClass* rxClass() const override { return ZcDbBlockTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbBlockTableRecord; }

 protected:
  std::string_view recordSubclass() const override { return "AcDbBlockTableRecord"; }
  // Group 70 of a block record is its insertion units.
  bool hasStandardFlags() const override { return false; }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    for (const BodyGroup& g : fields) ctx.keep(record, g);
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    // Unitless, explodable, scaled freely.
    if (!keptInstead(record, 70)) ctx.integer(70, 0);
    if (!keptInstead(record, 280)) ctx.integer(280, 1);
    if (!keptInstead(record, 281)) ctx.integer(281, 0);
  }
};

}  // namespace

const ObjectCodec& blockRecordCodec() {
  static const BlockRecordCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
