#include "database/PolylineOffsetCurves.h"

#include <algorithm>
#include <cmath>

#include "database/BulgeSegment.h"
#include "database/CurveQueryRules.h"
#include "database/PolylineChain.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"

namespace vtcad::db {

Zcad::ErrorStatus statusOf(OffsetOutcome outcome) {
  switch (outcome) {
    case OffsetOutcome::kOffset:
      return Zcad::eOk;
    case OffsetOutcome::kInvalidDistance:
    case OffsetOutcome::kInvalidInput:
      return Zcad::eInvalidInput;
    case OffsetOutcome::kDegenerate:
      return Zcad::eDegenerateGeometry;
  }
  return Zcad::eInvalidInput;
}

namespace {

// The vertices of an arc of a 3-D polyline's offset, as chords within 0.001 of the offset
// distance (the arcs are round joins of radius |d|, or trimmed offsets of them).
void appendChords(const BulgeSegment& seg, double distance, std::vector<ZcGePoint2d>& out) {
  out.push_back(seg.startPoint());
  if (!seg.isArc()) return;
  const double r = seg.radius();
  const double sagitta = 0.001 * std::fabs(distance);
  const double step = sagitta >= r ? ZcGe::kHalfPi : 2.0 * std::acos(1.0 - sagitta / r);
  const int count = std::clamp(static_cast<int>(std::ceil(std::fabs(seg.sweep()) / step)), 1, 1024);
  for (int k = 1; k < count; ++k) out.push_back(seg.pointAt(static_cast<double>(k) / count));
}

ZcGeVector3d upwards(ZcGeVector3d n) {
  constexpr double kFlat = 1e-12;
  const bool down =
      n.z < -kFlat || (std::fabs(n.z) <= kFlat && (n.y < -kFlat || (std::fabs(n.y) <= kFlat && n.x < 0.0)));
  return down ? -n : n;
}

}  // namespace

Zcad::ErrorStatus offsetSpatialPolyline(const ZcDb3dPolyline& source, const std::vector<ZcGePoint3d>& points,
                                        bool closed, double distance, ZcDbVoidPtrArray& offsetCurves) {
  if (!std::isfinite(distance) || distance == 0.0) return Zcad::eInvalidInput;
  if (points.empty()) return Zcad::eDegenerateGeometry;
  // The direction the polyline runs in, when it runs in a line.
  const ZcGePoint3d& origin = points.front();
  ZcGeVector3d along;
  double size = 0.0;
  for (const ZcGePoint3d& p : points) {
    if (p.distanceTo(origin) > size) {
      size = p.distanceTo(origin);
      along = p - origin;
    }
  }
  if (size == 0.0) return Zcad::eDegenerateGeometry;
  along = along.normal();
  const double tol = kCurveRelTol * std::max(1.0, size);
  const bool inLine = std::all_of(points.begin(), points.end(), [&](const ZcGePoint3d& p) {
    const ZcGeVector3d v = p - origin;
    return (v - along * v.dotProduct(along)).length() <= tol;
  });
  ZcGeVector3d normal;
  if (inLine) {
    normal = ZcGeVector3d::kZAxis - along * along.z;
    if (normal.length() <= 1e-9) normal = ZcGeVector3d::kXAxis - along * along.x;
  } else {
    ZcGePlane plane;
    bool planar = false;
    if (const Zcad::ErrorStatus es = source.getPlane(plane, planar); es != Zcad::eOk) return es;
    if (!planar) return Zcad::eNonPlanarEntity;
    normal = plane.normal();
  }
  normal = upwards(normal.normal());
  const PolylinePlane frame = PolylinePlane::fromNormal(normal, normal.dotProduct(origin.asVector()));

  std::vector<OffsetVertex> vertices;
  vertices.reserve(points.size());
  for (const ZcGePoint3d& p : points) vertices.push_back({frame.toPlane(p), 0.0});
  PolylineOffsetResult result = offsetPolyline(vertices, closed, distance);
  if (result.outcome != OffsetOutcome::kOffset) return statusOf(result.outcome);
  for (const OffsetPiece& piece : result.pieces) {
    std::vector<ZcGePoint2d> flat;
    const size_t n = piece.vertices.size();
    for (size_t i = 0; i < n; ++i) {
      const OffsetVertex& v = piece.vertices[i];
      if (i + 1 < n || piece.closed) {
        appendChords(BulgeSegment(v.point, piece.vertices[(i + 1) % n].point, v.bulge), distance, flat);
      } else {
        flat.push_back(v.point);
      }
    }
    ZcGePoint3dArray world;
    for (const ZcGePoint2d& p : flat) world.append(frame.toWorld(p));
    auto* pline = new ZcDb3dPolyline(ZcDb::k3dSimplePoly, world, piece.closed);
    pline->setPropertiesFrom(&source);
    offsetCurves.append(pline);
  }
  return Zcad::eOk;
}

}  // namespace vtcad::db

using vtcad::db::OffsetOutcome;
using vtcad::db::OffsetVertex;

Zcad::ErrorStatus ZcDbPolyline::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  std::vector<OffsetVertex> vertices(points_.size());
  for (size_t i = 0; i < points_.size(); ++i) vertices[i] = {points_[i], bulges_[i]};
  const vtcad::db::PolylineOffsetResult result = vtcad::db::offsetPolyline(vertices, closed_, offsetDist);
  if (result.outcome != OffsetOutcome::kOffset) return vtcad::db::statusOf(result.outcome);
  double width = 0.0;
  const bool constantWidth = getConstantWidth(width) == Zcad::eOk;
  for (const vtcad::db::OffsetPiece& piece : result.pieces) {
    auto* pline = new ZcDbPolyline(static_cast<unsigned>(piece.vertices.size()));
    pline->setPropertiesFrom(this);
    for (const OffsetVertex& v : piece.vertices) {
      pline->addVertexAt(pline->numVerts(), v.point, v.bulge, constantWidth ? width : 0.0,
                         constantWidth ? width : 0.0);
    }
    pline->setNormal(normal_);
    pline->setElevation(elevation_);
    pline->setThickness(thickness_);
    pline->setPlinegen(plinegen_);
    pline->setClosed(piece.closed);
    offsetCurves.append(pline);
  }
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  std::vector<ShownVertex> shown;
  if (const Zcad::ErrorStatus es = shownVertices(shown); es != Zcad::eOk) return es;
  std::vector<OffsetVertex> vertices(shown.size());
  for (size_t i = 0; i < shown.size(); ++i) vertices[i] = {shown[i].point, shown[i].bulge};
  const vtcad::db::PolylineOffsetResult result = vtcad::db::offsetPolyline(vertices, closed_, offsetDist);
  if (result.outcome != OffsetOutcome::kOffset) return vtcad::db::statusOf(result.outcome);
  // A constant width carries over; varying widths belong to the source's own vertices.
  const bool constantWidth =
      !shown.empty() && std::all_of(shown.begin(), shown.end(), [&](const ShownVertex& v) {
        return v.startWidth == shown[0].startWidth && v.endWidth == shown[0].startWidth;
      });
  const double width = constantWidth ? shown[0].startWidth : 0.0;
  for (const vtcad::db::OffsetPiece& piece : result.pieces) {
    ZcGePoint3dArray points;
    ZcGeDoubleArray bulges;
    for (const OffsetVertex& v : piece.vertices) {
      points.append(ZcGePoint3d(v.point.x, v.point.y, 0.0));
      bulges.append(v.bulge);
    }
    // A fitted source's offset is the displayed curve's offset, so it is simple itself.
    auto* pline =
        new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points, elevation_, piece.closed, width, width, &bulges);
    pline->setPropertiesFrom(this);
    pline->setNormal(normal_);
    pline->setThickness(thickness_);
    offsetCurves.append(pline);
  }
  return Zcad::eOk;
}
