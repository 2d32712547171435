// ZcDbCurve's parallel projections onto a plane, one rule for every curve kind:
// - a planar curve whose plane is parallel to the target plane moves there unchanged in kind
//   (a parallel projection of such a curve is a translation): a circle stays a circle, a
//   lightweight polyline keeps its arcs;
// - a line stays a line, a 3-D polyline a 3-D polyline (its vertices projected);
// - every other curve (a tilted circle, arc, ellipse or polyline with arcs, any spline or
//   helix) becomes the spline of its own spline form with the control points projected, which
//   is exact: a parallel projection is affine, and the rational B-spline of affinely mapped
//   control points (weights and knots kept) is the mapped curve. A circle seen edge-on becomes
//   a flat spline running along its trace.
// A direction parallel to the plane (or zero, or not finite) answers eInvalidInput; a curve
// whose projection has no length (a line along the direction) eDegenerateGeometry.
#include <cmath>
#include <memory>

#include "ZcDbValidate.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

// The projection's matrix, or false for a direction that cannot project onto the plane.
bool projectionOf(const ZcGePlane& plane, const ZcGeVector3d& direction, ZcGeMatrix3d& matrix) {
  if (!zcdbFinite(direction)) return false;
  const double length = direction.length();
  if (length == 0.0 || !std::isfinite(length)) return false;
  const ZcGeVector3d normal = plane.normal();
  // Within a millionth of a radian of the plane, the projected points run off to infinity.
  if (std::fabs(normal.dotProduct(direction)) <= 1e-6 * length * normal.length()) return false;
  matrix = ZcGeMatrix3d::projection(plane, direction);
  return true;
}

// A transformed copy that is still a curve, or null.
ZcDbCurve* transformedCurve(const ZcDbCurve& curve, const ZcGeMatrix3d& matrix) {
  ZcDbEntity* copy = nullptr;
  if (curve.getTransformedCopy(matrix, copy) != Zcad::eOk || !copy) return nullptr;
  if (ZcDbCurve* result = ZcDbCurve::cast(copy)) return result;
  delete copy;
  return nullptr;
}

bool hasLength(const ZcDbCurve& curve) {
  double end = 0.0, length = 0.0;
  return curve.getEndParam(end) == Zcad::eOk && curve.getDistAtParam(end, length) == Zcad::eOk &&
         length > 0.0;
}

// The spline form with projected control points.
Zcad::ErrorStatus projectedSpline(const ZcDbCurve& curve, const ZcGeMatrix3d& matrix, ZcDbCurve*& result) {
  ZcDbSpline* form = nullptr;
  if (const Zcad::ErrorStatus es = curve.getSpline(form); es != Zcad::eOk || !form) {
    delete form;
    return es == Zcad::eOk ? Zcad::eNotApplicable : es;
  }
  std::unique_ptr<ZcDbSpline> own(form);
  int degree = 0;
  bool rational = false, closed = false, periodic = false;
  ZcGePoint3dArray controlPoints;
  ZcGeDoubleArray knots, weights;
  double controlTol = 0.0, knotTol = 0.0;
  if (const Zcad::ErrorStatus es = own->getNurbsData(degree, rational, closed, periodic, controlPoints, knots,
                                                     weights, controlTol, knotTol);
      es != Zcad::eOk)
    return es;
  // The image has length exactly when its control points do not all coincide (checked on the
  // points: measuring a spline's length takes many evaluations).
  bool hasExtent = false;
  for (int i = 0; i < controlPoints.length(); ++i) {
    controlPoints[i] = matrix * controlPoints[i];
    hasExtent = hasExtent || controlPoints[i].distanceTo(controlPoints[0]) > 0.0;
  }
  if (!hasExtent) return Zcad::eDegenerateGeometry;
  auto spline = std::make_unique<ZcDbSpline>(degree, rational, closed, periodic, controlPoints, knots,
                                             weights, controlTol, knotTol);
  spline->setPropertiesFrom(&curve);
  result = spline.release();
  return Zcad::eOk;
}

}  // namespace

Zcad::ErrorStatus ZcDbCurve::getOrthoProjectedCurve(const ZcGePlane& plane,
                                                    ZcDbCurve*& projectedCurve) const {
  return getProjectedCurve(plane, plane.normal(), projectedCurve);
}

Zcad::ErrorStatus ZcDbCurve::getProjectedCurve(const ZcGePlane& plane, const ZcGeVector3d& projDir,
                                               ZcDbCurve*& projectedCurve) const {
  projectedCurve = nullptr;
  ZcGeMatrix3d matrix;
  if (!projectionOf(plane, projDir, matrix)) return Zcad::eInvalidInput;

  // Lines and 3-D polylines are projected point by point whatever their plane.
  const bool pointwise = ZcDbLine::cast(this) || ZcDb3dPolyline::cast(this);
  // Parallel planes: the projection moves the curve as a whole.
  ZcGePlane own;
  bool planar = false;
  if (!pointwise && getPlane(own, planar) == Zcad::eOk && planar &&
      own.normal().isParallelTo(plane.normal())) {
    ZcGePoint3d start;
    if (getStartPoint(start) != Zcad::eOk) return Zcad::eDegenerateGeometry;
    if (ZcDbCurve* moved = transformedCurve(*this, ZcGeMatrix3d::translation(matrix * start - start))) {
      projectedCurve = moved;
      return Zcad::eOk;
    }
  }
  if (pointwise) {
    ZcDbCurve* flat = transformedCurve(*this, matrix);
    if (!flat) return Zcad::eNotApplicable;
    if (!hasLength(*flat)) {
      delete flat;
      return Zcad::eDegenerateGeometry;
    }
    projectedCurve = flat;
    return Zcad::eOk;
  }
  return projectedSpline(*this, matrix, projectedCurve);
}
