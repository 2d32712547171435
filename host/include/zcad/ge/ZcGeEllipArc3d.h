#pragma once
// ZcGeEllipArc3d: an elliptical arc in space. Parameter = the ellipse's parametric angle t
// in [startAng, endAng]: evalPoint(t) = center + a*cos t * majorAxis + b*sin t * minorAxis
// (a = majorRadius, b = minorRadius; the axes are unit and orthogonal). The parametric angle
// is not the geometric angle of the point; use angleAtParam()/paramAtAngle() to convert.
// Angles follow ZcGeCircArc3d (endAng >= startAng, sweep at most 2*pi). Arc length is
// computed by adaptive Gauss-Legendre quadrature to 1e-9 relative.
#include "zcad/ge/ZcGeCurve3d.h"

class ZcGeCircArc3d;

class ZcGeEllipArc3d : public ZcGeCurve3d {
 public:
  ZcGeEllipArc3d();  // unit circle about the origin in the XY plane
  explicit ZcGeEllipArc3d(const ZcGeCircArc3d& arc);
  // The axes are normalised; minorAxis is made orthogonal to majorAxis.
  ZcGeEllipArc3d(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis, const ZcGeVector3d& minorAxis,
                 double majorRadius, double minorRadius);
  ZcGeEllipArc3d(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis, const ZcGeVector3d& minorAxis,
                 double majorRadius, double minorRadius, double startAngle, double endAngle);

  ZcGeEllipArc3d& set(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis, const ZcGeVector3d& minorAxis,
                      double majorRadius, double minorRadius);
  ZcGeEllipArc3d& set(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis, const ZcGeVector3d& minorAxis,
                      double majorRadius, double minorRadius, double startAngle, double endAngle);
  ZcGeEllipArc3d& set(const ZcGeCircArc3d& arc);
  ZcGeEllipArc3d& setCenter(const ZcGePoint3d& center);
  ZcGeEllipArc3d& setAxes(const ZcGeVector3d& majorAxis, const ZcGeVector3d& minorAxis);
  ZcGeEllipArc3d& setMajorRadius(double radius);
  ZcGeEllipArc3d& setMinorRadius(double radius);
  ZcGeEllipArc3d& setAngles(double startAngle, double endAngle);

  ZcGePoint3d center() const { return center_; }
  ZcGeVector3d majorAxis() const { return majorAxis_; }
  ZcGeVector3d minorAxis() const { return minorAxis_; }
  double majorRadius() const { return majorRadius_; }
  double minorRadius() const { return minorRadius_; }
  // minorRadius / majorRadius (0 when the major radius is 0).
  double radiusRatio() const;
  double startAng() const { return startAng_; }
  double endAng() const { return endAng_; }
  ZcGeVector3d normal() const;
  ZcGePoint3d startPoint() const;
  ZcGePoint3d endPoint() const;
  bool isCircular(const ZcGeTol& tol = ZcGeContext::gTol) const;
  ZcGePlane getPlane() const;
  // Geometric angle (from majorAxis, about normal()) of the point at parametric angle
  // `param`, and the inverse; both keep the number of whole turns.
  double angleAtParam(double param) const;
  double paramAtAngle(double angle) const;

  using ZcGeCurve3d::evalPoint;
  using ZcGeCurve3d::length;
  ZcGe::EntityId type() const override { return ZcGe::kEllipArc3d; }
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
  bool isPlanar(ZcGePlane& plane, const ZcGeTol& tol = ZcGeContext::gTol) const override;
  // Keeps the geometry: the minor axis is negated and the angles become [-endAng, -startAng].
  ZcGeEllipArc3d& reverseParam() override;
  // Exact for every affine matrix: the images of the conjugate semi-diameters are
  // re-diagonalised into new principal axes, and the angles shifted accordingly.
  ZcGeEllipArc3d& transformBy(const ZcGeMatrix3d& matrix) override;
  bool getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const override;

 private:
  ZcGePoint3d center_;
  ZcGeVector3d majorAxis_ = ZcGeVector3d::kXAxis;
  ZcGeVector3d minorAxis_ = ZcGeVector3d::kYAxis;
  double majorRadius_ = 1.0;
  double minorRadius_ = 1.0;
  double startAng_ = 0.0;
  double endAng_ = ZcGe::kTwoPi;
};
