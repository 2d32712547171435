// CLIST, ELLLIST and ARCLIST end to end, and what all four list commands say.
#include "frame/SystemVariables.h"
#include "plugin/export/ExportTestSupport.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

using Rows = std::vector<std::wstring>;

class CentreListCommandsTest : public ExportTest {
 protected:
  Rows list(const wchar_t* command, const std::vector<ZcDbObjectId>& picked, const std::wstring& answers,
            const wchar_t* chosen = L"list.xls") {
    return listRows(command, picked, answers, chosen);
  }
  ZcDbObjectId addCircle(ZcGePoint3d centre, double radius) {
    return addToModelSpace(new ZcDbCircle(centre, ZcGeVector3d::kZAxis, radius));
  }
  ZcDbObjectId addEllipse(ZcGePoint3d centre, ZcGeVector3d major, double start = 0.0,
                          double end = 6.283185307179586) {
    return addToModelSpace(new ZcDbEllipse(centre, ZcGeVector3d::kZAxis, major, 0.5, start, end));
  }
};

TEST_F(CentreListCommandsTest, EachListHasItsMeasures) {
  EXPECT_EQ(list(L"CLIST", {addCircle({1, 2, 3}, 2.0), addCircle({-1, 0, 0}, 1.0)}, L"N\n"),
            (Rows{L"Index|X|Y|Z|Radius|Perimeter|Area", L"1|1.000|2.000|3.000|2.000|12.566|12.566",
                  L"2|-1.000|0.000|0.000|1.000|6.283|3.142"}));
  EXPECT_FALSE(said("Lower Left")) << "only the curve list asks where to start";
  // Full axes; Ramanujan's perimeter of a 3 by 1.5 ellipse is 14.5326, its area pi * 3 * 1.5.
  const Rows ellipses =
      list(L"ELLLIST",
           {addEllipse({1, 2, 0}, {0, 3, 0}), addEllipse({0, 0, 0}, {2, 0, 0}, 0.0, 3.141592653589793)},
           L"N\n", L"ellipses.xls");
  ASSERT_EQ(ellipses.size(), 3u);
  EXPECT_EQ(ellipses[0], L"Index|X|Y|Z|Major axis|Minor axis|Perimeter|Area");
  EXPECT_EQ(ellipses[1], L"1|1.000|2.000|0.000|6.000|3.000|14.533|14.137");
  EXPECT_TRUE(ellipses[2].starts_with(L"2|0.000|0.000|0.000|4.000|2.000|4.84") &&
              ellipses[2].ends_with(L"|3.142"))
      << ellipses[2];
  // Angles in degrees, whatever the arc's way round zero.
  EXPECT_EQ(
      list(L"ARCLIST",
           {addToModelSpace(new ZcDbArc(ZcGePoint3d(0, 0, 0), 1.0, 0.0, 1.5707963267948966)),
            addToModelSpace(new ZcDbArc(ZcGePoint3d(5, 5, 1), 2.0, 5.497787143782138, 0.785398163397448))},
           L"N\n", L"arcs.xls"),
      (Rows{L"Index|X|Y|Z|Radius|StartAngle|EndAngle|Perimiter",
            L"1|0.000|0.000|0.000|1.000|0.000|90.000|1.571",
            L"2|5.000|5.000|1.000|2.000|315.000|45.000|3.142"}));
}

TEST_F(CentreListCommandsTest, MarksGoAtTheCentresNumberedByListIndex) {
  list(L"CLIST", {addCircle({1, 2, 0}, 2.0), addCircle({10, 0, 0}, 1.0)}, L"Y\n2\n");
  const std::vector<ZcDbObjectId> points = modelSpaceOf<ZcDbPoint>();
  const std::vector<ZcDbObjectId> texts = modelSpaceOf<ZcDbText>();
  ASSERT_EQ(points.size(), 2u);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_TRUE(samePoint(Opened<ZcDbPoint>(points[0])->position(), ZcGePoint3d(1, 2, 0)));
  EXPECT_TRUE(samePoint(Opened<ZcDbText>(texts[1])->position(), ZcGePoint3d(11, 1, 0)));
  EXPECT_EQ(std::wstring(Opened<ZcDbText>(texts[1])->textStringConst()), L"2");
  EXPECT_EQ(getSysVarIntOr(L"PDMODE"), 35);
}

// Each command's own texts, and the failure to make its file, in both languages.
TEST_F(CentreListCommandsTest, EachCommandSaysItsOwnTexts) {
  struct Texts {
    const wchar_t* command;
    const char* prompt[2];
    const char* nothing[2];
    const char* creationFailure;
  };
  const Texts all[] = {
      {L"PLLIST",
       {"Please select polyline >\n", "请选择直线、圆弧、多段线、样条曲线等>\n"},
       {"No polyline selected.\n", "未选中。\n"},
       "> fail."},
      {L"CLIST",
       {"Please select circle >\n", "请选择圆>\n"},
       {"No circle selected.\n", "未选中圆。\n"},
       "> Error！"},
      {L"ELLLIST",
       {"Please select Ellipse >\n", "请选择椭圆>\n"},
       {"No Ellipse selected.\n", "未选中椭圆。\n"},
       "> fail!"},
      {L"ARCLIST",
       {"Please select ARC >\n", "请选择圆弧>\n"},
       {"No ARC selected.\n", "未选中圆弧。\n"},
       "> fail！"},
  };
  const std::wstring something = pick(addCircle({0, 0, 0}, 1.0)) + L" " +
                                 pick(addToModelSpace(new ZcDbArc(ZcGePoint3d(0, 0, 0), 1.0, 0.0, 1.0))) +
                                 L" " + pick(addEllipse({0, 0, 0}, {2, 0, 0}));
  const std::wstring text = pick(addToModelSpace(new ZcDbText(ZcGePoint3d(0, 0, 0), L"no curve")));
  for (const Texts& texts : all) {
    for (const bool chinese : {false, true}) {
      chineseVersion = chinese;
      transcript_.clear();
      run(std::wstring(texts.command) + L"\n" + text + L"\n\n");
      EXPECT_TRUE(said(texts.prompt[chinese])) << transcript_;
      EXPECT_TRUE(said(texts.nothing[chinese])) << transcript_;
      run(std::wstring(texts.command) + L"\n" + something + L"\n\n" + out(L"missing/list.xls") + L"\n");
      EXPECT_TRUE(
          said("\n[vtcad] Create file <" + encodeUtf8(out(L"missing/list.html")) + texts.creationFailure))
          << transcript_;
    }
  }
}

TEST_F(CentreListCommandsTest, GoldenChineseList) {
  chineseVersion = true;
  list(L"CLIST", {addCircle({1, 2, 3}, 2.0), addCircle({-4.25, 0.0004, 0}, 0.5)}, L"N\n", L"圆.xls");
  expectGolden(out(L"圆.html"), "clist-chinese.html");
  // Read back through iconv: the Chinese title, path and headers.
  const std::wstring text = readList(out(L"圆.html"));
  EXPECT_NE(text.find(L"<title>" + out(L"圆.html") + L"</title>"), std::wstring::npos);
  EXPECT_NE(text.find(L"class=STYLE1>圆心坐标和半径</p>"), std::wstring::npos);
  EXPECT_EQ(rows(text)[0], L"序号|X坐标|Y坐标|Z坐标|半径|周长|面积");
  EXPECT_TRUE(said("\n是否绘制标记和编号[Y/N](Y): N")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
