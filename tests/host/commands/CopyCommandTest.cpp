// COPY through the command line: several copies from one base point, Undo and Exit inside the
// command, arrays, the single mode, and copies of polylines that own vertex objects.
#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/zced.h"

namespace edit_test {
namespace {

class CopyCommandTest : public EditCommandTest {
 protected:
  // Centres of the live circles, in drawing order.
  std::vector<ZcGePoint3d> circleCenters() {
    std::vector<ZcGePoint3d> centers;
    for (ZcDbObjectId id : entities()) {
      Opened<ZcDbCircle> circle(id);
      if (circle) centers.push_back(circle->center());
    }
    return centers;
  }
};

TEST_F(CopyCommandTest, SecondPointsEachMakeACopyUntilEnterAndUTakesThemAllBack) {
  const ZcDbObjectId circle = addCircle({0, 0, 0}, /*radius=*/1);
  run(L"COPY " + pick(circle) + L" \n0,0\n10,0\n0,10\n5,5\n\n");
  const std::vector<ZcGePoint3d> centers = circleCenters();
  ASSERT_EQ(centers.size(), 4u) << transcript_;
  EXPECT_TRUE(near(centers[1], {10, 0, 0}));
  EXPECT_TRUE(near(centers[2], {0, 10, 0}));
  EXPECT_TRUE(near(centers[3], {5, 5, 0}));
  EXPECT_TRUE(said("Copy mode = Multiple"));

  run(L"U\n");
  EXPECT_EQ(circleCenters().size(), 1u) << "all copies of one COPY are one undo step";
}

TEST_F(CopyCommandTest, UndoInsideTheCommandTakesBackTheLastCopyOnly) {
  const ZcDbObjectId circle = addCircle({0, 0, 0}, /*radius=*/1);
  run(L"COPY " + pick(circle) + L" \n0,0\n10,0\n20,0\nU\n30,0\nX\n");
  const std::vector<ZcGePoint3d> centers = circleCenters();
  ASSERT_EQ(centers.size(), 3u) << transcript_;
  EXPECT_TRUE(near(centers[1], {10, 0, 0}));
  EXPECT_TRUE(near(centers[2], {30, 0, 0}));
}

TEST_F(CopyCommandTest, ArraySpacesCopiesByTheStepOrFitsThemIntoTheDistance) {
  const ZcDbObjectId circle = addCircle({0, 0, 0}, /*radius=*/1);
  run(L"COPY " + pick(circle) + L" \n0,0\nA\n4\n3,0\n\n");
  std::vector<ZcGePoint3d> centers = circleCenters();
  ASSERT_EQ(centers.size(), 4u) << transcript_;
  for (size_t i = 0; i < centers.size(); ++i) EXPECT_TRUE(near(centers[i], {3.0 * i, 0, 0}));

  run(L"U\n");
  run(L"COPY " + pick(circle) + L" \n0,0\nA\n5\nF\n0,8\n\n");
  centers = circleCenters();
  ASSERT_EQ(centers.size(), 5u) << transcript_;
  for (size_t i = 0; i < centers.size(); ++i) EXPECT_TRUE(near(centers[i], {0, 2.0 * i, 0}));
}

TEST_F(CopyCommandTest, SingleModeMakesOneCopyAndDisplacementCopiesOnce) {
  const ZcDbObjectId circle = addCircle({0, 0, 0}, /*radius=*/1);
  run(L"COPY " + pick(circle) + L" \nO\nS\n0,0\n7,0\n");
  EXPECT_EQ(circleCenters().size(), 2u) << transcript_;
  resbuf mode{};
  ASSERT_EQ(zcedGetVar(L"COPYMODE", &mode), RTNORM);
  EXPECT_EQ(mode.resval.rint, 1);

  run(L"COPY " + pick(circle) + L" \nD\n0,-4\n");
  const std::vector<ZcGePoint3d> centers = circleCenters();
  ASSERT_EQ(centers.size(), 3u) << transcript_;
  EXPECT_TRUE(near(centers[2], {0, -4, 0}));
}

TEST_F(CopyCommandTest, CopyOfA2dPolylineOwnsItsOwnVertices) {
  ZcGePoint3dArray points;
  points.append({0, 0, 0});
  points.append({5, 0, 0});
  points.append({5, 5, 0});
  const ZcDbObjectId original = add(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  run(L"COPY " + pick(original) + L" \n0,0\n0,10\n\n");
  const std::vector<ZcDbObjectId> all = entities();
  ASSERT_EQ(all.size(), 2u) << transcript_;

  const auto firstVertex = [](ZcDbObjectId id) {
    Opened<ZcDb2dPolyline> polyline(id);
    ZcDbObjectIterator* vertices = polyline->vertexIterator();
    vertices->start();
    const ZcDbObjectId vertex = vertices->objectId();
    delete vertices;
    return vertex;
  };
  EXPECT_NE(firstVertex(all[0]), firstVertex(all[1]));
  ZcGePoint3d start;
  {
    Opened<ZcDb2dPolyline> copy(all[1]);
    ASSERT_EQ(copy->getStartPoint(start), Zcad::eOk);
  }
  EXPECT_TRUE(near(start, {0, 10, 0}));
  {
    Opened<ZcDb2dPolyline> kept(original);
    ASSERT_EQ(kept->getStartPoint(start), Zcad::eOk);
  }
  EXPECT_TRUE(near(start, {0, 0, 0}));
}

}  // namespace
}  // namespace edit_test
