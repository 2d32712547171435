#pragma once
// Internal: the offset of a smooth planar curve (an ellipse or a spline), which is no curve of
// the same kind, approximated by a C1 cubic spline within a stated distance.
//
// The offset of C(t) at signed distance d is O(t) = C(t) + d N(t), N the unit normal to the
// right of the direction of travel seen from `normal` (N = T x normal). Its derivative is
// C'(t) (1 + d k(t)), k the signed curvature (positive where the curve turns left), so the
// offset keeps its direction exactly while 1 + d k > 0. Where 1 + d k reaches 0 the offset
// passes a centre of curvature: it has a cusp there and a loop beyond, and no single smooth
// curve approximates it.
//
// The approximation is cubic Hermite interpolation of O and O' at nodes of the source's
// parameter (knots doubled: C1, the parameter kept), nodes halved until the spline is within
// `tolerance` of O at three interior points of every piece.
#include "zcad/ZcadErrorStatus.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace vtcad::db {

enum class OffsetFitOutcome {
  kFitted,
  // 1 + d k <= 0 somewhere: the offset has a cusp (and a loop) there.
  kPassesCentreOfCurvature,
  // The source's tangent jumps at a knot (a corner): its offset is no smooth curve.
  kSourceHasCorner,
  // The source's derivative vanishes (repeated control points) or evaluates to non-finite.
  kDegenerateSource,
  // The piece count would exceed the limit before the tolerance is met.
  kTooManyPieces,
};

struct OffsetFit {
  OffsetFitOutcome outcome = OffsetFitOutcome::kFitted;
  ZcGeNurbCurve3d curve;  // valid only when kFitted
};

// `normal` is a unit vector normal to the curve's plane; `distance` finite and not 0;
// `tolerance` > 0. A closed curve (`closed`) gives a spline whose ends coincide exactly.
OffsetFit fitOffsetCurve(const ZcGeCurve3d& curve, const ZcGeVector3d& normal, double distance,
                         double tolerance, bool closed);

// The status a curve's getOffsetCurves answers for an outcome other than kFitted.
Zcad::ErrorStatus offsetFitStatus(OffsetFitOutcome outcome);

}  // namespace vtcad::db
