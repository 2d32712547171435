#include "affect/InfluenceScaling.h"

#include <cmath>
#include <numbers>

#include "affect/InfluenceGeometry.h"
#include "affect/ScaleFactorData.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace veltrace {

namespace {

constexpr double kQuarterTurn = std::numbers::pi / 2.0;
constexpr double kInsideShrink = 0.5;
constexpr double kInsideEnlarge = 1.25;
// Below this total factor an entity is not shrunk any further.
constexpr double kSmallestTotal = 0.1;

}  // namespace

double lensFactor(double distance, double reach, bool enlarge) {
  const double x = distance * kQuarterTurn / reach;
  return enlarge ? std::abs(std::cos(x)) * 0.25 + 1.0 : std::abs(std::sin(x)) * 0.5 + 0.5;
}

bool influenceScaleEntity(const ZcDbCurve& lens, ZcDbEntity& entity, double reach, bool enlarge) {
  const std::optional<ZcGePoint3d> centre = extentsCentre(entity);
  const std::optional<ZcGePoint3d> lensCentre = extentsCentre(lens);
  if (!centre || !lensCentre) return false;
  ZcGePoint3d closest;
  if (lens.getClosestPointTo(*centre, closest, /*extend=*/false) != Zcad::eOk) return false;
  const double d = centre->distanceTo(closest);
  // Inside: the segment to the lens's centre crosses no part of the lens.
  const bool inside = !firstCrossing(lens, *centre, *lensCentre);
  if (!inside && !(d <= reach && reach > 0.0)) return false;
  const double factor = inside ? (enlarge ? kInsideEnlarge : kInsideShrink) : lensFactor(d, reach, enlarge);
  const double total = readScaleFactor(entity);
  if (total < kSmallestTotal && factor < 1.0) return false;
  if (entity.transformBy(ZcGeMatrix3d::scaling(factor, *centre)) != Zcad::eOk) return false;
  (void)writeScaleFactor(entity, factor * total);
  return true;
}

int influenceScalePass(const ZcDbCurve& lens, ZcDbObjectId lensId, const ObjectIdList& affected, double reach,
                       bool enlarge) {
  int scaled = 0;
  for (ZcDbObjectId id : affected) {
    if (id == lensId) continue;
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    if (influenceScaleEntity(lens, *entity, reach, enlarge)) ++scaled;
    entity->close();
  }
  return scaled;
}

}  // namespace veltrace
