// VIEW: a named view. The class holds the paper-space flag (70, bit 1), height (40), centre
// (10), width (41), view direction (11), target (12), lens length (42) and twist (50, degrees
// in the file); clipping, view mode, render settings, the UCS and the camera are kept.
#include <initializer_list>  // for dxf/DxfAngles.h

#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbViewTable.h"

namespace vtcad::dxf {
namespace {

constexpr int kPaperSpace = 1;

class ViewCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "VIEW"; }
  ZcRxClass* rxClass() const override { return ZcDbViewTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbViewTableRecord; }

 protected:
  std::string_view recordSubclass() const override { return "AcDbViewTableRecord"; }

  int flagMask() const override { return kPaperSpace; }
  void readFlags(ZcDbSymbolTableRecord& record, int flags) const override {
    static_cast<ZcDbViewTableRecord&>(record).setIsPaperspaceView((flags & kPaperSpace) != 0);
  }
  int flags(const ZcDbSymbolTableRecord& record) const override {
    return static_cast<const ZcDbViewTableRecord&>(record).isPaperspaceView() ? kPaperSpace : 0;
  }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& view = static_cast<ZcDbViewTableRecord&>(record);
    for (size_t i = 0; i < fields.size(); ++i) {
      const BodyGroup& g = fields[i];
      const int code = g.tag.code;
      switch (code) {
        case 10:
        case 11:
        case 12: {
          ReadContext::PointRead p = ctx.point(fields, i);
          if (p.point && setPoint(view, code, *p.point) == Zcad::eOk) {
            i += p.taken - 1;
            continue;
          }
          break;
        }
        case 40:
        case 41:
        case 42:
        case 50:
          if (std::optional<double> v = ctx.real(g.tag); v && setReal(view, code, *v) == Zcad::eOk) continue;
          break;
        default:
          break;
      }
      ctx.keep(view, g);
    }
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& view = static_cast<const ZcDbViewTableRecord&>(record);
    if (!keptInstead(view, 40)) ctx.real(40, view.height());
    if (!keptInstead(view, 10)) ctx.point2d(10, view.centerPoint());
    if (!keptInstead(view, 41)) ctx.real(41, view.width());
    if (!keptInstead(view, 11)) ctx.point(11, view.viewDirection());
    if (!keptInstead(view, 12)) ctx.point(12, view.target());
    if (!keptInstead(view, 42)) ctx.real(42, view.lensLength());
    if (!keptInstead(view, 50)) ctx.real(50, degreesFromRadians(view.viewTwist()));
  }

 private:
  static Zcad::ErrorStatus setPoint(ZcDbViewTableRecord& view, int code, const ZcGePoint3d& p) {
    switch (code) {
      case 10:
        return view.setCenterPoint(ZcGePoint2d(p.x, p.y));
      case 11:
        return view.setViewDirection(p.asVector());
      default:
        return view.setTarget(p);
    }
  }

  static Zcad::ErrorStatus setReal(ZcDbViewTableRecord& view, int code, double v) {
    switch (code) {
      case 40:
        return view.setHeight(v);
      case 41:
        return view.setWidth(v);
      case 42:
        return view.setLensLength(v);
      default:
        return view.setViewTwist(radiansFromDegrees(v));
    }
  }
};

}  // namespace

const ObjectCodec& viewCodec() {
  static const ViewCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
