#pragma once
// ZcDbHatchEdge: one edge of a hatch boundary loop, a plain value holding what a drawing file
// stores for it. Coordinates are 2-D, in the hatch's plane (the object coordinate system of
// its normal).
//
// Kinds (the values of the drawing format's edge type):
//   kLine     from startPoint() to endPoint().
//   kCirArc   center(), radius(), startAngle(), endAngle(), isCounterClockwise().
//   kEllArc   center(), majorAxis() (from the center to the end of the major axis, its
//             length the major radius), minorMajorRatio() in (0, 1], startAngle(),
//             endAngle() (parametric angles), isCounterClockwise().
//   kSpline   degree(), isRational(), isPeriodic(), knots(), controlPoints(), weights()
//             (one per control point when rational, else empty), fitPoints(),
//             startTangent(), endTangent() (zero when not given).
//
// Arc angles are measured in the arc's own turning direction: counter-clockwise from the x
// axis for a counter-clockwise arc, clockwise from it for a clockwise one, and the arc runs
// from startAngle() to endAngle() > startAngle() (at most a full turn). So the points are
//   circle:  center + radius * (cos a, s * sin a)
//   ellipse: center + cos t * majorAxis + s * sin t * minorMajorRatio * perp(majorAxis)
// with s = +1 (counter-clockwise) or -1 (clockwise) and perp() turning +90 degrees: the same
// angles as ZcGeCircArc2d(center, radius, start, end, x axis, isClockWise = !ccw).
// Constructors bring endAngle above startAngle by whole turns.
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGeCircArc2d.h"
#include "zcad/ge/ZcGeLineSeg2d.h"

class ZcDbHatchEdge {
 public:
  enum Type : int { kLine = 1, kCirArc = 2, kEllArc = 3, kSpline = 4 };

  // A zero-length line at the origin.
  ZcDbHatchEdge() = default;

  static ZcDbHatchEdge line(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint);
  static ZcDbHatchEdge line(const ZcGeLineSeg2d& segment);
  static ZcDbHatchEdge circularArc(const ZcGePoint2d& center, double radius, double startAngle,
                                   double endAngle, bool isCounterClockwise = true);
  // Any reference vector of the arc is folded into the angles.
  static ZcDbHatchEdge circularArc(const ZcGeCircArc2d& arc);
  static ZcDbHatchEdge ellipticalArc(const ZcGePoint2d& center, const ZcGeVector2d& majorAxis,
                                     double minorMajorRatio, double startAngle, double endAngle,
                                     bool isCounterClockwise = true);
  static ZcDbHatchEdge spline(int degree, bool isRational, bool isPeriodic, const ZcGeDoubleArray& knots,
                              const ZcGePoint2dArray& controlPoints, const ZcGeDoubleArray& weights,
                              const ZcGePoint2dArray& fitPoints = ZcGePoint2dArray(),
                              const ZcGeVector2d& startTangent = ZcGeVector2d::kIdentity,
                              const ZcGeVector2d& endTangent = ZcGeVector2d::kIdentity);

  Type type() const { return type_; }

  // End points of any kind (a spline's are its curve's, evaluated when it has control
  // points, else its first and last fit points).
  ZcGePoint2d startPoint() const;
  ZcGePoint2d endPoint() const;

  ZcGePoint2d center() const { return center_; }
  double radius() const { return radius_; }
  double startAngle() const { return startAngle_; }
  double endAngle() const { return endAngle_; }
  bool isCounterClockwise() const { return counterClockwise_; }
  ZcGeVector2d majorAxis() const { return majorAxis_; }
  double minorMajorRatio() const { return ratio_; }

  int degree() const { return degree_; }
  bool isRational() const { return rational_; }
  bool isPeriodic() const { return periodic_; }
  const ZcGeDoubleArray& knots() const { return knots_; }
  const ZcGePoint2dArray& controlPoints() const { return controlPoints_; }
  const ZcGeDoubleArray& weights() const { return weights_; }
  const ZcGePoint2dArray& fitPoints() const { return fitPoints_; }
  ZcGeVector2d startTangent() const { return startTangent_; }
  ZcGeVector2d endTangent() const { return endTangent_; }

  // The line as a segment (kLine only) and the circular arc as an arc (kCirArc only).
  ZcGeLineSeg2d asLineSeg2d() const { return {start_, end_}; }
  ZcGeCircArc2d asCircArc2d() const;

  // Finite data; a positive radius; a non-zero major axis and a ratio in (0, 1]; a spline of
  // degree 1..11 with numControlPoints + degree + 1 non-decreasing knots (or fit points
  // only), positive weights when rational.
  bool isValid() const;

  bool operator==(const ZcDbHatchEdge& other) const;
  bool operator!=(const ZcDbHatchEdge& other) const { return !(*this == other); }

 private:
  Type type_ = kLine;
  ZcGePoint2d start_;
  ZcGePoint2d end_;
  ZcGePoint2d center_;
  double radius_ = 0.0;
  double startAngle_ = 0.0;
  double endAngle_ = 0.0;
  bool counterClockwise_ = true;
  ZcGeVector2d majorAxis_;
  double ratio_ = 1.0;
  int degree_ = 0;
  bool rational_ = false;
  bool periodic_ = false;
  ZcGeDoubleArray knots_;
  ZcGePoint2dArray controlPoints_;
  ZcGeDoubleArray weights_;
  ZcGePoint2dArray fitPoints_;
  ZcGeVector2d startTangent_;
  ZcGeVector2d endTangent_;
};

using ZcDbHatchEdgeArray = ZcArray<ZcDbHatchEdge>;
