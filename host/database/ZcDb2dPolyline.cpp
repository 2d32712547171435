#include "zcad/db/ZcDb2dPolyline.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <functional>

#include "database/CurveQueryRules.h"
#include "database/PolylineChain.h"
#include "database/PolylineFitting.h"
#include "database/PolylineVertexList.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbSequenceEnd.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using vtcad::db::ChainLengths;
using vtcad::db::PlaneMapping;
using vtcad::db::PolylineChain;
using vtcad::db::PolylinePlane;
using vtcad::db::PolylineVertexList;

namespace {

ZcRxObject* new2dPolyline() { return new ZcDb2dPolyline(); }

double finiteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

bool isSplineType(ZcDb::Poly2dType type) {
  return type == ZcDb::k2dQuadSplinePoly || type == ZcDb::k2dCubicSplinePoly;
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDb2dPolyline, ZcDbCurve, L"AcDb2dPolyline", L"POLYLINE", &new2dPolyline)

// Helpers with access to the vertices' fields (the polyline reads them without opening them).
struct ZcDb2dPolyline::Impl {
  // The displayed vertices: points and bulges side by side for a PolylineChain.
  struct Shown {
    std::vector<ZcGePoint2d> points;
    std::vector<double> bulges;
    std::vector<const ZcDb2dVertex*> vertices;
  };

  static std::vector<ZcDb2dVertex*> vertices(const ZcDb2dPolyline& pl) {
    std::vector<ZcDb2dVertex*> result;
    for (ZcDbVertex* v : pl.vertices_->vertices()) {
      if (ZcDb2dVertex* v2 = ZcDb2dVertex::cast(v)) result.push_back(v2);
    }
    return result;
  }

  static bool isGenerated(const ZcDb2dVertex* v) {
    return v->type_ == ZcDb::k2dSplineFitVertex || v->type_ == ZcDb::k2dCurveFitVertex;
  }

  static PolylinePlane plane(const ZcDb2dPolyline& pl) {
    return PolylinePlane::fromNormal(pl.normal_, pl.elevation_);
  }

  static Shown shown(const ZcDb2dPolyline& pl) {
    Shown s;
    const std::vector<ZcDb2dVertex*> all = vertices(pl);
    const bool spline =
        isSplineType(pl.type_) && std::any_of(all.begin(), all.end(), [](const ZcDb2dVertex* v) {
          return v->type_ == ZcDb::k2dSplineFitVertex;
        });
    for (const ZcDb2dVertex* v : all) {
      // A spline-fit polyline shows its fit vertices (a frame too short to fit shows itself).
      if (spline && v->type_ != ZcDb::k2dSplineFitVertex) continue;
      s.points.emplace_back(v->position_.x, v->position_.y);
      s.bulges.push_back(spline ? 0.0 : v->bulge_);
      s.vertices.push_back(v);
    }
    return s;
  }

  static PolylineChain chain(const ZcDb2dPolyline& pl, const Shown& s) {
    return PolylineChain::planar(s.points.data(), s.bulges.data(), static_cast<int>(s.points.size()),
                                 pl.closed_, plane(pl));
  }

  // The displayed vertices and the chain that views them (so it must not outlive them).
  struct View {
    explicit View(const ZcDb2dPolyline& pl) : shown(Impl::shown(pl)), chain(Impl::chain(pl, shown)) {}
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    const Shown shown;
    const PolylineChain chain;
  };

  // Checks the open state; a copy of a resident polyline takes its own vertices first.
  static Zcad::ErrorStatus beginModify(ZcDb2dPolyline& pl) {
    if (const Zcad::ErrorStatus es = pl.checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
    if (!pl.isDatabaseResident()) pl.vertices_->takeCopies();
    return Zcad::eOk;
  }

  // Applies `edit` to existing vertices: directly when held, through an open for write (so
  // undo records them) when they are database objects. Nothing changes when one cannot be
  // opened.
  static Zcad::ErrorStatus editVertices(const std::vector<ZcDb2dVertex*>& targets,
                                        const std::function<void(ZcDb2dVertex&, size_t)>& edit) {
    std::vector<ZcDbObjectId> ids;
    for (const ZcDb2dVertex* v : targets)
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

  static int splineSegs(const ZcDb2dPolyline& pl) {
    ZcDbDatabase* db = pl.database() ? pl.database() : zcdbHostApplicationServices()->workingDatabase();
    const int segs = db ? std::abs(static_cast<int>(db->splinesegs())) : 8;
    return std::max(1, segs);
  }

  static ZcDb2dVertex* newVertex(const ZcDb2dPolyline& pl, const ZcGePoint2d& p, ZcDb::Vertex2dType type) {
    auto* v = new ZcDb2dVertex(ZcGePoint3d(p.x, p.y, pl.elevation_));
    v->type_ = type;
    return v;
  }

  // Rebuilds the generated vertices for `type` from the frame (the vertices a user made).
  static Zcad::ErrorStatus refit(ZcDb2dPolyline& pl, ZcDb::Poly2dType type, int segs, bool dropBulges) {
    std::vector<ZcDb2dVertex*> frame;
    for (ZcDb2dVertex* v : vertices(pl))
      if (!isGenerated(v)) frame.push_back(v);
    std::vector<ZcGePoint2d> framePoints;
    for (const ZcDb2dVertex* v : frame) framePoints.emplace_back(v->position_.x, v->position_.y);

    std::vector<ZcDbVertex*> order;
    Zcad::ErrorStatus es = Zcad::eOk;
    if (type == ZcDb::k2dSimplePoly) {
      es = editVertices(frame, [&](ZcDb2dVertex& v, size_t) {
        v.type_ = ZcDb::k2dVertex;
        v.tangentUsed_ = false;
        if (dropBulges) v.bulge_ = 0.0;
      });
      order.assign(frame.begin(), frame.end());
    } else if (type == ZcDb::k2dFitCurvePoly) {
      const std::vector<vtcad::db::fitting::CurveFitVertex> fit =
          vtcad::db::fitting::curveFit(framePoints, pl.closed_);
      std::vector<const vtcad::db::fitting::CurveFitVertex*> frameFit;
      for (const auto& f : fit)
        if (f.isFrameVertex) frameFit.push_back(&f);
      es = editVertices(frame, [&](ZcDb2dVertex& v, size_t i) {
        v.type_ = ZcDb::k2dVertex;
        v.bulge_ = frameFit[i]->bulge;
        v.tangent_ = frameFit[i]->tangentAngle;
        v.tangentUsed_ = true;
      });
      size_t frameIndex = 0;
      for (const auto& f : fit) {
        if (f.isFrameVertex) {
          order.push_back(frame[frameIndex++]);
          continue;
        }
        const ZcDb2dVertex* owner = frame[frameIndex - 1];
        ZcDb2dVertex* junction = newVertex(pl, f.point, ZcDb::k2dCurveFitVertex);
        junction->bulge_ = f.bulge;
        junction->tangent_ = f.tangentAngle;
        junction->startWidth_ = owner->endWidth_;
        junction->endWidth_ = owner->endWidth_;
        order.push_back(junction);
      }
    } else {
      ZcGePoint3dArray control;
      for (const ZcGePoint2d& p : framePoints) control.append(ZcGePoint3d(p.x, p.y, 0.0));
      const int degree = type == ZcDb::k2dQuadSplinePoly ? 2 : 3;
      const ZcGePoint3dArray fitPoints =
          vtcad::db::fitting::splineFitPoints(control, degree, pl.closed_, segs);
      es = editVertices(frame, [&](ZcDb2dVertex& v, size_t) {
        v.type_ = ZcDb::k2dSplineCtlVertex;
        v.tangentUsed_ = false;
      });
      // Widths taper from the first frame vertex's start width to the last one's end width.
      const double startWidth = frame.empty() ? 0.0 : frame.front()->startWidth_;
      const double endWidth = frame.empty() ? 0.0 : frame.back()->endWidth_;
      const int count = fitPoints.length();
      if (frame.size() >= 2) {
        for (int k = 0; k < count; ++k) {
          ZcDb2dVertex* v = newVertex(pl, fitPoints[k].convert2d(), ZcDb::k2dSplineFitVertex);
          const double a = count > 1 ? static_cast<double>(k) / (count - 1) : 0.0;
          const double b = count > 1 ? static_cast<double>(k + 1) / (count - 1) : 0.0;
          v->startWidth_ = startWidth + (endWidth - startWidth) * std::min(a, 1.0);
          v->endWidth_ = startWidth + (endWidth - startWidth) * std::min(b, 1.0);
          order.push_back(v);
        }
      }
      order.insert(order.end(), frame.begin(), frame.end());
    }
    if (es != Zcad::eOk) {
      for (ZcDbVertex* v : order)
        if (!v->isDatabaseResident() && std::find(frame.begin(), frame.end(), v) == frame.end()) delete v;
      return es;
    }
    es = pl.vertices_->replace(pl, order);
    if (es != Zcad::eOk) return es;
    pl.type_ = type;
    return Zcad::eOk;
  }
};

// ---------------------------------------------------------------------------------------------
// Construction and copies

ZcDb2dPolyline::ZcDb2dPolyline() : vertices_(std::make_unique<PolylineVertexList>()) {}

ZcDb2dPolyline::ZcDb2dPolyline(ZcDb::Poly2dType type, ZcGePoint3dArray& vertices, double elevation,
                               bool closed, double defStartWidth, double defEndWidth, ZcGeDoubleArray* bulges)
    : closed_(closed),
      elevation_(finiteOrZero(elevation)),
      defaultStartWidth_(std::fabs(finiteOrZero(defStartWidth))),
      defaultEndWidth_(std::fabs(finiteOrZero(defEndWidth))),
      vertices_(std::make_unique<PolylineVertexList>()) {
  for (int i = 0; i < vertices.length(); ++i) {
    const ZcGePoint3d& p = vertices[i];
    const double bulge = bulges && i < bulges->length() ? finiteOrZero((*bulges)[i]) : 0.0;
    auto* v = new ZcDb2dVertex(ZcGePoint3d(finiteOrZero(p.x), finiteOrZero(p.y), elevation_), bulge,
                               defaultStartWidth_, defaultEndWidth_);
    vertices_->insertHeld(i, v);
  }
  if (type != ZcDb::k2dSimplePoly && (type == ZcDb::k2dFitCurvePoly || isSplineType(type)))
    (void)Impl::refit(*this, type, Impl::splineSegs(*this), /*dropBulges=*/false);
}

ZcDb2dPolyline::ZcDb2dPolyline(const ZcDb2dPolyline& other)
    : ZcDbCurve(other),
      type_(other.type_),
      closed_(other.closed_),
      plinegen_(other.plinegen_),
      elevation_(other.elevation_),
      thickness_(other.thickness_),
      defaultStartWidth_(other.defaultStartWidth_),
      defaultEndWidth_(other.defaultEndWidth_),
      normal_(other.normal_),
      vertices_(std::make_unique<PolylineVertexList>(*other.vertices_)) {}

ZcDb2dPolyline& ZcDb2dPolyline::operator=(const ZcDb2dPolyline& other) {
  if (this == &other) return *this;
  ZcDbCurve::operator=(other);
  type_ = other.type_;
  closed_ = other.closed_;
  plinegen_ = other.plinegen_;
  elevation_ = other.elevation_;
  thickness_ = other.thickness_;
  defaultStartWidth_ = other.defaultStartWidth_;
  defaultEndWidth_ = other.defaultEndWidth_;
  normal_ = other.normal_;
  *vertices_ = *other.vertices_;
  return *this;
}

ZcDb2dPolyline::~ZcDb2dPolyline() = default;

void ZcDb2dPolyline::addedToDatabase() { vertices_->moveIntoDatabase(*this); }

void ZcDb2dPolyline::moveVerticesIntoDatabase() { vertices_->moveIntoDatabase(*this); }

Zcad::ErrorStatus ZcDb2dPolyline::subErase(bool erasing) { return vertices_->eraseAll(erasing); }

ZcDbObjectIdArray ZcDb2dPolyline::ownedObjectIds() const { return vertices_->ownedIds(); }

Zcad::ErrorStatus ZcDb2dPolyline::shownVertices(std::vector<ShownVertex>& result) const {
  assertReadEnabled();
  const Impl::Shown s = Impl::shown(*this);
  result.clear();
  for (size_t i = 0; i < s.points.size(); ++i)
    result.push_back({s.points[i], s.bulges[i], s.vertices[i]->startWidth_, s.vertices[i]->endWidth_});
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Type and properties

ZcDb::Poly2dType ZcDb2dPolyline::polyType() const {
  assertReadEnabled();
  return type_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setPolyType(ZcDb::Poly2dType type) { return convertToPolyType(type); }

Zcad::ErrorStatus ZcDb2dPolyline::convertToPolyType(ZcDb::Poly2dType type) {
  if (type < ZcDb::k2dSimplePoly || type > ZcDb::k2dCubicSplinePoly) return Zcad::eInvalidInput;
  if (type == ZcDb::k2dSimplePoly && type_ == ZcDb::k2dSimplePoly) return checkedAssertWriteEnabled();
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  // Leaving a fitted type straightens the frame, as taking the fit off does.
  return Impl::refit(*this, type, Impl::splineSegs(*this), /*dropBulges=*/type == ZcDb::k2dSimplePoly);
}

Zcad::ErrorStatus ZcDb2dPolyline::makeClosed() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  closed_ = true;
  if (type_ == ZcDb::k2dSimplePoly) return Zcad::eOk;
  return Impl::refit(*this, type_, Impl::splineSegs(*this), /*dropBulges=*/false);
}

Zcad::ErrorStatus ZcDb2dPolyline::makeOpen() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  closed_ = false;
  if (type_ == ZcDb::k2dSimplePoly) return Zcad::eOk;
  return Impl::refit(*this, type_, Impl::splineSegs(*this), /*dropBulges=*/false);
}

bool ZcDb2dPolyline::isClosed() const {
  assertReadEnabled();
  return closed_;
}

double ZcDb2dPolyline::elevation() const {
  assertReadEnabled();
  return elevation_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setElevation(double elevation) {
  if (!std::isfinite(elevation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  elevation_ = elevation;
  return Zcad::eOk;
}

ZcGeVector3d ZcDb2dPolyline::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setNormal(const ZcGeVector3d& normal) {
  if (!zcgeIsFinite(normal)) return Zcad::eInvalidInput;
  const double len = normal.length();
  if (!(len > 0.0) || !std::isfinite(len)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  normal_ = normal / len;
  return Zcad::eOk;
}

double ZcDb2dPolyline::thickness() const {
  assertReadEnabled();
  return thickness_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setThickness(double thickness) {
  if (!std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  thickness_ = thickness;
  return Zcad::eOk;
}

double ZcDb2dPolyline::defaultStartWidth() const {
  assertReadEnabled();
  return defaultStartWidth_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setDefaultStartWidth(double width) {
  if (!std::isfinite(width)) return Zcad::eInvalidInput;
  if (width < 0.0) return Zcad::eNegativeValueNotAllowed;
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  defaultStartWidth_ = width;
  return Zcad::eOk;
}

double ZcDb2dPolyline::defaultEndWidth() const {
  assertReadEnabled();
  return defaultEndWidth_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setDefaultEndWidth(double width) {
  if (!std::isfinite(width)) return Zcad::eInvalidInput;
  if (width < 0.0) return Zcad::eNegativeValueNotAllowed;
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  defaultEndWidth_ = width;
  return Zcad::eOk;
}

bool ZcDb2dPolyline::isLinetypeGenerationOn() const {
  assertReadEnabled();
  return plinegen_;
}

Zcad::ErrorStatus ZcDb2dPolyline::setLinetypeGenerationOn() {
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  plinegen_ = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::setLinetypeGenerationOff() {
  if (const Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  plinegen_ = false;
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Vertices

Zcad::ErrorStatus ZcDb2dPolyline::appendVertex(ZcDb2dVertex* vertex) {
  ZcDbObjectId id;
  return appendVertex(id, vertex);
}

Zcad::ErrorStatus ZcDb2dPolyline::appendVertex(ZcDbObjectId& vertexId, ZcDb2dVertex* vertex) {
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

Zcad::ErrorStatus ZcDb2dPolyline::insertVertexAt(const ZcDb2dVertex* indexVertex, ZcDb2dVertex* newVertex) {
  ZcDbObjectId newId;
  if (!isDatabaseResident() || !indexVertex) {
    if (!newVertex) return Zcad::eNullObjectPointer;
    if (newVertex->isDatabaseResident()) return Zcad::eAlreadyInDb;
    const int at = indexVertex ? vertices_->indexOf(indexVertex) : -1;
    if (indexVertex && at < 0) return Zcad::eInvalidInput;
    if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
    if (!isDatabaseResident()) {
      // takeCopies may have replaced shared vertices: find the index vertex again by position.
      vertices_->insertHeld(at + 1, newVertex);
      return Zcad::eOk;
    }
    return vertices_->insertResident(*this, 0, newVertex, newId);
  }
  return insertVertexAt(newId, indexVertex->objectId(), newVertex);
}

Zcad::ErrorStatus ZcDb2dPolyline::insertVertexAt(ZcDbObjectId& newVertexId, const ZcDbObjectId& indexVertexId,
                                                 ZcDb2dVertex* newVertex) {
  newVertexId.setNull();
  if (!newVertex) return Zcad::eNullObjectPointer;
  if (newVertex->isDatabaseResident()) return Zcad::eAlreadyInDb;
  if (!isDatabaseResident()) return Zcad::eNotInDatabase;
  const int at = indexVertexId.isNull() ? -1 : vertices_->indexOf(indexVertexId);
  if (!indexVertexId.isNull() && at < 0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return vertices_->insertResident(*this, at + 1, newVertex, newVertexId);
}

Zcad::ErrorStatus ZcDb2dPolyline::openVertex(ZcDb2dVertex*& vertex, ZcDbObjectId vertexId,
                                             ZcDb::OpenMode mode, bool openErased) const {
  vertex = nullptr;
  if (vertices_->indexOf(vertexId) < 0) return Zcad::eInvalidInput;
  return zcdbOpenObject(vertex, vertexId, mode, openErased);
}

Zcad::ErrorStatus ZcDb2dPolyline::openSequenceEnd(ZcDbSequenceEnd*& sequenceEnd, ZcDb::OpenMode mode) {
  sequenceEnd = nullptr;
  if (vertices_->sequenceEnd().isNull()) return Zcad::eNotInDatabase;
  return zcdbOpenObject(sequenceEnd, vertices_->sequenceEnd(), mode);
}

ZcDbObjectIterator* ZcDb2dPolyline::vertexIterator() const {
  assertReadEnabled();
  return vertices_->newIterator();
}

ZcGePoint3d ZcDb2dPolyline::vertexPosition(const ZcDb2dVertex& vertex) const {
  assertReadEnabled();
  return Impl::plane(*this).toWorld(ZcGePoint2d(vertex.position_.x, vertex.position_.y));
}

// ---------------------------------------------------------------------------------------------
// Fitting

Zcad::ErrorStatus ZcDb2dPolyline::splineFit() {
  const ZcDb::Poly2dType type = isSplineType(type_) ? type_ : ZcDb::k2dCubicSplinePoly;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, type, Impl::splineSegs(*this), /*dropBulges=*/false);
}

Zcad::ErrorStatus ZcDb2dPolyline::splineFit(ZcDb::Poly2dType splineType, Zdesk::Int16 segs) {
  if (!isSplineType(splineType) || segs == 0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, splineType, std::abs(static_cast<int>(segs)), /*dropBulges=*/false);
}

Zcad::ErrorStatus ZcDb2dPolyline::curveFit() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, ZcDb::k2dFitCurvePoly, Impl::splineSegs(*this), /*dropBulges=*/false);
}

Zcad::ErrorStatus ZcDb2dPolyline::straighten() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  return Impl::refit(*this, ZcDb::k2dSimplePoly, Impl::splineSegs(*this), /*dropBulges=*/true);
}

// ---------------------------------------------------------------------------------------------
// Curve interface (on the displayed vertices)

Zcad::ErrorStatus ZcDb2dPolyline::getStartParam(double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  if (chain.numVerts() == 0) return Zcad::eDegenerateGeometry;
  param = 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::getEndParam(double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getEndParam(param);
}

Zcad::ErrorStatus ZcDb2dPolyline::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getStartPoint(point);
}

Zcad::ErrorStatus ZcDb2dPolyline::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getEndPoint(point);
}

Zcad::ErrorStatus ZcDb2dPolyline::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDb2dPolyline::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getParamAtPoint(point, param);
}

Zcad::ErrorStatus ZcDb2dPolyline::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getDistAtParam(ChainLengths(lengths), param, dist);
}

Zcad::ErrorStatus ZcDb2dPolyline::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getParamAtDist(ChainLengths(lengths), dist, param);
}

Zcad::ErrorStatus ZcDb2dPolyline::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getDistAtPoint(ChainLengths(lengths), point, dist);
}

Zcad::ErrorStatus ZcDb2dPolyline::getPointAtDist(double dist, ZcGePoint3d& point) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  std::vector<double> lengths;
  ChainLengths::build(chain, lengths);
  return chain.getPointAtDist(ChainLengths(lengths), dist, point);
}

Zcad::ErrorStatus ZcDb2dPolyline::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDb2dPolyline::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getFirstDeriv(point, firstDeriv);
}

Zcad::ErrorStatus ZcDb2dPolyline::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getSecondDeriv(param, secDeriv);
}

Zcad::ErrorStatus ZcDb2dPolyline::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                    bool extend) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getClosestPointTo(givenPoint, pointOnCurve, extend);
}

Zcad::ErrorStatus ZcDb2dPolyline::getClosestPointTo(const ZcGePoint3d& givenPoint,
                                                    const ZcGeVector3d& direction, ZcGePoint3d& pointOnCurve,
                                                    bool /*extend*/) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getClosestPointTo(givenPoint, direction, pointOnCurve);
}

Zcad::ErrorStatus ZcDb2dPolyline::getArea(double& area) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getArea(area);
}

Zcad::ErrorStatus ZcDb2dPolyline::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  const Impl::View view(*this);
  const PolylineChain& chain = view.chain;
  return chain.getGeomExtents(extents);
}

Zcad::ErrorStatus ZcDb2dPolyline::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane = ZcGePlane(ZcGePoint3d::kOrigin + normal_ * elevation_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  const Impl::Shown shown = Impl::shown(*this);
  if (shown.points.size() < 2) return Zcad::eDegenerateGeometry;
  const PolylinePlane plane = Impl::plane(*this);
  ZcGePoint3dArray world;
  ZcGeDoubleArray bulges;
  for (size_t i = 0; i < shown.points.size(); ++i) {
    world.append(plane.toWorld(shown.points[i]));
    bulges.append(shown.bulges[i]);
  }
  curve = new ZcGeNurbCurve3d(ZcGeNurbCurve3d::fromBulgePolyline(world, bulges, closed_, normal_));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::getSpline(ZcDbSpline*& spline) const {
  spline = nullptr;
  ZcGeCurve3d* curve = nullptr;
  const Zcad::ErrorStatus es = getZcGeCurve(curve);
  if (es != Zcad::eOk) return es;
  const Zcad::ErrorStatus made =
      vtcad::db::makeSplineForm(*static_cast<const ZcGeNurbCurve3d*>(curve), *this, spline);
  delete curve;
  return made;
}

Zcad::ErrorStatus ZcDb2dPolyline::reverseCurve() {
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  const std::vector<ZcDb2dVertex*> all = Impl::vertices(*this);
  // Spline-fit polylines keep their layout (fit vertices, then control vertices): each group
  // is reversed on its own. Otherwise the whole list is.
  std::vector<std::vector<ZcDb2dVertex*>> groups(1);
  if (isSplineType(type_)) {
    groups.assign(2, {});
    for (ZcDb2dVertex* v : all) groups[v->type_ == ZcDb::k2dSplineFitVertex ? 0 : 1].push_back(v);
  } else {
    groups[0] = all;
  }
  struct Segment {
    double bulge, startWidth, endWidth;
  };
  std::vector<ZcDb2dVertex*> order;
  std::vector<Segment> values;
  for (const std::vector<ZcDb2dVertex*>& group : groups) {
    const int n = static_cast<int>(group.size());
    for (int j = 0; j < n; ++j) {
      const ZcDb2dVertex* from =
          group[static_cast<size_t>(vtcad::db::PolylineReversal::segmentFrom(j, n, closed_))];
      values.push_back({-from->bulge_, from->endWidth_, from->startWidth_});
      order.push_back(group[static_cast<size_t>(vtcad::db::PolylineReversal::vertexFrom(j, n, closed_))]);
    }
  }
  const std::vector<ZcDb2dVertex*>& targets = order;
  const Zcad::ErrorStatus es = Impl::editVertices(targets, [&](ZcDb2dVertex& v, size_t i) {
    v.bulge_ = values[i].bulge;
    v.startWidth_ = values[i].startWidth;
    v.endWidth_ = values[i].endWidth;
    if (v.tangentUsed_) v.tangent_ += ZcGe::kPi;
  });
  if (es != Zcad::eOk) return es;
  return vertices_->replace(*this, std::vector<ZcDbVertex*>(order.begin(), order.end()));
}

Zcad::ErrorStatus ZcDb2dPolyline::transformBy(const ZcGeMatrix3d& xform) {
  assertReadEnabled();
  const PlaneMapping mapping = PlaneMapping::of(xform, Impl::plane(*this));
  if (mapping.status != Zcad::eOk) return mapping.status;
  const std::vector<ZcDb2dVertex*> all = Impl::vertices(*this);
  const bool hasArcs =
      std::any_of(all.begin(), all.end(), [](const ZcDb2dVertex* v) { return v->bulge_ != 0.0; });
  if (!mapping.conformal && hasArcs) return Zcad::eNotApplicable;
  std::vector<ZcGePoint2d> points;
  for (const ZcDb2dVertex* v : all) {
    points.push_back(mapping.map(ZcGePoint2d(v->position_.x, v->position_.y)));
    if (!std::isfinite(points.back().x) || !std::isfinite(points.back().y)) return Zcad::eInvalidInput;
  }
  const double thickness = thickness_ * mapping.thicknessScale;
  if (!std::isfinite(mapping.target.elevation) || !std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus es = Impl::beginModify(*this); es != Zcad::eOk) return es;
  // beginModify may have given a copy its own vertices: take the list again.
  const std::vector<ZcDb2dVertex*> targets = Impl::vertices(*this);
  const Zcad::ErrorStatus es = Impl::editVertices(targets, [&](ZcDb2dVertex& v, size_t i) {
    v.position_.set(points[i].x, points[i].y, mapping.target.elevation);
    if (mapping.flipped) v.bulge_ = -v.bulge_;
    v.startWidth_ *= mapping.widthScale;
    v.endWidth_ *= mapping.widthScale;
    v.tangent_ = mapping.mapAngle(v.tangent_);
  });
  if (es != Zcad::eOk) return es;
  elevation_ = mapping.target.elevation;
  normal_ = mapping.target.normal;
  thickness_ = thickness;
  defaultStartWidth_ *= mapping.widthScale;
  defaultEndWidth_ *= mapping.widthScale;
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Filing: the polyline's own fields and the ids of the objects it owns (the held vertices of
// a polyline outside a database are copied with it, not filed).

Zcad::ErrorStatus ZcDb2dPolyline::dwgOutFields(ZcDbDwgFiler* filer) const {
  const Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeInt16(static_cast<Zdesk::Int16>(type_));
  filer->writeBool(closed_);
  filer->writeBool(plinegen_);
  filer->writeDouble(elevation_);
  filer->writeDouble(thickness_);
  filer->writeDouble(defaultStartWidth_);
  filer->writeDouble(defaultEndWidth_);
  filer->writeVector3d(normal_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDb2dPolyline::dwgInFields(ZcDbDwgFiler* filer) {
  const Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Zdesk::Int16 type = 0;
  filer->readInt16(&type);
  filer->readBool(&closed_);
  filer->readBool(&plinegen_);
  filer->readDouble(&elevation_);
  filer->readDouble(&thickness_);
  filer->readDouble(&defaultStartWidth_);
  filer->readDouble(&defaultEndWidth_);
  filer->readVector3d(&normal_);
  if (type < ZcDb::k2dSimplePoly || type > ZcDb::k2dCubicSplinePoly) return Zcad::eFilerError;
  type_ = static_cast<ZcDb::Poly2dType>(type);
  return filer->filerStatus();
}
