#pragma once
// ZcGeLineSeg2d: a straight segment in the plane, as the 2-D segment queries of polylines
// return it. Parameter t in [0, 1]: evalPoint(t) = start + t * (end - start).
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGeInterval.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGeVector2d.h"

class ZcGeLineSeg2d {
 public:
  ZcGeLineSeg2d();  // from the origin to (1, 0)
  ZcGeLineSeg2d(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint);
  // From `point` to point + vector.
  ZcGeLineSeg2d(const ZcGePoint2d& point, const ZcGeVector2d& vector);

  ZcGeLineSeg2d& set(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint);

  ZcGe::EntityId type() const { return ZcGe::kLineSeg2d; }
  bool isValid() const;
  ZcGePoint2d startPoint() const { return start_; }
  ZcGePoint2d endPoint() const { return end_; }
  ZcGePoint2d midPoint() const;
  // Unit direction (zero for a zero-length segment).
  ZcGeVector2d direction() const;
  ZcGeVector2d delta() const { return end_ - start_; }
  double length() const;
  void getInterval(ZcGeInterval& range) const;
  ZcGePoint2d evalPoint(double param) const;
  // Parameter of the closest point of the infinite line, clamped to [0, 1].
  double paramOf(const ZcGePoint2d& point) const;
  ZcGePoint2d closestPointTo(const ZcGePoint2d& point) const;
  double distanceTo(const ZcGePoint2d& point) const;
  bool isOn(const ZcGePoint2d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool intersectWith(const ZcGeLineSeg2d& other, ZcGePoint2d& result,
                     const ZcGeTol& tol = ZcGeContext::gTol) const;
  ZcGeLineSeg2d& reverseParam();
  void getExtents(ZcGePoint2d& minPoint, ZcGePoint2d& maxPoint) const;

 private:
  ZcGePoint2d start_;
  ZcGePoint2d end_;
};
