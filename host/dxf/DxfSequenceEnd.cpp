// SEQEND: the end marker after the vertices of an old-style polyline, adopted by the POLYLINE
// codec. It has no groups beyond those of every entity; any others are kept.
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbSequenceEnd.h"

namespace vtcad::dxf {
namespace {

class SequenceEndCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "SEQEND"; }
  ZcRxClass* rxClass() const override { return ZcDbSequenceEnd::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbSequenceEnd; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    for (const BodyGroup& g : body) ctx.keep(obj, g);
    return true;
  }

  void write(const ZcDbObject&, WriteContext&) const override {}
};

}  // namespace

const ObjectCodec& sequenceEndCodec() {
  static const SequenceEndCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
