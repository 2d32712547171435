#pragma once
// The common part of viewport and view records: what is looked at (target and direction)
// and how much of it is seen (the centre, height and width of the view in display
// coordinates).
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbAbstractViewTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbAbstractViewTableRecord)
  ~ZcDbAbstractViewTableRecord() override;

  ZcGePoint2d centerPoint() const { return center_; }
  Zcad::ErrorStatus setCenterPoint(const ZcGePoint2d& center);
  // Height and width of the view (> 0).
  double height() const { return height_; }
  Zcad::ErrorStatus setHeight(double height);
  double width() const { return width_; }
  Zcad::ErrorStatus setWidth(double width);
  // From the target toward the viewer (not zero).
  ZcGeVector3d viewDirection() const { return viewDirection_; }
  Zcad::ErrorStatus setViewDirection(const ZcGeVector3d& direction);
  ZcGePoint3d target() const { return target_; }
  Zcad::ErrorStatus setTarget(const ZcGePoint3d& target);
  double lensLength() const { return lensLength_; }
  Zcad::ErrorStatus setLensLength(double length);
  // Twist of the view about its direction, in radians.
  double viewTwist() const { return viewTwist_; }
  Zcad::ErrorStatus setViewTwist(double angle);

 protected:
  ZcDbAbstractViewTableRecord();
  ZcDbAbstractViewTableRecord(const ZcDbAbstractViewTableRecord&) = default;
  ZcDbAbstractViewTableRecord& operator=(const ZcDbAbstractViewTableRecord&) = default;

 private:
  ZcGePoint2d center_{210.0, 148.5};
  double height_ = 297.0;
  double width_ = 420.0;
  ZcGeVector3d viewDirection_{0.0, 0.0, 1.0};
  ZcGePoint3d target_;
  double lensLength_ = 50.0;
  double viewTwist_ = 0.0;
};
