#pragma once
// ZcGeLineSeg3d: the straight segment from startPoint() to endPoint(). Parameter t in [0, 1]:
// evalPoint(t) = start + t * (end - start). A zero-length segment is valid but degenerate.
#include "zcad/ge/ZcGeCurve3d.h"

class ZcGeLineSeg3d : public ZcGeCurve3d {
 public:
  ZcGeLineSeg3d();  // from the origin to (1, 0, 0)
  ZcGeLineSeg3d(const ZcGePoint3d& startPoint, const ZcGePoint3d& endPoint);
  // From `point` to point + vector.
  ZcGeLineSeg3d(const ZcGePoint3d& point, const ZcGeVector3d& vector);

  ZcGeLineSeg3d& set(const ZcGePoint3d& startPoint, const ZcGePoint3d& endPoint);
  ZcGeLineSeg3d& set(const ZcGePoint3d& point, const ZcGeVector3d& vector);

  ZcGePoint3d startPoint() const { return start_; }
  ZcGePoint3d endPoint() const { return end_; }
  ZcGePoint3d midPoint() const;
  ZcGePoint3d pointOnLine() const { return start_; }
  // Unit direction from start to end (zero for a zero-length segment).
  ZcGeVector3d direction() const;
  // end - start, not normalised.
  ZcGeVector3d delta() const { return end_ - start_; }

  bool isParallelTo(const ZcGeLineSeg3d& other, const ZcGeTol& tol = ZcGeContext::gTol) const;
  // Intersection point of two segments (false when they do not meet within tol, or are
  // parallel).
  bool intersectWith(const ZcGeLineSeg3d& other, ZcGePoint3d& result,
                     const ZcGeTol& tol = ZcGeContext::gTol) const;

  using ZcGeCurve3d::evalPoint;
  using ZcGeCurve3d::length;
  ZcGe::EntityId type() const override { return ZcGe::kLineSeg3d; }
  bool isKindOf(ZcGe::EntityId entityType) const override;
  ZcGeCurve3d* copy() const override;
  bool isValid() const override;
  void getInterval(ZcGeInterval& range) const override;
  ZcGePoint3d evalPoint(double param) const override;
  ZcGePoint3d evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const override;
  double paramOf(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const override;
  double length(double fromParam, double toParam, double tol = ZcGeContext::gTol.equalPoint()) const override;
  double paramAtLength(double datumParam, double length, bool posParamDir = true,
                       double tol = ZcGeContext::gTol.equalPoint()) const override;
  bool isClosed(const ZcGeTol& tol = ZcGeContext::gTol) const override;
  ZcGeLineSeg3d& reverseParam() override;
  ZcGeLineSeg3d& transformBy(const ZcGeMatrix3d& matrix) override;
  bool getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const override;

 private:
  ZcGePoint3d start_;
  ZcGePoint3d end_;
};
