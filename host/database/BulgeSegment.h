#pragma once
// BulgeSegment: one segment of a planar polyline, from `start` to `end`, straight (bulge 0)
// or a circular arc with bulge = tan(sweep / 4) (positive = counter-clockwise).
//
// The segment parameter t runs over [0, 1] proportionally to arc length, so a distance along
// the segment is t * length() and derivatives are taken with respect to t.
//
// Degenerate cases: a zero-length chord is a point whatever its bulge (length 0, zero
// derivatives); a sweep below kMinSweep is treated as straight. Nothing here divides by a
// chord length or by sin(sweep / 2) without checking it first, so no query yields NaN for
// finite input.
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGeVector2d.h"

namespace vtcad::db {

class BulgeSegment {
 public:
  // Sweeps smaller than this are straight: the arc's sagitta would be below 1e-13 of the chord.
  static constexpr double kMinSweep = 1e-12;

  BulgeSegment(const ZcGePoint2d& start, const ZcGePoint2d& end, double bulge);

  const ZcGePoint2d& startPoint() const { return start_; }
  ZcGePoint2d endPoint() const { return start_ + chord_; }
  double chordLength() const { return chordLength_; }
  bool isPoint() const { return chordLength_ == 0.0; }
  bool isArc() const { return sweep_ != 0.0; }
  // Signed sweep angle (positive counter-clockwise), 0 for straight and point segments.
  double sweep() const { return sweep_; }
  double length() const { return length_; }

  ZcGePoint2d pointAt(double t) const;
  ZcGeVector2d firstDeriv(double t) const;
  ZcGeVector2d secondDeriv(double t) const;

  // Arc data (meaningful only when isArc()).
  ZcGePoint2d center() const;
  double radius() const;
  // Direction angle of start - center.
  double startAngle() const;

  // Parameter in [0, 1] of the point of the segment closest to `point`.
  double closestParam(const ZcGePoint2d& point) const;
  // Parameter of the closest point of the segment's carrier (the infinite line, or the full
  // circle taken from the start angle in the sweep's direction, in [0, 2*pi/|sweep|)); used
  // when a query may extend the ends of an open polyline.
  double closestParamExtended(const ZcGePoint2d& point) const;
  // Point at a parameter outside [0, 1] on the carrier (for extended queries).
  ZcGePoint2d pointAtExtended(double t) const;

  // Signed area between the chord and the arc: positive when the arc bulges to the right of
  // the chord's direction (counter-clockwise arcs), so that adding it to the shoelace area of
  // the vertices gives the area of the bulged figure.
  double signedSegmentArea() const;

 private:
  ZcGePoint2d start_;
  ZcGeVector2d chord_;
  double chordLength_ = 0.0;
  double sweep_ = 0.0;
  double length_ = 0.0;
};

}  // namespace vtcad::db
