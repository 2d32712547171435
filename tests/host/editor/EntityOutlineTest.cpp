#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "SelectionTestSupport.h"
#include "editor/EntityOutline.h"
#include "editor/SelectionGeometry.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGe.h"

// An entity kind the outline knows nothing about: only its extents.
class VtBoxOnlyEntity : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(VtBoxOnlyEntity)
  ZCDB_DECLARE_VALUE_COPY(VtBoxOnlyEntity)
  VtBoxOnlyEntity() = default;
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override {
    extents = ZcDbExtents(ZcGePoint3d(1, 2, 0), ZcGePoint3d(4, 6, 3));
    return Zcad::eOk;
  }

 protected:
  VtBoxOnlyEntity(const VtBoxOnlyEntity&) = default;
  VtBoxOnlyEntity& operator=(const VtBoxOnlyEntity&) = default;
};
ZCRX_DEFINE_MEMBERS_WITH_NAMES(VtBoxOnlyEntity, ZcDbEntity, L"VtBoxOnlyEntity", L"VT_BOX_ONLY",
                               []() -> ZcRxObject* { return new VtBoxOnlyEntity; })

namespace vtcad::editor {
namespace {

using testing::DrawingTest;

constexpr double kChord = 0.01;

// The largest plan-view distance from the curve (sampled densely) to the outline, and from
// the outline's vertices to the curve seen from above.
struct CurveFit {
  double curveToOutline = 0.0;
  double vertexToCurve = 0.0;
};

CurveFit fitOf(const ZcDbCurve& curve, const EntityOutline& outline) {
  CurveFit fit;
  double start = 0.0, end = 0.0;
  EXPECT_EQ(curve.getStartParam(start), Zcad::eOk);
  EXPECT_EQ(curve.getEndParam(end), Zcad::eOk);
  constexpr int kSamples = 2000;
  for (int i = 0; i <= kSamples; ++i) {
    ZcGePoint3d p;
    EXPECT_EQ(curve.getPointAtParam(start + (end - start) * i / kSamples, p), Zcad::eOk);
    fit.curveToOutline = std::max(fit.curveToOutline, distanceTo(outline, p.convert2d()));
  }
  for (const OutlinePart& part : outline.parts) {
    for (const ZcGePoint2d& v : part.points) {
      ZcGePoint3d onCurve;
      EXPECT_EQ(curve.getClosestPointTo(v.convert3d(), ZcGeVector3d::kZAxis, onCurve), Zcad::eOk);
      fit.vertexToCurve = std::max(fit.vertexToCurve, onCurve.convert2d().distanceTo(v));
    }
  }
  return fit;
}

class EntityOutlineTest : public DrawingTest {};

TEST_F(EntityOutlineTest, CurvesAreFollowedWithinTheChordTolerance) {
  const std::vector<std::pair<std::string, std::function<ZcDbCurve*()>>> curves = {
      {"line", [] { return new ZcDbLine(ZcGePoint3d(1, 2, 3), ZcGePoint3d(7, -4, 0)); }},
      {"arc",
       [] {
         return new ZcDbArc(ZcGePoint3d(5, 5, 0), /*radius=*/10.0, /*startAngle=*/0.3, /*endAngle=*/5.0);
       }},
      {"circle", [] { return new ZcDbCircle(ZcGePoint3d(-3, 4, 2), ZcGeVector3d::kZAxis, /*radius=*/25.0); }},
      {"tilted circle",
       [] { return new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d(1, 0, 1).normal(), /*radius=*/8.0); }},
      {"elliptical arc",
       [] {
         return new ZcDbEllipse(ZcGePoint3d(2, 2, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(12, 5, 0),
                                /*radiusRatio=*/0.3, /*startAngle=*/1.0, /*endAngle=*/5.5);
       }},
      {"fit spline",
       [] {
         return new ZcDbSpline(ZcGePoint3dArray{{0, 0, 0}, {5, 8, 1}, {10, -3, 0}, {15, 6, 2}, {20, 0, 0}});
       }},
      {"helix",
       [] {
         auto* helix = new ZcDbHelix();
         helix->setBaseRadius(6.0);
         helix->setTopRadius(2.0);
         return helix;
       }},
      {"polyline with bulges",
       [] {
         auto* pline = new ZcDbPolyline();
         pline->addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/0.5, /*startWidth=*/2.0, /*endWidth=*/2.0);
         pline->addVertexAt(1, ZcGePoint2d(10, 0), /*bulge=*/-1.0);
         pline->addVertexAt(2, ZcGePoint2d(20, 0), /*bulge=*/0.0);
         pline->addVertexAt(3, ZcGePoint2d(20, 10), /*bulge=*/2.0);
         pline->setClosed(true);
         return pline;
       }},
      {"2-D polyline with a bulge",
       [] {
         ZcGePoint3dArray points{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
         ZcGeDoubleArray bulges{1.0, 0.0, 0.0};
         return new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points, /*elevation=*/0.0, /*closed=*/false,
                                   /*defStartWidth=*/0.0, /*defEndWidth=*/0.0, &bulges);
       }},
      {"3-D polyline",
       [] {
         ZcGePoint3dArray points{{0, 0, 0}, {10, 0, 5}, {10, 10, -5}, {0, 10, 0}};
         return new ZcDb3dPolyline(ZcDb::k3dSimplePoly, points, /*closed=*/true);
       }},
  };
  for (const auto& [name, make] : curves) {
    SCOPED_TRACE(name);
    const std::unique_ptr<ZcDbCurve> curve(make());
    const EntityOutline outline = entityOutline(*curve, kChord);
    ASSERT_EQ(outline.status, OutlineStatus::kComplete);
    const CurveFit fit = fitOf(*curve, outline);
    EXPECT_LE(fit.curveToOutline, kChord * (1 + 1e-6));
    EXPECT_LE(fit.vertexToCurve, 1e-6);
  }
}

TEST_F(EntityOutlineTest, ACircleTakesAboutAsManyChordsAsItsToleranceNeeds) {
  const ZcDbCircle circle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/10.0);
  const double ideal = ZcGe::kPi / std::acos(1.0 - kChord / 10.0);
  const EntityOutline outline = entityOutline(circle, kChord);
  ASSERT_EQ(outline.parts.size(), 1u);
  EXPECT_TRUE(outline.parts[0].closed);
  EXPECT_GE(static_cast<double>(outline.vertexCount()), ideal);
  EXPECT_LE(static_cast<double>(outline.vertexCount()), 2.0 * ideal + 8.0);
}

TEST_F(EntityOutlineTest, PolylineWidthsAreIgnored) {
  ZcDbPolyline pline;
  pline.addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/0.0, /*startWidth=*/4.0, /*endWidth=*/4.0);
  pline.addVertexAt(1, ZcGePoint2d(10, 0));
  const EntityOutline outline = entityOutline(pline, kChord);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(5, 2)), 2.0, 1e-12) << "the centre line, not the wide band";
}

TEST_F(EntityOutlineTest, DegenerateCurvesAreTheirPoint) {
  const ZcDbCircle dot(ZcGePoint3d(3, 4, 0), ZcGeVector3d::kZAxis, /*radius=*/0.0);
  const ZcDbArc noSweep(ZcGePoint3d(0, 0, 0), /*radius=*/2.0, /*startAngle=*/1.0, /*endAngle=*/1.0);
  ZcDbPolyline oneVertex;
  oneVertex.addVertexAt(0, ZcGePoint2d(-1, -1));
  const ZcDbPoint point(ZcGePoint3d(7, 8, 9));
  const std::vector<std::pair<const ZcDbEntity*, ZcGePoint2d>> cases = {
      {&dot, {3, 4}},
      {&noSweep, {2 * std::cos(1.0), 2 * std::sin(1.0)}},
      {&oneVertex, {-1, -1}},
      {&point, {7, 8}}};
  for (const auto& [entity, where] : cases) {
    SCOPED_TRACE(entity->isA()->name());
    const EntityOutline outline = entityOutline(*entity, kChord);
    ASSERT_EQ(outline.vertexCount(), 1u);
    EXPECT_NEAR(outline.parts[0].points[0].distanceTo(where), 0.0, 1e-12);
  }
}

TEST_F(EntityOutlineTest, TextIsItsTurnedBox) {
  const ZcDbText text(ZcGePoint3d(5, 5, 0), L"Turned", ZcDbObjectId::kNull, /*height=*/2.0,
                      /*rotation=*/ZcGe::kPi / 6);
  ZcGePoint3dArray corners;
  ASSERT_EQ(text.getBoundingPoints(corners), Zcad::eOk);
  const EntityOutline outline = entityOutline(text, kChord);
  ASSERT_EQ(outline.parts.size(), 1u);
  const OutlinePart& box = outline.parts[0];
  EXPECT_TRUE(box.closed);
  ASSERT_EQ(box.points.size(), 4u);
  // Top-left, top-right, bottom-right, bottom-left: around the box, not across it.
  const int order[] = {0, 1, 3, 2};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(box.points[i].isEqualTo(corners[order[i]].convert2d()));

  ZcDbMText mtext;
  ASSERT_EQ(mtext.setContents(L"Two\\Plines"), Zcad::eOk);
  ASSERT_EQ(mtext.setRotation(1.0), Zcad::eOk);
  ASSERT_EQ(mtext.getBoundingPoints(corners), Zcad::eOk);
  const EntityOutline mbox = entityOutline(mtext, kChord);
  ASSERT_EQ(mbox.vertexCount(), 4u);
  EXPECT_TRUE(mbox.parts[0].points[2].isEqualTo(corners[3].convert2d()));
}

TEST_F(EntityOutlineTest, EmptyTextHasNoOutline) {
  const ZcDbText text(ZcGePoint3d(5, 5, 0), L"", ZcDbObjectId::kNull, /*height=*/2.0);
  EXPECT_EQ(entityOutline(text, kChord).status, OutlineStatus::kNoGeometry);
}

TEST_F(EntityOutlineTest, HatchIsItsLoops) {
  ZcDbHatch hatch;
  // A square whose top edge bulges up into a half circle of radius 1 about (1, 2).
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, ZcGePoint2dArray{{0, 0}, {2, 0}, {2, 2}, {0, 2}},
                             ZcGeDoubleArray{0, 0, 1, 0}),
            Zcad::eOk);
  ZcDbHatchEdgeArray island;
  island.append(ZcDbHatchEdge::circularArc(ZcGePoint2d(1, 1), /*radius=*/0.5, /*startAngle=*/0.0,
                                           /*endAngle=*/ZcGe::kTwoPi));
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, island), Zcad::eOk);
  const EntityOutline outline = entityOutline(hatch, kChord);
  ASSERT_EQ(outline.status, OutlineStatus::kComplete);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(1, 3)), 0.0, kChord) << "top of the bulge";
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(1, 1.5)), 0.0, kChord) << "top of the island";
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(1, 1)), 0.5, kChord) << "the fill itself is not drawn";
}

TEST_F(EntityOutlineTest, SolidHatchFillsItsLoopsButNotItsIslands) {
  ZcDbHatch hatch;
  ASSERT_EQ(hatch.setPattern(ZcDbHatch::kPreDefined, L"SOLID"), Zcad::eOk);
  ZcDbHatchEdgeArray square;
  square.append(ZcDbHatchEdge::line(ZcGePoint2d(0, 0), ZcGePoint2d(4, 0)));
  square.append(ZcDbHatchEdge::line(ZcGePoint2d(4, 0), ZcGePoint2d(4, 4)));
  square.append(ZcDbHatchEdge::line(ZcGePoint2d(4, 4), ZcGePoint2d(0, 4)));
  square.append(ZcDbHatchEdge::line(ZcGePoint2d(0, 4), ZcGePoint2d(0, 0)));
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, square), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcGePoint2dArray{{1, 1}, {2, 1}, {2, 2}, {1, 2}},
                             ZcGeDoubleArray{0, 0, 0, 0}),
            Zcad::eOk);
  const EntityOutline outline = entityOutline(hatch, kChord);
  ASSERT_EQ(outline.parts.size(), 2u);
  EXPECT_TRUE(outline.parts[0].closed) << "the edges of a loop make one closed part";
  EXPECT_EQ(outline.parts[0].points.size(), 4u) << "joints between edges are not repeated";
  EXPECT_EQ(distanceTo(outline, ZcGePoint2d(3, 3)), 0.0) << "in the fill";
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(1.5, 1.5)), 0.5, 1e-12) << "in the island";
}

TEST_F(EntityOutlineTest, UnknownKindsAreTheirExtentsBox) {
  const VtBoxOnlyEntity entity;
  const EntityOutline outline = entityOutline(entity, kChord);
  ASSERT_EQ(outline.parts.size(), 1u);
  EXPECT_TRUE(outline.parts[0].closed);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(1, 2)), 0.0, 1e-12);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(4, 6)), 0.0, 1e-12);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(2.5, 4)), 1.5, 1e-12);
}

TEST_F(EntityOutlineTest, ToleranceThatIsNotAFinitePositiveNumberGivesNothing) {
  const ZcDbLine line(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0));
  for (double tolerance : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")})
    EXPECT_EQ(entityOutline(line, tolerance).status, OutlineStatus::kNoGeometry) << tolerance;
}

class BlockOutlineTest : public DrawingTest {
 protected:
  ZcDbObjectId insert(ZcDbObjectId block, const ZcGePoint3d& at, double scale, double rotation,
                      ZcDbObjectId into = ZcDbObjectId::kNull) {
    auto* reference = new ZcDbBlockReference(at, block);
    EXPECT_EQ(reference->setScaleFactors(ZcGeScale3d(scale)), Zcad::eOk);
    EXPECT_EQ(reference->setRotation(rotation), Zcad::eOk);
    return append(reference, into);
  }
};

TEST_F(BlockOutlineTest, NestedBlocksAreCarriedByEveryTransformOnTheWay) {
  const ZcDbObjectId inner = addBlock(L"INNER");
  append(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/1.0), inner);
  const ZcDbObjectId outer = addBlock(L"OUTER");
  insert(inner, ZcGePoint3d(10, 0, 0), /*scale=*/50.0, /*rotation=*/0.0, outer);
  const ZcDbObjectId ref = insert(outer, ZcGePoint3d(100, 100, 0), /*scale=*/2.0, /*rotation=*/ZcGe::kHalfPi);

  // The circle: centre (10, 0) in OUTER lands on (100, 120); radius 1 * 50 * 2.
  const EntityOutline outline = outlineOf(ref, kChord);
  ASSERT_EQ(outline.status, OutlineStatus::kComplete);
  const ZcDbCircle world(ZcGePoint3d(100, 120, 0), ZcGeVector3d::kZAxis, /*radius=*/100.0);
  const CurveFit fit = fitOf(world, outline);
  EXPECT_LE(fit.curveToOutline, kChord * (1 + 1e-6))
      << "the tolerance holds in the world, after scaling by 100";
  EXPECT_LE(fit.vertexToCurve, 1e-6);
}

TEST_F(BlockOutlineTest, EntitiesTheBlockDoesNotShowAreLeftOut) {
  addLayer(L"FROZEN", {.frozen = true});
  addLayer(L"OFF", {.off = true});
  const ZcDbObjectId block = addBlock(L"B");
  const ZcDbObjectId shown = append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), block);
  putOnLayer(append(new ZcDbLine(ZcGePoint3d(0, 5, 0), ZcGePoint3d(1, 5, 0)), block), L"FROZEN");
  putOnLayer(append(new ZcDbLine(ZcGePoint3d(0, 6, 0), ZcGePoint3d(1, 6, 0)), block), L"OFF");
  auto* hidden = new ZcDbLine(ZcGePoint3d(0, 7, 0), ZcGePoint3d(1, 7, 0));
  hidden->setVisibility(ZcDb::kInvisible);
  append(hidden, block);
  ASSERT_FALSE(shown.isNull());

  const EntityOutline outline = outlineOf(insert(block, ZcGePoint3d(0, 0, 0), 1.0, 0.0), kChord);
  ASSERT_EQ(outline.parts.size(), 1u);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(0.5, 0)), 0.0, 1e-12);
}

TEST_F(BlockOutlineTest, ABlockInsertingItselfIsDrawnOncePerChain) {
  const ZcDbObjectId block = addBlock(L"LOOP");
  append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), block);
  insert(block, ZcGePoint3d(5, 0, 0), 1.0, 0.0, block);
  const EntityOutline outline = outlineOf(insert(block, ZcGePoint3d(0, 0, 0), 1.0, 0.0), kChord);
  EXPECT_EQ(outline.status, OutlineStatus::kComplete);
  EXPECT_EQ(outline.vertexCount(), 2u) << "the line; the inner insertion of the block adds nothing";
}

TEST_F(BlockOutlineTest, AHugeBlockStopsAtTheBudget) {
  // 30 * 30 * 30 lines: far more than the budget below.
  const ZcDbObjectId lines = addBlock(L"LINES");
  for (int i = 0; i < 30; ++i) append(new ZcDbLine(ZcGePoint3d(i, 0, 0), ZcGePoint3d(i, 1, 0)), lines);
  const ZcDbObjectId rows = addBlock(L"ROWS");
  for (int i = 0; i < 30; ++i) insert(lines, ZcGePoint3d(0, 2 * i, 0), 1.0, 0.0, rows);
  const ZcDbObjectId sheets = addBlock(L"SHEETS");
  for (int i = 0; i < 30; ++i) insert(rows, ZcGePoint3d(100 * i, 0, 0), 1.0, 0.0, sheets);
  const ZcDbObjectId ref = insert(sheets, ZcGePoint3d(0, 0, 0), 1.0, 0.0);

  const EntityOutline outline = outlineOf(ref, kChord, {.maxVertices = 500});
  EXPECT_EQ(outline.status, OutlineStatus::kTruncated);
  EXPECT_LE(outline.vertexCount(), 500u);
  EXPECT_NEAR(distanceTo(outline, ZcGePoint2d(0, 0.5)), 0.0, 1e-12) << "what was reached is there";
  EXPECT_FALSE(insideWindow(outline, ZcGePoint2d(-1, -1), ZcGePoint2d(1e4, 1e4)))
      << "a cut-short outline is never wholly inside";
  EXPECT_TRUE(crossesWindow(outline, ZcGePoint2d(-1, -1), ZcGePoint2d(1, 1)));
}

TEST_F(BlockOutlineTest, ACurveBeyondTheBudgetIsDrawnCoarserButWhole) {
  const ZcDbCircle circle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/10.0);
  const EntityOutline outline = entityOutline(circle, /*chordTolerance=*/1e-9, {.maxVertices = 50});
  EXPECT_EQ(outline.status, OutlineStatus::kComplete);
  EXPECT_LE(outline.vertexCount(), 50u);
  EXPECT_LE(fitOf(circle, outline).curveToOutline, 10.0 * (1 - std::cos(ZcGe::kPi / 24)));
}

TEST_F(BlockOutlineTest, NestingDeeperThanTheCapIsCut) {
  ZcDbObjectId block = addBlock(L"LEVEL0");
  append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), block);
  for (int level = 1; level <= 20; ++level) {
    const ZcDbObjectId outer = addBlock((L"LEVEL" + std::to_wstring(level)).c_str());
    insert(block, ZcGePoint3d(0, 0, 0), 1.0, 0.0, outer);
    block = outer;
  }
  const ZcDbObjectId ref = insert(block, ZcGePoint3d(0, 0, 0), 1.0, 0.0);
  EXPECT_EQ(outlineOf(ref, kChord, {.maxNesting = 16}).status, OutlineStatus::kTruncated);
  EXPECT_EQ(outlineOf(ref, kChord, {.maxNesting = 32}).status, OutlineStatus::kComplete);
}

}  // namespace
}  // namespace vtcad::editor
