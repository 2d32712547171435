// ZcDbSpline::toPolyline: the only part of the spline that builds other entities, kept apart
// so the spline itself depends on no polyline class.
#include <algorithm>
#include <cmath>

#include "database/CurveChordSampler.h"
#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

using namespace vtcad::db;

namespace {

// Largest chord deviation for a precision: 1% of the size at 0, ten times less every 10.
double chordTolerance(int precision, double size) { return 0.01 * size * std::pow(10.0, -precision / 10.0); }

// Pieces each knot span starts with before the worst ones are halved: enough to see an S
// bend of a cubic span.
constexpr int kPiecesPerSpan = 4;

}  // namespace

Zcad::ErrorStatus ZcDbSpline::toPolyline(ZcDbCurve*& curve, int precision, int* numSegments,
                                         int maxSegments) const {
  assertReadEnabled();
  curve = nullptr;
  if (numSegments) *numSegments = 0;
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (maxSegments < 1) return Zcad::eInvalidInput;

  ZcGePoint3d min, max;
  curve_.getExtents(min, max);
  const double tolerance = chordTolerance(std::clamp(precision, 0, 99), min.distanceTo(max));
  ensureSpanLengths();
  ZcGeDoubleArray breaks;
  for (const double param : spanParams_) breaks.append(param);
  const ZcGeDoubleArray params = chordSampleParams(curve_, breaks, tolerance, maxSegments, kPiecesPerSpan);
  ZcGePoint3dArray points;
  for (const double param : params) points.append(curve_.evalPoint(param));
  const bool closed = isClosed();
  // A closed polyline's closing segment replaces the last point (the first one again).
  if (closed && points.length() > 2) points.removeLast();

  ZcGePlane plane;
  bool planar = false;
  ZcDbCurve* result = nullptr;
  if (getPlane(plane, planar) == Zcad::eOk && planar) {
    const ZcGeMatrix3d toPlane = ZcGeMatrix3d::worldToPlane(plane.normal());
    auto* polyline = new ZcDbPolyline(static_cast<unsigned int>(points.length()));
    for (int i = 0; i < points.length(); ++i) {
      const ZcGePoint3d local = toPlane * points[i];
      polyline->addVertexAt(static_cast<unsigned int>(i), ZcGePoint2d(local.x, local.y));
    }
    polyline->setNormal(plane.normal());
    polyline->setElevation((toPlane * points.first()).z);
    polyline->setClosed(closed);
    result = polyline;
  } else {
    result = new ZcDb3dPolyline(ZcDb::k3dSimplePoly, points, closed);
  }
  // Properties as far as the working database allows (see makeSplineForm).
  (void)result->setPropertiesFrom(this);
  if (numSegments) *numSegments = params.length() - 1;
  curve = result;
  return Zcad::eOk;
}
