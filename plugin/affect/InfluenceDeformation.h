#pragma once
// Influence curves pushing entities aside: an entity within the reach D of a curve is pushed
// along X away from it, and may be turned and shrunk; curves that are not rigid are bent point
// by point instead. The strength falls off with the distance from the curve.
#include "zcad/db/ZcDbCurve.h"

namespace veltrace {

struct InfluenceSettings {
  double strength = 0.3;  // 0.1 .. 1.0
  double reach = 5.0;     // D, drawing units, > 0
  bool position = true;
  bool rotate = false;
  bool scale = true;
  bool rigidBody = true;
};

// The smallest factor an entity is scaled by: the law falls to 0 on the curve itself, which
// would collapse the entity to a point.
inline constexpr double kSmallestInfluenceScale = 0.01;

// The factor an entity whose centre lies at `distance` from the curve is scaled by:
// sqrt(sin(distance * pi/2 / reach)), 1 at the reach, falling again beyond it, never below
// kSmallestInfluenceScale (an entity centred on the curve gets that). From twice the reach on
// the law gives no positive factor (and would shrink entities again from four times it):
// those entities keep their size (1.0).
double influenceScaleFactor(double distance, double reach);

// Moves, turns and scales `entity` (open for write) as a whole, by its centre's distance from
// `curve`: scaled about its centre, pushed along X, turned about its first centre, in one
// transform. Unchanged when it has no extents, the closest point cannot be had or the
// transform is refused.
void affectRigidEntity(const ZcDbCurve& curve, ZcDbEntity& entity, const InfluenceSettings& settings);

// Replaces `target` (open for write) by a curve through its 6 * SURFTAB1 samples, each pushed
// along X as a rigid entity's centre would be; the new curve has the target's colour and
// closed flag and goes into the current space, and the target is erased. Unchanged when it
// cannot be sampled or the new curve cannot be built.
void affectCurveShape(const ZcDbCurve& curve, ZcDbCurve& target, const InfluenceSettings& settings);

}  // namespace veltrace
