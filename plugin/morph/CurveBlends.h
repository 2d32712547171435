#pragma once
// PLBLENDS: a family of splines changing step by step from the shape of one curve into the
// shape of another, any two curves resampled to the same number of points, coloured from the
// first curve's colour to the second's. End reference curves, when given, carry the ends of
// the steps instead of the straight lines between the two curves' ends.
#include <optional>

#include "frame/PolylineFromPoints.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

// The two resampled curves and their colours.
struct BlendSources {
  PointList first;  // as many points as `second`
  PointList second;
  ZcCmColor firstColour;
  ZcCmColor secondColour;
};

// The points of step j of `count` at fraction t: point i = A_i + (B_i - A_i) t + (1 - w)
// startOffset + w endOffset, w = i / (n - 1); the reference shifts fade along the curve.
PointList blendedPoints(const BlendSources& sources, double t, const ZcGeVector3d& startOffset,
                        const ZcGeVector3d& endOffset);

// Step j as a spline in its gradient colour, in the current space.
std::optional<ZcDbObjectId> blendCurveStep(const BlendSources& sources, double t,
                                           const ZcGeVector3d& startOffset, const ZcGeVector3d& endOffset,
                                           int count, int j);

void plblendsCommand();

}  // namespace veltrace
