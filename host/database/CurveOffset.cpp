// getOffsetCurves of lines, arcs, circles, ellipses and splines, under one sign rule: a
// positive distance goes to the right of the direction of travel seen from the curve's
// normal, so it grows a counter-clockwise closed curve and an arc's or circle's radius.
// Results are new entities (not in a database) with the source's properties; the caller
// owns them. docs/offsets.md lists every kind's result and statuses.
#include <cmath>
#include <memory>

#include "OffsetSplineFit.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeCurve3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

// Approximated offsets lie within this much of the exact offset, relative to the larger of
// the source's size and the distance.
constexpr double kRelativeFitTolerance = 1e-6;

bool usableDistance(double distance) { return std::isfinite(distance) && distance != 0.0; }

// The exact offset of `source` approximated by a spline with its properties.
Zcad::ErrorStatus offsetAsSpline(const ZcDbCurve& source, const ZcGeVector3d& normal, double distance,
                                 double size, ZcDbVoidPtrArray& offsetCurves) {
  ZcGeCurve3d* geometry = nullptr;
  if (const Zcad::ErrorStatus es = source.getZcGeCurve(geometry); es != Zcad::eOk || !geometry) {
    delete geometry;
    return es == Zcad::eOk ? Zcad::eDegenerateGeometry : es;
  }
  const std::unique_ptr<ZcGeCurve3d> own(geometry);
  const double tolerance = kRelativeFitTolerance * std::max(size, std::fabs(distance));
  const vtcad::db::OffsetFit fit =
      vtcad::db::fitOffsetCurve(*own, normal, distance, tolerance, /*closed=*/source.isClosed());
  if (fit.outcome != vtcad::db::OffsetFitOutcome::kFitted) return vtcad::db::offsetFitStatus(fit.outcome);
  auto spline = std::make_unique<ZcDbSpline>();
  if (const Zcad::ErrorStatus es = spline->setFromZcGeCurve(fit.curve); es != Zcad::eOk) return es;
  spline->setPropertiesFrom(&source);
  offsetCurves.append(spline.release());
  return Zcad::eOk;
}

}  // namespace

Zcad::ErrorStatus ZcDbLine::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  if (!usableDistance(offsetDist)) return Zcad::eInvalidInput;
  const ZcGeVector3d dir = direction();
  if (dir.isZeroLength()) return Zcad::eDegenerateGeometry;
  // A line lies in many planes: the one getPlane names (through the line, its normal the
  // part of the line's normal perpendicular to it).
  ZcGePlane plane;
  bool planar = false;
  getPlane(plane, planar);
  const ZcGeVector3d shift = dir.crossProduct(plane.normal()).normal() * offsetDist;
  auto line = std::make_unique<ZcDbLine>(start_ + shift, end_ + shift);
  line->setPropertiesFrom(this);
  line->setNormal(normalValue());
  line->setThickness(thicknessValue());
  offsetCurves.append(line.release());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  if (!usableDistance(offsetDist)) return Zcad::eInvalidInput;
  if (isDegenerate()) return Zcad::eDegenerateGeometry;
  // The arc runs counter-clockwise about its normal: its right side is outside.
  const double radius = radius_ + offsetDist;
  if (!(radius > 0.0)) return Zcad::eOk;  // shrunk through its centre: nothing remains
  auto arc = std::make_unique<ZcDbArc>(center_, normal_, radius, startAngle_, endAngle_);
  arc->setPropertiesFrom(this);
  arc->setThickness(thickness_);
  offsetCurves.append(arc.release());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  if (!usableDistance(offsetDist)) return Zcad::eInvalidInput;
  if (!(radius_ > 0.0)) return Zcad::eDegenerateGeometry;
  const double radius = radius_ + offsetDist;
  if (!(radius > 0.0)) return Zcad::eOk;  // shrunk through its centre: nothing remains
  auto circle = std::make_unique<ZcDbCircle>(center_, normal_, radius);
  circle->setPropertiesFrom(this);
  circle->setThickness(thickness_);
  offsetCurves.append(circle.release());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  if (!usableDistance(offsetDist)) return Zcad::eInvalidInput;
  if (isNull()) return Zcad::eDegenerateGeometry;
  // A full ellipse shrunk by its minor radius or more has no inside left (the largest circle
  // inside it has that radius): like a circle, it vanishes.
  if (isFull() && offsetDist <= -minorRadius()) return Zcad::eOk;
  return offsetAsSpline(*this, normal_, offsetDist, majorRadius(), offsetCurves);
}

Zcad::ErrorStatus ZcDbSpline::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  if (!usableDistance(offsetDist)) return Zcad::eInvalidInput;
  if (!hasCurve() || curve_.isDegenerate()) return Zcad::eDegenerateGeometry;
  ZcGePlane plane;
  bool planar = false;
  if (getPlane(plane, planar) != Zcad::eOk || !planar) return Zcad::eNonPlanarEntity;
  ZcDbExtents box;
  if (getGeomExtents(box) != Zcad::eOk) return Zcad::eDegenerateGeometry;
  const double size = 0.5 * box.minPoint().distanceTo(box.maxPoint());
  return offsetAsSpline(*this, plane.normal(), offsetDist, size, offsetCurves);
}
