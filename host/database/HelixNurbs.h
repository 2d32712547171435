#pragma once
// HelixNurbs: the spline a helix entity carries, and the exact helix it approximates.
//
// The helix winds `turns` times about the axis through axisPoint along the unit `axis`,
// starting at radius baseRadius in the direction `startDir` (a unit vector perpendicular to
// the axis) and ending at topRadius, `height` along the axis; counter-clockwise about the
// axis when ccw. Angle theta runs over [0, 2*pi*turns]; radius and height grow linearly with
// it:  P(theta) = axisPoint + r(theta) (cos theta u + sin theta v) + height * theta / thetaEnd * axis
// with u = startDir and v = axis x u (or u x axis when clockwise).
//
// The spline: kHelixSegmentsPerTurn cubic pieces per turn (at least 4 in all) joined with
// double knots, C1. Each piece runs between two helix points with the helix's tangent
// directions there; the tangent lengths are those of the best cubic for a circular arc (the
// derivative times 4 tan(h/4) / h for a piece of angle h), which puts the middle of each
// piece on the helix. The knot parameter is theta at the joints (only approximately inside
// a piece). The spline deviates from the helix by about 1e-8 of the radius for a cylindrical
// helix and by about 1e-6 of the larger radius for a cone whose radius changes by a whole
// radius per turn; its length agrees to 1e-9 (cylinder) and 3e-7 (such a cone) relative.
#include "zcad/ge/ZcGeNurbCurve3d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace vtcad::db {

struct HelixShape {
  ZcGePoint3d axisPoint;
  ZcGeVector3d axis = ZcGeVector3d::kZAxis;
  ZcGeVector3d startDir = ZcGeVector3d::kXAxis;
  double baseRadius = 1.0;
  double topRadius = 1.0;
  double turns = 3.0;
  double height = 1.0;
  bool ccw = true;
};

inline constexpr int kHelixSegmentsPerTurn = 32;

// Angle at the end of the helix: 2*pi*turns.
double helixEndAngle(const HelixShape& shape);
ZcGePoint3d helixPoint(const HelixShape& shape, double theta);
// dP/dtheta.
ZcGeVector3d helixDerivative(const HelixShape& shape, double theta);
// Length of the exact helix (Gauss-Legendre on its smooth speed, 1e-12 relative).
double helixLength(const HelixShape& shape);
// The approximating spline described in the file comment.
ZcGeNurbCurve3d helixNurbs(const HelixShape& shape);

}  // namespace vtcad::db
