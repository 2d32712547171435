// Loops are read in the hatch's plane and placed through that plane's matrix, so a hatch that
// is not in the world XY plane gets its boundary where it is. Arc edges are rebuilt
// counter-clockwise: a clockwise edge from angle a to angle b (measured clockwise) is the
// counter-clockwise arc from -b to -a, the same points (ellipses alike with their parameters).
#include "polyline/HatchBoundary.h"

#include <cmath>
#include <memory>
#include <numbers>

#include "frame/EntityPlacement.h"
#include "frame/FilteredSelection.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/SelectionSet.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/zced.h"
#include "zcad/zcut.h"

namespace veltrace {
namespace {

constexpr MessagePair kPrompt{L"\n请选择填充>", L"\nPlease select hatch >"};
constexpr MessagePair kNothing{L"\nNo hatch entities selected!", L"\nNo hatch entities selected!"};
constexpr MessagePair kNoEllipse{L"\nFailed to create an ellipse.", L"\nFailed to create an ellipse."};
constexpr MessagePair kNoSpline{L"\nFailed to create a spline.", L"\nFailed to create a spline."};
constexpr int kRed = 1;
// A circular edge this close to a whole turn is a circle.
constexpr double kFullTurnTolerance = 1e-5;

ZcGePoint3d raised(const ZcGePoint2d& p) { return ZcGePoint3d(p.x, p.y, 0.0); }

class BoundaryBuilder {
 public:
  explicit BoundaryBuilder(const ZcDbHatch& hatch)
      : toWorld_(ZcGeMatrix3d::planeToWorld(hatch.normal()) *
                 ZcGeMatrix3d::translation(ZcGeVector3d(0.0, 0.0, hatch.elevation()))) {}

  void polylineLoop(const ZcGePoint2dArray& vertices, const ZcGeDoubleArray& bulges) {
    if (vertices.length() == 0) return;
    auto pline = std::make_unique<ZcDbPolyline>();
    for (int i = 0; i < vertices.length(); ++i) {
      const double bulge = i < bulges.length() ? bulges[i] : 0.0;
      pline->addVertexAt(static_cast<unsigned int>(i), vertices[i], bulge, /*startWidth=*/-1.0,
                         /*endWidth=*/-1.0);
    }
    // The hatch's last vertex joins its first: without the closing segment the loop would not
    // be its boundary. A list that repeats its first vertex is already whole.
    if (vertices.length() > 2 && !vertices[0].isEqualTo(vertices[vertices.length() - 1]))
      pline->setClosed(true);
    place(std::move(pline));
  }

  void edge(const ZcDbHatchEdge& e) {
    switch (e.type()) {
      case ZcDbHatchEdge::kLine:
        place(std::make_unique<ZcDbLine>(raised(e.startPoint()), raised(e.endPoint())));
        return;
      case ZcDbHatchEdge::kCirArc: {
        const double sweep = e.endAngle() - e.startAngle();
        if (std::abs(sweep - 2.0 * std::numbers::pi) <= kFullTurnTolerance) {
          place(std::make_unique<ZcDbCircle>(raised(e.center()), ZcGeVector3d::kZAxis, e.radius()));
          return;
        }
        const bool ccw = e.isCounterClockwise();
        place(std::make_unique<ZcDbArc>(raised(e.center()), e.radius(), ccw ? e.startAngle() : -e.endAngle(),
                                        ccw ? e.endAngle() : -e.startAngle()));
        return;
      }
      case ZcDbHatchEdge::kEllArc: {
        const ZcGeVector2d major = e.majorAxis();
        auto ellipse =
            std::make_unique<ZcDbEllipse>(raised(e.center()), ZcGeVector3d::kZAxis,
                                          ZcGeVector3d(major.x, major.y, 0.0), e.minorMajorRatio());
        const bool ccw = e.isCounterClockwise();
        if (ellipse->isNull() || ellipse->setStartParam(ccw ? e.startAngle() : -e.endAngle()) != Zcad::eOk ||
            ellipse->setEndParam(ccw ? e.endAngle() : -e.startAngle()) != Zcad::eOk) {
          printBilingual(kNoEllipse.chinese, kNoEllipse.english);
          return;
        }
        place(std::move(ellipse));
        return;
      }
      case ZcDbHatchEdge::kSpline: {
        std::unique_ptr<ZcDbSpline> spline = splineOf(e);
        if (!spline || spline->isNull()) {
          printBilingual(kNoSpline.chinese, kNoSpline.english);
          return;
        }
        place(std::move(spline));
        return;
      }
    }
  }

 private:
  static std::unique_ptr<ZcDbSpline> splineOf(const ZcDbHatchEdge& e) {
    if (e.fitPoints().length() >= 2) {
      ZcGePoint3dArray fit;
      for (int i = 0; i < e.fitPoints().length(); ++i) fit.append(raised(e.fitPoints()[i]));
      const ZcGeVector2d s = e.startTangent(), t = e.endTangent();
      if (s.length() > 0.0 && t.length() > 0.0) {
        return std::make_unique<ZcDbSpline>(fit, ZcGeVector3d(s.x, s.y, 0.0), ZcGeVector3d(t.x, t.y, 0.0),
                                            /*order=*/e.degree() + 1);
      }
      return std::make_unique<ZcDbSpline>(fit, /*order=*/e.degree() + 1);
    }
    if (e.controlPoints().length() < 2) return nullptr;
    ZcGePoint3dArray controls;
    for (int i = 0; i < e.controlPoints().length(); ++i) controls.append(raised(e.controlPoints()[i]));
    const bool closed = e.controlPoints()[0].isEqualTo(e.controlPoints()[e.controlPoints().length() - 1]);
    return std::make_unique<ZcDbSpline>(e.degree(), e.isRational(), closed, /*periodic=*/false, controls,
                                        e.knots(), e.weights(), /*controlPtTol=*/0.0,
                                        /*knotTol=*/ZcGeContext::gTol.equalPoint());
  }

  void place(std::unique_ptr<ZcDbEntity> entity) {
    if (!toWorld_.isEqualTo(ZcGeMatrix3d::kIdentity)) entity->transformBy(toWorld_);
    entity->setColorIndex(kRed);
    if (appendToCurrentSpace(entity.get()).placed()) entity.release();
  }

  ZcGeMatrix3d toWorld_;
};

}  // namespace

void chbjCommand() {
  SelectionSet set;
  const ResbufChain filter(zcutBuildList(RTDXF0, L"HATCH", 0));
  if (!selectFiltered(set, kPrompt, filter, kNothing)) return;
  for (ZcDbObjectId id : selectionSetIds(set.name)) {
    ReadOpen<ZcDbHatch> hatch(id);
    if (!hatch.get()) continue;  // cannot be opened: passed over
    BoundaryBuilder builder(*hatch.get());
    for (int i = 0; i < hatch.get()->numLoops(); ++i) {
      Zdesk::Int32 type = 0;
      if (hatch.get()->loopTypeAt(i) & ZcDbHatch::kPolyline) {
        ZcGePoint2dArray vertices;
        ZcGeDoubleArray bulges;
        if (hatch.get()->getLoopAt(i, type, vertices, bulges) == Zcad::eOk)
          builder.polylineLoop(vertices, bulges);
        continue;
      }
      ZcDbHatchEdgeArray edges;
      if (hatch.get()->getLoopAt(i, type, edges) != Zcad::eOk) continue;
      for (int j = 0; j < edges.length(); ++j) builder.edge(edges[j]);
    }
  }
}

}  // namespace veltrace
