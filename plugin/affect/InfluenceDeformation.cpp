#include "affect/InfluenceDeformation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "affect/EvenSampling.h"
#include "affect/InfluenceGeometry.h"
#include "formula/CurveThroughPoints.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace veltrace {

namespace {

constexpr double kQuarterTurn = std::numbers::pi / 2.0;

bool isFinite(const ZcGeMatrix3d& m) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      if (!std::isfinite(m(r, c))) return false;
    }
  }
  return true;
}

// The signed push of a point at `at` whose crossing with the curve is `crossing`: away from
// the curve, towards +X when the crossing is not to its right.
double signedPush(const ZcGePoint3d& at, const ZcGePoint3d& crossing, double d,
                  const InfluenceSettings& settings) {
  const double amplitude = pushAmplitude(d, settings.reach, settings.strength);
  return crossing.x > at.x ? -amplitude : amplitude;
}

}  // namespace

double influenceScaleFactor(double distance, double reach) {
  if (!(distance < 2.0 * reach)) return 1.0;
  const double s = std::sin(distance * kQuarterTurn / reach);
  return s > 0.0 ? std::max(std::sqrt(s), kSmallestInfluenceScale) : kSmallestInfluenceScale;
}

void affectRigidEntity(const ZcDbCurve& curve, ZcDbEntity& entity, const InfluenceSettings& settings) {
  const std::optional<ZcGePoint3d> centre = extentsCentre(entity);
  if (!centre) return;
  ZcGePoint3d closest;
  if (curve.getClosestPointTo(*centre, closest, /*extend=*/false) != Zcad::eOk) return;
  const std::optional<ZcGePoint3d> crossing = crossingAlongX(curve, *centre, settings.reach);

  // Scale first, then push, then turn about the centre the entity had before the push.
  ZcGeMatrix3d transform;
  if (settings.scale) {
    transform =
        ZcGeMatrix3d::scaling(influenceScaleFactor(centre->distanceTo(closest), settings.reach), *centre);
  }
  if (crossing) {
    const double d = centre->distanceTo(*crossing);
    if (d <= settings.reach) {
      if (settings.position) {
        transform =
            ZcGeMatrix3d::translation(ZcGeVector3d(signedPush(*centre, *crossing, d, settings), 0.0, 0.0)) *
            transform;
      }
      if (settings.rotate) {
        const double angle = settings.strength * kQuarterTurn * (settings.reach - d) / settings.reach;
        transform = ZcGeMatrix3d::rotation(angle, ZcGeVector3d::kZAxis, *centre) * transform;
      }
    }
  }
  if (transform.isEqualTo(ZcGeMatrix3d::kIdentity) || !isFinite(transform)) return;
  (void)entity.transformBy(transform);
}

void affectCurveShape(const ZcDbCurve& curve, ZcDbCurve& target, const InfluenceSettings& settings) {
  std::optional<PointList> samples = sampleCurveEvenly(target, influenceSampleCount());
  if (!samples) return;
  for (ZcGePoint3d& p : *samples) {
    const std::optional<ZcGePoint3d> crossing = crossingAlongX(curve, p, settings.reach);
    if (!crossing) continue;
    const double d = p.distanceTo(*crossing);
    if (d <= settings.reach) p.x += signedPush(p, *crossing, d, settings);
  }
  const ZcGeVector3d none(0.0, 0.0, 0.0);
  if (buildCurveThroughPoints(*samples, target.color(), target.isClosed(), /*startTangent=*/none,
                              /*endTangent=*/none)) {
    (void)target.erase();
  }
}

}  // namespace veltrace
