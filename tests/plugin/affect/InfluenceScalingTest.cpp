// plAffClick driven by a script: the lens moved by the host's MOVE, keys held and released
// between the passes, factors by distance, the stop at a tenth, and one U for a whole run.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "affect/ScaleFactorData.h"
#include "frame/ResbufChain.h"
#include "plugin/affect/AffectTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGeArrays.h"

namespace veltrace::testing {
namespace {

class InfluenceScalingTest : public AffectTest {
 protected:
  // A lens of radius 10 at the origin (reach 12) and the entities to scale: the script's start
  // up to the end of the selection.
  std::wstring start(ZcDbObjectId tool, std::initializer_list<ZcDbObjectId> affected) {
    std::wstring script = L"plAffClick\n" + pick(tool) + L"\n";
    for (ZcDbObjectId id : affected) script += pick(id) + L"\n";
    return script + L"\n";
  }
  static double storedFactor(ZcDbObjectId id) {
    Opened<ZcDbEntity> entity(id);
    return readScaleFactor(*entity);
  }
  static double widthOf(ZcDbObjectId id) {
    Opened<ZcDbEntity> entity(id);
    ZcDbExtents box;
    if (!entity || entity->getGeomExtents(box) != Zcad::eOk) return -1.0;
    return box.maxPoint().x - box.minPoint().x;
  }
  // The red copies the runs left.
  std::vector<ZcDbObjectId> lenses() const {
    std::vector<ZcDbObjectId> found;
    for (ZcDbObjectId id : modelSpace()) {
      Opened<ZcDbEntity> entity(id);
      if (entity->colorIndex() == 1) found.push_back(id);
    }
    return found;
  }
};

TEST_F(InfluenceScalingTest, CtrlEnlargesAndEscEndsThePassesAndTheFactorsAreSaved) {
  const ZcDbObjectId tool = addCircle({0, 0, 0}, 10);
  const ZcDbObjectId inside = addCircle({0, 0, 0}, 1);
  const ZcDbObjectId half = addCircle({16, 0, 0}, 1);  // 6 = D/2 outside the lens
  const ZcDbObjectId far = addCircle({40, 0, 0}, 1);
  // Pass 1 shrinks, pass 2 (Ctrl held) enlarges, pass 3 sees Esc after its move.
  run(start(tool, {inside, half, far}) + L"0,0\n~hold Ctrl\n0,0\n~release Ctrl\n~hold Esc\n0,0\n");
  const double shrink = std::sin(std::numbers::pi / 4) * 0.5 + 0.5;    // 0.8536
  const double enlarge = std::cos(std::numbers::pi / 4) * 0.25 + 1.0;  // 1.1768
  reload();
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 5u) << "the red copy stays: " << transcript_;
  EXPECT_NEAR(radiusOf(ids[1]), 0.5 * 1.25, 1e-9) << "inside: 0.5, then 1.25";
  EXPECT_NEAR(radiusOf(ids[2]), shrink * enlarge, 1e-9);
  EXPECT_NEAR(radiusOf(ids[3]), 1.0, 1e-12) << "farther than the reach";
  EXPECT_NEAR(storedFactor(ids[1]), 0.625, 1e-12) << "kept through the saved drawing";
  EXPECT_NEAR(storedFactor(ids[3]), 1.0, 1e-12);
  EXPECT_NEAR(radiusOf(ids[4]), 10.0, 1e-9) << "the red copy";
  EXPECT_TRUE(said("\nPress Ctrl to enlarge the entities, and press ESC to exit."));
}

TEST_F(InfluenceScalingTest, ShrinkingStopsAtATenthAndTheEndOfTheScriptEndsThePasses) {
  const ZcDbObjectId tool = addCircle({0, 0, 0}, 10);
  const ZcDbObjectId inside = addCircle({1, 1, 0}, 1);
  run(start(tool, {inside}) + L"0,0\n0,0\n0,0\n0,0\n0,0\n0,0\n");
  EXPECT_NEAR(radiusOf(inside), 0.0625, 1e-12) << "four passes at 0.5, then no more: " << transcript_;
  EXPECT_NEAR(storedFactor(inside), 0.0625, 1e-12);
  // Enlarging is never limited; once at a tenth or more, it shrinks again.
  run(start(tool, {inside}) + L"~hold Ctrl\n0,0\n0,0\n0,0\n~release Ctrl\n0,0\n");
  EXPECT_NEAR(storedFactor(inside), 0.0625 * 1.25 * 1.25 * 1.25 * 0.5, 1e-12) << transcript_;
}

TEST_F(InfluenceScalingTest, ShiftAndAltResizeTheLensInsteadOfMovingIt) {
  const ZcDbObjectId tool = addCircle({0, 0, 0}, 10);
  const ZcDbObjectId inside = addCircle({0, 0, 0}, 1);
  // Shift and Alt are read as a pass starts, before its point: a key held while one point is
  // given resizes the lens in the pass after it.
  run(start(tool, {inside}) + L"5,5\n~hold Shift\n0,0\n~hold Alt\n0,0\n~release\n0,0\n");
  const std::vector<ZcDbObjectId> red = lenses();
  ASSERT_EQ(red.size(), 1u) << transcript_;
  EXPECT_NEAR(radiusOf(red[0]), 10 * 1.2 * 0.8, 1e-9) << "Alt wins when both are held";
  EXPECT_TRUE(closeTo(centreOf(red[0]), {0, 0, 0}, 1e-9))
      << "moved to (5, 5) and back; the clicks do not move it";
  EXPECT_NEAR(radiusOf(inside), 0.0625, 1e-12) << "every pass scales, resizing or not";
}

TEST_F(InfluenceScalingTest, OneUndoTakesAWholeRunBack) {
  const ZcDbObjectId tool = addCircle({0, 0, 0}, 10);
  const ZcDbObjectId inside = addCircle({0, 0, 0}, 1);
  run(start(tool, {inside}) + L"30,0\n0,0\n");
  ASSERT_EQ(lenses().size(), 1u) << transcript_;
  ASSERT_LT(radiusOf(inside), 1.0);
  run(L"U\n");
  EXPECT_NEAR(radiusOf(inside), 1.0, 1e-12) << transcript_;
  EXPECT_TRUE(lenses().empty()) << "the red copy and both of its moves are taken back";
  EXPECT_NEAR(storedFactor(inside), 1.0, 1e-12);
}

TEST_F(InfluenceScalingTest, TextsHatchesAndBlockReferencesAreScaledAndRememberTheirFactors) {
  const ZcDbObjectId tool = addCircle({0, 0, 0}, 10);
  const ZcDbObjectId text =
      addToModelSpace(new ZcDbText(ZcGePoint3d(-2, -1, 0), L"AB", ZcDbObjectId(), 1.0, 0.0));
  auto* hatch = new ZcDbHatch;
  ZcGePoint2dArray loop;
  for (const ZcGePoint2d& p : {ZcGePoint2d(-3, -3), ZcGePoint2d(3, -3), ZcGePoint2d(0, 3)}) loop.append(p);
  ZcGeDoubleArray bulges;
  for (int i = 0; i < 3; ++i) bulges.append(0.0);
  hatch->appendLoop(ZcDbHatch::kExternal | ZcDbHatch::kPolyline, loop, bulges);
  hatch->setPattern(ZcDbHatch::kPreDefined, L"SOLID");
  const ZcDbObjectId fill = addToModelSpace(hatch);
  const ZcDbObjectId block = addBlock(L"MARK");
  add(block, new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 2.0));
  const ZcDbObjectId insert = addToModelSpace(new ZcDbBlockReference(ZcGePoint3d(1, 0, 0), block));
  const ZcDbObjectId kinds[] = {text, fill, insert};
  double widths[3] = {};
  for (int i = 0; i < 3; ++i) widths[i] = widthOf(kinds[i]);
  run(start(tool, {text, fill, insert}) + L"0,0\n");
  reload();
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 5u) << transcript_;
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(widthOf(ids[static_cast<size_t>(i) + 1]), widths[i] * 0.5, 1e-6) << i << " inside the lens";
    EXPECT_NEAR(storedFactor(ids[static_cast<size_t>(i) + 1]), 0.5, 1e-12) << i;
  }
}

TEST_F(InfluenceScalingTest, StoredFactorsSurviveOtherItemsOfTheApplication) {
  const ZcDbObjectId id = addCircle({0, 0, 0}, 1);
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(zcdbRegApp(kScaleFactorApp), RTNORM);
  resbuf* other = zcutBuildList(1001, kScaleFactorApp, 1000, L"Other", 1000, L"scalefactor", 1042, 3.0, 0);
  ASSERT_EQ(entity->setXData(other), Zcad::eOk);
  zcutRelRb(other);
  EXPECT_EQ(readScaleFactor(*entity), 1.0) << "the key is case-sensitive";
  ASSERT_EQ(writeScaleFactor(*entity, 0.25), Zcad::eOk);
  ASSERT_EQ(writeScaleFactor(*entity, 0.5), Zcad::eOk);
  EXPECT_EQ(readScaleFactor(*entity), 0.5);
  EXPECT_EQ(writeScaleFactor(*entity, std::nan("")), Zcad::eInvalidInput);
  ResbufChain chain(entity->xData(kScaleFactorApp));
  int items = 0;
  for (resbuf* rb = chain.get(); rb; rb = rb->rbnext) ++items;
  EXPECT_EQ(items, 6) << "the application, its three items and one pair";
  entity->close();
}

}  // namespace
}  // namespace veltrace::testing
