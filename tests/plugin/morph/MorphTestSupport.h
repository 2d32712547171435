#pragma once
// The morphing commands' tests: PLINT and PLARR on the command line, lightweight polylines to
// go between, and the shapes a script leaves, read back from a saved and reloaded drawing.
#include <initializer_list>
#include <utility>
#include <vector>

#include "dxf/DxfFile.h"
#include "morph/InterpolatedArray.h"
#include "morph/PolylineInterpolation.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {

// A polyline vertex as written: x, y and the bulge of the segment that starts there.
struct MorphVertex {
  double x, y, bulge;
};

// One shape read back: world points, bulges, closed flag.
struct MorphShape {
  std::vector<ZcGePoint3d> points;
  std::vector<double> bulges;
  bool closed = false;
};

class MorphTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    for (auto [name, body] : {std::pair{L"PLINT", &plintCommand}, {L"PLARR", &plarrCommand}}) {
      zcedRegCmds()->addCommand(L"MorphTest", name, name, 0, body);
    }
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"MorphTest");
    FrameTest::TearDown();
  }

  ZcDbObjectId addLwPolyline(std::initializer_list<MorphVertex> vertices, bool closed = false,
                             double elevation = 0.0) {
    auto* polyline = new ZcDbPolyline;
    unsigned int i = 0;
    for (const MorphVertex& v : vertices) polyline->addVertexAt(i++, ZcGePoint2d(v.x, v.y), v.bulge);
    polyline->setClosed(closed);
    polyline->setElevation(elevation);
    return addToModelSpace(polyline);
  }

  // The lightweight polylines of model space after a save and reload, in drawing order, the
  // first `skip` (the sources) left out.
  std::vector<MorphShape> savedShapes(size_t skip) const {
    vtcad::dxf::LoadResult reloaded = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    EXPECT_TRUE(reloaded.ok()) << reloaded.refusal;
    std::vector<MorphShape> shapes;
    if (!reloaded.ok()) return shapes;
    Opened<ZcDbBlockTableRecord> space(reloaded.database->modelSpaceId());
    size_t index = 0;
    for (ZcDbObjectId id : space->entityIds()) {
      if (id.isErased() || index++ < skip) continue;
      Opened<ZcDbPolyline> polyline(id);
      EXPECT_TRUE(polyline) << "only lightweight polylines are made";
      if (!polyline) continue;
      MorphShape shape;
      shape.closed = polyline->isClosed();
      for (unsigned int v = 0; v < polyline->numVerts(); ++v) {
        ZcGePoint3d point;
        double bulge = 0;
        polyline->getPointAt(v, point);
        polyline->getBulgeAt(v, bulge);
        shape.points.push_back(point);
        shape.bulges.push_back(bulge);
      }
      shapes.push_back(std::move(shape));
    }
    return shapes;
  }
};

}  // namespace veltrace::testing
