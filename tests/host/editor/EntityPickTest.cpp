#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "SelectionTestSupport.h"
#include "editor/EntityPick.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::editor {
namespace {

constexpr double kChord = 0.01;
using Ids = std::vector<ZcDbObjectId>;

class EntityPickTest : public testing::DrawingTest {
 protected:
  ZcDbObjectId line(const ZcGePoint2d& from, const ZcGePoint2d& to) {
    return append(new ZcDbLine(from.convert3d(), to.convert3d()));
  }
  Ids window(const ZcGePoint2d& a, const ZcGePoint2d& b) {
    return entitiesInWindow(db_, a, b, WindowMode::kWindow, kChord);
  }
  Ids crossing(const ZcGePoint2d& a, const ZcGePoint2d& b) {
    return entitiesInWindow(db_, a, b, WindowMode::kCrossing, kChord);
  }
};

TEST_F(EntityPickTest, DiagonalLineWhoseBoxOverlapsACrossingWindowIsNotTaken) {
  const ZcDbObjectId diagonal = line({0, 0}, {100, 100});
  EXPECT_TRUE(crossing({80, 5}, {95, 20}).empty()) << "inside the line's box, beside the line";
  EXPECT_EQ(crossing({45, 40}, {55, 60}), Ids{diagonal});
}

TEST_F(EntityPickTest, ArcBulgingIntoTheWindowCrossesButIsNotInside) {
  // Upper half circle of radius 10: its top (0, 10) reaches into the window, its ends do not.
  const ZcDbObjectId arc = append(new ZcDbArc(ZcGePoint3d(0, 0, 0), /*radius=*/10.0, 0.0, ZcGe::kPi));
  EXPECT_EQ(crossing({-2, 9}, {2, 12}), Ids{arc});
  EXPECT_TRUE(window({-2, 9}, {2, 12}).empty());
  EXPECT_TRUE(crossing({-2, 10.5}, {2, 12}).empty()) << "above the top";
}

TEST_F(EntityPickTest, CircleAroundTheWindowIsNotTaken) {
  const ZcDbObjectId circle =
      append(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/50.0));
  EXPECT_TRUE(crossing({-10, -10}, {10, 10}).empty());
  EXPECT_EQ(crossing({-10, 45}, {10, 55}), Ids{circle});
}

TEST_F(EntityPickTest, WindowTakesOnlyWholeEntitiesInDrawingOrder) {
  const ZcDbObjectId inside = line({1, 1}, {9, 9});
  line({5, 5}, {15, 5});
  const ZcDbObjectId alsoInside = line({2, 8}, {8, 2});
  EXPECT_EQ(window({0, 0}, {10, 10}), (Ids{inside, alsoInside}));
  EXPECT_EQ(window({10, 10}, {0, 0}), (Ids{inside, alsoInside})) << "corners in any order";
  EXPECT_EQ(crossing({0, 0}, {10, 10}).size(), 3u);
}

TEST_F(EntityPickTest, TurnedTextIsJudgedByItsTurnedBox) {
  const ZcDbObjectId text = append(new ZcDbText(ZcGePoint3d(0, 0, 0), L"WWWWWWWW", ZcDbObjectId::kNull,
                                                /*height=*/10.0, /*rotation=*/ZcGe::kPi / 4));
  ZcDbText* open = nullptr;
  ASSERT_EQ(zcdbOpenObject(open, text, ZcDb::kForRead), Zcad::eOk);
  ZcDbExtents extents;
  ASSERT_EQ(open->getGeomExtents(extents), Zcad::eOk);
  open->close();
  const ZcGePoint2d min = extents.minPoint().convert2d(), max = extents.maxPoint().convert2d();
  const double width = max.x - min.x, height = max.y - min.y;
  // The extents' bottom-right corner is empty: the text runs up the diagonal from the origin.
  const ZcGePoint2d emptyCorner(max.x - 0.1 * width, min.y + 0.1 * height);
  EXPECT_TRUE(crossing(emptyCorner - ZcGeVector2d(1, 1), emptyCorner + ZcGeVector2d(1, 1)).empty());
  const ZcGePoint2d middle = min + (max - min) * 0.5;
  EXPECT_EQ(crossing(middle - ZcGeVector2d(1, 1), middle + ZcGeVector2d(1, 1)), Ids{text})
      << "inside its box";
  EXPECT_EQ(window(min - ZcGeVector2d(1, 1), max + ZcGeVector2d(1, 1)), Ids{text});
}

TEST_F(EntityPickTest, BlockReferenceIsPickedByItsNestedGeometry) {
  const ZcDbObjectId inner = addBlock(L"INNER");
  append(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/1.0), inner);
  const ZcDbObjectId outer = addBlock(L"OUTER");
  append(new ZcDbBlockReference(ZcGePoint3d(10, 0, 0), inner), outer);
  auto* reference = new ZcDbBlockReference(ZcGePoint3d(100, 100, 0), outer);
  ASSERT_EQ(reference->setScaleFactors(ZcGeScale3d(2.0)), Zcad::eOk);
  ASSERT_EQ(reference->setRotation(ZcGe::kHalfPi), Zcad::eOk);
  const ZcDbObjectId ref = append(reference);

  // The circle lands about (100, 120) with radius 2.
  const PickResult onCircle = pickEntity(db_, ZcGePoint2d(102.1, 120), /*aperture=*/0.5, kChord);
  EXPECT_EQ(onCircle.id, ref);
  EXPECT_NEAR(onCircle.distance, 0.1, 2 * kChord);
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(100, 120), /*aperture=*/0.5, kChord).id.isNull()) << "the centre";
  EXPECT_EQ(crossing({101.5, 119}, {103, 121}), Ids{ref});
  EXPECT_TRUE(crossing({99.5, 119.5}, {100.5, 120.5}).empty());
}

TEST_F(EntityPickTest, PolylineIsPickedOnItsBulgeNotItsChord) {
  auto* pline = new ZcDbPolyline();
  // A half circle from (0, 0) to (10, 0) turning counter-clockwise: it dips to (5, -5).
  pline->addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/1.0);
  pline->addVertexAt(1, ZcGePoint2d(10, 0));
  const ZcDbObjectId id = append(pline);
  EXPECT_EQ(pickEntity(db_, ZcGePoint2d(5, -5.2), /*aperture=*/0.5, kChord).id, id);
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(5, 0), /*aperture=*/0.5, kChord).id.isNull());
  EXPECT_EQ(crossing({4, -6}, {6, -4.5}), Ids{id});
}

TEST_F(EntityPickTest, PickTakesTheNearestAndOnTiesTheLastDrawn) {
  const ZcDbObjectId nearer = line({0, 0.1}, {10, 0.1});
  line({0, 0.3}, {10, 0.3});
  PickResult picked = pickEntity(db_, ZcGePoint2d(5, 0), /*aperture=*/1.0, kChord);
  EXPECT_EQ(picked.id, nearer);
  EXPECT_NEAR(picked.distance, 0.1, 1e-12);

  // A copy on top of the nearer line wins the tie.
  const ZcDbObjectId copy = line({10, 0.1}, {0, 0.1});
  picked = pickEntity(db_, ZcGePoint2d(5, 0), /*aperture=*/1.0, kChord);
  EXPECT_EQ(picked.id, copy);
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(5, 5), /*aperture=*/1.0, kChord).id.isNull())
      << "outside the aperture";
}

TEST_F(EntityPickTest, InvisibleFrozenAndOffEntitiesAreNeverPicked) {
  addLayer(L"FROZEN", {.frozen = true});
  addLayer(L"OFF", {.off = true});
  putOnLayer(line({0, 0}, {10, 0}), L"FROZEN");
  const ZcDbObjectId off = line({0, 0}, {10, 0});
  putOnLayer(off, L"OFF");
  auto* invisible = new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0));
  invisible->setVisibility(ZcDb::kInvisible);
  append(invisible);
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(5, 0), /*aperture=*/1.0, kChord).id.isNull());
  EXPECT_TRUE(crossing({-1, -1}, {11, 1}).empty());
  EXPECT_TRUE(entitiesInPolygon(db_, {{-1, -1}, {11, -1}, {5, 3}}, WindowMode::kCrossing, kChord).empty());
  // The caller may still test off-layer entities by id (as "ALL" takes them).
  EXPECT_EQ(entitiesInWindow(Ids{off}, {-1, -1}, {11, 1}, WindowMode::kWindow, kChord), Ids{off});
}

TEST_F(EntityPickTest, PolygonScansTakeWholeOrTouchingEntities) {
  const ZcDbObjectId inside = line({1, 1}, {3, 1});
  const ZcDbObjectId across = line({2, 2}, {20, 2});
  line({30, 30}, {40, 40});
  const std::vector<ZcGePoint2d> triangle = {{0, 0}, {10, 0}, {0, 10}};
  EXPECT_EQ(entitiesInPolygon(db_, triangle, WindowMode::kWindow, kChord), Ids{inside});
  EXPECT_EQ(entitiesInPolygon(db_, triangle, WindowMode::kCrossing, kChord), (Ids{inside, across}));
  EXPECT_TRUE(entitiesInPolygon(db_, {{0, 0}, {10, 10}}, WindowMode::kCrossing, kChord).empty());
}

TEST_F(EntityPickTest, NonFiniteInputTakesNothing) {
  line({0, 0}, {10, 10});
  const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(nan, 0), 1.0, kChord).id.isNull());
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(5, 5), inf, kChord).id.isNull());
  EXPECT_TRUE(pickEntity(db_, ZcGePoint2d(5, 5), 1.0, nan).id.isNull());
  EXPECT_TRUE(crossing({-1, -1}, {inf, 20}).empty());
  EXPECT_TRUE(entitiesInWindow(db_, {-1, -1}, {20, 20}, WindowMode::kWindow, /*chordTolerance=*/0.0).empty());
  EXPECT_TRUE(entitiesInPolygon(db_, {{-1, -1}, {20, -1}, {nan, 20}}, WindowMode::kCrossing, kChord).empty());
}

// Regression: a crossing window over a horizontal line's extents (no height) took nothing.
TEST_F(EntityPickTest, AFlatCrossingWindowTakesWhatTouchesItsSegment) {
  const ZcDbObjectId across = line({5, -1}, {5, 1});
  const ZcDbObjectId along = line({2, 0}, {3, 0});
  line({20, -1}, {20, 1});
  line({5, 1}, {6, 2});
  EXPECT_EQ(crossing({0, 0}, {10, 0}), (Ids{across, along}));
  EXPECT_TRUE(window({0, 0}, {10, 0}).empty()) << "a window needs an area";
}

}  // namespace
}  // namespace vtcad::editor
