#include "zcad/db/ZcDbPolyline.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "database/CurveQueryRules.h"
#include "database/PolylineChain.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using vtcad::db::BulgeSegment;
using vtcad::db::ChainLengths;
using vtcad::db::PolylineChain;
using vtcad::db::PolylinePlane;

namespace {

ZcRxObject* newPolyline() { return new ZcDbPolyline(); }

bool isFiniteValue(double v) { return std::isfinite(v); }
bool isFiniteValue(const ZcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool isFiniteValue(const ZcGeVector3d& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbPolyline, ZcDbCurve, L"AcDbPolyline", L"LWPOLYLINE", &newPolyline)

// The curve queries see the polyline through a chain over its own arrays (no copy) and the
// cached cumulative lengths.
struct ZcDbPolyline::Geometry {
  static PolylinePlane plane(const ZcDbPolyline& pl) {
    return PolylinePlane::fromNormal(pl.normal_, pl.elevation_);
  }
  static PolylineChain chain(const ZcDbPolyline& pl) {
    return PolylineChain::planar(pl.points_.data(), pl.bulges_.data(), static_cast<int>(pl.points_.size()),
                                 pl.closed_, plane(pl));
  }
};

ZcDbPolyline::ZcDbPolyline(unsigned int numVerts) {
  points_.reserve(numVerts);
  bulges_.reserve(numVerts);
  startWidths_.reserve(numVerts);
  endWidths_.reserve(numVerts);
}

ZcDbPolyline::~ZcDbPolyline() = default;

Zcad::ErrorStatus ZcDbPolyline::beginModify() {
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  lengthCacheValid_ = false;
  lengthCache_.clear();
  return Zcad::eOk;
}

const std::vector<double>& ZcDbPolyline::cumulativeLengths() const {
  if (!lengthCacheValid_) {
    ChainLengths::build(Geometry::chain(*this), lengthCache_);
    lengthCacheValid_ = true;
  }
  return lengthCache_;
}

// ---------------------------------------------------------------------------------------------
// Vertices

Zcad::ErrorStatus ZcDbPolyline::addVertexAt(unsigned int index, const ZcGePoint2d& point, double bulge,
                                            double startWidth, double endWidth) {
  if (!isFiniteValue(point) || !isFiniteValue(bulge) || !isFiniteValue(startWidth) ||
      !isFiniteValue(endWidth))
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  const size_t at = std::min<size_t>(index, points_.size());
  // A negative width means "none of its own": the constant width applies.
  points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(at), point);
  bulges_.insert(bulges_.begin() + static_cast<std::ptrdiff_t>(at), bulge);
  startWidths_.insert(startWidths_.begin() + static_cast<std::ptrdiff_t>(at),
                      startWidth < 0.0 ? constantWidth_ : startWidth);
  endWidths_.insert(endWidths_.begin() + static_cast<std::ptrdiff_t>(at),
                    endWidth < 0.0 ? constantWidth_ : endWidth);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::removeVertexAt(unsigned int index) {
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  const auto at = static_cast<std::ptrdiff_t>(index);
  points_.erase(points_.begin() + at);
  bulges_.erase(bulges_.begin() + at);
  startWidths_.erase(startWidths_.begin() + at);
  endWidths_.erase(endWidths_.begin() + at);
  return Zcad::eOk;
}

unsigned int ZcDbPolyline::numVerts() const {
  assertReadEnabled();
  return static_cast<unsigned int>(points_.size());
}

Zcad::ErrorStatus ZcDbPolyline::getPointAt(unsigned int index, ZcGePoint2d& point) const {
  assertReadEnabled();
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  point = points_[index];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getPointAt(unsigned int index, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  point = Geometry::plane(*this).toWorld(points_[index]);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setPointAt(unsigned int index, const ZcGePoint2d& point) {
  if (!isFiniteValue(point)) return Zcad::eInvalidInput;
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  points_[index] = point;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  assertReadEnabled();
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  bulge = bulges_[index];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (!isFiniteValue(bulge)) return Zcad::eInvalidInput;
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  bulges_[index] = bulge;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getStartWidthAt(unsigned int index, double& startWidth) const {
  assertReadEnabled();
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  startWidth = startWidths_[index];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getEndWidthAt(unsigned int index, double& endWidth) const {
  assertReadEnabled();
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  endWidth = endWidths_[index];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const {
  assertReadEnabled();
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  startWidth = startWidths_[index];
  endWidth = endWidths_[index];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth) {
  if (!isFiniteValue(startWidth) || !isFiniteValue(endWidth)) return Zcad::eInvalidInput;
  if (startWidth < 0.0 || endWidth < 0.0) return Zcad::eNegativeValueNotAllowed;
  if (index >= points_.size()) return Zcad::eInvalidIndex;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  startWidths_[index] = startWidth;
  endWidths_[index] = endWidth;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getConstantWidth(double& width) const {
  assertReadEnabled();
  if (points_.empty()) {
    width = constantWidth_;
    return Zcad::eOk;
  }
  const double w = startWidths_.front();
  const bool constant =
      std::all_of(startWidths_.begin(), startWidths_.end(), [w](double s) { return s == w; }) &&
      std::all_of(endWidths_.begin(), endWidths_.end(), [w](double e) { return e == w; });
  width = constant ? w : 0.0;
  return constant ? Zcad::eOk : Zcad::eNotApplicable;
}

Zcad::ErrorStatus ZcDbPolyline::setConstantWidth(double width) {
  if (!isFiniteValue(width)) return Zcad::eInvalidInput;
  if (width < 0.0) return Zcad::eNegativeValueNotAllowed;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  constantWidth_ = width;
  std::fill(startWidths_.begin(), startWidths_.end(), width);
  std::fill(endWidths_.begin(), endWidths_.end(), width);
  return Zcad::eOk;
}

void ZcDbPolyline::reset(bool reuse, unsigned int numVerts) {
  if (beginModify() != Zcad::eOk) return;  // not open for write: nothing changes
  const size_t keep = reuse ? std::min<size_t>(numVerts, points_.size()) : 0;
  points_.resize(keep);
  bulges_.resize(keep);
  startWidths_.resize(keep);
  endWidths_.resize(keep);
}

// ---------------------------------------------------------------------------------------------
// Whole-polyline properties

double ZcDbPolyline::elevation() const {
  assertReadEnabled();
  return elevation_;
}

Zcad::ErrorStatus ZcDbPolyline::setElevation(double elevation) {
  if (!isFiniteValue(elevation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  elevation_ = elevation;
  return Zcad::eOk;
}

ZcGeVector3d ZcDbPolyline::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbPolyline::setNormal(const ZcGeVector3d& normal) {
  if (!isFiniteValue(normal)) return Zcad::eInvalidInput;
  const double len = std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
  if (!(len > 0.0) || !std::isfinite(len)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  normal_ = normal / len;
  return Zcad::eOk;
}

double ZcDbPolyline::thickness() const {
  assertReadEnabled();
  return thickness_;
}

Zcad::ErrorStatus ZcDbPolyline::setThickness(double thickness) {
  if (!isFiniteValue(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  thickness_ = thickness;
  return Zcad::eOk;
}

bool ZcDbPolyline::isClosed() const {
  assertReadEnabled();
  return closed_;
}

void ZcDbPolyline::setClosed(bool closed) {
  if (beginModify() != Zcad::eOk) return;  // not open for write: nothing changes
  closed_ = closed;
}

bool ZcDbPolyline::hasPlinegen() const {
  assertReadEnabled();
  return plinegen_;
}

void ZcDbPolyline::setPlinegen(bool plinegen) {
  if (beginModify() != Zcad::eOk) return;  // not open for write: nothing changes
  plinegen_ = plinegen;
}

bool ZcDbPolyline::isOnlyLines() const {
  assertReadEnabled();
  const int segments = Geometry::chain(*this).numSegments();
  for (int i = 0; i < segments; ++i)
    if (bulges_[static_cast<size_t>(i)] != 0.0) return false;
  return true;
}

bool ZcDbPolyline::hasBulges() const {
  assertReadEnabled();
  return std::any_of(bulges_.begin(), bulges_.end(), [](double b) { return b != 0.0; });
}

bool ZcDbPolyline::hasWidth() const {
  assertReadEnabled();
  auto nonZero = [](double w) { return w != 0.0; };
  return std::any_of(startWidths_.begin(), startWidths_.end(), nonZero) ||
         std::any_of(endWidths_.begin(), endWidths_.end(), nonZero);
}

// ---------------------------------------------------------------------------------------------
// Segments

bool ZcDbPolyline::hasSegment(unsigned int index) const {
  return static_cast<int>(index) < Geometry::chain(*this).numSegments() && index < points_.size();
}

ZcDbPolyline::SegType ZcDbPolyline::segType(unsigned int index) const {
  assertReadEnabled();
  if (points_.size() == 1) return index == 0 ? kPoint : kEmpty;
  if (!hasSegment(index)) return kEmpty;
  const BulgeSegment seg = Geometry::chain(*this).planarSegment(static_cast<int>(index));
  if (seg.isPoint()) return kCoincident;
  return seg.isArc() ? kArc : kLine;
}

Zcad::ErrorStatus ZcDbPolyline::getLineSegAt(unsigned int index, ZcGeLineSeg2d& line) const {
  const SegType type = segType(index);
  if (type == kEmpty) return Zcad::eInvalidIndex;
  if (type == kArc) return Zcad::eNotApplicable;
  if (type == kPoint) {
    line.set(points_[0], points_[0]);
    return Zcad::eOk;
  }
  const BulgeSegment seg = Geometry::chain(*this).planarSegment(static_cast<int>(index));
  line.set(seg.startPoint(), seg.endPoint());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getLineSegAt(unsigned int index, ZcGeLineSeg3d& line) const {
  const SegType type = segType(index);
  if (type == kEmpty) return Zcad::eInvalidIndex;
  if (type == kArc) return Zcad::eNotApplicable;
  const PolylineChain chain = Geometry::chain(*this);
  if (type == kPoint) {
    line.set(chain.vertexPoint(0), chain.vertexPoint(0));
    return Zcad::eOk;
  }
  line.set(chain.pointAt(static_cast<int>(index), 0.0), chain.pointAt(static_cast<int>(index), 1.0));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getArcSegAt(unsigned int index, ZcGeCircArc2d& arc) const {
  if (segType(index) != kArc) return hasSegment(index) ? Zcad::eNotApplicable : Zcad::eInvalidIndex;
  const BulgeSegment seg = Geometry::chain(*this).planarSegment(static_cast<int>(index));
  arc.set(seg.startPoint(), seg.endPoint(), bulges_[index], /*bulgeFlag=*/true);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getArcSegAt(unsigned int index, ZcGeCircArc3d& arc) const {
  if (segType(index) != kArc) return hasSegment(index) ? Zcad::eNotApplicable : Zcad::eInvalidIndex;
  const PolylinePlane plane = Geometry::plane(*this);
  const BulgeSegment seg = Geometry::chain(*this).planarSegment(static_cast<int>(index));
  const ZcGePoint2d c = seg.center();
  ZcGeVector3d refVec = plane.toWorld(seg.startPoint() - c);
  refVec /= std::sqrt(refVec.x * refVec.x + refVec.y * refVec.y + refVec.z * refVec.z);
  // A 3-D arc turns counter-clockwise about its normal: a clockwise segment gets the
  // reversed normal so that the arc still runs from the segment's start to its end.
  const ZcGeVector3d arcNormal = seg.sweep() > 0.0 ? plane.normal : -plane.normal;
  arc.set(plane.toWorld(c), arcNormal, refVec, seg.radius(), 0.0, std::fabs(seg.sweep()));
  return Zcad::eOk;
}

bool ZcDbPolyline::onSegAt(unsigned int index, const ZcGePoint2d& point, double& param) const {
  assertReadEnabled();
  if (!isFiniteValue(point) || !hasSegment(index)) return false;
  const PolylineChain chain = Geometry::chain(*this);
  const BulgeSegment seg = chain.planarSegment(static_cast<int>(index));
  const double t = seg.closestParam(point);
  const ZcGePoint2d p = seg.pointAt(t);
  ZcDbExtents box;
  if (chain.getGeomExtents(box) != Zcad::eOk) return false;
  if (std::hypot(p.x - point.x, p.y - point.y) > vtcad::db::onCurveTolerance(box.minPoint(), box.maxPoint()))
    return false;
  param = index + t;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Curve interface

Zcad::ErrorStatus ZcDbPolyline::getStartParam(double& param) const {
  assertReadEnabled();
  if (points_.empty()) return Zcad::eDegenerateGeometry;
  param = 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getEndParam(double& param) const {
  assertReadEnabled();
  return Geometry::chain(*this).getEndParam(param);
}

Zcad::ErrorStatus ZcDbPolyline::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  return Geometry::chain(*this).getStartPoint(point);
}

Zcad::ErrorStatus ZcDbPolyline::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  return Geometry::chain(*this).getEndPoint(point);
}

Zcad::ErrorStatus ZcDbPolyline::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  return Geometry::chain(*this).getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbPolyline::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  return Geometry::chain(*this).getParamAtPoint(point, param);
}

Zcad::ErrorStatus ZcDbPolyline::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  return Geometry::chain(*this).getDistAtParam(ChainLengths(cumulativeLengths()), param, dist);
}

Zcad::ErrorStatus ZcDbPolyline::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  return Geometry::chain(*this).getParamAtDist(ChainLengths(cumulativeLengths()), dist, param);
}

Zcad::ErrorStatus ZcDbPolyline::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  assertReadEnabled();
  return Geometry::chain(*this).getDistAtPoint(ChainLengths(cumulativeLengths()), point, dist);
}

Zcad::ErrorStatus ZcDbPolyline::getPointAtDist(double dist, ZcGePoint3d& point) const {
  assertReadEnabled();
  return Geometry::chain(*this).getPointAtDist(ChainLengths(cumulativeLengths()), dist, point);
}

Zcad::ErrorStatus ZcDbPolyline::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  return Geometry::chain(*this).getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbPolyline::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  return Geometry::chain(*this).getFirstDeriv(point, firstDeriv);
}

Zcad::ErrorStatus ZcDbPolyline::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  return Geometry::chain(*this).getSecondDeriv(param, secDeriv);
}

Zcad::ErrorStatus ZcDbPolyline::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                  bool extend) const {
  assertReadEnabled();
  return Geometry::chain(*this).getClosestPointTo(givenPoint, pointOnCurve, extend);
}

Zcad::ErrorStatus ZcDbPolyline::getClosestPointTo(const ZcGePoint3d& givenPoint,
                                                  const ZcGeVector3d& direction, ZcGePoint3d& pointOnCurve,
                                                  bool /*extend*/) const {
  assertReadEnabled();
  return Geometry::chain(*this).getClosestPointTo(givenPoint, direction, pointOnCurve);
}

Zcad::ErrorStatus ZcDbPolyline::getArea(double& area) const {
  assertReadEnabled();
  return Geometry::chain(*this).getArea(area);
}

Zcad::ErrorStatus ZcDbPolyline::reverseCurve() {
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  const int n = static_cast<int>(points_.size());
  if (n < 2) return Zcad::eOk;
  std::vector<ZcGePoint2d> points(static_cast<size_t>(n));
  std::vector<double> bulges(static_cast<size_t>(n)), starts(static_cast<size_t>(n)),
      ends(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) {
    const auto v = static_cast<size_t>(vtcad::db::PolylineReversal::vertexFrom(j, n, closed_));
    const auto k = static_cast<size_t>(vtcad::db::PolylineReversal::segmentFrom(j, n, closed_));
    const auto jj = static_cast<size_t>(j);
    points[jj] = points_[v];
    bulges[jj] = -bulges_[k];
    starts[jj] = endWidths_[k];
    ends[jj] = startWidths_[k];
  }
  points_.swap(points);
  bulges_.swap(bulges);
  startWidths_.swap(starts);
  endWidths_.swap(ends);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getSpline(ZcDbSpline*& spline) const {
  assertReadEnabled();
  spline = nullptr;
  if (points_.size() < 2) return Zcad::eDegenerateGeometry;
  ZcGeCurve3d* curve = nullptr;
  const Zcad::ErrorStatus es = getZcGeCurve(curve);
  if (es != Zcad::eOk) return es;
  const Zcad::ErrorStatus made =
      vtcad::db::makeSplineForm(*static_cast<const ZcGeNurbCurve3d*>(curve), *this, spline);
  delete curve;
  return made;
}

Zcad::ErrorStatus ZcDbPolyline::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  if (points_.size() < 2) return Zcad::eDegenerateGeometry;
  const PolylinePlane plane = Geometry::plane(*this);
  ZcGePoint3dArray world(static_cast<int>(points_.size()));
  for (const ZcGePoint2d& p : points_) world.append(plane.toWorld(p));
  ZcGeDoubleArray bulges(static_cast<int>(bulges_.size()));
  for (double b : bulges_) bulges.append(b);
  curve = new ZcGeNurbCurve3d(ZcGeNurbCurve3d::fromBulgePolyline(world, bulges, closed_, normal_));
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Entity geometry

Zcad::ErrorStatus ZcDbPolyline::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  return Geometry::chain(*this).getGeomExtents(extents);
}

Zcad::ErrorStatus ZcDbPolyline::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane = ZcGePlane(ZcGePoint3d::kOrigin + normal_ * elevation_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::transformBy(const ZcGeMatrix3d& xform) {
  assertReadEnabled();
  const vtcad::db::PlaneMapping mapping = vtcad::db::PlaneMapping::of(xform, Geometry::plane(*this));
  if (mapping.status != Zcad::eOk) return mapping.status;
  if (!mapping.conformal && hasBulges()) return Zcad::eNotApplicable;
  std::vector<ZcGePoint2d> points(points_.size());
  for (size_t i = 0; i < points_.size(); ++i) {
    points[i] = mapping.map(points_[i]);
    if (!isFiniteValue(points[i])) return Zcad::eInvalidInput;
  }
  const double thickness = thickness_ * mapping.thicknessScale;
  if (!isFiniteValue(mapping.target.elevation) || !isFiniteValue(mapping.widthScale * constantWidth_) ||
      !isFiniteValue(thickness))
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  points_.swap(points);
  elevation_ = mapping.target.elevation;
  normal_ = mapping.target.normal;
  thickness_ = thickness;
  if (mapping.flipped)
    for (double& b : bulges_) b = -b;
  for (double& w : startWidths_) w *= mapping.widthScale;
  for (double& w : endWidths_) w *= mapping.widthScale;
  constantWidth_ *= mapping.widthScale;
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Conversion with old-style polylines

Zcad::ErrorStatus ZcDbPolyline::convertTo(ZcDb2dPolyline*& pline, bool transferId) const {
  assertReadEnabled();
  pline = nullptr;
  if (transferId) {
    if (!isDatabaseResident()) return Zcad::eNotInDatabase;
    if (!isWriteEnabled()) return Zcad::eNotOpenForWrite;
  }
  auto* result = new ZcDb2dPolyline();
  (void)result->setPropertiesFrom(this);  // a layer unknown to the working database stays "0"
  result->setElevation(elevation_);
  result->setNormal(normal_);
  result->setThickness(thickness_);
  if (plinegen_) result->setLinetypeGenerationOn();
  double width = 0.0;
  if (getConstantWidth(width) == Zcad::eOk) {
    result->setDefaultStartWidth(width);
    result->setDefaultEndWidth(width);
  }
  if (closed_) result->makeClosed();
  for (size_t i = 0; i < points_.size(); ++i) {
    auto* vertex = new ZcDb2dVertex();
    vertex->setPosition(ZcGePoint3d(points_[i].x, points_[i].y, elevation_));
    vertex->setBulge(bulges_[i]);
    vertex->setStartWidth(startWidths_[i]);
    vertex->setEndWidth(endWidths_[i]);
    result->appendVertex(vertex);
  }
  if (!transferId) {
    pline = result;
    return Zcad::eOk;
  }
  const Zcad::ErrorStatus es = const_cast<ZcDbPolyline*>(this)->handOverTo(result);
  if (es != Zcad::eObjectToBeDeleted) {
    delete result;
    return es;
  }
  // The new polyline now has this one's id: its vertices become database objects it owns.
  result->moveVerticesIntoDatabase();
  pline = result;
  return Zcad::eObjectToBeDeleted;
}

Zcad::ErrorStatus ZcDbPolyline::convertFrom(ZcDbEntity*& entity, bool transferId) {
  if (!entity) return Zcad::eNullEntityPointer;
  ZcDb2dPolyline* source = ZcDb2dPolyline::cast(entity);
  if (!source) return Zcad::eIllegalEntityType;
  if (transferId) {
    if (isDatabaseResident()) return Zcad::eAlreadyInDb;
    if (!source->isDatabaseResident()) return Zcad::eNotInDatabase;
    if (!source->isWriteEnabled()) return Zcad::eNotOpenForWrite;
  }
  std::vector<ZcDb2dPolyline::ShownVertex> shown;
  const Zcad::ErrorStatus read = source->shownVertices(shown);
  if (read != Zcad::eOk) return read;
  const ZcDbObjectIdArray ownedIds = source->ownedObjectIds();
  const double elevation = source->elevation();
  const ZcGeVector3d normal = source->normal();
  const double thickness = source->thickness();
  const bool closed = source->isClosed();
  const bool plinegen = source->isLinetypeGenerationOn();

  if (transferId) {
    const Zcad::ErrorStatus es = source->handOverTo(this);
    if (es != Zcad::eObjectToBeDeleted) return es;
  }
  if (const Zcad::ErrorStatus es = beginModify(); es != Zcad::eOk) return es;
  (void)setPropertiesFrom(source);
  points_.clear();
  bulges_.clear();
  startWidths_.clear();
  endWidths_.clear();
  for (const ZcDb2dPolyline::ShownVertex& v : shown) {
    points_.push_back(v.point);
    bulges_.push_back(v.bulge);
    startWidths_.push_back(v.startWidth);
    endWidths_.push_back(v.endWidth);
  }
  elevation_ = elevation;
  normal_ = normal;
  thickness_ = thickness;
  closed_ = closed;
  plinegen_ = plinegen;
  constantWidth_ = 0.0;
  if (!transferId) return Zcad::eOk;

  // The 2-D polyline's vertices and end marker belonged to the id this polyline now has:
  // they go with the old object, which this call deletes.
  for (const ZcDbObjectId& id : ownedIds) {
    ZcDbObject* owned = nullptr;
    if (zcdbOpenObject(owned, id, ZcDb::kForWrite) == Zcad::eOk) {
      (void)owned->erase();
      owned->close();
    }
  }
  delete source;
  entity = this;
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Filing

Zcad::ErrorStatus ZcDbPolyline::dwgOutFields(ZcDbDwgFiler* filer) const {
  const Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeInt32(static_cast<Zdesk::Int32>(points_.size()));
  for (size_t i = 0; i < points_.size(); ++i) {
    filer->writePoint2d(points_[i]);
    filer->writeDouble(bulges_[i]);
    filer->writeDouble(startWidths_[i]);
    filer->writeDouble(endWidths_[i]);
  }
  filer->writeDouble(constantWidth_);
  filer->writeDouble(elevation_);
  filer->writeDouble(thickness_);
  filer->writeVector3d(normal_);
  filer->writeBool(closed_);
  filer->writeBool(plinegen_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbPolyline::dwgInFields(ZcDbDwgFiler* filer) {
  const Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  lengthCacheValid_ = false;
  lengthCache_.clear();
  Zdesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Zcad::eFilerError;
  points_.assign(static_cast<size_t>(count), ZcGePoint2d());
  bulges_.assign(static_cast<size_t>(count), 0.0);
  startWidths_.assign(static_cast<size_t>(count), 0.0);
  endWidths_.assign(static_cast<size_t>(count), 0.0);
  for (size_t i = 0; i < points_.size(); ++i) {
    filer->readPoint2d(&points_[i]);
    filer->readDouble(&bulges_[i]);
    filer->readDouble(&startWidths_[i]);
    filer->readDouble(&endWidths_[i]);
  }
  filer->readDouble(&constantWidth_);
  filer->readDouble(&elevation_);
  filer->readDouble(&thickness_);
  filer->readVector3d(&normal_);
  filer->readBool(&closed_);
  filer->readBool(&plinegen_);
  return filer->filerStatus();
}
