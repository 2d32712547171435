#pragma once
// ZcGeCircArc2d: a circular arc in the plane, as the 2-D arc queries of polylines return it.
// Parameter = angle in [startAng, endAng], measured from refVec counter-clockwise, or
// clockwise for a clockwise arc; evalPoint(a) = center + r*(cos a * refVec + sin a * perp)
// with perp = refVec turned +90 degrees (-90 for a clockwise arc). endAng > startAng always;
// the sweep is at most 2*pi.
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGeInterval.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGeVector2d.h"

class ZcGeCircArc2d {
 public:
  ZcGeCircArc2d();  // unit circle about the origin
  ZcGeCircArc2d(const ZcGePoint2d& center, double radius, double startAngle = 0.0,
                double endAngle = ZcGe::kTwoPi, const ZcGeVector2d& refVec = ZcGeVector2d::kXAxis,
                bool isClockWise = false);
  // Three-point arc from startPoint through point to endPoint; isValid() false when the
  // points are collinear.
  ZcGeCircArc2d(const ZcGePoint2d& startPoint, const ZcGePoint2d& point, const ZcGePoint2d& endPoint);
  // Arc between two points with bulge = tan(sweep/4); positive bulge is counter-clockwise.
  // With bulgeFlag false, `bulge` is the signed radius instead. A zero bulge gives an
  // invalid arc (the segment is straight).
  ZcGeCircArc2d(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint, double bulge,
                bool bulgeFlag = true);

  ZcGeCircArc2d& set(const ZcGePoint2d& center, double radius, double startAngle, double endAngle,
                     const ZcGeVector2d& refVec = ZcGeVector2d::kXAxis, bool isClockWise = false);
  ZcGeCircArc2d& set(const ZcGePoint2d& startPoint, const ZcGePoint2d& point, const ZcGePoint2d& endPoint);
  ZcGeCircArc2d& set(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint, double bulge,
                     bool bulgeFlag = true);
  ZcGeCircArc2d& setCenter(const ZcGePoint2d& center);
  ZcGeCircArc2d& setRadius(double radius);
  ZcGeCircArc2d& setAngles(double startAngle, double endAngle);
  ZcGeCircArc2d& setRefVec(const ZcGeVector2d& refVec);

  ZcGe::EntityId type() const { return ZcGe::kCircArc2d; }
  bool isValid() const;
  ZcGePoint2d center() const { return center_; }
  double radius() const { return radius_; }
  double startAng() const { return startAng_; }
  double endAng() const { return endAng_; }
  ZcGeVector2d refVec() const { return refVec_; }
  bool isClockWise() const { return clockWise_; }
  bool isClosed() const;
  ZcGePoint2d startPoint() const;
  ZcGePoint2d endPoint() const;
  // Signed bulge of the arc as a polyline stores it: tan(sweep/4), negative when clockwise.
  double bulge() const;
  double length() const;
  void getInterval(ZcGeInterval& range) const;
  ZcGePoint2d evalPoint(double param) const;
  ZcGeVector2d tangent(double param) const;
  // Parameter (angle) of the closest point of the arc.
  double paramOf(const ZcGePoint2d& point) const;
  ZcGePoint2d closestPointTo(const ZcGePoint2d& point) const;
  double distanceTo(const ZcGePoint2d& point) const;
  bool isOn(const ZcGePoint2d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;
  ZcGeCircArc2d& reverseParam();
  void getExtents(ZcGePoint2d& minPoint, ZcGePoint2d& maxPoint) const;

 private:
  ZcGeVector2d perp() const;

  ZcGePoint2d center_;
  double radius_ = 1.0;
  double startAng_ = 0.0;
  double endAng_ = ZcGe::kTwoPi;
  ZcGeVector2d refVec_ = ZcGeVector2d::kXAxis;
  bool clockWise_ = false;
};
