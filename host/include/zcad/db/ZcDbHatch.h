#pragma once
// ZcDbHatch: a filled or patterned area bounded by loops ("HATCH").
//
// Loops are 2-D, in the hatch's plane: the object coordinate system of normal() at height
// elevation(). A loop is either a polyline (vertices and bulges; the last vertex joins the
// first, bulge i belongs to the segment from vertex i to vertex i + 1) or a chain of edges
// (ZcDbHatchEdge: lines, circular arcs, elliptical arcs, splines). The loop type carries the
// drawing format's flags (kExternal, kOutermost, ...); kPolyline is set for polyline loops
// and cleared for edge loops whatever the caller passes.
//
// getLoopAt() answers both forms: a polyline loop read as edges gives its line and arc
// segments (zero-length ones left out); an edge loop read as a polyline works when it is a
// connected chain of lines and circular arcs (eNotApplicable otherwise).
//
// Pattern lines are not generated here (no evaluateHatch); extents and area come from the
// loops. getArea() counts islands by nesting: with kNormal, loops alternately add and
// subtract; kOuter counts the outermost loops and their direct islands; kIgnore only the
// outermost loops.
//
// transformBy() takes any affine transform that keeps the plane a plane: circular edges turn
// elliptical under non-uniform scaling; a polyline loop with bulges cannot (eNotApplicable,
// nothing changed). Mirrors reverse the loops' orientation (bulges and arc directions flip).
//
// Bad input: non-finite numbers, empty loops, a bulge count other than 0 or the vertex count,
// invalid edges (ZcDbHatchEdge::isValid), zero normals, pattern scales or spacings that are
// not positive are refused with eInvalidInput and change nothing. Indices outside the loops
// answer eInvalidIndex.
#include <vector>

#include "zcad/ZcString.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbHatchEdge.h"

class ZcDbHatch : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbHatch)
  ZCDB_DECLARE_VALUE_COPY(ZcDbHatch)

  enum HatchLoopType : int {
    kDefault = 0,
    kExternal = 0x1,
    kPolyline = 0x2,
    kDerived = 0x4,
    kTextbox = 0x8,
    kOutermost = 0x10,
    kNotClosed = 0x20,
    kSelfIntersecting = 0x40,
    kTextIsland = 0x80,
    kDuplicate = 0x100,
  };
  enum HatchEdgeType : int { kLine = 1, kCirArc = 2, kEllArc = 3, kSpline = 4 };
  enum HatchPatternType : int { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
  enum HatchStyle : int { kNormal = 0, kOuter = 1, kIgnore = 2 };

  // No loops; predefined pattern "ANSI31" at scale 1, angle 0; normal style; in the XY plane.
  ZcDbHatch();
  ~ZcDbHatch() override;

  double elevation() const;
  Zcad::ErrorStatus setElevation(double elevation);
  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);

  HatchPatternType patternType() const;
  ZcString patternName() const;
  // "SOLID" (any case) makes a solid fill; a user-defined pattern without a name is "_USER".
  Zcad::ErrorStatus setPattern(HatchPatternType type, const ZTCHAR* name);
  bool isSolidFill() const;
  double patternAngle() const;
  Zcad::ErrorStatus setPatternAngle(double angle);
  double patternScale() const;
  Zcad::ErrorStatus setPatternScale(double scale);
  double patternSpace() const;
  Zcad::ErrorStatus setPatternSpace(double space);
  bool patternDouble() const;
  Zcad::ErrorStatus setPatternDouble(bool isDouble);
  // The flag only: boundary objects are not tracked.
  bool associative() const;
  Zcad::ErrorStatus setAssociative(bool isAssociative);
  HatchStyle hatchStyle() const;
  Zcad::ErrorStatus setHatchStyle(HatchStyle style);

  int numLoops() const;
  // The loop's type flags; kDefault for an index outside the loops.
  Zdesk::Int32 loopTypeAt(int index) const;
  Zcad::ErrorStatus appendLoop(Zdesk::Int32 loopType, const ZcGePoint2dArray& vertices,
                               const ZcGeDoubleArray& bulges);
  Zcad::ErrorStatus appendLoop(Zdesk::Int32 loopType, const ZcDbHatchEdgeArray& edges);
  Zcad::ErrorStatus insertLoopAt(int index, Zdesk::Int32 loopType, const ZcGePoint2dArray& vertices,
                                 const ZcGeDoubleArray& bulges);
  Zcad::ErrorStatus insertLoopAt(int index, Zdesk::Int32 loopType, const ZcDbHatchEdgeArray& edges);
  // Bulges come back one per vertex (0 for straight segments).
  Zcad::ErrorStatus getLoopAt(int index, Zdesk::Int32& loopType, ZcGePoint2dArray& vertices,
                              ZcGeDoubleArray& bulges) const;
  Zcad::ErrorStatus getLoopAt(int index, Zdesk::Int32& loopType, ZcDbHatchEdgeArray& edges) const;
  Zcad::ErrorStatus removeLoopAt(int index);

  // Area bounded by the loops, islands taken out as hatchStyle() says (see the file comment).
  Zcad::ErrorStatus getArea(double& area) const;

  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

  struct Loop {
    Zdesk::Int32 type = kDefault;
    ZcGePoint2dArray vertices;  // polyline loops
    ZcGeDoubleArray bulges;     // one per vertex
    ZcDbHatchEdgeArray edges;   // edge loops
    bool isPolyline() const { return (type & kPolyline) != 0; }
  };

 protected:
  ZcDbHatch(const ZcDbHatch&) = default;
  ZcDbHatch& operator=(const ZcDbHatch&) = default;

 private:
  Zcad::ErrorStatus insertLoop(int index, Loop loop);

  double elevation_ = 0.0;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  HatchPatternType patternType_ = kPreDefined;
  ZcString patternName_ = L"ANSI31";
  double patternAngle_ = 0.0;
  double patternScale_ = 1.0;
  double patternSpace_ = 1.0;
  bool patternDouble_ = false;
  bool associative_ = false;
  HatchStyle style_ = kNormal;
  std::vector<Loop> loops_;
};
