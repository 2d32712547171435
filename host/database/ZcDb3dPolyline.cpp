#include "zcad/db/ZcDb3dPolyline.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "database/CurveQueryRules.h"
#include "database/PolylineChain.h"
#include "database/PolylineFitting.h"
#include "database/PolylineOffsetCurves.h"
#include "database/PolylineVertexList.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbSequenceEnd.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"
#include "zcad/ge/ZcGePlane.h"

using vtcad::db::ChainLengths;
using vtcad::db::PolylineChain;
using vtcad::db::PolylineVertexList;

namespace {

ZcRxObject* new3dPolyline() { return new ZcDb3dPolyline(); }

bool isSplineType(ZcDb::Poly3dType type) {
  return type == ZcDb::k3dQuadSplinePoly || type == ZcDb::k3dCubicSplinePoly;
}

int degreeOf(ZcDb::Poly3dType type) { return type == ZcDb::k3dQuadSplinePoly ? 2 : 3; }

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDb3dPolyline, ZcDbCurve, L"AcDb3dPolyline", L"POLYLINE", &new3dPolyline)

struct ZcDb3dPolyline::Impl {
  static std::vector<ZcDb3dPolylineVertex*> vertices(const ZcDb3dPolyline& pl) {
    std::vector<ZcDb3dPolylineVertex*> result;
    for (ZcDbVertex* v : pl.vertices_->vertices()) {
      if (ZcDb3dPolylineVertex* v3 = ZcDb3dPolylineVertex::cast(v)) result.push_back(v3);
    }
    return result;
  }

  // The displayed points: the fit vertices of a spline-fit polyline, every vertex otherwise.
  static std::vector<ZcGePoint3d> shown(const ZcDb3dPolyline& pl) {
    const std::vector<ZcDb3dPolylineVertex*> all = vertices(pl);
    const bool spline = isSplineType(pl.type_) && std::any_of(all.begin(), all.end(), [](const auto* v) {
                          return v->type_ == ZcDb::k3dFitVertex;
                        });
    std::vector<ZcGePoint3d> points;
    for (const ZcDb3dPolylineVertex* v : all) {
      if (spline && v->type_ != ZcDb::k3dFitVertex) continue;  // a frame too short to fit shows itself
      points.push_back(v->position_);
    }
    return points;
  }

  // The displayed points and the chain that views them (so it must not outlive them).
  struct View {
    explicit View(const ZcDb3dPolyline& pl)
        : shown(Impl::shown(pl)),
          chain(PolylineChain::spatial(shown.data(), static_cast<int>(shown.size()), pl.closed_)) {}
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    const std::vector<ZcGePoint3d> shown;
    const PolylineChain chain;
  };

  // The frame: the vertices a user made (control vertices of a spline fit).
  static std::vector<ZcDb3dPolylineVertex*> frame(const ZcDb3dPolyline& pl) {
    std::vector<ZcDb3dPolylineVertex*> result;
    for (ZcDb3dPolylineVertex* v : vertices(pl))
      if (v->type_ != ZcDb::k3dFitVertex) result.push_back(v);
    return result;
  }

  static Zcad::ErrorStatus beginModify(ZcDb3dPolyline& pl) {
    if (const Zcad::ErrorStatus es = pl.checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
    if (!pl.isDatabaseResident()) pl.vertices_->takeCopies();
    return Zcad::eOk;
  }

  static Zcad::ErrorStatus editVertices(const std::vector<ZcDb3dPolylineVertex*>& targets,
                                        const std::function<void(ZcDb3dPolylineVertex&, size_t)>& edit) {
    std::vector<ZcDbObjectId> ids;
    for (const ZcDb3dPolylineVertex* v : targets)
      if (v->isDatabaseResident()) ids.push_back(v->objectId());
    std::vector<ZcDbObject*> opened;
    if (const Zcad::ErrorStatus es = vtcad::db::openAllForWrite(ids, opened); es != Zcad::eOk) return es;
    for (size_t i = 0; i < targets.size(); ++i) {
      targets[i]->assertWriteEnabled();
      edit(*targets[i], i);
    }
    vtcad::db::closeAll(opened);
    return Zcad::eOk;
  }

  static int splineSegs(const ZcDb3dPolyline& pl) {
    ZcDbDatabase* db = pl.database() ? pl.database() : zcdbHostApplicationServices()->workingDatabase();
    const int segs = db ? std::abs(static_cast<int>(db->splinesegs())) : 8;
    return std::max(1, segs);
  }

  static Zcad::ErrorStatus refit(ZcDb3dPolyline& pl, ZcDb::Poly3dType type, int segs) {
    const std::vector<ZcDb3dPolylineVertex*> frameVertices = frame(pl);
    const ZcDb::Vertex3dType frameType = isSplineType(type) ? ZcDb::k3dControlVertex : ZcDb::k3dSimpleVertex;
    Zcad::ErrorStatus es =
        editVertices(frameVertices, [frameType](ZcDb3dPolylineVertex& v, size_t) { v.type_ = frameType; });
    if (es != Zcad::eOk) return es;
    std::vector<ZcDbVertex*> order;
    if (isSplineType(type) && frameVertices.size() >= 2) {
      ZcGePoint3dArray control;
      for (const ZcDb3dPolylineVertex* v : frameVertices) control.append(v->position_);
      const ZcGePoint3dArray fit =
          vtcad::db::fitting::splineFitPoints(control, degreeOf(type), pl.closed_, segs);
      for (const ZcGePoint3d& p : fit) {
        auto* v = new ZcDb3dPolylineVertex(p);
        v->type_ = ZcDb::k3dFitVertex;
        order.push_back(v);
      }
    }
    order.insert(order.end(), frameVertices.begin(), frameVertices.end());
    es = pl.vertices_->replace(pl, order);
    if (es != Zcad::eOk) return es;
    pl.type_ = type;
    return Zcad::eOk;
  }
};

// ---------------------------------------------------------------------------------------------
// Construction and copies

ZcDb3dPolyline::ZcDb3dPolyline() : vertices_(std::make_unique<PolylineVertexList>()) {}

ZcDb3dPolyline::ZcDb3dPolyline(ZcDb::Poly3dType type, ZcGePoint3dArray& vertices, bool closed)
    : closed_(closed), vertices_(std::make_unique<PolylineVertexList>()) {
  for (int i = 0; i < vertices.length(); ++i) {
    const ZcGePoint3d& p = vertices[i];
    auto finite = [](double v) { return std::isfinite(v) ? v : 0.0; };
    vertices_->insertHeld(i, new ZcDb3dPolylineVertex(ZcGePoint3d(finite(p.x), finite(p.y), finite(p.z))));
  }
  if (isSplineType(type)) (void)Impl::refit(*this, type, Impl::splineSegs(*this));
}

ZcDb3dPolyline::ZcDb3dPolyline(const ZcDb3dPolyline& other)
    : ZcDbCurve(other),
      type_(other.type_),
      closed_(other.closed_),
      vertices_(std::make_unique<PolylineVertexList>(*other.vertices_)) {}

ZcDb3dPolyline& ZcDb3dPolyline::operator=(const ZcDb3dPolyline& other) {
  if (this == &other) return *this;
  ZcDbCurve::operator=(other);
  type_ = other.type_;
  closed_ = other.closed_;
  *vertices_ = *other.vertices_;
  return *this;
}

ZcDb3dPolyline::~ZcDb3dPolyline() = default;

void ZcDb3dPolyline::addedToDatabase() { vertices_->moveIntoDatabase(*this); }

Zcad::ErrorStatus ZcDb3dPolyline::subErase(bool erasing) { return vertices_->eraseAll(erasing); }

// ---------------------------------------------------------------------------------------------
// Type, closing, fitting

ZcDb::Poly3dType ZcDb3dPolyline::polyType() const {
  assertReadEnabled();
  return type_;
}

Zcad::ErrorStatus ZcDb3dPolyline::setPolyType(ZcDb::Poly3dType type) { return convertToPolyType(type); }

Zcad::ErrorStatus ZcDb3dPolyline::convertToPolyType(ZcDb::Poly3dType type) {
  if (type < ZcDb::k3dSimplePoly || type > ZcDb::k3dCubicSplinePoly) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, type, Impl::splineSegs(*this));
}

Zcad::ErrorStatus ZcDb3dPolyline::splineFit() {
  const ZcDb::Poly3dType type = isSplineType(type_) ? type_ : ZcDb::k3dCubicSplinePoly;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, type, Impl::splineSegs(*this));
}

Zcad::ErrorStatus ZcDb3dPolyline::splineFit(ZcDb::Poly3dType splineType, Zdesk::Int16 segs) {
  if (!isSplineType(splineType) || segs == 0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, splineType, std::abs(static_cast<int>(segs)));
}

Zcad::ErrorStatus ZcDb3dPolyline::straighten() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, ZcDb::k3dSimplePoly, Impl::splineSegs(*this));
}

Zcad::ErrorStatus ZcDb3dPolyline::makeClosed() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  closed_ = true;
  return isSplineType(type_) ? Impl::refit(*this, type_, Impl::splineSegs(*this)) : Zcad::eOk;
}

Zcad::ErrorStatus ZcDb3dPolyline::makeOpen() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  closed_ = false;
  return isSplineType(type_) ? Impl::refit(*this, type_, Impl::splineSegs(*this)) : Zcad::eOk;
}

bool ZcDb3dPolyline::isClosed() const {
  assertReadEnabled();
  return closed_;
}

// ---------------------------------------------------------------------------------------------
// Vertices

Zcad::ErrorStatus ZcDb3dPolyline::appendVertex(ZcDb3dPolylineVertex* vertex) {
  ZcDbObjectId id;
  return appendVertex(id, vertex);
}

Zcad::ErrorStatus ZcDb3dPolyline::appendVertex(ZcDbObjectId& vertexId, ZcDb3dPolylineVertex* vertex) {
  vertexId.setNull();
  if (!vertex) return Zcad::eNullObjectPointer;
  if (vertex->isDatabaseResident()) return Zcad::eAlreadyInDb;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  if (!isDatabaseResident()) {
    vertices_->insertHeld(static_cast<int>(vertices_->vertices(/*includeErased=*/true).size()), vertex);
    return Zcad::eOk;
  }
  return vertices_->insertResident(*this, vertices_->ids().length(), vertex, vertexId);
}

Zcad::ErrorStatus ZcDb3dPolyline::insertVertexAt(const ZcDb3dPolylineVertex* indexVertex,
                                                 ZcDb3dPolylineVertex* newVertex) {
  ZcDbObjectId newId;
  if (isDatabaseResident() && indexVertex) return insertVertexAt(newId, indexVertex->objectId(), newVertex);
  if (!newVertex) return Zcad::eNullObjectPointer;
  if (newVertex->isDatabaseResident()) return Zcad::eAlreadyInDb;
  const int at = indexVertex ? vertices_->indexOf(indexVertex) : -1;
  if (indexVertex && at < 0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  if (!isDatabaseResident()) {
    vertices_->insertHeld(at + 1, newVertex);
    return Zcad::eOk;
  }
  return vertices_->insertResident(*this, 0, newVertex, newId);
}

Zcad::ErrorStatus ZcDb3dPolyline::insertVertexAt(ZcDbObjectId& newVertexId, const ZcDbObjectId& indexVertexId,
                                                 ZcDb3dPolylineVertex* newVertex) {
  newVertexId.setNull();
  if (!newVertex) return Zcad::eNullObjectPointer;
  if (newVertex->isDatabaseResident()) return Zcad::eAlreadyInDb;
  if (!isDatabaseResident()) return Zcad::eNotInDatabase;
  const int at = indexVertexId.isNull() ? -1 : vertices_->indexOf(indexVertexId);
  if (!indexVertexId.isNull() && at < 0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return vertices_->insertResident(*this, at + 1, newVertex, newVertexId);
}

Zcad::ErrorStatus ZcDb3dPolyline::openVertex(ZcDb3dPolylineVertex*& vertex, ZcDbObjectId vertexId,
                                             ZcDb::OpenMode mode, bool openErased) const {
  vertex = nullptr;
  if (vertices_->indexOf(vertexId) < 0) return Zcad::eInvalidInput;
  return zcdbOpenObject(vertex, vertexId, mode, openErased);
}

Zcad::ErrorStatus ZcDb3dPolyline::openSequenceEnd(ZcDbSequenceEnd*& sequenceEnd, ZcDb::OpenMode mode) {
  sequenceEnd = nullptr;
  if (vertices_->sequenceEnd().isNull()) return Zcad::eNotInDatabase;
  return zcdbOpenObject(sequenceEnd, vertices_->sequenceEnd(), mode);
}

ZcDbObjectIterator* ZcDb3dPolyline::vertexIterator() const {
  assertReadEnabled();
  return vertices_->newIterator();
}

// ---------------------------------------------------------------------------------------------
// Curve interface (on the displayed points)

Zcad::ErrorStatus ZcDb3dPolyline::getStartParam(double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  if (chain.numVerts() == 0) return Zcad::eDegenerateGeometry;
  param = 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb3dPolyline::getEndParam(double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getEndParam(param);
}

Zcad::ErrorStatus ZcDb3dPolyline::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getStartPoint(point);
}

Zcad::ErrorStatus ZcDb3dPolyline::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getEndPoint(point);
}

Zcad::ErrorStatus ZcDb3dPolyline::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDb3dPolyline::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getParamAtPoint(point, param);
}

Zcad::ErrorStatus ZcDb3dPolyline::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getDistAtParam(ChainLengths(lengths), param, dist);
}

Zcad::ErrorStatus ZcDb3dPolyline::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getParamAtDist(ChainLengths(lengths), dist, param);
}

Zcad::ErrorStatus ZcDb3dPolyline::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getDistAtPoint(ChainLengths(lengths), point, dist);
}

Zcad::ErrorStatus ZcDb3dPolyline::getPointAtDist(double dist, ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getPointAtDist(ChainLengths(lengths), dist, point);
}

Zcad::ErrorStatus ZcDb3dPolyline::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDb3dPolyline::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getFirstDeriv(point, firstDeriv);
}

Zcad::ErrorStatus ZcDb3dPolyline::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getSecondDeriv(param, secDeriv);
}

Zcad::ErrorStatus ZcDb3dPolyline::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                    bool extend) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getClosestPointTo(givenPoint, pointOnCurve, extend);
}

Zcad::ErrorStatus ZcDb3dPolyline::getClosestPointTo(const ZcGePoint3d& givenPoint,
                                                    const ZcGeVector3d& direction, ZcGePoint3d& pointOnCurve,
                                                    bool /*extend*/) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getClosestPointTo(givenPoint, direction, pointOnCurve);
}

Zcad::ErrorStatus ZcDb3dPolyline::getArea(double& area) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getArea(area);
}

Zcad::ErrorStatus ZcDb3dPolyline::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getGeomExtents(extents);
}

Zcad::ErrorStatus ZcDb3dPolyline::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  const std::vector<ZcGePoint3d> points = Impl::shown(*this);
  isPlanar = false;
  if (points.empty()) return Zcad::eDegenerateGeometry;
  // Newell's normal of the closed polygon; points in a line (or one point) lie in many
  // planes: the one through them normal to the world axis they are least along.
  ZcGeVector3d normal;
  for (size_t i = 0; i < points.size(); ++i) {
    const ZcGeVector3d a = points[i] - points[0];
    const ZcGeVector3d b = points[(i + 1) % points.size()] - points[0];
    normal += a.crossProduct(b);
  }
  double size = 0.0;
  for (const ZcGePoint3d& p : points) size = std::max(size, p.distanceTo(points[0]));
  if (normal.length() <= 1e-12 * std::max(1.0, size * size)) {
    const ZcGeVector3d dir = points.back() - points[0];
    normal = dir.isZeroLength() ? ZcGeVector3d::kZAxis : dir.perpVector();
  }
  plane = ZcGePlane(points[0], normal.normal());
  const double tol = vtcad::db::kCurveRelTol * std::max(1.0, size);
  isPlanar = std::all_of(points.begin(), points.end(),
                         [&](const ZcGePoint3d& p) { return plane.distanceTo(p) <= tol; });
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb3dPolyline::getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const {
  assertReadEnabled();
  return vtcad::db::offsetSpatialPolyline(*this, Impl::shown(*this), closed_, offsetDist, offsetCurves);
}

Zcad::ErrorStatus ZcDb3dPolyline::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  const std::vector<ZcDb3dPolylineVertex*> frameVertices = Impl::frame(*this);
  ZcGePoint3dArray control;
  if (isSplineType(type_)) {
    for (const ZcDb3dPolylineVertex* v : frameVertices) control.append(v->position_);
  } else {
    for (const ZcGePoint3d& p : Impl::shown(*this)) control.append(p);
  }
  if (control.length() < 2) return Zcad::eDegenerateGeometry;
  // The spline types give the B-spline the fit vertices sample; a simple polyline is its own
  // degree-1 spline (knot i at vertex i, the closing segment included when closed).
  const int degree = isSplineType(type_) ? degreeOf(type_) : 1;
  ZcGeKnotVector knots;
  ZcGePoint3dArray ctrl;
  vtcad::db::fitting::splineDefinition(control, degree, closed_, knots, ctrl);
  const int p = vtcad::db::fitting::effectiveDegree(degree, control.length(), closed_);
  // A closed spline-fit frame gives a periodic spline (in the unwrapped form); a closed simple
  // polyline is clamped to its one period, a plain closed degree-1 spline.
  const bool periodic = closed_ && isSplineType(type_);
  auto* nurbs = new ZcGeNurbCurve3d(p, knots, ctrl, periodic);
  if (closed_ && !periodic) nurbs->hardTrimByParams(knots[p], knots[ctrl.length()]);
  curve = nurbs;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb3dPolyline::getSpline(ZcDbSpline*& spline) const {
  spline = nullptr;
  ZcGeCurve3d* curve = nullptr;
  const Zcad::ErrorStatus es = getZcGeCurve(curve);
  if (es != Zcad::eOk) return es;
  const Zcad::ErrorStatus made =
      vtcad::db::makeSplineForm(*static_cast<const ZcGeNurbCurve3d*>(curve), *this, spline);
  delete curve;
  return made;
}

Zcad::ErrorStatus ZcDb3dPolyline::reverseCurve() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  // Fit vertices and control vertices are reversed each in their group (fit ones first).
  std::vector<ZcDbVertex*> fit, frame;
  for (ZcDb3dPolylineVertex* v : Impl::vertices(*this))
    (v->type_ == ZcDb::k3dFitVertex ? fit : frame).push_back(v);
  std::vector<ZcDbVertex*> order;
  for (const std::vector<ZcDbVertex*>* group : {&fit, &frame}) {
    const int n = static_cast<int>(group->size());
    for (int j = 0; j < n; ++j)
      order.push_back((*group)[static_cast<size_t>(vtcad::db::PolylineReversal::vertexFrom(j, n, closed_))]);
  }
  return vertices_->replace(*this, order);
}

Zcad::ErrorStatus ZcDb3dPolyline::transformBy(const ZcGeMatrix3d& xform) {
  assertReadEnabled();
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(xform(r, c))) return Zcad::eInvalidInput;
  if (!vtcad::db::isAffine(xform)) return Zcad::eNotApplicable;
  for (const ZcDb3dPolylineVertex* v : Impl::vertices(*this))
    if (!zcgeIsFinite(xform * v->position_)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  // An affine map keeps straight segments straight and B-splines the B-splines of the mapped
  // control points, so every vertex (fit ones included) just moves.
  return Impl::editVertices(Impl::vertices(*this),
                            [&](ZcDb3dPolylineVertex& v, size_t) { v.position_ = xform * v.position_; });
}

// ---------------------------------------------------------------------------------------------
// Filing (the polyline's own fields; its vertices are objects of their own)

Zcad::ErrorStatus ZcDb3dPolyline::dwgOutFields(ZcDbDwgFiler* filer) const {
  const Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeInt16(static_cast<Zdesk::Int16>(type_));
  filer->writeBool(closed_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDb3dPolyline::dwgInFields(ZcDbDwgFiler* filer) {
  const Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Zdesk::Int16 type = 0;
  filer->readInt16(&type);
  filer->readBool(&closed_);
  if (type < ZcDb::k3dSimplePoly || type > ZcDb::k3dCubicSplinePoly) return Zcad::eFilerError;
  type_ = static_cast<ZcDb::Poly3dType>(type);
  return filer->filerStatus();
}
