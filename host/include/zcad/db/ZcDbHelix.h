#pragma once
// ZcDbHelix: a helix (or conical spiral) about an axis, carried as the cubic spline it
// regenerates from its parameters after every change (see database/HelixNurbs.h for the
// construction and its accuracy: about 1e-8 of the radius for a cylindrical helix). As a
// ZcDbSpline it answers every curve query through that spline, so selection treats it as a
// curve and toPolyline converts it.
//
// Parameters: the axis through axisPoint along axisVector (unit); the start point on the
// base plane (through axisPoint, normal to the axis) at baseRadius from the axis; topRadius
// at the top, `height` along the axis from the base (negative runs against the axis); turns
// (0 < turns <= 500) of turnHeight each, height = turns * turnHeight; twist true winds
// counter-clockwise about the axis. constrain() names the quantity that stays fixed when
// height, turns or turnHeight is set: setting one of the two others adjusts the third. When
// the constrained quantity itself is set, turns stays (for kTurns, turnHeight stays).
//
// A start point on the axis (base radius 0) keeps the direction the start had, or the
// axis's object-coordinate x axis for a new helix. Radii may be 0 (a cone tip); every radius
// and the height may be 0 at once (the spline is then a point).
//
// Editing the spline itself (control or fit data) is possible as for any spline; the next
// change of a helix parameter regenerates the spline from the parameters.
#include "zcad/db/ZcDbSpline.h"

namespace vtcad::db {
struct HelixShape;
}

class ZcDbHelix : public ZcDbSpline {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbHelix)
  ZCDB_DECLARE_VALUE_COPY(ZcDbHelix)

  enum ConstrainType : int { kTurnHeight = 0, kTurns = 1, kHeight = 2 };

  // Axis through the origin along +Z, start point (1, 0, 0), radii 1, 3 turns, height 1,
  // counter-clockwise, turn height constrained.
  ZcDbHelix();
  ~ZcDbHelix() override;

  // Regenerates the spline from the parameters (every setter already does).
  Zcad::ErrorStatus createHelix();

  ZcGePoint3d axisPoint() const;
  // With moveStartPoint the start point moves along (the helix moves); otherwise it stays
  // and the base radius follows (projected onto the new base plane).
  Zcad::ErrorStatus setAxisPoint(const ZcGePoint3d& axisPoint, bool moveStartPoint = true);
  ZcGePoint3d startPoint() const;
  // Projected onto the base plane; the base radius becomes its distance from the axis.
  Zcad::ErrorStatus setStartPoint(const ZcGePoint3d& startPoint);
  ZcGeVector3d axisVector() const;
  // Normalised; the start point turns with the base plane about the axis point.
  Zcad::ErrorStatus setAxisVector(const ZcGeVector3d& axisVector);
  double height() const;
  Zcad::ErrorStatus setHeight(double height);
  double baseRadius() const;
  Zcad::ErrorStatus setBaseRadius(double radius);
  double topRadius() const;
  Zcad::ErrorStatus setTopRadius(double radius);
  double turns() const;
  Zcad::ErrorStatus setTurns(double turns);
  double turnHeight() const;
  Zcad::ErrorStatus setTurnHeight(double turnHeight);
  bool twist() const;
  Zcad::ErrorStatus setTwist(bool counterClockwise);
  ConstrainType constrain() const;
  Zcad::ErrorStatus setConstrain(ConstrainType constrain);
  // Angle between the curve and the base plane at the start (radians, 0 for a flat spiral).
  double turnSlope() const;
  // Length of the exact helix (the spline's length agrees to about 1e-9).
  double totalLength() const;

  // A helix reversed is the same helix seen from its top: start at the old end, axis
  // reversed, radii swapped, same twist. The spline is regenerated.
  Zcad::ErrorStatus reverseCurve() override;
  // Rotations, mirrors (which flip the twist), uniform scalings and translations keep a
  // helix; other affine matrices answer eNotApplicable, changing nothing, and
  // getTransformedCopy then gives the transformed spline as a ZcDbSpline.
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbHelix(const ZcDbHelix&) = default;
  ZcDbHelix& operator=(const ZcDbHelix&) = default;

 private:
  struct Params {
    ZcGePoint3d axisPoint;
    ZcGeVector3d axis = ZcGeVector3d::kZAxis;
    ZcGeVector3d startDir = ZcGeVector3d::kXAxis;
    double baseRadius = 1.0;
    double topRadius = 1.0;
    double turns = 3.0;
    double turnHeight = 1.0 / 3.0;
    bool ccw = true;
    ConstrainType constrain = kTurnHeight;
  };
  static vtcad::db::HelixShape shapeOf(const Params& params);
  // Checks the parameters, stores them and regenerates the spline.
  Zcad::ErrorStatus change(const Params& params);
  void regenerate();

  Params params_;
};
