#include "database/CurveQueryRules.h"

#include <algorithm>
#include <cmath>

#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace vtcad::db {

bool isFinite(double value) { return std::isfinite(value); }

bool allFinite(const ZcGePoint3dArray& points) {
  return std::all_of(points.begin(), points.end(), [](const ZcGePoint3d& p) { return zcgeIsFinite(p); });
}

bool fitParamIntoRange(const ParamRange& range, double& param) {
  if (!std::isfinite(param)) return false;
  const double span = range.end - range.start;
  const double tol =
      kCurveRelTol * std::max({1.0, std::fabs(span), std::fabs(range.start), std::fabs(range.end)});
  if (param >= range.start - tol && param <= range.end + tol) {
    param = std::clamp(param, range.start, range.end);
    return true;
  }
  if (!range.periodic || !(span > 0.0)) return false;
  double offset = std::fmod(param - range.start, span);
  if (offset < 0.0) offset += span;
  // fmod of a value just below a whole period can round up to the period itself.
  if (offset >= span) offset = 0.0;
  param = range.start + offset;
  return true;
}

bool fitDistIntoLength(double length, double& dist) {
  if (!std::isfinite(dist)) return false;
  const double tol = kCurveRelTol * std::max(1.0, length);
  if (dist < -tol || dist > length + tol) return false;
  dist = std::clamp(dist, 0.0, length);
  return true;
}

double onCurveTolerance(const ZcGePoint3d& min, const ZcGePoint3d& max) {
  const double size = min.distanceTo(max);
  double magnitude = 0.0;
  for (int i = 0; i < 3; ++i) magnitude = std::max({magnitude, std::fabs(min[i]), std::fabs(max[i])});
  // 1e-12 of the coordinates is some thousand units in the last place of a double: enough
  // for points computed through a transform, far below any drawing precision.
  return std::max(ZcGeContext::gTol.equalPoint(), kCurveRelTol * size + 1e-12 * magnitude);
}

bool isAffine(const ZcGeMatrix3d& matrix) {
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      if (!std::isfinite(matrix(row, col))) return false;
  constexpr double kTol = 1e-12;
  return std::fabs(matrix(3, 0)) <= kTol && std::fabs(matrix(3, 1)) <= kTol &&
         std::fabs(matrix(3, 2)) <= kTol && std::fabs(matrix(3, 3) - 1.0) <= kTol;
}

Zcad::ErrorStatus makeSplineForm(const ZcGeNurbCurve3d& nurbs, const ZcDbEntity& source,
                                 ZcDbSpline*& spline) {
  spline = nullptr;
  auto* result = new ZcDbSpline();
  const Zcad::ErrorStatus es = result->setFromZcGeCurve(nurbs);
  if (es != Zcad::eOk) {
    delete result;
    return es;
  }
  // Properties are copied as far as the spline's database context allows; a layer missing
  // from the working database leaves the spline on its default layer, the geometry is what
  // the caller asked for.
  (void)result->setPropertiesFrom(&source);
  spline = result;
  return Zcad::eOk;
}

ZcGePoint3d closestPointAlongDirection(const ZcGeNurbCurve3d& curve, const ZcGePoint3d& given,
                                       const ZcGeVector3d& direction) {
  const ZcGePlane plane(given, direction);
  ZcGeNurbCurve3d flat(curve);
  flat.transformBy(ZcGeMatrix3d::projection(plane, direction));
  double param = flat.startParam();
  flat.closestPointTo(given, param);
  return curve.evalPoint(param);
}

}  // namespace vtcad::db
