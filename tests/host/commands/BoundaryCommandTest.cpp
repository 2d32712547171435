// BOUNDARY through the command line and through zcedCommand, as a user and the plug-in see it.
#include <cmath>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace draw_test {
namespace {

constexpr double kPi = 3.14159265358979323846;

class BoundaryCommandTest : public DrawCommandTest {
 protected:
  // The closed polyline `id` is (the test fails when it is something else).
  struct Outline {
    unsigned int vertices = 0;
    double area = 0.0;
    std::vector<double> bulges;
    bool closed = false;
  };
  static Outline outlineOf(ZcDbObjectId id) {
    Opened<ZcDbPolyline> polyline(id);
    EXPECT_TRUE(polyline) << "not a lightweight polyline";
    Outline out;
    if (!polyline) return out;
    out.vertices = polyline->numVerts();
    out.closed = polyline->isClosed();
    EXPECT_EQ(polyline->getArea(out.area), Zcad::eOk);
    for (unsigned int i = 0; i < out.vertices; ++i) {
      double bulge = 0.0;
      polyline->getBulgeAt(i, bulge);
      out.bulges.push_back(bulge);
    }
    return out;
  }

  void setHidden(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
    entity->setVisibility(ZcDb::kInvisible);
    entity->close();
  }

  static void setShort(const wchar_t* name, int value) {
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(value);
    ASSERT_EQ(zcedSetVar(name, &rb), RTNORM);
  }

  static constexpr const wchar_t* kSquare = L"LINE 0,0 10,0 10,10 0,10 C\n";
};

TEST_F(BoundaryCommandTest, RectangleOfFourLinesGivesOneClosedPolylineOfItsArea) {
  run(kSquare);
  const size_t before = entities().size();
  run(L"BOUNDARY 5,5 \n");
  ASSERT_EQ(entities().size(), before + 1) << transcript_;
  const Outline made = outlineOf(entities().back());
  EXPECT_TRUE(made.closed);
  EXPECT_EQ(made.vertices, 4u);
  EXPECT_NEAR(made.area, 100.0, 1e-9);
  EXPECT_TRUE(said("BOUNDARY created 1 polyline")) << transcript_;
}

TEST_F(BoundaryCommandTest, CircleGivesTwoHalfCircleBulgesOfTheCirclesArea) {
  run(L"CIRCLE 3,4 2.5\n");
  run(L"-BOUNDARY 3,4 \n");
  ASSERT_EQ(entities().size(), 2u) << transcript_;
  const Outline made = outlineOf(entities().back());
  ASSERT_EQ(made.vertices, 2u);
  EXPECT_NEAR(std::abs(made.bulges[0]), 1.0, 1e-12);
  EXPECT_NEAR(std::abs(made.bulges[1]), 1.0, 1e-12);
  EXPECT_NEAR(made.area, kPi * 2.5 * 2.5, 1e-9 * kPi * 2.5 * 2.5);
}

TEST_F(BoundaryCommandTest, NestedSquaresGiveTheIslandOnlyWithIslandDetection) {
  run(kSquare);
  run(L"LINE 3,3 7,3 7,7 3,7 C\n");
  run(L"BOUNDARY 1,1 \n");
  ASSERT_EQ(entities().size(), 10u) << transcript_;
  const std::vector<ZcDbObjectId> all = entities();
  EXPECT_NEAR(outlineOf(all[8]).area, 100.0, 1e-9) << "the outer ring comes first";
  EXPECT_NEAR(outlineOf(all[9]).area, 16.0, 1e-9);
  EXPECT_TRUE(said("BOUNDARY created 2 polylines")) << transcript_;

  setShort(L"HPISLANDDETECTIONMODE", 0);
  run(L"BOUNDARY 1,1 \n");
  ASSERT_EQ(entities().size(), 11u) << transcript_;
  EXPECT_NEAR(outlineOf(entities().back()).area, 100.0, 1e-9);
}

TEST_F(BoundaryCommandTest, IgnoreStyleLeavesIslandsOut) {
  run(kSquare);
  run(L"CIRCLE 5,5 1\n");
  setShort(L"HPISLANDDETECTION", 2);
  run(L"BOUNDARY 1,1 \n");
  ASSERT_EQ(entities().size(), 6u) << transcript_;
  EXPECT_NEAR(outlineOf(entities().back()).area, 100.0, 1e-9);
}

TEST_F(BoundaryCommandTest, AdvancedOptionsTurnIslandDetectionOff) {
  run(kSquare);
  run(L"CIRCLE 5,5 1\n");
  run(L"BOUNDARY A I N X 1,1 \n");
  ASSERT_EQ(entities().size(), 6u) << transcript_;
  EXPECT_NEAR(outlineOf(entities().back()).area, 100.0, 1e-9);
}

TEST_F(BoundaryCommandTest, RoomWithADoorSwingArc) {
  // Walls of a 10 x 8 room with a door gap from (3,0) to (4,0); the door leaf stands open
  // outwards at (3,0)-(3,-1) and its swing is the quarter arc from it to the gap's far side.
  run(L"LINE 0,0 3,0 \nLINE 4,0 10,0 10,8 0,8 0,0 \n");
  run(L"LINE 3,0 3,-1 \n");
  run(L"ARC C 3,0 3,-1 4,0\n");
  const size_t before = entities().size();
  run(L"BOUNDARY 5,4 \n");
  ASSERT_EQ(entities().size(), before + 1) << transcript_;
  const Outline room = outlineOf(entities().back());
  EXPECT_NEAR(room.area, 80.0 + kPi / 4.0, 1e-9) << "the room takes in the door's swing";
  int arcs = 0;
  for (double bulge : room.bulges) arcs += bulge != 0.0 ? 1 : 0;
  EXPECT_EQ(arcs, 1) << "the swing is one exact arc";

  run(L"BOUNDARY 3.5,-0.3 \n");
  ASSERT_EQ(entities().size(), before + 2) << transcript_;
  EXPECT_NEAR(outlineOf(entities().back()).area, 80.0 + kPi / 4.0, 1e-9) << "the same region";
}

TEST_F(BoundaryCommandTest, PointOutsideEverythingMakesNothing) {
  run(kSquare);
  const int groups = db_->undoGroupCount();
  run(L"BOUNDARY 50,50 \n");
  EXPECT_EQ(entities().size(), 4u);
  EXPECT_TRUE(said("Valid hatch boundary not found.")) << transcript_;
  EXPECT_EQ(db_->undoGroupCount(), groups) << "nothing changed";
}

TEST_F(BoundaryCommandTest, HiddenWallOpensTheRoom) {
  run(kSquare);
  setHidden(entities()[1]);
  run(L"BOUNDARY 5,5 \n");
  EXPECT_EQ(entities().size(), 4u);
  EXPECT_TRUE(said("Valid hatch boundary not found.")) << transcript_;
}

TEST_F(BoundaryCommandTest, WallOnALayerTurnedOffOpensTheRoom) {
  run(kSquare);
  {
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db_->getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
    auto* off = new ZcDbLayerTableRecord();
    off->setName(L"Off");
    off->setIsOff(true);
    ASSERT_EQ(layers->add(off), Zcad::eOk);
    off->close();
    layers->close();
    ZcDbEntity* wall = nullptr;
    ASSERT_EQ(zcdbOpenObject(wall, entities()[2], ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(wall->setLayer(L"Off"), Zcad::eOk);
    wall->close();
  }
  run(L"BOUNDARY 5,5 \n");
  EXPECT_TRUE(said("Valid hatch boundary not found.")) << transcript_;
}

TEST_F(BoundaryCommandTest, CurvesInsideBlockReferencesCount) {
  // A block of two sides of a unit square; two references, one turned half round about the
  // middle, close it into a 4 x 4 square.
  ZcDbBlockTable* table = nullptr;
  ASSERT_EQ(db_->getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
  auto* block = new ZcDbBlockTableRecord;
  block->setName(L"CORNER");
  ZcDbObjectId blockId;
  ASSERT_EQ(table->add(blockId, block), Zcad::eOk);
  table->close();
  for (auto [a, b] : {std::pair{ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)},
                      std::pair{ZcGePoint3d(1, 0, 0), ZcGePoint3d(1, 1, 0)}}) {
    auto* line = new ZcDbLine(a, b);
    ASSERT_EQ(block->appendZcDbEntity(line), Zcad::eOk);
    line->close();
  }
  block->close();
  run(L"INSERT CORNER 0,0 4 4 0\nINSERT CORNER 4,4 4 4 180\n");
  run(L"BOUNDARY 2,2 \n");
  ASSERT_EQ(entities().size(), 3u) << transcript_;
  EXPECT_NEAR(outlineOf(entities().back()).area, 16.0, 1e-9);
}

TEST_F(BoundaryCommandTest, SeveralPicksMakePolylinesInPickOrderAndCancelMakesNone) {
  run(kSquare);
  run(L"LINE 5,0 5,10 \n");
  run(L"BOUNDARY 2,2 7,7 \n");
  ASSERT_EQ(entities().size(), 7u) << transcript_;
  EXPECT_NEAR(outlineOf(entities()[5]).area, 50.0, 1e-9);
  EXPECT_NEAR(outlineOf(entities()[6]).area, 50.0, 1e-9);
  EXPECT_TRUE(said("BOUNDARY created 2 polylines")) << transcript_;

  run(L"BOUNDARY 2,2\n^C\n");
  EXPECT_EQ(entities().size(), 7u) << "a cancelled BOUNDARY adds nothing";
}

TEST_F(BoundaryCommandTest, DrivenFromCodeTheNewPolylineIsTheLastEntity) {
  run(kSquare);
  zds_point pick = {5.0, 5.0, 0.0};
  EXPECT_EQ(zcedCommand(RTSTR, L"_BOUNDARY", RT3DPOINT, pick, RTSTR, L"", RTNONE), RTNORM);
  zds_name last;
  ASSERT_EQ(zcdbEntLast(last), RTNORM);
  ZcDbObjectId id;
  ASSERT_EQ(zcdbGetObjectId(id, last), Zcad::eOk);
  EXPECT_EQ(id, entities().back());
  EXPECT_NEAR(outlineOf(id).area, 100.0, 1e-9);
}

TEST_F(BoundaryCommandTest, UTakesTheBoundariesBack) {
  run(kSquare);
  run(L"BOUNDARY 5,5 \n");
  ASSERT_EQ(entities().size(), 5u);
  run(L"U\n");
  EXPECT_EQ(entities().size(), 4u);
}

TEST_F(BoundaryCommandTest, OneBoundaryPerRoomSeesAWallHiddenBetweenTheCalls) {
  run(kSquare);
  run(L"LINE 5,0 5,10 \n");
  run(L"BOUNDARY 2,2 \nBOUNDARY 7,7 \n");
  ASSERT_EQ(entities().size(), 7u) << transcript_;
  EXPECT_NEAR(outlineOf(entities()[6]).area, 50.0, 1e-9);
  setHidden(entities()[4]);  // the middle wall: the two rooms become one
  run(L"BOUNDARY 7,7 \n");
  ASSERT_EQ(entities().size(), 8u) << transcript_;
  EXPECT_NEAR(outlineOf(entities().back()).area, 50.0, 1e-9)
      << "the boundaries made before still close the right room";
}

}  // namespace
}  // namespace draw_test
