// VPORT: a tiled viewport of model space. The first record named "*Active" is the view the
// drawing opens with: its centre (12), height (40) and aspect ratio (41, width over height).
// Besides those the class holds the corners in the window (10, 11), the view direction (16)
// and target (17), lens length (42), twist (51, degrees in the file) and the snap and grid
// switches (75, 76); every other group (snap and grid spacing, clipping, UCS, render and
// visual settings, ...) is kept.
#include <initializer_list>  // for dxf/DxfAngles.h

#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbViewportTable.h"

namespace vtcad::dxf {
namespace {

ZcGePoint2d in2d(const ZcGePoint3d& p) { return ZcGePoint2d(p.x, p.y); }

class ViewportCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "VPORT"; }
  ZcRxClass* rxClass() const override { return ZcDbViewportTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override {
    return new ZcDbViewportTableRecord;
  }

 protected:
  std::string_view recordSubclass() const override { return "AcDbViewportTableRecord"; }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& vport = static_cast<ZcDbViewportTableRecord&>(record);
    // The width is the height times the aspect ratio, whichever comes first.
    std::optional<double> aspect;
    const BodyGroup* aspectGroup = nullptr;
    for (size_t i = 0; i < fields.size(); ++i) {
      const BodyGroup& g = fields[i];
      const int code = g.tag.code;
      switch (code) {
        case 10:
        case 11:
        case 12:
        case 16:
        case 17: {
          ReadContext::PointRead p = ctx.point(fields, i);
          if (p.point && setPoint(vport, code, *p.point) == Zcad::eOk) {
            i += p.taken - 1;
            continue;
          }
          break;
        }
        case 40:
        case 42:
        case 51:
          if (std::optional<double> v = ctx.real(g.tag); v && setReal(vport, code, *v) == Zcad::eOk) continue;
          break;
        case 41:
          if (std::optional<double> v = ctx.real(g.tag); v && *v > 0.0 && !aspect) {
            aspect = v;
            aspectGroup = &g;
            continue;
          }
          break;
        case 75:
        case 76:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag)) {
            code == 75 ? vport.setSnapEnabled(*v != 0) : vport.setGridEnabled(*v != 0);
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(vport, g);
    }
    if (aspect && vport.setWidth(vport.height() * *aspect) != Zcad::eOk) ctx.keep(vport, *aspectGroup);
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& vport = static_cast<const ZcDbViewportTableRecord&>(record);
    if (!keptInstead(vport, 10)) ctx.point2d(10, vport.lowerLeftCorner());
    if (!keptInstead(vport, 11)) ctx.point2d(11, vport.upperRightCorner());
    if (!keptInstead(vport, 12)) ctx.point2d(12, vport.centerPoint());
    if (!keptInstead(vport, 16)) ctx.point(16, vport.viewDirection());
    if (!keptInstead(vport, 17)) ctx.point(17, vport.target());
    if (!keptInstead(vport, 40)) ctx.real(40, vport.height());
    if (!keptInstead(vport, 41)) ctx.real(41, vport.width() / vport.height());
    if (!keptInstead(vport, 42)) ctx.real(42, vport.lensLength());
    if (!keptInstead(vport, 51)) ctx.real(51, degreesFromRadians(vport.viewTwist()));
    if (!keptInstead(vport, 75)) ctx.integer(75, vport.snapEnabled() ? 1 : 0);
    if (!keptInstead(vport, 76)) ctx.integer(76, vport.gridEnabled() ? 1 : 0);
  }

 private:
  static Zcad::ErrorStatus setPoint(ZcDbViewportTableRecord& vport, int code, const ZcGePoint3d& p) {
    switch (code) {
      case 10:
        return vport.setLowerLeftCorner(in2d(p));
      case 11:
        return vport.setUpperRightCorner(in2d(p));
      case 12:
        return vport.setCenterPoint(in2d(p));
      case 16:
        return vport.setViewDirection(p.asVector());
      default:
        return vport.setTarget(p);
    }
  }

  static Zcad::ErrorStatus setReal(ZcDbViewportTableRecord& vport, int code, double v) {
    switch (code) {
      case 40:
        return vport.setHeight(v);
      case 42:
        return vport.setLensLength(v);
      default:
        return vport.setViewTwist(radiansFromDegrees(v));
    }
  }
};

}  // namespace

const ObjectCodec& viewportCodec() {
  static const ViewportCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
