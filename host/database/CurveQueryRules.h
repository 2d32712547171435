#pragma once
// CurveQueryRules: how the curve entities (line, arc, circle, ellipse, spline, helix) treat
// the parameters, distances and points their queries are given, so that all of them answer
// alike at their ends and on degenerate geometry.
//
// - A parameter within a small tolerance outside [start, end] is taken as the nearer end; a
//   periodic curve (circle, full ellipse, periodic spline) wraps any finite parameter into
//   its period instead. Anything else is eInvalidInput.
// - A distance within a small tolerance outside [0, length] is taken as the nearer end.
// - A point is on the curve when it lies within onCurveTolerance() of it. The tolerance grows
//   with the size of the curve (1e-9 of it) and, much more slowly, with its distance from the
//   origin, since a point computed far from the origin carries a rounding error proportional
//   to its coordinates.
#include "zcad/ZcadErrorStatus.h"
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbEntity;
class ZcDbSpline;
class ZcGeNurbCurve3d;

namespace vtcad::db {

// Relative tolerance of the curve queries: of the length for distances, of the parameter
// range for parameters, of the curve's size for points.
inline constexpr double kCurveRelTol = 1e-9;

struct ParamRange {
  double start = 0.0;
  double end = 0.0;
  bool periodic = false;
};

// Brings `param` into the range (see the file comment); false when it stays outside.
bool fitParamIntoRange(const ParamRange& range, double& param);
// Brings `dist` into [0, length] (see the file comment); false when it stays outside.
bool fitDistIntoLength(double length, double& dist);
// Distance below which a point counts as on a curve whose axis-aligned box is [min, max].
double onCurveTolerance(const ZcGePoint3d& min, const ZcGePoint3d& max);

bool isFinite(double value);
bool allFinite(const ZcGePoint3dArray& points);
// Affine: the last row is (0, 0, 0, 1) and every entry finite. Curve entities take only
// affine transforms; a perspective matrix answers eNotApplicable.
bool isAffine(const ZcGeMatrix3d& matrix);

// The curve's exact spline form (getSpline of every curve entity): a new ZcDbSpline with the
// NURBS data of `nurbs` and the properties (layer, colour, linetype, ...) of `source`.
Zcad::ErrorStatus makeSplineForm(const ZcGeNurbCurve3d& nurbs, const ZcDbEntity& source, ZcDbSpline*& spline);

// Closest point of `curve` to `given` seen along `direction`: the curve is projected onto the
// plane through `given` normal to `direction` and the point of the original curve above the
// closest projected point is returned. The NURBS form keeps the projection exact.
ZcGePoint3d closestPointAlongDirection(const ZcGeNurbCurve3d& curve, const ZcGePoint3d& given,
                                       const ZcGeVector3d& direction);

}  // namespace vtcad::db
