#pragma once
// PolylineFitting: the vertices a CAD host generates for old-style polylines.
//
// Spline fit. The control vertices define a uniform B-spline of degree 2 or 3: open frames
// get clamped knots (0,..,0, 1, 2, .., n-p, .., n-p), so the curve starts at the first control
// vertex and ends at the last; closed frames get a periodic spline (the first p control
// vertices repeat after the last one, uniform knots). The polyline shows this curve through
// fit vertices: `segsPerSpan` straight segments for every edge of the control frame (n - 1
// edges when open, n when closed), at evenly spaced knot parameters. Frames too short for
// the degree use degree numControl - 1 (a frame of two vertices is its own straight line).
//
// Curve fit. A smooth curve through every frame vertex made of two tangent circular arcs per
// span (a biarc). The tangent at a vertex is the tangent of the circle through it and its two
// neighbours (the first and last vertices of an open frame use the circle through the first
// or last three vertices; collinear or coincident neighbours give the direction of the
// chord). Each span gets one extra vertex where its two arcs meet, placed by the
// equal-tangent-length construction, which keeps both bulges within [-1, 1].
#include <vector>

#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGeKnotVector.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::db::fitting {

// Degree actually used for `numControl` control vertices.
int effectiveDegree(int degree, int numControl, bool closed);

// The knots and control points of the spline of a frame as ZcGeNurbCurve3d takes them
// (closed frames in the unwrapped periodic form: the first `degree` points repeated at the
// end, uniform knots). Frames of fewer than two vertices give empty arrays.
void splineDefinition(const ZcGePoint3dArray& control, int degree, bool closed, ZcGeKnotVector& knots,
                      ZcGePoint3dArray& controlPoints);

// The fit vertices: segsPerSpan * (n - 1) + 1 points for an open frame, segsPerSpan * n for a
// closed one (the closing point is not repeated). Fewer than two control vertices give them
// back unchanged.
ZcGePoint3dArray splineFitPoints(const ZcGePoint3dArray& control, int degree, bool closed, int segsPerSpan);

// One vertex of a curve-fit polyline: a frame vertex (with its tangent angle) or the junction
// of the two arcs of a span.
struct CurveFitVertex {
  ZcGePoint2d point;
  double bulge = 0.0;
  double tangentAngle = 0.0;  // direction angle of the curve's tangent (frame vertices)
  bool isFrameVertex = true;
};

// Frame vertex i is followed by the junction of span i (spans of zero length get none).
std::vector<CurveFitVertex> curveFit(const std::vector<ZcGePoint2d>& frame, bool closed);

}  // namespace vtcad::db::fitting
