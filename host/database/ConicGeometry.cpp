#include "database/ConicGeometry.h"

#include <cmath>

#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

// true when `angle`, moved by whole turns, lies in [t0, t1].
bool angleInSweep(double angle, double t0, double t1) {
  double offset = std::fmod(angle - t0, ZcGe::kTwoPi);
  if (offset < 0.0) offset += ZcGe::kTwoPi;
  return offset <= t1 - t0;
}

}  // namespace

// Relative tolerances, so that a drawing scaled by 1000 is treated like one at scale 1.
bool isConformalMatrix(const ZcGeMatrix3d& matrix, double& scale) {
  const ZcGeVector3d cx = matrix * ZcGeVector3d::kXAxis;
  const ZcGeVector3d cy = matrix * ZcGeVector3d::kYAxis;
  const ZcGeVector3d cz = matrix * ZcGeVector3d::kZAxis;
  scale = cx.length();
  if (!(scale > 0.0) || !std::isfinite(scale)) return false;
  constexpr double kTol = 1e-9;
  const double s2 = scale * scale;
  return std::fabs(cy.length() - scale) <= kTol * scale && std::fabs(cz.length() - scale) <= kTol * scale &&
         std::fabs(cx.dotProduct(cy)) <= kTol * s2 && std::fabs(cy.dotProduct(cz)) <= kTol * s2 &&
         std::fabs(cz.dotProduct(cx)) <= kTol * s2;
}

bool isMirroring(const ZcGeMatrix3d& matrix) {
  const ZcGeVector3d cx = matrix * ZcGeVector3d::kXAxis;
  const ZcGeVector3d cy = matrix * ZcGeVector3d::kYAxis;
  return cx.crossProduct(cy).dotProduct(matrix * ZcGeVector3d::kZAxis) < 0.0;
}

void ocsAxes(const ZcGeVector3d& unitNormal, ZcGeVector3d& xAxis, ZcGeVector3d& yAxis) {
  constexpr double kLimit = 1.0 / 64.0;
  const bool nearZ = std::fabs(unitNormal.x) < kLimit && std::fabs(unitNormal.y) < kLimit;
  xAxis = (nearZ ? ZcGeVector3d::kYAxis : ZcGeVector3d::kZAxis).crossProduct(unitNormal).normal();
  yAxis = unitNormal.crossProduct(xAxis).normal();
}

double ocsAngleOf(const ZcGeVector3d& unitNormal, const ZcGeVector3d& direction) {
  ZcGeVector3d x, y;
  ocsAxes(unitNormal, x, y);
  const double u = direction.dotProduct(x), v = direction.dotProduct(y);
  if (u == 0.0 && v == 0.0) return 0.0;
  return normalizeAngle(std::atan2(v, u));
}

double normalizeAngle(double angle) {
  if (!std::isfinite(angle)) return 0.0;
  double result = std::fmod(angle, ZcGe::kTwoPi);
  if (result < 0.0) result += ZcGe::kTwoPi;
  // A tiny negative angle plus a turn rounds to exactly 2*pi.
  if (result >= ZcGe::kTwoPi) result = 0.0;
  return result;
}

void addConicExtents(ZcDbExtents& extents, const ZcGePoint3d& c, const ZcGeVector3d& a, const ZcGeVector3d& b,
                     double t0, double t1) {
  const auto pointAt = [&](double t) { return c + a * std::cos(t) + b * std::sin(t); };
  extents.addPoint(pointAt(t0));
  extents.addPoint(pointAt(t1));
  const bool full = t1 - t0 >= ZcGe::kTwoPi;
  for (int axis = 0; axis < 3; ++axis) {
    // Coordinate `axis` is c + R cos(t - phi): extremes at phi and phi + pi.
    if (a[axis] == 0.0 && b[axis] == 0.0) continue;
    const double phi = std::atan2(b[axis], a[axis]);
    for (const double extreme : {phi, phi + ZcGe::kPi}) {
      if (full || angleInSweep(extreme, t0, t1)) extents.addPoint(pointAt(extreme));
    }
  }
}

double conicSegmentArea(double a, double b, double sweep) {
  const double s = std::fmin(std::fmax(sweep, 0.0), ZcGe::kTwoPi);
  return 0.5 * a * b * (s - std::sin(s));
}

ConicAxes principalAxes(const ZcGeVector3d& a, const ZcGeVector3d& b) {
  // |a cos t + b sin t|^2 is largest where tan(2t) = 2 a.b / (|a|^2 - |b|^2); atan2 picks the
  // maximum, not the minimum, of the two solutions.
  const double shift = 0.5 * std::atan2(2.0 * a.dotProduct(b), a.lengthSqrd() - b.lengthSqrd());
  const double cs = std::cos(shift), sn = std::sin(shift);
  ConicAxes axes;
  axes.major = a * cs + b * sn;
  axes.minor = b * cs - a * sn;
  axes.shift = shift;
  return axes;
}

ZcGePoint3d circlePointAt(const CircleFrame& frame, double angle) {
  ZcGeVector3d x, y;
  ocsAxes(frame.normal, x, y);
  return frame.center + frame.radius * (std::cos(angle) * x + std::sin(angle) * y);
}

ZcGeVector3d circleDerivAt(const CircleFrame& frame, double angle, int order) {
  ZcGeVector3d x, y;
  ocsAxes(frame.normal, x, y);
  const double c = std::cos(angle), s = std::sin(angle);
  return order == 1 ? frame.radius * (c * y - s * x) : -frame.radius * (c * x + s * y);
}

double circleAngleNearest(const CircleFrame& frame, const ZcGePoint3d& point) {
  return ocsAngleOf(frame.normal, point - frame.center);
}

bool transformEllipseArc(const ZcGeMatrix3d& matrix, EllipseArc& arc) {
  if (!isAffine(matrix)) return false;
  const ConicAxes axes = principalAxes(matrix * arc.major, matrix * arc.minor);
  const double major = axes.major.length(), minor = axes.minor.length();
  if (!(major > 0.0) || !std::isfinite(major) || minor < kMinRadiusRatio * major) return false;
  arc.center = matrix * arc.center;
  arc.major = axes.major;
  arc.minor = axes.minor;
  arc.t0 -= axes.shift;
  arc.t1 -= axes.shift;
  return true;
}

ZcDbEllipse* newEllipseEntity(const EllipseArc& arc, const ZcDbEntity& source) {
  const double major = arc.major.length();
  const ZcGeVector3d normal = arc.major.crossProduct(arc.minor).normal();
  auto* ellipse = new ZcDbEllipse(arc.center, normal, arc.major, std::fmin(1.0, arc.minor.length() / major));
  if (arc.t1 - arc.t0 < ZcGe::kTwoPi) {
    ellipse->setStartParam(arc.t0);
    ellipse->setEndParam(arc.t1);
  }
  // Properties as far as the working database allows (see makeSplineForm).
  (void)ellipse->setPropertiesFrom(&source);
  return ellipse;
}

bool transformCircleFrame(const ZcGeMatrix3d& matrix, CircleFrame& frame, double& angleShift) {
  double scale = 0.0;
  if (!isAffine(matrix) || !isConformalMatrix(matrix, scale)) return false;
  ZcGeVector3d x, y;
  ocsAxes(frame.normal, x, y);
  const ZcGeVector3d mx = matrix * x;
  // Divided by hand: normal() would zero a cross product of a tiny scale's axes.
  const ZcGeVector3d cross = mx.crossProduct(matrix * y);
  const double crossLength = cross.length();
  if (!(crossLength > 0.0)) return false;
  const ZcGeVector3d normal = cross / crossLength;
  angleShift = ocsAngleOf(normal, mx);
  // The extrusion M (t n) keeps its direction in space; against a flipped normal the
  // thickness changes sign.
  frame.thickness *= (matrix * frame.normal).dotProduct(normal);
  frame.center = matrix * frame.center;
  frame.radius *= scale;
  frame.normal = normal;
  return true;
}

void transformExtrusion(const ZcGeMatrix3d& matrix, ZcGeVector3d& unitNormal, double& thickness) {
  const ZcGeVector3d image = matrix * unitNormal;
  const double length = image.length();
  if (length > 0.0 && std::isfinite(length)) {
    unitNormal = image / length;
    thickness *= length;
  } else {
    thickness = 0.0;
  }
}

}  // namespace vtcad::db
