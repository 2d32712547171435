// PLAFFECT on the command line: pushes, turns and shrinking by the distance from an influence
// curve, curves bent point by point, and one U taking a whole run back.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "affect/InfluenceDeformation.h"
#include "plugin/affect/AffectTestSupport.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

using InfluenceDeformationTest = AffectTest;

// The answers after the two selections: strength, distance, position, rotate, scale, rigid.
std::wstring answers(int strength, double reach, bool position, bool rotate, bool scale, bool rigid) {
  auto yn = [](bool b) { return std::wstring(b ? L"Y" : L"N"); };
  return std::to_wstring(strength) + L"\n" + std::to_wstring(reach) + L"\n" + yn(position) + L"\n" +
         yn(rotate) + L"\n" + yn(scale) + L"\n" + yn(rigid) + L"\n";
}

TEST_F(InfluenceDeformationTest, AVerticalLinePushesEntitiesAwayWithinItsReach) {
  const ZcDbObjectId wall = addLine({0, -50, 0}, {0, 50, 0});
  const ZcDbObjectId right = addCircle({4, 0, 0}, 1);
  const ZcDbObjectId left = addCircle({-4, 0, 0}, 1);
  const ZcDbObjectId far = addCircle({12, 0, 0}, 1);
  const std::wstring handles[] = {pick(right), pick(left), pick(far)};
  run(L"PLAFFECT\n" + pick(wall) + L"\n\n" + pick(right) + L"\n" + pick(left) + L"\n" + pick(far) + L"\n" +
      pick(wall) + L"\n\n" + answers(10, 10, true, false, false, true));
  reload();
  const double push = 5 * std::pow(0.6, 1.5);  // 2.3238
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 4u) << transcript_;
  EXPECT_TRUE(closeTo(centreOf(ids[1]), {4 + push, 0, 0}, 1e-9)) << transcript_;
  EXPECT_TRUE(closeTo(centreOf(ids[2]), {-4 - push, 0, 0}, 1e-9));
  EXPECT_TRUE(closeTo(centreOf(ids[3]), {12, 0, 0})) << "beyond the reach";
  Opened<ZcDbLine> line(ids[0]);
  EXPECT_TRUE(closeTo(line->startPoint(), {0, -50, 0})) << "the curve is not applied to itself";
}

TEST_F(InfluenceDeformationTest, ShrinkingAndTurningFollowTheDistanceAndOneUndoTakesTheRunBack) {
  const ZcDbObjectId wall = addLine({0, -50, 0}, {0, 50, 0});
  const ZcDbObjectId half = addCircle({5, 0, 0}, 1);       // D/2 from the line
  const ZcDbObjectId atReach = addCircle({10, 20, 0}, 1);  // D from it, not crossed within D
  auto* label = new ZcDbText(ZcGePoint3d(5, -10, 0), L"T", ZcDbObjectId(), 1.0, 0.0);
  const ZcDbObjectId text = addToModelSpace(label);
  double textCentreX = 0;
  {
    Opened<ZcDbText> t(text);
    ZcDbExtents box;
    ASSERT_EQ(t->getGeomExtents(box), Zcad::eOk);
    textCentreX = (box.minPoint().x + box.maxPoint().x) / 2;
  }
  const std::wstring script = L"PLAFFECT\n" + pick(wall) + L"\n\n" + pick(half) + L"\n" + pick(atReach) +
                              L"\n" + pick(text) + L"\n\n" + answers(10, 10, false, true, true, true);
  run(script);
  EXPECT_NEAR(radiusOf(half), std::sqrt(std::sin(std::numbers::pi / 4)), 1e-9) << transcript_;  // 0.8409
  EXPECT_NEAR(radiusOf(atReach), 1.0, 1e-12);
  {
    Opened<ZcDbText> turned(text);
    // A quarter turn at strength 1, less by the share of the reach: pi/4 at distance 5.
    EXPECT_NEAR(turned->rotation(), std::numbers::pi / 2 * (10 - textCentreX) / 10, 1e-9);
  }
  run(L"U\n");
  EXPECT_NEAR(radiusOf(half), 1.0, 1e-12);
  Opened<ZcDbText> back(text);
  EXPECT_NEAR(back->rotation(), 0.0, 1e-12);
}

TEST_F(InfluenceDeformationTest, CurvesThatAreNotRigidAreBentWhileTextsMoveAsWholes) {
  const ZcDbObjectId wall = addLine({0, -50, 0}, {0, 50, 0});
  const ZcDbObjectId ring = addCircle({3, 0, 0}, 2);
  const ZcDbObjectId untouched = addLine({30, 0, 0}, {40, 0, 0});  // no crossing within D
  auto* label = new ZcDbText(ZcGePoint3d(2, 5, 0), L"T", ZcDbObjectId(), 1.0, 0.0);
  const ZcDbObjectId text = addToModelSpace(label);
  ZcGePoint3d textBefore;
  {
    Opened<ZcDbText> t(text);
    textBefore = t->position();
  }
  run(L"PLAFFECT\n" + pick(wall) + L"\n\n" + pick(ring) + L"\n" + pick(untouched) + L"\n" + pick(text) +
      L"\n\n" + answers(10, 10, true, false, false, false));
  reload();
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 4u) << "the circle and the line are replaced: " << transcript_;
  Opened<ZcDbText> moved(ids[1]);
  ASSERT_TRUE(moved);
  EXPECT_GT(moved->position().x, textBefore.x + 0.5) << "pushed to +X as a whole";
  Opened<ZcDbSpline> bent(ids[2]);
  ASSERT_TRUE(bent) << "the circle comes back as a spline";
  EXPECT_GE(bent->numFitPoints(), 36) << "6 * SURFTAB1 samples";
  for (int i = 0; i < bent->numFitPoints(); ++i) {
    ZcGePoint3d p;
    bent->getFitPointAt(i, p);
    EXPECT_GT(p.x, 1.0 + 5 * std::pow(0.9, 1.5) - 1e-9) << "every sample pushed away from x = 0";
  }
  Opened<ZcDbLine> straight(ids[3]);
  ASSERT_TRUE(straight) << "unmoved samples on one line come back as a line";
  EXPECT_TRUE(closeTo(straight->endPoint(), {40, 0, 0}));
}

TEST(InfluenceScaleFactor, StaysPositiveAndKeepsFarEntitiesWhole) {
  // Over many distances: never zero (an entity on the curve would vanish), 1 at the reach and
  // from twice the reach on.
  for (int i = 0; i <= 1000; ++i) {
    const double d = i * 0.05;
    const double f = influenceScaleFactor(d, 10.0);
    EXPECT_GE(f, kSmallestInfluenceScale) << d;
    EXPECT_LE(f, 1.0) << d;
    if (d >= 20.0) {
      EXPECT_EQ(f, 1.0) << d;
    }
  }
  EXPECT_NEAR(influenceScaleFactor(10.0, 10.0), 1.0, 1e-15);
}

}  // namespace
}  // namespace veltrace::testing
