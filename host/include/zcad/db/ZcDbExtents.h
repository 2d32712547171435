#pragma once
// An axis-aligned box in world coordinates. A new box is empty (minPoint above maxPoint)
// until a point is added.
#include <limits>

#include "zcad/ZcadErrorStatus.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbExtents {
 public:
  ZcDbExtents() = default;
  ZcDbExtents(const ZcGePoint3d& min, const ZcGePoint3d& max) : min_(min), max_(max) {}

  const ZcGePoint3d& minPoint() const { return min_; }
  const ZcGePoint3d& maxPoint() const { return max_; }
  Zcad::ErrorStatus set(const ZcGePoint3d& min, const ZcGePoint3d& max);
  bool isEmpty() const { return min_.x > max_.x; }
  void addPoint(const ZcGePoint3d& point);
  void addExt(const ZcDbExtents& other);
  void expandBy(const ZcGeVector3d& vec);
  // The box of the eight transformed corners.
  void transformBy(const ZcGeMatrix3d& mat);

 private:
  static constexpr double kBig = std::numeric_limits<double>::max();
  ZcGePoint3d min_{kBig, kBig, kBig};
  ZcGePoint3d max_{-kBig, -kBig, -kBig};
};
