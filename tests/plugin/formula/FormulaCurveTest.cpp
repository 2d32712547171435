// Formula curves drawn into the drawing: every entry makes one entity at its defaults and
// extremes, in both output modes, moved to the origin.
#include "formula/CurveThroughPoints.h"
#include "formula/FormulaCurve.h"
#include "formula/FormulaGenerators.h"
#include "frame/SystemVariables.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace veltrace::testing {
namespace {

class FormulaCurveDrawingTest : public FrameTest {
 protected:
  void TearDown() override {
    curveOutputAsSpline = true;
    FrameTest::TearDown();
  }
  static std::vector<ZcDbObjectId> draw(int number, const FormulaParameters& p, const ZcGePoint3d& origin) {
    return generateFormulaCurve(number - 1, p.p1, p.p2, p.p3, p.p4, origin);
  }
};

TEST_F(FormulaCurveDrawingTest, EveryEntryMakesOneEntityAtItsDefaultsAndExtremes) {
  const ZcGePoint3d origin(100, -50, 3);
  for (bool spline : {true, false}) {
    curveOutputAsSpline = spline;
    for (int entry = 0; entry < kFormulaCurveCount; ++entry) {
      const auto& slots = formulaCatalogue(/*chinese=*/false)[entry].params;
      const FormulaParameters lowest{slots[0].minimum, slots[1].minimum, slots[2].minimum, slots[3].minimum};
      const FormulaParameters highest{slots[0].maximum, slots[1].maximum, slots[2].maximum, slots[3].maximum};
      // Polylines at the defaults only: the host fits a rising one in time quadratic in its
      // vertices, and the largest take seconds.
      std::vector<FormulaParameters> cases{formulaDefaultParameters(entry)};
      if (spline) cases.insert(cases.end(), {lowest, highest});
      for (const FormulaParameters& p : cases) {
        SCOPED_TRACE(::testing::Message() << "entry " << entry + 1 << (spline ? " spline " : " polyline ")
                                          << p.p1 << " " << p.p2 << " " << p.p3 << " " << p.p4);
        const std::vector<ZcDbObjectId> ids = draw(entry + 1, p, origin);
        // Rolling a circle inside one of its own size leaves the pen on one point: no curve.
        if ((entry + 1 == 27 || entry + 1 == 28) && p.p1 == p.p2) {
          EXPECT_TRUE(ids.empty());
          continue;
        }
        ASSERT_EQ(ids.size(), 1u);
        Opened<ZcDbCurve> curve(ids.front());
        ASSERT_TRUE(curve);
        if (spline) {
          EXPECT_TRUE(ZcDbSpline::cast(curve.get()));
        } else {
          EXPECT_TRUE(ZcDbPolyline::cast(curve.get()) || ZcDb3dPolyline::cast(curve.get()));
        }
        // It starts at the first sample moved to the origin.
        ZcGePoint3d start;
        ASSERT_EQ(curve->getStartPoint(start), Zcad::eOk);
        const PointList samples = formulaCurveSamples(entry, p, /*surftab1=*/6).points;
        EXPECT_TRUE(
            closeTo(start, samples.front() + origin.asVector(), 1e-6 * (1 + origin.distanceTo(start))));
        curve->upgradeOpen();
        curve->erase();
      }
    }
  }
}

TEST_F(FormulaCurveDrawingTest, HeartIsARedClosedSplineOrAClosedPolylineInTheCurrentColour) {
  ZcCmColor blue;
  blue.setColorIndex(5);
  ASSERT_EQ(db_->setCecolor(blue), Zcad::eOk);
  const PointList samples = formulaCurveSamples(0, {10, 0, 0, 0}, /*surftab1=*/6).points;
  const std::vector<ZcDbObjectId> spline = draw(1, {10, 0, 0, 0}, ZcGePoint3d(0, 0, 0));
  ASSERT_EQ(spline.size(), 1u);
  {
    Opened<ZcDbSpline> heart(spline.front());
    ASSERT_TRUE(heart);
    EXPECT_EQ(heart->colorIndex(), 1);
    EXPECT_TRUE(heart->isClosed());
    EXPECT_EQ(heart->numFitPoints(), 36);
    for (const ZcGePoint3d& p : samples) {
      ZcGePoint3d on;
      ASSERT_EQ(heart->getClosestPointTo(p, on), Zcad::eOk);
      EXPECT_TRUE(closeTo(on, p, 1e-7));
    }
  }
  curveOutputAsSpline = false;
  const std::vector<ZcDbObjectId> polyline = draw(1, {10, 0, 0, 0}, ZcGePoint3d(0, 0, 0));
  ASSERT_EQ(polyline.size(), 1u);
  Opened<ZcDbPolyline> heart(polyline.front());
  ASSERT_TRUE(heart);
  EXPECT_TRUE(heart->isClosed());
  EXPECT_EQ(heart->numVerts(), 35u);
  EXPECT_EQ(heart->colorIndex(), 5);
}

TEST_F(FormulaCurveDrawingTest, FlatCurvesLieAtTheOriginsElevationAndRisingOnesAre3dPolylines) {
  curveOutputAsSpline = false;
  const std::vector<ZcDbObjectId> wave = draw(3, {2, 5, 0, 0}, ZcGePoint3d(1, 2, 7.5));
  ASSERT_EQ(wave.size(), 1u);
  Opened<ZcDbPolyline> flat(wave.front());
  ASSERT_TRUE(flat);
  EXPECT_EQ(flat->elevation(), 7.5);
  EXPECT_EQ(flat->numVerts(), 72u);
  const std::vector<ZcDbObjectId> spring = draw(8, {20, 10, 5, 0}, ZcGePoint3d(1, 2, 7.5));
  ASSERT_EQ(spring.size(), 1u);
  Opened<ZcDb3dPolyline> rising(spring.front());
  ASSERT_TRUE(rising);
  EXPECT_FALSE(rising->isClosed());
}

TEST_F(FormulaCurveDrawingTest, ParabolaTakesItsCountFromSurftab1) {
  curveOutputAsSpline = false;
  ASSERT_EQ(setSysVarInt(L"SURFTAB1", 6), kSysVarOk);
  const std::vector<ZcDbObjectId> six = draw(7, {8, 1, 0, 0}, ZcGePoint3d(0, 0, 0));
  ASSERT_EQ(six.size(), 1u);
  EXPECT_EQ(Opened<ZcDbPolyline>(six.front())->numVerts(), 36u);
  ASSERT_EQ(setSysVarInt(L"SURFTAB1", 20), kSysVarOk);
  const std::vector<ZcDbObjectId> twenty = draw(7, {8, 1, 0, 0}, ZcGePoint3d(0, 0, 0));
  ASSERT_EQ(twenty.size(), 1u);
  EXPECT_EQ(Opened<ZcDbPolyline>(twenty.front())->numVerts(), 120u);
}

TEST_F(FormulaCurveDrawingTest, UnknownEntriesDrawNothing) {
  EXPECT_TRUE(generateFormulaCurve(-1, 10, 10, 10, 10, ZcGePoint3d(0, 0, 0)).empty());
  EXPECT_TRUE(generateFormulaCurve(71, 10, 10, 10, 10, ZcGePoint3d(0, 0, 0)).empty());
  EXPECT_EQ(Opened<ZcDbBlockTableRecord>(db_->modelSpaceId())->entityCount(), 0);
}

}  // namespace
}  // namespace veltrace::testing
