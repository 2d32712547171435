#include "zcad/db/ZcDbHatch.h"

#include <algorithm>
#include <cmath>

#include "database/ConicGeometry.h"
#include "database/HatchEdgeGeometry.h"
#include "database/PlanarTransform.h"
#include "database/ZcDbValidate.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

using vtcad::db::ConicPiece;

ZcRxObject* createHatch() { return new ZcDbHatch(); }

// Points per arc or spline span when loops are turned into polygons for nesting tests and
// spline areas.
constexpr int kSamplesPerPiece = 32;
// Relative distance below which two edge ends count as joined.
constexpr double kJoinTol = 1e-9;

bool validPolyline(const ZcGePoint2dArray& vertices, const ZcGeDoubleArray& bulges) {
  if (vertices.isEmpty()) return false;
  if (!bulges.isEmpty() && bulges.length() != vertices.length()) return false;
  for (const ZcGePoint2d& p : vertices) {
    if (!zcdbFinite(p)) return false;
  }
  for (double b : bulges) {
    if (!std::isfinite(b)) return false;
  }
  return true;
}

bool validEdges(const ZcDbHatchEdgeArray& edges) {
  if (edges.isEmpty()) return false;
  for (const ZcDbHatchEdge& edge : edges) {
    if (!edge.isValid()) return false;
  }
  return true;
}

// Calls visit(start, end, bulge) for each segment of a polyline loop, the closing one included.
template <typename Visit>
void forEachSegment(const ZcDbHatch::Loop& loop, Visit visit) {
  const int n = loop.vertices.length();
  for (int i = 0; i < n; ++i) visit(loop.vertices[i], loop.vertices[(i + 1) % n], loop.bulges[i]);
}

// The loop as a polygon of sample points, and twice its signed area.
struct LoopShape {
  std::vector<ZcGePoint2d> polygon;
  double doubleArea = 0.0;
};

LoopShape shapeOf(const ZcDbHatch::Loop& loop) {
  LoopShape shape;
  if (loop.isPolyline()) {
    forEachSegment(loop, [&shape](const ZcGePoint2d& p, const ZcGePoint2d& q, double bulge) {
      ConicPiece piece;
      if (vtcad::db::conicOfBulge(p, q, bulge, piece)) {
        shape.doubleArea += vtcad::db::doubleSweptArea(piece);
        vtcad::db::sampleConic(piece, kSamplesPerPiece, shape.polygon);
        shape.polygon.pop_back();  // the next segment starts there
      } else {
        shape.doubleArea += vtcad::db::doubleSweptArea(p, q);
        shape.polygon.push_back(p);
      }
    });
    return shape;
  }
  for (const ZcDbHatchEdge& edge : loop.edges) {
    shape.doubleArea += vtcad::db::doubleSweptArea(edge);
    vtcad::db::sampleEdge(edge, kSamplesPerPiece, shape.polygon);
  }
  if (!shape.polygon.empty()) {
    // An edge chain that does not close is closed by a chord, as hatching closes it.
    shape.doubleArea += vtcad::db::doubleSweptArea(shape.polygon.back(), shape.polygon.front());
  }
  return shape;
}

// Even-odd test.
bool contains(const std::vector<ZcGePoint2d>& polygon, const ZcGePoint2d& point) {
  bool inside = false;
  const size_t n = polygon.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const ZcGePoint2d& a = polygon[i];
    const ZcGePoint2d& b = polygon[j];
    if ((a.y > point.y) != (b.y > point.y) && point.x < (b.x - a.x) * (point.y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

// Whether `outer` holds the loop `inner`: most of inner's points lie inside it. A loop that
// touches its island (shares a vertex or an edge) has points on the boundary, where the
// even-odd test may answer either way; the majority does not.
bool holds(const std::vector<ZcGePoint2d>& outer, const std::vector<ZcGePoint2d>& inner) {
  constexpr size_t kProbes = 16;
  const size_t step = std::max<size_t>(1, inner.size() / kProbes);
  size_t inside = 0;
  size_t probes = 0;
  for (size_t k = 0; k < inner.size(); k += step, ++probes) {
    if (contains(outer, inner[k])) ++inside;
  }
  return 2 * inside > probes;
}

// A polyline loop's segments as edges, zero-length ones left out.
ZcDbHatchEdgeArray edgesOf(const ZcDbHatch::Loop& loop) {
  ZcDbHatchEdgeArray edges;
  forEachSegment(loop, [&edges](const ZcGePoint2d& p, const ZcGePoint2d& q, double bulge) {
    if (p == q) return;
    ConicPiece piece;
    if (vtcad::db::conicOfBulge(p, q, bulge, piece)) {
      const bool ccw = piece.t1 > piece.t0;
      // Clockwise arcs measure their angles clockwise: negate them.
      const double start = ccw ? piece.t0 : -piece.t0;
      const double end = start + std::fabs(piece.t1 - piece.t0);
      edges.append(ZcDbHatchEdge::circularArc(piece.center, piece.a.x, start, end, ccw));
    } else {
      edges.append(ZcDbHatchEdge::line(p, q));
    }
  });
  return edges;
}

// An edge loop of joined lines and circular arcs as vertices and bulges; false otherwise.
bool polylineOf(const ZcDbHatchEdgeArray& edges, ZcGePoint2dArray& vertices, ZcGeDoubleArray& bulges) {
  vertices.removeAll();
  bulges.removeAll();
  double size = 0.0;
  for (const ZcDbHatchEdge& edge : edges) {
    if (edge.type() != ZcDbHatchEdge::kLine && edge.type() != ZcDbHatchEdge::kCirArc) return false;
    size = std::max(size, edge.startPoint().asVector().length() + edge.endPoint().asVector().length());
  }
  const double tol = kJoinTol * std::max(size, 1.0);
  for (int i = 0; i < edges.length(); ++i) {
    const ZcDbHatchEdge& edge = edges[i];
    const ZcDbHatchEdge& next = edges[(i + 1) % edges.length()];
    if (edge.endPoint().distanceTo(next.startPoint()) > tol) return false;
    if (edge.type() == ZcDbHatchEdge::kLine) {
      vertices.append(edge.startPoint());
      bulges.append(0.0);
      continue;
    }
    const double sweep = edge.endAngle() - edge.startAngle();
    const double sign = edge.isCounterClockwise() ? 1.0 : -1.0;
    if (sweep >= ZcGe::kTwoPi - 1e-12) {
      // A full circle has no bulge (tan(pi/2)): two half circles.
      const ConicPiece piece = vtcad::db::conicOf(edge);
      vertices.append(edge.startPoint());
      bulges.append(sign);
      vertices.append(piece.pointAt(edge.startAngle() + ZcGe::kPi));
      bulges.append(sign);
      continue;
    }
    vertices.append(edge.startPoint());
    bulges.append(sign * std::tan(0.25 * sweep));
  }
  return true;
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbHatch, ZcDbEntity, L"AcDbHatch", L"HATCH", createHatch)

namespace {
// Registered when the library loads, so that readers find the class by its names.
[[maybe_unused]] const bool registered = (ZcDbHatch::desc(), true);
}  // namespace

ZcDbHatch::ZcDbHatch() = default;
ZcDbHatch::~ZcDbHatch() = default;

double ZcDbHatch::elevation() const {
  assertReadEnabled();
  return elevation_;
}

Zcad::ErrorStatus ZcDbHatch::setElevation(double elevation) {
  if (!std::isfinite(elevation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  elevation_ = elevation;
  return Zcad::eOk;
}

ZcGeVector3d ZcDbHatch::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbHatch::setNormal(const ZcGeVector3d& normal) {
  if (!zcdbFinite(normal) || normal.isZeroLength()) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = normal.normal();
  return Zcad::eOk;
}

ZcDbHatch::HatchPatternType ZcDbHatch::patternType() const {
  assertReadEnabled();
  return patternType_;
}

ZcString ZcDbHatch::patternName() const {
  assertReadEnabled();
  return patternName_;
}

Zcad::ErrorStatus ZcDbHatch::setPattern(HatchPatternType type, const ZTCHAR* name) {
  if (type < kUserDefined || type > kCustomDefined) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  patternType_ = type;
  patternName_ = ZcString(name);
  if (patternName_.isEmpty() && type == kUserDefined) patternName_ = ZcString(L"_USER");
  return Zcad::eOk;
}

bool ZcDbHatch::isSolidFill() const {
  assertReadEnabled();
  return patternName_.compareNoCase(ZcString(L"SOLID")) == 0;
}

double ZcDbHatch::patternAngle() const {
  assertReadEnabled();
  return patternAngle_;
}

Zcad::ErrorStatus ZcDbHatch::setPatternAngle(double angle) {
  if (!std::isfinite(angle)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  patternAngle_ = vtcad::db::normalizeAngle(angle);
  return Zcad::eOk;
}

double ZcDbHatch::patternScale() const {
  assertReadEnabled();
  return patternScale_;
}

Zcad::ErrorStatus ZcDbHatch::setPatternScale(double scale) {
  if (!std::isfinite(scale) || scale <= 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  patternScale_ = scale;
  return Zcad::eOk;
}

double ZcDbHatch::patternSpace() const {
  assertReadEnabled();
  return patternSpace_;
}

Zcad::ErrorStatus ZcDbHatch::setPatternSpace(double space) {
  if (!std::isfinite(space) || space <= 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  patternSpace_ = space;
  return Zcad::eOk;
}

bool ZcDbHatch::patternDouble() const {
  assertReadEnabled();
  return patternDouble_;
}

Zcad::ErrorStatus ZcDbHatch::setPatternDouble(bool isDouble) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  patternDouble_ = isDouble;
  return Zcad::eOk;
}

bool ZcDbHatch::associative() const {
  assertReadEnabled();
  return associative_;
}

Zcad::ErrorStatus ZcDbHatch::setAssociative(bool isAssociative) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  associative_ = isAssociative;
  return Zcad::eOk;
}

ZcDbHatch::HatchStyle ZcDbHatch::hatchStyle() const {
  assertReadEnabled();
  return style_;
}

Zcad::ErrorStatus ZcDbHatch::setHatchStyle(HatchStyle style) {
  if (style < kNormal || style > kIgnore) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  style_ = style;
  return Zcad::eOk;
}

int ZcDbHatch::numLoops() const {
  assertReadEnabled();
  return static_cast<int>(loops_.size());
}

Zdesk::Int32 ZcDbHatch::loopTypeAt(int index) const {
  assertReadEnabled();
  if (index < 0 || index >= static_cast<int>(loops_.size())) return kDefault;
  return loops_[static_cast<size_t>(index)].type;
}

Zcad::ErrorStatus ZcDbHatch::insertLoop(int index, Loop loop) {
  if (index < 0 || index > static_cast<int>(loops_.size())) return Zcad::eInvalidIndex;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  loops_.insert(loops_.begin() + index, std::move(loop));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::appendLoop(Zdesk::Int32 loopType, const ZcGePoint2dArray& vertices,
                                        const ZcGeDoubleArray& bulges) {
  return insertLoopAt(numLoops(), loopType, vertices, bulges);
}

Zcad::ErrorStatus ZcDbHatch::appendLoop(Zdesk::Int32 loopType, const ZcDbHatchEdgeArray& edges) {
  return insertLoopAt(numLoops(), loopType, edges);
}

Zcad::ErrorStatus ZcDbHatch::insertLoopAt(int index, Zdesk::Int32 loopType, const ZcGePoint2dArray& vertices,
                                          const ZcGeDoubleArray& bulges) {
  if (!validPolyline(vertices, bulges)) return Zcad::eInvalidInput;
  Loop loop;
  loop.type = loopType | kPolyline;
  loop.vertices = vertices;
  loop.bulges = bulges;
  // Missing bulges are straight segments.
  loop.bulges.setLogicalLength(vertices.length());
  return insertLoop(index, std::move(loop));
}

Zcad::ErrorStatus ZcDbHatch::insertLoopAt(int index, Zdesk::Int32 loopType, const ZcDbHatchEdgeArray& edges) {
  if (!validEdges(edges)) return Zcad::eInvalidInput;
  Loop loop;
  loop.type = loopType & ~kPolyline;
  loop.edges = edges;
  return insertLoop(index, std::move(loop));
}

Zcad::ErrorStatus ZcDbHatch::getLoopAt(int index, Zdesk::Int32& loopType, ZcGePoint2dArray& vertices,
                                       ZcGeDoubleArray& bulges) const {
  assertReadEnabled();
  if (index < 0 || index >= static_cast<int>(loops_.size())) return Zcad::eInvalidIndex;
  const Loop& loop = loops_[static_cast<size_t>(index)];
  if (loop.isPolyline()) {
    vertices = loop.vertices;
    bulges = loop.bulges;
  } else if (!polylineOf(loop.edges, vertices, bulges)) {
    return Zcad::eNotApplicable;
  }
  loopType = loop.type;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::getLoopAt(int index, Zdesk::Int32& loopType, ZcDbHatchEdgeArray& edges) const {
  assertReadEnabled();
  if (index < 0 || index >= static_cast<int>(loops_.size())) return Zcad::eInvalidIndex;
  const Loop& loop = loops_[static_cast<size_t>(index)];
  edges = loop.isPolyline() ? edgesOf(loop) : loop.edges;
  loopType = loop.type;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::removeLoopAt(int index) {
  if (index < 0 || index >= static_cast<int>(loops_.size())) return Zcad::eInvalidIndex;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  loops_.erase(loops_.begin() + index);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::getArea(double& area) const {
  assertReadEnabled();
  std::vector<LoopShape> shapes;
  shapes.reserve(loops_.size());
  for (const Loop& loop : loops_) shapes.push_back(shapeOf(loop));

  double total = 0.0;
  for (size_t i = 0; i < shapes.size(); ++i) {
    const double size = std::fabs(shapes[i].doubleArea);
    if (shapes[i].polygon.empty()) continue;
    // Nesting depth: how many larger loops hold this loop.
    int depth = 0;
    for (size_t j = 0; j < shapes.size(); ++j) {
      if (j != i && shapes[j].polygon.size() >= 3 && std::fabs(shapes[j].doubleArea) > size &&
          holds(shapes[j].polygon, shapes[i].polygon)) {
        ++depth;
      }
    }
    // Islands deeper than the style looks are not hatched around.
    if ((style_ == kIgnore && depth > 0) || (style_ == kOuter && depth > 1)) continue;
    total += (depth % 2 == 0 ? 0.5 : -0.5) * size;
  }
  area = std::max(0.0, total);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  const ZcGeMatrix3d toWorld = vtcad::db::hatchPlaneToWorld(normal_, elevation_);
  ZcDbExtents result;
  for (const Loop& loop : loops_) {
    if (!loop.isPolyline()) {
      for (const ZcDbHatchEdge& edge : loop.edges) vtcad::db::addEdgeExtents(edge, toWorld, result);
      continue;
    }
    forEachSegment(loop, [&](const ZcGePoint2d& p, const ZcGePoint2d& q, double bulge) {
      ConicPiece piece;
      if (vtcad::db::conicOfBulge(p, q, bulge, piece)) {
        vtcad::db::addConicPieceExtents(piece, toWorld, result);
      } else {
        result.addPoint(toWorld * ZcGePoint3d(p.x, p.y, 0.0));
      }
    });
  }
  if (result.isEmpty()) return Zcad::eInvalidExtents;
  extents = result;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(ZcGePoint3d::kOrigin + normal_ * elevation_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::transformBy(const ZcGeMatrix3d& xform) {
  if (!vtcad::db::isFiniteAffine(xform)) return Zcad::eInvalidInput;
  const ZcGeVector3d newNormal = vtcad::db::transformedPlaneNormal(xform, normal_);
  if (newNormal.isZeroLength()) return Zcad::eInvalidInput;

  // The plane's coordinates before and after: p' = map(p), with the new elevation.
  const ZcGeMatrix3d image = xform * vtcad::db::hatchPlaneToWorld(normal_, elevation_);
  ZcGeVector3d x, y;
  vtcad::db::ocsAxes(newNormal, x, y);
  const ZcGeVector3d origin = (image * ZcGePoint3d::kOrigin).asVector();
  const ZcGeVector3d c0 = image * ZcGeVector3d::kXAxis;
  const ZcGeVector3d c1 = image * ZcGeVector3d::kYAxis;
  vtcad::db::PlaneMap map;
  map.col0.set(c0.dotProduct(x), c0.dotProduct(y));
  map.col1.set(c1.dotProduct(x), c1.dotProduct(y));
  map.origin.set(origin.dotProduct(x), origin.dotProduct(y));
  const double det = map.det();
  if (!(std::fabs(det) > 0.0)) return Zcad::eInvalidInput;
  const bool similar = map.isSimilarity();
  const bool mirror = det < 0.0;

  std::vector<Loop> loops = loops_;
  for (Loop& loop : loops) {
    if (!loop.isPolyline()) {
      for (ZcDbHatchEdge& edge : loop.edges) edge = vtcad::db::transformedEdge(edge, map);
      continue;
    }
    for (ZcGePoint2d& p : loop.vertices) p = map.apply(p);
    for (double& b : loop.bulges) {
      // A bulged segment cannot become an elliptical arc: the loop would change its kind.
      if (b != 0.0 && !similar) return Zcad::eNotApplicable;
      if (mirror) b = -b;
    }
  }

  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  loops_ = std::move(loops);
  normal_ = newNormal;
  elevation_ = origin.dotProduct(newNormal);
  if (similar) {
    const double turn = std::atan2(map.col0.y, map.col0.x);
    const double scale = map.col0.length();
    patternScale_ *= scale;
    patternSpace_ *= scale;
    patternAngle_ = vtcad::db::normalizeAngle(mirror ? turn - patternAngle_ : turn + patternAngle_);
  }
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbEntity::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeDouble(elevation_);
  filer->writeVector3d(normal_);
  filer->writeInt16(static_cast<Zdesk::Int16>(patternType_));
  filer->writeString(patternName_.str());
  filer->writeDouble(patternAngle_);
  filer->writeDouble(patternScale_);
  filer->writeDouble(patternSpace_);
  filer->writeBool(patternDouble_);
  filer->writeBool(associative_);
  filer->writeInt16(static_cast<Zdesk::Int16>(style_));
  filer->writeInt32(static_cast<Zdesk::Int32>(loops_.size()));
  auto writeVector2d = [filer](const ZcGeVector2d& v) { filer->writePoint2d(ZcGePoint2d(v.x, v.y)); };
  for (const Loop& loop : loops_) {
    filer->writeInt32(loop.type);
    if (loop.isPolyline()) {
      filer->writeInt32(loop.vertices.length());
      for (int i = 0; i < loop.vertices.length(); ++i) {
        filer->writePoint2d(loop.vertices[i]);
        filer->writeDouble(loop.bulges[i]);
      }
      continue;
    }
    filer->writeInt32(loop.edges.length());
    for (const ZcDbHatchEdge& edge : loop.edges) {
      filer->writeInt16(static_cast<Zdesk::Int16>(edge.type()));
      switch (edge.type()) {
        case ZcDbHatchEdge::kLine:
          filer->writePoint2d(edge.startPoint());
          filer->writePoint2d(edge.endPoint());
          break;
        case ZcDbHatchEdge::kCirArc:
        case ZcDbHatchEdge::kEllArc:
          filer->writePoint2d(edge.center());
          filer->writeDouble(edge.radius());
          writeVector2d(edge.majorAxis());
          filer->writeDouble(edge.minorMajorRatio());
          filer->writeDouble(edge.startAngle());
          filer->writeDouble(edge.endAngle());
          filer->writeBool(edge.isCounterClockwise());
          break;
        case ZcDbHatchEdge::kSpline:
          filer->writeInt16(static_cast<Zdesk::Int16>(edge.degree()));
          filer->writeBool(edge.isRational());
          filer->writeBool(edge.isPeriodic());
          filer->writeInt32(edge.knots().length());
          for (double k : edge.knots()) filer->writeDouble(k);
          filer->writeInt32(edge.controlPoints().length());
          for (const ZcGePoint2d& p : edge.controlPoints()) filer->writePoint2d(p);
          filer->writeInt32(edge.weights().length());
          for (double w : edge.weights()) filer->writeDouble(w);
          filer->writeInt32(edge.fitPoints().length());
          for (const ZcGePoint2d& p : edge.fitPoints()) filer->writePoint2d(p);
          writeVector2d(edge.startTangent());
          writeVector2d(edge.endTangent());
          break;
      }
    }
  }
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbHatch::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbEntity::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  double elevation = 0.0, angle = 0.0, scale = 0.0, space = 0.0;
  ZcGeVector3d normal;
  Zdesk::Int16 type = 0, style = 0;
  std::wstring name;
  bool isDouble = false, isAssociative = false;
  Zdesk::Int32 loopCount = 0;
  filer->readDouble(&elevation);
  filer->readVector3d(&normal);
  filer->readInt16(&type);
  filer->readString(&name);
  filer->readDouble(&angle);
  filer->readDouble(&scale);
  filer->readDouble(&space);
  filer->readBool(&isDouble);
  filer->readBool(&isAssociative);
  filer->readInt16(&style);
  filer->readInt32(&loopCount);
  if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
  if (!std::isfinite(elevation) || !zcdbFinite(normal) || normal.isZeroLength() || type < kUserDefined ||
      type > kCustomDefined || !std::isfinite(angle) || !std::isfinite(scale) || scale <= 0.0 ||
      !std::isfinite(space) || space <= 0.0 || style < kNormal || style > kIgnore || loopCount < 0) {
    return Zcad::eInvalidInput;
  }

  auto readCount = [filer]() {
    Zdesk::Int32 n = 0;
    filer->readInt32(&n);
    return filer->filerStatus() == Zcad::eOk && n >= 0 ? n : -1;
  };
  auto readVector2d = [filer]() {
    ZcGePoint2d p;
    filer->readPoint2d(&p);
    return ZcGeVector2d(p.x, p.y);
  };
  std::vector<Loop> loops;
  for (Zdesk::Int32 l = 0; l < loopCount; ++l) {
    Loop loop;
    filer->readInt32(&loop.type);
    const Zdesk::Int32 count = readCount();
    if (count < 0) return filer->filerStatus() != Zcad::eOk ? filer->filerStatus() : Zcad::eInvalidInput;
    if (loop.isPolyline()) {
      for (Zdesk::Int32 i = 0; i < count && filer->filerStatus() == Zcad::eOk; ++i) {
        ZcGePoint2d p;
        double bulge = 0.0;
        filer->readPoint2d(&p);
        filer->readDouble(&bulge);
        loop.vertices.append(p);
        loop.bulges.append(bulge);
      }
      if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
      if (!validPolyline(loop.vertices, loop.bulges)) return Zcad::eInvalidInput;
      loops.push_back(std::move(loop));
      continue;
    }
    for (Zdesk::Int32 i = 0; i < count && filer->filerStatus() == Zcad::eOk; ++i) {
      Zdesk::Int16 edgeType = 0;
      filer->readInt16(&edgeType);
      if (edgeType == ZcDbHatchEdge::kLine) {
        ZcGePoint2d p, q;
        filer->readPoint2d(&p);
        filer->readPoint2d(&q);
        loop.edges.append(ZcDbHatchEdge::line(p, q));
      } else if (edgeType == ZcDbHatchEdge::kCirArc || edgeType == ZcDbHatchEdge::kEllArc) {
        ZcGePoint2d center;
        double radius = 0.0, ratio = 0.0, start = 0.0, end = 0.0;
        bool ccw = true;
        filer->readPoint2d(&center);
        filer->readDouble(&radius);
        const ZcGeVector2d major = readVector2d();
        filer->readDouble(&ratio);
        filer->readDouble(&start);
        filer->readDouble(&end);
        filer->readBool(&ccw);
        loop.edges.append(edgeType == ZcDbHatchEdge::kCirArc
                              ? ZcDbHatchEdge::circularArc(center, radius, start, end, ccw)
                              : ZcDbHatchEdge::ellipticalArc(center, major, ratio, start, end, ccw));
      } else if (edgeType == ZcDbHatchEdge::kSpline) {
        Zdesk::Int16 degree = 0;
        bool rational = false, periodic = false;
        filer->readInt16(&degree);
        filer->readBool(&rational);
        filer->readBool(&periodic);
        ZcGeDoubleArray knots, weights;
        ZcGePoint2dArray control, fit;
        for (Zdesk::Int32 n = readCount(), k = 0; k < n; ++k) {
          double value = 0.0;
          filer->readDouble(&value);
          knots.append(value);
        }
        for (Zdesk::Int32 n = readCount(), k = 0; k < n; ++k) {
          ZcGePoint2d p;
          filer->readPoint2d(&p);
          control.append(p);
        }
        for (Zdesk::Int32 n = readCount(), k = 0; k < n; ++k) {
          double value = 0.0;
          filer->readDouble(&value);
          weights.append(value);
        }
        for (Zdesk::Int32 n = readCount(), k = 0; k < n; ++k) {
          ZcGePoint2d p;
          filer->readPoint2d(&p);
          fit.append(p);
        }
        const ZcGeVector2d startTangent = readVector2d();
        const ZcGeVector2d endTangent = readVector2d();
        loop.edges.append(ZcDbHatchEdge::spline(degree, rational, periodic, knots, control, weights, fit,
                                                startTangent, endTangent));
      } else {
        return Zcad::eInvalidInput;
      }
    }
    if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
    if (!validEdges(loop.edges)) return Zcad::eInvalidInput;
    loops.push_back(std::move(loop));
  }

  elevation_ = elevation;
  normal_ = normal.normal();
  patternType_ = static_cast<HatchPatternType>(type);
  patternName_ = ZcString(std::move(name));
  patternAngle_ = angle;
  patternScale_ = scale;
  patternSpace_ = space;
  patternDouble_ = isDouble;
  associative_ = isAssociative;
  style_ = static_cast<HatchStyle>(style);
  loops_ = std::move(loops);
  return Zcad::eOk;
}
