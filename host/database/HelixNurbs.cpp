#include "database/HelixNurbs.h"

#include <algorithm>
#include <cmath>

#include "geometry/ZcGeGaussLegendre.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeKnotVector.h"

namespace vtcad::db {
namespace {

// The unit vector a quarter turn after startDir in the helix's sense.
ZcGeVector3d quarterDir(const HelixShape& shape) {
  return shape.ccw ? shape.axis.crossProduct(shape.startDir) : shape.startDir.crossProduct(shape.axis);
}

}  // namespace

double helixEndAngle(const HelixShape& shape) { return ZcGe::kTwoPi * shape.turns; }

ZcGePoint3d helixPoint(const HelixShape& shape, double theta) {
  const double end = helixEndAngle(shape);
  // Zero turns: the helix is its start point.
  const double fraction = end > 0.0 ? theta / end : 0.0;
  const double radius = shape.baseRadius + (shape.topRadius - shape.baseRadius) * fraction;
  return shape.axisPoint + radius * (std::cos(theta) * shape.startDir + std::sin(theta) * quarterDir(shape)) +
         shape.height * fraction * shape.axis;
}

ZcGeVector3d helixDerivative(const HelixShape& shape, double theta) {
  const double end = helixEndAngle(shape);
  if (!(end > 0.0)) return {};
  const double radius = shape.baseRadius + (shape.topRadius - shape.baseRadius) * theta / end;
  const double radiusRate = (shape.topRadius - shape.baseRadius) / end;
  const ZcGeVector3d u = shape.startDir, v = quarterDir(shape);
  const double c = std::cos(theta), s = std::sin(theta);
  return radiusRate * (c * u + s * v) + radius * (c * v - s * u) + (shape.height / end) * shape.axis;
}

double helixLength(const HelixShape& shape) {
  const double end = helixEndAngle(shape);
  // The speed sqrt(r(theta)^2 + r'^2 + h'^2) is smooth and does not oscillate.
  return zcge::integrateAdaptive([&](double theta) { return helixDerivative(shape, theta).length(); }, 0.0,
                                 end, 1e-13, 0.0);
}

ZcGeNurbCurve3d helixNurbs(const HelixShape& shape) {
  const double end = helixEndAngle(shape);
  const int pieces = std::max(4, static_cast<int>(std::ceil(shape.turns * kHelixSegmentsPerTurn - 1e-9)));
  const double step = end / pieces;
  // Tangent length of the best cubic for a circular arc of angle `step`, relative to the
  // derivative: 4 tan(step/4) / step (1 in the limit of a zero step).
  const double tangentScale = step > 0.0 ? 4.0 * std::tan(0.25 * step) / step : 1.0;
  const double handle = tangentScale * step / 3.0;

  ZcGePoint3dArray controlPoints;
  ZcGeDoubleArray knots;
  for (int i = 0; i < 4; ++i) knots.append(0.0);
  for (int j = 0; j <= pieces; ++j) {
    const double theta = j == pieces ? end : end * j / pieces;
    const ZcGePoint3d point = helixPoint(shape, theta);
    const ZcGeVector3d offset = handle * helixDerivative(shape, theta);
    if (j > 0) controlPoints.append(point - offset);
    if (j == 0 || j == pieces) controlPoints.append(point);
    if (j < pieces) controlPoints.append(point + offset);
    // Interior joints are double knots (C1): the joint point itself is not a control point.
    if (j > 0 && j < pieces) {
      knots.append(theta);
      knots.append(theta);
    }
  }
  for (int i = 0; i < 4; ++i) knots.append(end);
  return ZcGeNurbCurve3d(3, ZcGeKnotVector(knots), controlPoints);
}

}  // namespace vtcad::db
