#include "affect/InfluenceGeometry.h"

#include <cmath>

#include "frame/SystemVariables.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ge/ZcGeArrays.h"

namespace veltrace {

namespace {

constexpr double kPushExponent = 1.5;
constexpr int kSamplesPerSurfTab = 6;
constexpr int kUsualSurfTab = 6;
constexpr int kSmallestSurfTab = 2;

}  // namespace

std::optional<ZcGePoint3d> extentsCentre(const ZcDbEntity& entity) {
  ZcDbExtents extents;
  if (entity.getGeomExtents(extents) != Zcad::eOk) return std::nullopt;
  const ZcGePoint3d& lo = extents.minPoint();
  const ZcGePoint3d& hi = extents.maxPoint();
  const ZcGePoint3d centre((lo.x + hi.x) * 0.5, (lo.y + hi.y) * 0.5, (lo.z + hi.z) * 0.5);
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(centre.z)) return std::nullopt;
  return centre;
}

std::optional<ZcGePoint3d> firstCrossing(const ZcDbCurve& curve, const ZcGePoint3d& from,
                                         const ZcGePoint3d& to) {
  // The test line is never added to the drawing.
  const ZcDbLine line(from, to);
  ZcGePoint3dArray points;
  if (curve.intersectWith(&line, ZcDb::kOnBothOperands, points) != Zcad::eOk || points.isEmpty()) {
    return std::nullopt;
  }
  return points[0];
}

std::optional<ZcGePoint3d> crossingAlongX(const ZcDbCurve& curve, const ZcGePoint3d& point, double reach) {
  return firstCrossing(curve, ZcGePoint3d(point.x - reach, point.y, point.z),
                       ZcGePoint3d(point.x + reach, point.y, point.z));
}

double pushAmplitude(double d, double reach, double strength) {
  return reach * 0.5 * std::pow((reach - d) / reach, kPushExponent) * strength;
}

int influenceSampleCount() {
  int surfTab = getSysVarIntOr(L"SURFTAB1");
  if (surfTab < kSmallestSurfTab) surfTab = kUsualSurfTab;
  return kSamplesPerSurfTab * surfTab;
}

}  // namespace veltrace
