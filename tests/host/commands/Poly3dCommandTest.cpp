#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"

namespace draw_test {
namespace {

using Poly3dCommandTest = DrawCommandTest;

std::vector<ZcGePoint3d> vertices(const ZcDb3dPolyline& polyline) {
  std::vector<ZcGePoint3d> out;
  std::unique_ptr<ZcDbObjectIterator> it(polyline.vertexIterator());
  for (; !it->done(); it->step()) {
    ZcDb3dPolylineVertex* vertex = nullptr;
    if (polyline.openVertex(vertex, it->objectId(), ZcDb::kForRead) != Zcad::eOk) continue;
    out.push_back(vertex->position());
    vertex->close();
  }
  return out;
}

TEST_F(Poly3dCommandTest, PointsInSpaceUntilEnter) {
  run(L"3DPOLY 0,0,0 10,0,5 10,10,5\n\n");
  Opened<ZcDb3dPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  EXPECT_FALSE(polyline->isClosed());
  std::vector<ZcGePoint3d> points = vertices(*polyline);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_TRUE(near(points[1], {10, 0, 5}));
  double length = 0.0, end = 0.0;
  polyline->getEndParam(end);
  polyline->getDistAtParam(end, length);
  EXPECT_NEAR(length, std::sqrt(125.0) + 10.0, 1e-9);
}

TEST_F(Poly3dCommandTest, CloseAfterTwoSegmentsAndUndo) {
  std::string transcript = run(L"3DPOLY 0,0,0 10,0,0 20,0,0 U 10,10,10 C\n");
  EXPECT_NE(transcript.find("[Close/Undo]"), std::string::npos);
  Opened<ZcDb3dPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  EXPECT_TRUE(polyline->isClosed());
  std::vector<ZcGePoint3d> points = vertices(*polyline);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_TRUE(near(points[2], {10, 10, 10}));
}

TEST_F(Poly3dCommandTest, AStartPointAloneDrawsNothingAndUTakesThePolylineBack) {
  std::string transcript = run(L"3DPOLY 1,1,1\n\n");
  EXPECT_NE(transcript.find("nothing was drawn"), std::string::npos);
  EXPECT_TRUE(entities().empty());
  run(L"3DPOLY 0,0,0 1,1,1\n\nU\n");
  EXPECT_TRUE(entities().empty());
}

}  // namespace
}  // namespace draw_test
