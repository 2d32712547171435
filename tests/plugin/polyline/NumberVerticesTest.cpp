// PLBH and markVertex: a point and a number at every vertex, in the drawing's current
// settings, numbered from the lower left end when asked.
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "frame/SystemVariables.h"
#include "plugin/polyline/VertexCommandTestSupport.h"
#include "polyline/VertexMarks.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

class NumberVerticesTest : public VertexCommandTest {
 protected:
  // PLBH on one entity: the points it drew, in drawing order (each followed by its text).
  std::vector<ZcGePoint3d> number(ZcDbEntity* entity, const std::wstring& answers) {
    const size_t before = modelSpace().size() + 1;
    run(L"PLBH\n" + pick(addToModelSpace(entity)) + L"\n\n" + answers);
    const std::vector<ZcDbObjectId> all = modelSpace();
    std::vector<ZcGePoint3d> points;
    for (size_t i = before; i < all.size(); i += 2) points.push_back(Opened<ZcDbPoint>(all[i])->position());
    return points;
  }
  ZcDbObjectId newestText() { return modelSpace().back(); }
};

TEST_F(NumberVerticesTest, EveryVertexGetsAPointAndItsNumberInTheCurrentSettings) {
  ZcCmColor red;
  red.setColorIndex(1);
  ASSERT_EQ(db_->setCecolor(red), Zcad::eOk);
  auto* outline = new ZcDbPolyline;
  for (unsigned int i = 0; i < 3; ++i) outline->addVertexAt(i, ZcGePoint2d(i == 2 ? 0 : 10, i == 0 ? 10 : 0));
  outline->setElevation(2.0);
  const std::vector<ZcGePoint3d> vertices{{10, 10, 2}, {10, 0, 2}, {0, 0, 2}};
  ASSERT_EQ(number(outline, L"4\nN\n"), vertices) << transcript_;
  const std::vector<ZcDbObjectId> all = modelSpace();
  for (size_t i = 0; i < vertices.size(); ++i) {
    Opened<ZcDbText> text(all[2 + 2 * i]);
    EXPECT_EQ(std::wstring(text->textStringConst()), std::to_wstring(i + 1));
    EXPECT_TRUE(closeTo(text->position(), vertices[i] + ZcGeVector3d(2, 2, 0)));
    EXPECT_EQ(text->height(), 2.0);  // half the height asked for
    EXPECT_EQ(text->textStyle(), db_->textstyle());
    EXPECT_EQ(text->colorIndex(), 1);
    EXPECT_EQ(Opened<ZcDbPoint>(all[1 + 2 * i])->colorIndex(), 1);
  }
  EXPECT_EQ(getSysVarIntOr(L"PDMODE"), 35);

  // Input no mark could show draws none.
  const size_t count = modelSpace().size();
  markVertex(ZcGePoint3d(std::numeric_limits<double>::quiet_NaN(), 0, 0), 1.0, 0);
  markVertex(ZcGePoint3d(1, 2, 3), std::numeric_limits<double>::infinity(), 0);
  markVertex(ZcGePoint3d(1, 2, 3), 0.0, 0);
  EXPECT_EQ(modelSpace().size(), count);
}

TEST_F(NumberVerticesTest, YesStartsAtTheLeftEndOrTheLowerOne) {
  const auto first = [this](ZcGePoint3d from, ZcGePoint3d to, const wchar_t* answer) {
    const std::vector<ZcGePoint3d> marks = number(new ZcDbLine(from, to), std::wstring(L"1\n") + answer);
    return marks.empty() ? ZcGePoint3d(-1, -1, -1) : marks.front();
  };
  EXPECT_TRUE(closeTo(first({10, 0, 0}, {0, 0, 0}, L"Y\n"), {0, 0, 0}));
  EXPECT_TRUE(closeTo(first({10, 0, 0}, {0, 0, 0}, L"N\n"), {10, 0, 0}));
  EXPECT_TRUE(closeTo(first({10, 0, 0}, {0, 0, 0}, L""), {0, 0, 0}));  // cancelled: the default, Yes
  EXPECT_TRUE(closeTo(first({0, 10, 0}, {0, 0, 0}, L"Y\n"), {0, 0, 0}));
  // Drawn upward, leaning a little to the left: still one end above the other.
  EXPECT_TRUE(closeTo(first({0.00005, 0, 0}, {0, 10, 0}, L"Y\n"), {0.00005, 0, 0}));
}

TEST_F(NumberVerticesTest, PointsOfEachKindAndTheDefaultHeight) {
  ZcGePoint3dArray fit;
  for (const ZcGePoint3d& p : {ZcGePoint3d(0, 0, 0), ZcGePoint3d(3, 4, 0), ZcGePoint3d(6, 0, 1)})
    fit.append(p);
  EXPECT_EQ(number(new ZcDbSpline(fit), L"1\nN\n").size(), 3u);
  const ZcGeVector3d major(4, 0, 0);
  EXPECT_EQ(number(new ZcDbEllipse(ZcGePoint3d(20, 0, 0), ZcGeVector3d::kZAxis, major, 0.5, 0, 3), L"1\nN\n")
                .size(),
            2u);
  EXPECT_TRUE(
      number(new ZcDbEllipse(ZcGePoint3d(40, 0, 0), ZcGeVector3d::kZAxis, major, 0.5), L"1\n").empty());
  // Old-style vertices are marked where the drawing shows them, at the elevation.
  const std::vector<ZcGePoint3d> flat =
      number(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, fit, /*elevation=*/3.0), L"1\nN\n");
  ASSERT_EQ(flat.size(), 3u);
  EXPECT_TRUE(closeTo(flat.back(), ZcGePoint3d(6, 0, 3)));

  double viewSize = 0.0;
  ASSERT_EQ(getSysVarReal(L"VIEWSIZE", viewSize), kSysVarOk);
  char prompt[64];
  std::snprintf(prompt, sizeof prompt, "\nPlease enter the mark text height(%.2f):", viewSize / 30);
  for (const wchar_t* slip : {L"\n", L"0.001\n", L"^C\n"}) {
    number(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), std::wstring(slip) + L"N\n");
    EXPECT_NEAR(Opened<ZcDbText>(newestText())->height(), viewSize / 60, 1e-12) << slip;
  }
  EXPECT_TRUE(said(prompt)) << transcript_;

  chineseVersion = true;
  run(L"PLBH\n\n");
  EXPECT_TRUE(said("未选中多段线。\n")) << transcript_;
  number(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), L"1\n");
  EXPECT_TRUE(said("\n请输入标记文字高度(")) << transcript_;
  EXPECT_TRUE(said("是否把默认起点设在左下角[Y/N](Y):")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
