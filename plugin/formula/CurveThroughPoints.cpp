#include "formula/CurveThroughPoints.h"

#include <cmath>
#include <cstddef>

#include "frame/CoordinateRange.h"
#include "frame/EntityPlacement.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeArrays.h"

namespace veltrace {

bool curveOutputAsSpline = true;

namespace {

// A point this far beyond the last one (relative to its distance) still counts as reaching it.
constexpr double kReachTolerance = 1e-9;

enum class PointsShape { kOnePoint, kStraight, kCurved };

// Straight means the segment from the first to the last point holds every point. The
// direction is taken to the last point, the farthest one on a straight run, so a second point
// on (or next to) the first one neither breaks the test nor sets a direction of noise. Two
// points going opposite ways from the first, or mirrored about it, are not straight, and
// neither is a run that goes out and comes back (its last point would cut it short).
PointsShape shapeOf(const PointList& points) {
  const ZcGePoint3d& first = points.front();
  bool apart = false;
  for (std::size_t i = 1; i < points.size() && !apart; ++i) apart = !points[i].isEqualTo(first);
  if (!apart) return PointsShape::kOnePoint;
  if (points.back().isEqualTo(first)) return PointsShape::kCurved;  // a loop
  const ZcGeVector3d direction = points.back() - first;
  const double reach = direction.length() * (1.0 + kReachTolerance);
  for (std::size_t i = 1; i + 1 < points.size(); ++i) {
    if (points[i].isEqualTo(first)) continue;
    const ZcGeVector3d offset = points[i] - first;
    if (offset.angleTo(direction) > kStraightAngleTolerance || offset.length() > reach) {
      return PointsShape::kCurved;
    }
  }
  return PointsShape::kStraight;
}

// New lines and splines take the drawing's current layer and linetype, and the colour asked.
std::optional<ZcDbObjectId> place(ZcDbEntity* entity, const ZcCmColor& colour) {
  return placeNewEntity(/*db=*/nullptr, entity, /*source=*/ZcDbObjectId(), &colour);
}

ZcDbSpline* splineThrough(const PointList& points, bool closed, const ZcGeVector3d& startTangent,
                          const ZcGeVector3d& endTangent) {
  ZcGePoint3dArray fitPoints;
  for (const ZcGePoint3d& p : points) fitPoints.append(p);
  if (closed) {
    // Fit points that end where they start make the host interpolate a periodic spline,
    // smooth through the closing point.
    if (!points.back().isEqualTo(points.front())) fitPoints.append(points.front());
    return new ZcDbSpline(fitPoints, /*order=*/4, /*fitTolerance=*/0.0);
  }
  if (!startTangent.isZeroLength() && !endTangent.isZeroLength()) {
    return new ZcDbSpline(fitPoints, startTangent, endTangent, /*order=*/4, /*fitTolerance=*/0.0);
  }
  return new ZcDbSpline(fitPoints, /*order=*/4, /*fitTolerance=*/0.0);
}

}  // namespace

std::optional<ZcDbObjectId> buildCurveThroughPoints(const PointList& points, const ZcCmColor& colour,
                                                    bool closed, const ZcGeVector3d& startTangent,
                                                    const ZcGeVector3d& endTangent) {
  if (points.size() < 2 || !allFinite(points)) return std::nullopt;
  switch (shapeOf(points)) {
    case PointsShape::kOnePoint:
      return std::nullopt;
    case PointsShape::kStraight:
      return place(new ZcDbLine(points.front(), points.back()), colour);
    case PointsShape::kCurved:
      break;
  }
  if (!curveOutputAsSpline) return polylineFromPoints(points, closed, /*reference=*/nullptr);
  ZcDbSpline* spline = splineThrough(points, closed, startTangent, endTangent);
  // The host makes a null spline of fit data it cannot interpolate.
  if (spline->isNull()) {
    delete spline;
    return std::nullopt;
  }
  return place(spline, colour);
}

ZcCmColor colourForIndex(int colourIndex) {
  ZcCmColor colour;  // by layer
  if (colourIndex >= 1 && colourIndex <= 255) {
    colour.setColorIndex(static_cast<Zdesk::UInt16>(colourIndex));
  } else if (colourIndex != 0 && colourIndex != 256) {
    if (const ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase()) colour = db->cecolor();
  }
  return colour;
}

}  // namespace veltrace
