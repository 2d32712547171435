// FORMULA through a script driving its dialog, in both languages, with the drawing checked
// after a save and reload.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "dxf/DxfFile.h"
#include "formula/CurveThroughPoints.h"
#include "formula/FormulaCommand.h"
#include "frame/Settings.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/platform/zcimage.h"

namespace veltrace::testing {
namespace {

class FormulaCommandTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    curveOutputAsSpline = true;
    driveDialogsFromTheScript();
    zcedRegCmds()->addCommand(L"FormulaTest", L"FORMULA", L"FORMULA", 0, &formulaCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"FormulaTest");
    curveOutputAsSpline = true;
    FrameTest::TearDown();
  }
  // The model space of the drawing written to DXF and read back, in drawing order.
  std::vector<ZcDbObjectId> reloadedEntities() {
    reloaded_ = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    std::vector<ZcDbObjectId> ids;
    EXPECT_TRUE(reloaded_.ok()) << reloaded_.refusal;
    if (!reloaded_.ok()) return ids;
    Opened<ZcDbBlockTableRecord> space(reloaded_.database->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
  vtcad::dxf::LoadResult reloaded_;
};

TEST_F(FormulaCommandTest, SlidersAndEditsRedrawTheCurveAtTheOriginAndTheLastOneStays) {
  const std::filesystem::path picture = std::filesystem::path(::testing::TempDir()) /
                                        ("formula-preview-" + std::to_string(::getpid()) + ".png");
  run(L"FORMULA\nshow\nselect curves 2\nslide slider1 5\npress preview\n10,20\nslide slider1 3\n"
      L"type p2 5000\npicture picture " +
      picture.wstring() + L"\nshow\nselect curves 0\nclose\n");
  // Opened on the first entry, its own label showing and the empty slots hidden (nothing
  // between the first slider and the output kind).
  EXPECT_TRUE(said("\n[Math Formula Curves] open")) << transcript_;
  EXPECT_TRUE(
      said("\n  4005 label \"Width\"\n  2021 edit \"10\"\n  4010 slider 1..1000 at 10\n  2009 combo box"));
  EXPECT_TRUE(said("\nPlease specify the origin>>"));
  // 5000 is beyond the height's maximum: the edit shows the maximum, the slider is at its end.
  EXPECT_TRUE(said("\n  2023 edit \"1000\"\n  4011 slider 1..1000 at 1000"));

  // Selecting the heart afterwards drew nothing: the sine wave of 3 waves, 1000 high, stays.
  const std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 1u);
  Opened<ZcDbSpline> spline(ids[0]);
  ASSERT_TRUE(spline);
  ASSERT_EQ(spline->numFitPoints(), 108);
  ZcGePoint3d first, last;
  spline->getFitPointAt(0, first);
  spline->getFitPointAt(107, last);
  EXPECT_TRUE(closeTo(first, ZcGePoint3d(10, 20, 0)));
  EXPECT_TRUE(closeTo(last, ZcGePoint3d(10 + 3000 * std::numbers::pi, 20, 0), 1e-6));
  EXPECT_EQ(readSetting(L"formula_ListIndex"), 0);
  EXPECT_EQ(readSetting(L"formula_curveIsPline"), 0);

  CImage shown;
  ASSERT_TRUE(SUCCEEDED(shown.Load(picture.wstring().c_str())));
  int bright = 0;
  for (int y = 0; y < shown.GetHeight(); ++y) {
    for (int x = 0; x < shown.GetWidth(); ++x) bright += GetRValue(shown.GetPixel(x, y)) > 128 ? 1 : 0;
  }
  EXPECT_GT(bright, 100) << "the sine wave in white";
  EXPECT_LT(bright, shown.GetWidth() * shown.GetHeight() / 4) << "on black";
  std::filesystem::remove(picture);
}

TEST_F(FormulaCommandTest, ChinesePolylineWithAxesAsOneBlockAtTheOrigin) {
  chineseVersion = true;
  run(L"FORMULA\nselect curves \"30.封闭球形环绕曲线\"\nselect output \"生成 Polyline\"\ncheck axes\n"
      L"press preview\n0,0\nslide slider1 2\nclose\n");
  EXPECT_TRUE(said("\n[数学公式曲线] open")) << transcript_;
  EXPECT_TRUE(said("\n请指定原点>>"));
  EXPECT_EQ(readSetting(L"formula_ListIndex"), 29);
  EXPECT_EQ(readSetting(L"formula_curveIsPline"), 1);
  EXPECT_EQ(readSetting(L"formula_XYcoor"), 1);

  const std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 2u);
  // The sphere curve rises out of the plane: a 3-D polyline of 35 · 8 · 2 vertices.
  Opened<ZcDb3dPolyline> curve(ids[0]);
  ASSERT_TRUE(curve);
  Opened<ZcDbBlockReference> axes(ids[1]);
  ASSERT_TRUE(axes);
  EXPECT_TRUE(closeTo(axes->position(), ZcGePoint3d(0, 0, 0)));
  Opened<ZcDbBlockTableRecord> block(axes->blockTableRecord());
  ASSERT_TRUE(block);
  EXPECT_TRUE(block->isAnonymous());
  int lines = 0, texts = 0;
  for (ZcDbObjectId id : block->entityIds()) {
    lines += Opened<ZcDbLine>(id) ? 1 : 0;
    texts += Opened<ZcDbText>(id) ? 1 : 0;
  }
  // Two axes, and a tick line under each number.
  EXPECT_GT(texts, 10);
  EXPECT_EQ(lines, 2 + texts);
}

TEST_F(FormulaCommandTest, EscKeepsTheCurveAndWritesNoSettings) {
  writeSetting(L"formula_ListIndex", 80);
  run(L"FORMULA\nshow\npress preview\n5,5\ncancel\n");
  EXPECT_TRUE(said("\n  2010 list, 71 items, selected 0 \"1. Heart\"")) << transcript_;
  EXPECT_EQ(readSetting(L"formula_ListIndex"), 80);
  const std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 1u);
  Opened<ZcDbSpline> heart(ids[0]);
  ASSERT_TRUE(heart);
  EXPECT_EQ(heart->colorIndex(), 1);
}

TEST_F(FormulaCommandTest, ACancelledFirstOriginDrawsNothingAndTheEndOfTheScriptClosesTheDialog) {
  run(L"FORMULA\npress preview\n^C\nslide slider1 50\n");
  EXPECT_TRUE(said("\n[Math Formula Curves] shown")) << transcript_;
  EXPECT_TRUE(said("\n[Math Formula Curves] closed"));
  EXPECT_TRUE(reloadedEntities().empty());
}

}  // namespace
}  // namespace veltrace::testing
