#include "geometry/ZcGePlaneFit.h"

#include <algorithm>

namespace zcge {

bool fitPlane(const ZcGePoint3dArray& points, ZcGePlane& plane, const ZcGeTol& tol) {
  if (points.isEmpty()) return false;
  // A plane through the first point, the point farthest from it and the point farthest
  // from that chord.
  const ZcGePoint3d& p0 = points[0];
  int far = 0;
  for (int i = 1; i < points.length(); ++i)
    if (points[i].distanceTo(p0) > points[far].distanceTo(p0)) far = i;
  const ZcGeVector3d chord = points[far] - p0;
  ZcGeVector3d normal;
  double best = 0.0;
  for (const ZcGePoint3d& p : points) {
    const ZcGeVector3d n = chord.crossProduct(p - p0);
    if (n.length() > best) {
      best = n.length();
      normal = n;
    }
  }
  if (!(best > tol.equalPoint() * chord.length())) {
    // The degenerate case: collinear points; any plane through the line will do.
    plane.set(p0, chord.isZeroLength() ? ZcGeVector3d::kZAxis : chord.perpVector());
    return true;
  }
  plane.set(p0, normal);
  return std::all_of(points.begin(), points.end(), [&](const ZcGePoint3d& p) { return plane.isOn(p, tol); });
}

}  // namespace zcge
