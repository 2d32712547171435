#include "database/BulgeSegment.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

ZcGeVector2d rotated(const ZcGeVector2d& v, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {v.x * c - v.y * s, v.x * s + v.y * c};
}

ZcGeVector2d perp(const ZcGeVector2d& v) { return {-v.y, v.x}; }

// Angle in [0, 2*pi).
double normalizedAngle(double angle) {
  double a = std::fmod(angle, ZcGe::kTwoPi);
  if (a < 0.0) a += ZcGe::kTwoPi;
  return a;
}

}  // namespace

BulgeSegment::BulgeSegment(const ZcGePoint2d& start, const ZcGePoint2d& end, double bulge)
    : start_(start), chord_(end - start) {
  chordLength_ = std::hypot(chord_.x, chord_.y);
  if (chordLength_ == 0.0) return;  // a point: the bulge has no meaning on a zero-length chord
  const double sweep = 4.0 * std::atan(bulge);
  if (std::fabs(sweep) < kMinSweep) {
    length_ = chordLength_;
    return;
  }
  sweep_ = sweep;
  const double half = 0.5 * sweep_;
  // |sweep| < 2*pi for every finite bulge, so sin(half) is away from zero; half / sin(half)
  // is positive whatever the sign.
  length_ = chordLength_ * (half / std::sin(half));
}

ZcGePoint2d BulgeSegment::pointAt(double t) const {
  if (sweep_ == 0.0) return start_ + chord_ * t;
  // The chord from the start to the point at sweep fraction t has length
  // chord * sin(sweep*t/2) / sin(sweep/2) and is turned by sweep*(t-1)/2 from the full chord:
  // no center is needed, so nearly straight arcs stay exact.
  const double half = 0.5 * sweep_;
  const double k = std::sin(half * t) / std::sin(half);
  return start_ + rotated(chord_, half * (t - 1.0)) * k;
}

ZcGeVector2d BulgeSegment::firstDeriv(double t) const {
  if (sweep_ == 0.0) return chord_;  // zero for a point segment
  const ZcGeVector2d unitChord = chord_ / chordLength_;
  return rotated(unitChord, sweep_ * (t - 0.5)) * length_;
}

ZcGeVector2d BulgeSegment::secondDeriv(double t) const {
  if (sweep_ == 0.0) return {0.0, 0.0};
  const ZcGeVector2d unitChord = chord_ / chordLength_;
  return perp(rotated(unitChord, sweep_ * (t - 0.5))) * (length_ * sweep_);
}

ZcGePoint2d BulgeSegment::center() const {
  assert(sweep_ != 0.0);
  const double half = 0.5 * sweep_;
  return start_ + chord_ * 0.5 + perp(chord_) * (0.5 * std::cos(half) / std::sin(half));
}

double BulgeSegment::radius() const {
  assert(sweep_ != 0.0);
  return chordLength_ / (2.0 * std::fabs(std::sin(0.5 * sweep_)));
}

double BulgeSegment::startAngle() const {
  const ZcGeVector2d r = start_ - center();
  return std::atan2(r.y, r.x);
}

double BulgeSegment::closestParam(const ZcGePoint2d& point) const {
  if (chordLength_ == 0.0) return 0.0;
  if (sweep_ == 0.0) {
    const ZcGeVector2d d = point - start_;
    return std::clamp((d.x * chord_.x + d.y * chord_.y) / (chordLength_ * chordLength_), 0.0, 1.0);
  }
  const ZcGePoint2d c = center();
  const ZcGeVector2d toPoint = point - c;
  if (toPoint.x == 0.0 && toPoint.y == 0.0) return 0.0;  // the center: every arc point is as near
  const double sweepAbs = std::fabs(sweep_);
  const double direction = sweep_ > 0.0 ? 1.0 : -1.0;
  const double s = normalizedAngle(direction * (std::atan2(toPoint.y, toPoint.x) - startAngle()));
  if (s <= sweepAbs) return s / sweepAbs;
  // Outside the arc's angular range the nearest arc point is one of its ends.
  const ZcGePoint2d end = endPoint();
  const double toStart = std::hypot(point.x - start_.x, point.y - start_.y);
  const double toEnd = std::hypot(point.x - end.x, point.y - end.y);
  return toStart <= toEnd ? 0.0 : 1.0;
}

double BulgeSegment::closestParamExtended(const ZcGePoint2d& point) const {
  if (chordLength_ == 0.0) return 0.0;
  if (sweep_ == 0.0) {
    const ZcGeVector2d d = point - start_;
    return (d.x * chord_.x + d.y * chord_.y) / (chordLength_ * chordLength_);
  }
  const ZcGePoint2d c = center();
  const ZcGeVector2d toPoint = point - c;
  if (toPoint.x == 0.0 && toPoint.y == 0.0) return 0.0;
  const double sweepAbs = std::fabs(sweep_);
  const double direction = sweep_ > 0.0 ? 1.0 : -1.0;
  double s = normalizedAngle(direction * (std::atan2(toPoint.y, toPoint.x) - startAngle()));
  // The gap of the full circle beyond the arc is shared between the two extended ends.
  const double gap = ZcGe::kTwoPi - sweepAbs;
  if (s > sweepAbs + 0.5 * gap) s -= ZcGe::kTwoPi;
  return s / sweepAbs;
}

ZcGePoint2d BulgeSegment::pointAtExtended(double t) const {
  if (sweep_ == 0.0) return start_ + chord_ * t;
  const ZcGePoint2d c = center();
  return c + rotated(start_ - c, sweep_ * t);
}

double BulgeSegment::signedSegmentArea() const {
  if (sweep_ == 0.0) return 0.0;
  const double s = std::sin(0.5 * sweep_);
  const double radiusSquared = chordLength_ * chordLength_ / (4.0 * s * s);
  const double theta = sweep_;
  double thetaMinusSin;
  if (std::fabs(theta) < 1e-3) {
    // theta - sin(theta) cancels catastrophically for small sweeps: use its series.
    const double t2 = theta * theta;
    thetaMinusSin = theta * t2 / 6.0 * (1.0 - t2 / 20.0 * (1.0 - t2 / 42.0));
  } else {
    thetaMinusSin = theta - std::sin(theta);
  }
  return 0.5 * radiusSquared * thetaMinusSin;
}

}  // namespace vtcad::db
