#pragma once
// The vertex tools' tests: the frame's fixture with PLYH, PLYH2 and PLYH3 on the command line
// (their bodies, the prologue left out), and polylines made and read back through the drawing.
#include <memory>
#include <vector>

#include "plugin/frame/FrameTestSupport.h"
#include "polyline/OptimizePolyline.h"
#include "polyline/VertexOptimisationCommands.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {

class VertexToolTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    vertexStatistics() = VertexStatistics();
    zcedRegCmds()->addCommand(L"VertexToolTest", L"PLYH", L"PLYH", 0, &plyhCommand);
    zcedRegCmds()->addCommand(L"VertexToolTest", L"PLYH2", L"PLYH2", 0, &plyh2Command);
    zcedRegCmds()->addCommand(L"VertexToolTest", L"PLYH3", L"PLYH3", 0, &plyh3Command);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"VertexToolTest");
    FrameTest::TearDown();
  }

  static ZcDbPolyline* lightweight(const std::vector<ZcGePoint2d>& points, bool closed = false,
                                   const std::vector<double>& bulges = {}) {
    auto* polyline = new ZcDbPolyline;
    for (unsigned int i = 0; i < points.size(); ++i) {
      polyline->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
    }
    polyline->setClosed(closed);
    return polyline;
  }
  ZcDbObjectId addLightweight(const std::vector<ZcGePoint2d>& points, bool closed = false) {
    return addToModelSpace(lightweight(points, closed));
  }
  ZcDbObjectId add2d(ZcGePoint3dArray points, bool closed = false,
                     ZcDb::Poly2dType type = ZcDb::k2dSimplePoly) {
    return addToModelSpace(new ZcDb2dPolyline(type, points, /*elevation=*/0.0, closed));
  }
  ZcDbObjectId add3d(ZcGePoint3dArray points, bool closed = false) {
    return addToModelSpace(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, points, closed));
  }
  ZcDbObjectId addLayer(const wchar_t* name) {
    ZcDbLayerTable* table = nullptr;
    ZcDbObjectId id;
    EXPECT_EQ(db_->getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbLayerTableRecord;
    record->setName(name);
    EXPECT_EQ(table->add(id, record), Zcad::eOk);
    record->close();
    table->close();
    return id;
  }

  // The live entities of a block (model space by default), in drawing order.
  std::vector<ZcDbObjectId> entitiesOf(ZcDbObjectId blockId = ZcDbObjectId()) const {
    Opened<ZcDbBlockTableRecord> block(blockId.isNull() ? db_->modelSpaceId() : blockId);
    std::vector<ZcDbObjectId> ids;
    for (const ZcDbObjectId id : block->entityIds()) {
      if (!id.isErased()) ids.push_back(id);
    }
    return ids;
  }
  // The world points of the vertices of any polyline; for old-style ones only the vertices of
  // `type` when one is given (erased vertex objects, still listed, are passed over).
  static std::vector<ZcGePoint3d> pointsOf(ZcDbObjectId id, int type = -1) {
    std::vector<ZcGePoint3d> points;
    Opened<ZcDbCurve> curve(id);
    if (auto* polyline = ZcDbPolyline::cast(curve.get())) {
      points.resize(polyline->numVerts());
      for (unsigned int i = 0; i < points.size(); ++i) polyline->getPointAt(i, points[i]);
      return points;
    }
    auto* flat = ZcDb2dPolyline::cast(curve.get());
    auto* spatial = ZcDb3dPolyline::cast(curve.get());
    if (!flat && !spatial) return points;
    std::unique_ptr<ZcDbObjectIterator> it(flat ? flat->vertexIterator() : spatial->vertexIterator());
    for (it->start(); !it->done(); it->step()) {
      if (it->objectId().isErased()) continue;
      if (auto* v = ZcDb2dVertex::cast(it->entity()); v && (type < 0 || v->vertexType() == type)) {
        points.push_back(flat->vertexPosition(*v));
      } else if (auto* w = ZcDb3dPolylineVertex::cast(it->entity());
                 w && (type < 0 || w->vertexType() == type)) {
        points.push_back(w->position());
      }
    }
    return points;
  }
};

}  // namespace veltrace::testing
