#include "zcad/db/ZcDbHatchEdge.h"

#include <cmath>

#include "database/HatchEdgeGeometry.h"
#include "database/ZcDbValidate.h"
#include "zcad/ge/ZcGe.h"

namespace {

constexpr int kMaxSplineDegree = 11;

// endAngle brought to (startAngle, startAngle + 2*pi] by whole turns; an equal end angle
// stays equal (a zero sweep, not a full circle). Non-finite angles are left for isValid().
void orderAngles(double startAngle, double& endAngle) {
  if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
  if (endAngle < startAngle) endAngle += ZcGe::kTwoPi * std::ceil((startAngle - endAngle) / ZcGe::kTwoPi);
  if (endAngle - startAngle > ZcGe::kTwoPi) endAngle = startAngle + ZcGe::kTwoPi;
}

}  // namespace

ZcDbHatchEdge ZcDbHatchEdge::line(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint) {
  ZcDbHatchEdge edge;
  edge.type_ = kLine;
  edge.start_ = startPoint;
  edge.end_ = endPoint;
  return edge;
}

ZcDbHatchEdge ZcDbHatchEdge::line(const ZcGeLineSeg2d& segment) {
  return line(segment.startPoint(), segment.endPoint());
}

ZcDbHatchEdge ZcDbHatchEdge::circularArc(const ZcGePoint2d& center, double radius, double startAngle,
                                         double endAngle, bool isCounterClockwise) {
  ZcDbHatchEdge edge;
  edge.type_ = kCirArc;
  edge.center_ = center;
  edge.radius_ = radius;
  orderAngles(startAngle, endAngle);
  edge.startAngle_ = startAngle;
  edge.endAngle_ = endAngle;
  edge.counterClockwise_ = isCounterClockwise;
  return edge;
}

ZcDbHatchEdge ZcDbHatchEdge::circularArc(const ZcGeCircArc2d& arc) {
  // The arc's angles run from its reference vector in its own direction; ours from the x axis.
  const ZcGeVector2d ref = arc.refVec();
  const double refAngle = std::atan2(ref.y, ref.x);
  const double shift = arc.isClockWise() ? -refAngle : refAngle;
  return circularArc(arc.center(), arc.radius(), arc.startAng() + shift, arc.endAng() + shift,
                     !arc.isClockWise());
}

ZcDbHatchEdge ZcDbHatchEdge::ellipticalArc(const ZcGePoint2d& center, const ZcGeVector2d& majorAxis,
                                           double minorMajorRatio, double startAngle, double endAngle,
                                           bool isCounterClockwise) {
  ZcDbHatchEdge edge;
  edge.type_ = kEllArc;
  edge.center_ = center;
  edge.majorAxis_ = majorAxis;
  edge.ratio_ = minorMajorRatio;
  orderAngles(startAngle, endAngle);
  edge.startAngle_ = startAngle;
  edge.endAngle_ = endAngle;
  edge.counterClockwise_ = isCounterClockwise;
  return edge;
}

ZcDbHatchEdge ZcDbHatchEdge::spline(int degree, bool isRational, bool isPeriodic,
                                    const ZcGeDoubleArray& knots, const ZcGePoint2dArray& controlPoints,
                                    const ZcGeDoubleArray& weights, const ZcGePoint2dArray& fitPoints,
                                    const ZcGeVector2d& startTangent, const ZcGeVector2d& endTangent) {
  ZcDbHatchEdge edge;
  edge.type_ = kSpline;
  edge.degree_ = degree;
  edge.rational_ = isRational;
  edge.periodic_ = isPeriodic;
  edge.knots_ = knots;
  edge.controlPoints_ = controlPoints;
  edge.weights_ = isRational ? weights : ZcGeDoubleArray();
  edge.fitPoints_ = fitPoints;
  edge.startTangent_ = startTangent;
  edge.endTangent_ = endTangent;
  return edge;
}

ZcGePoint2d ZcDbHatchEdge::startPoint() const {
  switch (type_) {
    case kLine:
      return start_;
    case kCirArc:
    case kEllArc:
      return vtcad::db::conicOf(*this).pointAt(startAngle_);
    case kSpline: {
      const ZcGeNurbCurve3d curve = vtcad::db::splineCurveOf(*this);
      if (curve.isValid()) {
        ZcGeInterval range;
        curve.getInterval(range);
        return curve.evalPoint(range.lowerBound()).convert2d();
      }
      return fitPoints_.isEmpty() ? ZcGePoint2d() : fitPoints_.first();
    }
  }
  return start_;
}

ZcGePoint2d ZcDbHatchEdge::endPoint() const {
  switch (type_) {
    case kLine:
      return end_;
    case kCirArc:
    case kEllArc:
      return vtcad::db::conicOf(*this).pointAt(endAngle_);
    case kSpline: {
      const ZcGeNurbCurve3d curve = vtcad::db::splineCurveOf(*this);
      if (curve.isValid()) {
        ZcGeInterval range;
        curve.getInterval(range);
        return curve.evalPoint(range.upperBound()).convert2d();
      }
      return fitPoints_.isEmpty() ? ZcGePoint2d() : fitPoints_.last();
    }
  }
  return end_;
}

ZcGeCircArc2d ZcDbHatchEdge::asCircArc2d() const {
  return ZcGeCircArc2d(center_, radius_, startAngle_, endAngle_, ZcGeVector2d::kXAxis, !counterClockwise_);
}

bool ZcDbHatchEdge::isValid() const {
  switch (type_) {
    case kLine:
      return zcdbFinite(start_) && zcdbFinite(end_);
    case kCirArc:
      return zcdbFinite(center_) && std::isfinite(radius_) && radius_ > 0.0 && std::isfinite(startAngle_) &&
             std::isfinite(endAngle_);
    case kEllArc:
      return zcdbFinite(center_) && zcdbFinite(majorAxis_) && !majorAxis_.isZeroLength() &&
             std::isfinite(ratio_) && ratio_ > 0.0 && ratio_ <= 1.0 && std::isfinite(startAngle_) &&
             std::isfinite(endAngle_);
    case kSpline: {
      for (const ZcGePoint2d& p : controlPoints_) {
        if (!zcdbFinite(p)) return false;
      }
      for (const ZcGePoint2d& p : fitPoints_) {
        if (!zcdbFinite(p)) return false;
      }
      if (!zcdbFinite(startTangent_) || !zcdbFinite(endTangent_)) return false;
      if (controlPoints_.isEmpty()) return fitPoints_.length() >= 2 && knots_.isEmpty();
      if (degree_ < 1 || degree_ > kMaxSplineDegree || controlPoints_.length() < degree_ + 1) return false;
      if (knots_.length() != controlPoints_.length() + degree_ + 1) return false;
      for (int i = 0; i < knots_.length(); ++i) {
        if (!std::isfinite(knots_[i]) || (i > 0 && knots_[i] < knots_[i - 1])) return false;
      }
      if (!(knots_[controlPoints_.length()] > knots_[degree_])) return false;  // an empty domain
      if (rational_) {
        if (weights_.length() != controlPoints_.length()) return false;
        for (double w : weights_) {
          if (!std::isfinite(w) || w <= 0.0) return false;
        }
      }
      return true;
    }
  }
  return false;
}

bool ZcDbHatchEdge::operator==(const ZcDbHatchEdge& o) const {
  if (type_ != o.type_) return false;
  switch (type_) {
    case kLine:
      return start_ == o.start_ && end_ == o.end_;
    case kCirArc:
      return center_ == o.center_ && radius_ == o.radius_ && startAngle_ == o.startAngle_ &&
             endAngle_ == o.endAngle_ && counterClockwise_ == o.counterClockwise_;
    case kEllArc:
      return center_ == o.center_ && majorAxis_ == o.majorAxis_ && ratio_ == o.ratio_ &&
             startAngle_ == o.startAngle_ && endAngle_ == o.endAngle_ &&
             counterClockwise_ == o.counterClockwise_;
    case kSpline:
      return degree_ == o.degree_ && rational_ == o.rational_ && periodic_ == o.periodic_ &&
             knots_ == o.knots_ && controlPoints_ == o.controlPoints_ && weights_ == o.weights_ &&
             fitPoints_ == o.fitPoints_ && startTangent_ == o.startTangent_ && endTangent_ == o.endTangent_;
  }
  return false;
}
