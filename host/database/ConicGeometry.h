#pragma once
// ConicGeometry: the closed-form geometry shared by the circle, arc and ellipse entities.
//
// Each of them is a conic P(t) = c + A cos t + B sin t with A, B perpendicular (the
// ellipse's major and minor semi-axis vectors, or r times the object-coordinate axes of a
// circle). Angles of circles and arcs are measured in the object coordinate system (OCS) of
// the entity's normal, whose x axis follows the drawing format's arbitrary-axis rule.
#include "zcad/db/ZcDbExtents.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbEllipse;
class ZcDbEntity;

namespace vtcad::db {

// The OCS x and y axes of a unit normal (arbitrary-axis rule: near the world z axis the x
// axis is Y x N, otherwise Z x N; y = N x x).
void ocsAxes(const ZcGeVector3d& unitNormal, ZcGeVector3d& xAxis, ZcGeVector3d& yAxis);
// Angle of `direction` in the OCS of unitNormal, in [0, 2*pi); 0 for a direction along the
// normal (it has no angle).
double ocsAngleOf(const ZcGeVector3d& unitNormal, const ZcGeVector3d& direction);
// `angle` moved by whole turns into [0, 2*pi); non-finite angles give 0.
double normalizeAngle(double angle);

// Adds to `extents` the exact box of c + a cos t + b sin t for t in [t0, t1] (t0 <= t1; a
// sweep of a whole turn or more is the full conic): the end points and the coordinate
// extremes that lie inside the sweep.
void addConicExtents(ZcDbExtents& extents, const ZcGePoint3d& c, const ZcGeVector3d& a, const ZcGeVector3d& b,
                     double t0, double t1);

// Area between a conic arc of parametric sweep `sweep` (0 .. 2*pi) and its chord, for semi-
// axes of lengths a and b: a*b/2 * (sweep - sin(sweep)). The full turn gives pi*a*b.
double conicSegmentArea(double a, double b, double sweep);

// Principal axes of the conic c + a cos t + b sin t for any two semi-diameters a, b (the
// images of perpendicular semi-axes under an affine map): the curve is
// c + major cos(t - shift) + minor sin(t - shift) with major perpendicular to minor and
// |major| >= |minor|. For a circle (|a| = |b|, a perpendicular to b) shift is 0.
struct ConicAxes {
  ZcGeVector3d major;
  ZcGeVector3d minor;
  double shift = 0.0;
};
ConicAxes principalAxes(const ZcGeVector3d& a, const ZcGeVector3d& b);

// An elliptical arc c + major cos t + minor sin t for t in [t0, t1] (t1 - t0 in (0, 2*pi]),
// major perpendicular to minor and at least as long.
struct EllipseArc {
  ZcGePoint3d center;
  ZcGeVector3d major;
  ZcGeVector3d minor;
  double t0 = 0.0;
  double t1 = 0.0;
};
// Smallest minor/major radius ratio of an ellipse entity (as CAD hosts have it).
inline constexpr double kMinRadiusRatio = 1e-6;
// The exact image of the arc under an affine matrix, re-diagonalised into principal axes
// (the parameters shift with them). false, and `arc` unchanged, when the matrix is not
// affine or the image is flat: its minor radius below kMinRadiusRatio of its major radius.
bool transformEllipseArc(const ZcGeMatrix3d& matrix, EllipseArc& arc);
// A new ellipse entity (not in a database) for the arc, with the properties of `source`.
ZcDbEllipse* newEllipseEntity(const EllipseArc& arc, const ZcDbEntity& source);

// Orthogonal axes of one common non-zero length (rotation, mirror, uniform scale and
// translation), within 1e-9 relative; `scale` receives that length.
bool isConformalMatrix(const ZcGeMatrix3d& matrix, double& scale);
// true when the matrix turns space over (a mirror): its axes are left-handed.
bool isMirroring(const ZcGeMatrix3d& matrix);

// A circle (or the circle of an arc) with its extrusion, as circles and arcs store it.
struct CircleFrame {
  ZcGePoint3d center;
  ZcGeVector3d normal = ZcGeVector3d::kZAxis;
  double radius = 0.0;
  double thickness = 0.0;
};
// Point and derivatives (order 1 or 2, with respect to the angle) of the circle at OCS angle
// `angle`.
ZcGePoint3d circlePointAt(const CircleFrame& frame, double angle);
ZcGeVector3d circleDerivAt(const CircleFrame& frame, double angle, int order);
// OCS angle (in [0, 2*pi)) of the circle's point closest to `point`: the direction of the
// point's projection onto the circle's plane; 0 for a point on the axis (every circle point
// is then equally near).
double circleAngleNearest(const CircleFrame& frame, const ZcGePoint3d& point);

// The image of the circle under `matrix`, which must be affine with orthogonal axes of one
// common non-zero length (rotation, mirror, uniform scale, translation); false otherwise,
// and `frame` unchanged. The new normal is (M x) x (M y) of the old OCS axes, so a mirror
// flips it and the image still runs counter-clockwise about it; `angleShift` receives what
// to add to the old OCS angles to get the new ones.
bool transformCircleFrame(const ZcGeMatrix3d& matrix, CircleFrame& frame, double& angleShift);

// Extrusion (unit normal times thickness) of lines and points under an affine matrix: the
// normal becomes the direction of M n and the thickness is scaled by |M n|. A matrix that
// flattens the normal (a projection along it) leaves the normal and makes the thickness 0.
void transformExtrusion(const ZcGeMatrix3d& matrix, ZcGeVector3d& unitNormal, double& thickness);

}  // namespace vtcad::db
