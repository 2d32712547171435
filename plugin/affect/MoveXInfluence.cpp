#include "affect/MoveXInfluence.h"

#include <cmath>

#include "affect/InfluenceGeometry.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace veltrace {

namespace {

// How far the test line reaches beyond the curve's extents on either side.
constexpr double kLineOverhang = 1000.0;

}  // namespace

ZcGePoint3d curveTopPoint(const ZcDbCurve& curve) {
  ZcGePoint3d start;
  ZcGePoint3d end;
  (void)curve.getStartPoint(start);
  (void)curve.getEndPoint(end);
  return start.y > end.y ? start : end;
}

ZcGePoint3d curvePointAtHeight(const ZcDbCurve& curve, double y) {
  const ZcGePoint3d top = curveTopPoint(curve);
  if (y > top.y) return top;
  ZcDbExtents extents;
  ZcGePoint3d start;
  if (curve.getGeomExtents(extents) != Zcad::eOk || curve.getStartPoint(start) != Zcad::eOk) return top;
  const std::optional<ZcGePoint3d> crossing =
      firstCrossing(curve, ZcGePoint3d(extents.minPoint().x - kLineOverhang, y, start.z),
                    ZcGePoint3d(extents.maxPoint().x + kLineOverhang, y, start.z));
  return crossing.value_or(top);
}

void moveXByCurve(const ZcDbCurve& curve, ZcDbEntity& entity, double left, double right) {
  const std::optional<ZcGePoint3d> centre = extentsCentre(entity);
  if (!centre) return;
  const ZcGePoint3d q = curvePointAtHeight(curve, centre->y);
  const double shift = q.x - curveTopPoint(curve).x;
  const double d = centre->distanceTo(q);
  const double reach = q.x > centre->x ? std::abs(q.x - left) : std::abs(q.x - right);
  // A reach of zero (the curve point on the set's edge) would divide by zero: nothing moves.
  if (!(reach > 0.0) || d > reach) return;
  const double dx = (reach - d) / reach * shift;
  if (dx == 0.0 || !std::isfinite(dx)) return;
  (void)entity.transformBy(ZcGeMatrix3d::translation(ZcGeVector3d(dx, 0.0, 0.0)));
}

}  // namespace veltrace
