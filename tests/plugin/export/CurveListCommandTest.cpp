// PLLIST end to end: scripts select curves on small drawings, the written list is read back.
#include <sys/resource.h>

#include <csignal>
#include <cstdio>

#include "frame/SystemVariables.h"
#include "plugin/export/ExportTestSupport.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

using Rows = std::vector<std::wstring>;
constexpr const wchar_t* kHeader = L"Index|VertexNumber|X|Y|Z|Length|Area";

class CurveListCommandTest : public ExportTest {
 protected:
  ZcDbObjectId addLine(ZcGePoint3d from, ZcGePoint3d to) { return addToModelSpace(new ZcDbLine(from, to)); }
  Rows pllist(const std::vector<ZcDbObjectId>& picked, const std::wstring& answers,
              const wchar_t* chosen = L"list.xls") {
    return listRows(L"PLLIST", picked, answers, chosen);
  }
  // A row of a point: the list index only on a curve's first row (0: none).
  static std::wstring point(int list, int vertex, const std::wstring& xyz) {
    return (list ? std::to_wstring(list) : L"&nbsp;") + L"|" + std::to_wstring(vertex) + L"|" + xyz +
           L"|&nbsp;|&nbsp;";
  }
  static std::wstring summary(const std::wstring& lengthAndArea) {
    return L"=&nbsp;|&nbsp;|&nbsp;|&nbsp;|&nbsp;|" + lengthAndArea;
  }
};

TEST(LowerLeftTest, TheLeftEndOrWithTheSameXTheLowerEndComesFirst) {
  using Points = std::vector<ZcGePoint3d>;
  const auto started = [](Points points) {
    startAtLowerLeft(points);
    return points;
  };
  EXPECT_EQ(started({}), Points{});
  // Only the ends decide; the points between are carried along.
  EXPECT_EQ(started({{5, 0, 0}, {9, 9, 0}, {1, 7, 2}}), (Points{{1, 7, 2}, {9, 9, 0}, {5, 0, 0}}));
  EXPECT_EQ(started({{1, 7, 0}, {5, 0, 0}}), (Points{{1, 7, 0}, {5, 0, 0}}));
  EXPECT_EQ(started({{2, 8, 0}, {2.00005, 1, 0}}), (Points{{2.00005, 1, 0}, {2, 8, 0}}))
      << "same x: lower first";
  EXPECT_EQ(started({{2.00005, 1, 0}, {2, 8, 0}}), (Points{{2.00005, 1, 0}, {2, 8, 0}}))
      << "x within 0.0001 no longer decides";
  EXPECT_EQ(started({{2.0002, 1, 0}, {2, 8, 0}}), (Points{{2, 8, 0}, {2.0002, 1, 0}}))
      << "beyond it, it does";
}

TEST_F(CurveListCommandTest, LinesStartAtTheirLowerLeftEnd) {
  const ZcDbObjectId leftward = addLine({10, 0, 0}, {0, 0, 0});
  const ZcDbObjectId downward = addLine({0, 5, 0}, {0, 1, 0});
  EXPECT_EQ(pllist({leftward, downward}, L"N\nY\n"),
            (Rows{kHeader, point(1, 1, L"0.000|0.000|0.000"), point(0, 2, L"10.000|0.000|0.000"),
                  summary(L"10.000|0.000"), point(2, 1, L"0.000|1.000|0.000"),
                  point(0, 2, L"0.000|5.000|0.000"), summary(L"4.000|0.000")}));
  EXPECT_TRUE(said("Please select polyline >\n")) << transcript_;
  EXPECT_TRUE(said("\nMarks and numbers[Y/N](Y): N\nLower Left default?[Y/N](Y):Y")) << transcript_;
  // Without the rule the points come as drawn.
  EXPECT_EQ(pllist({leftward}, L"N\nN\n")[1], point(1, 1, L"10.000|0.000|0.000"));
}

TEST_F(CurveListCommandTest, EveryKindOfCurveGivesItsPoints) {
  auto* light = new ZcDbPolyline;
  light->addVertexAt(0, ZcGePoint2d(0, 0));
  light->addVertexAt(1, ZcGePoint2d(4, 0));
  light->addVertexAt(2, ZcGePoint2d(4, 3));
  light->setClosed(true);
  light->setElevation(2);
  ZcGePoint3dArray frame;
  frame.append(ZcGePoint3d(0, 0, 0));
  frame.append(ZcGePoint3d(2, 0, 0));
  frame.append(ZcGePoint3d(2, 2, 0));
  ZcGePoint3dArray corners;
  corners.append(ZcGePoint3d(0, 0, 1));
  corners.append(ZcGePoint3d(0, 3, 5));
  const std::vector<ZcDbObjectId> curves = {
      addToModelSpace(light),
      addToModelSpace(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, frame, /*elevation=*/3)),
      addToModelSpace(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, corners)),
      addToModelSpace(new ZcDbSpline(frame)),
      addToModelSpace(new ZcDbArc(ZcGePoint3d(0, 0, 0), 1.0, 0.0, 1.5707963267948966)),
      // A full ellipse lists nothing but takes its index.
      addToModelSpace(
          new ZcDbEllipse(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(2, 0, 0), 0.5)),
      addToModelSpace(new ZcDbEllipse(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(2, 0, 0), 0.5,
                                      0.0, 3.141592653589793)),
  };
  const Rows listed = pllist(curves, L"N\nN\n");
  ASSERT_EQ(listed.size(), 22u);
  EXPECT_EQ(
      Rows(listed.begin(), listed.begin() + 19),
      (Rows{kHeader,
            // The elevation is the vertices' z.
            point(1, 1, L"0.000|0.000|2.000"), point(0, 2, L"4.000|0.000|2.000"),
            point(0, 3, L"4.000|3.000|2.000"), summary(L"12.000|6.000"), point(2, 1, L"0.000|0.000|3.000"),
            point(0, 2, L"2.000|0.000|3.000"), point(0, 3, L"2.000|2.000|3.000"), summary(L"4.000|2.000"),
            point(3, 1, L"0.000|0.000|1.000"), point(0, 2, L"0.000|3.000|5.000"), summary(L"5.000|0.000"),
            // The spline's fit points; its length is the host's.
            point(4, 1, L"0.000|0.000|0.000"), point(0, 2, L"2.000|0.000|0.000"),
            point(0, 3, L"2.000|2.000|0.000"), listed[15], point(5, 1, L"1.000|0.000|0.000"),
            point(0, 2, L"0.000|1.000|0.000"), summary(L"1.571|0.285")}));
  EXPECT_TRUE(listed[15].starts_with(summary(L""))) << listed[15];
  EXPECT_EQ(listed[19], point(7, 1, L"2.000|0.000|0.000"));
  EXPECT_EQ(listed[20], point(0, 2, L"-2.000|0.000|0.000"));
  EXPECT_TRUE(listed[21].starts_with(summary(L"4.84")) && listed[21].ends_with(L"|3.142")) << listed[21];
}

TEST_F(CurveListCommandTest, FittedPolylinesListTheCurveNotTheirFrame) {
  ZcGePoint3dArray frame;
  frame.append(ZcGePoint3d(0, 0, 0));
  frame.append(ZcGePoint3d(5, 5, 0));
  frame.append(ZcGePoint3d(10, 0, 0));
  const Rows listed = pllist({addToModelSpace(new ZcDb2dPolyline(ZcDb::k2dCubicSplinePoly, frame)),
                              addToModelSpace(new ZcDb3dPolyline(ZcDb::k3dCubicSplinePoly, frame))},
                             L"N\nN\n");
  // 8 segments to each of the two frame edges: 17 points on the curve, then the summary.
  ASSERT_EQ(listed.size(), 1u + 2 * (17 + 1));
  EXPECT_EQ(listed[17], point(0, 17, L"10.000|0.000|0.000"));
  EXPECT_EQ(listed[19], point(2, 1, L"0.000|0.000|0.000"));
  for (const std::wstring& line : listed) EXPECT_EQ(line.find(L"|5.000|5.000|"), std::wstring::npos) << line;
}

TEST_F(CurveListCommandTest, MarksNumberThePointsAndSetThePointMode) {
  const ZcDbObjectId line = addLine({10, 0, 0}, {0, 0, 0});
  const int pointMode = getSysVarIntOr(L"PDMODE");
  pllist({line}, L"N\nY\n");
  EXPECT_EQ(modelSpace().size(), 1u) << "no marks asked for, none drawn";
  EXPECT_EQ(getSysVarIntOr(L"PDMODE"), pointMode);
  // The height's default comes from the view; a height of 0.001 or less keeps it.
  wchar_t prompt[80];
  std::swprintf(prompt, 80, L"\nPlease enter the mark text height(%.2f):", defaultMarkHeight());
  pllist({line}, L"Y\n0.0005\nY\n");
  EXPECT_TRUE(said(encodeUtf8(prompt))) << transcript_;
  EXPECT_EQ(getSysVarIntOr(L"PDMODE"), 35);
  ASSERT_EQ(modelSpaceOf<ZcDbText>().size(), 2u);
  EXPECT_NEAR(Opened<ZcDbText>(modelSpaceOf<ZcDbText>()[0])->height(), defaultMarkHeight() / 2, 1e-9);
  // Numbered in list order, after the lower-left rule turned the line round.
  pllist({line}, L"Y\n4\nY\n");
  const std::vector<ZcDbObjectId> texts = modelSpaceOf<ZcDbText>();
  const std::vector<ZcDbObjectId> points = modelSpaceOf<ZcDbPoint>();
  ASSERT_EQ(texts.size(), 4u);
  ASSERT_EQ(points.size(), 4u);
  EXPECT_TRUE(samePoint(Opened<ZcDbPoint>(points[2])->position(), ZcGePoint3d(0, 0, 0)));
  EXPECT_TRUE(samePoint(Opened<ZcDbPoint>(points[3])->position(), ZcGePoint3d(10, 0, 0)));
  EXPECT_EQ(std::wstring(Opened<ZcDbText>(texts[3])->textStringConst()), L"2");
  EXPECT_TRUE(samePoint(Opened<ZcDbText>(texts[3])->position(), ZcGePoint3d(12, 2, 0)));
}

TEST_F(CurveListCommandTest, NothingSelectedOrNoFileEndsBeforeAnythingIsWritten) {
  const ZcDbObjectId circle =
      addToModelSpace(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 1.0));
  run(L"PLLIST\n" + pick(circle) + L"\n\n" + out(L"list.xls") + L"\nY\n");
  EXPECT_TRUE(said("1 was filtered out.\nSelect objects: \nNo polyline selected.\n")) << transcript_;
  const ZcDbObjectId line = addLine({0, 0, 0}, {1, 0, 0});
  run(L"PLLIST\n" + pick(line) + L"\n\n\nY\n4\nY\n");
  EXPECT_TRUE(said("\nEXCEL File(*.xls): \nNo file name asigned.\n")) << transcript_;
  EXPECT_FALSE(said("Marks and numbers")) << transcript_;
  chineseVersion = true;
  run(L"PLLIST\n" + pick(line) + L"\n\n^C\n");
  EXPECT_TRUE(said("请选择直线、圆弧、多段线、样条曲线等>\n")) << transcript_;
  EXPECT_TRUE(said("\n曲线顶点坐标文件 (*.xls): ^C")) << transcript_;
  EXPECT_TRUE(said("\n未设定文件名。\n")) << transcript_;
  EXPECT_TRUE(std::filesystem::is_empty(outDir_));
  EXPECT_EQ(modelSpace().size(), 2u) << "nothing drawn";
}

TEST_F(CurveListCommandTest, AListThatCannotBeWrittenIsReportedNotOpened) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {1, 0, 0});
  const std::wstring kept = out(L"list.html");
  std::ofstream(fsPath(kept), std::ios::binary) << "the list of yesterday";
  // A disk that fills up: the file size limit makes the writes fail.
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  run(L"PLLIST\n" + pick(line) + L"\n\n" + out(L"list.xls") + L"\nN\nY\n");
  chineseVersion = true;
  run(L"PLLIST\n" + pick(line) + L"\n\n" + out(L"list.xls") + L"\nN\nY\n");
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_TRUE(said("\n[vtcad] Could not write the file <" + encodeUtf8(kept) +
                   "> (File too large); the list was not saved."))
      << transcript_;
  EXPECT_TRUE(
      said("\n[Veltrace[V1.20]] 写入文件<" + encodeUtf8(kept) + ">失败（File too large），列表未保存。"))
      << transcript_;
  EXPECT_FALSE(said("\nopen: ")) << transcript_;
  EXPECT_EQ(readBytes(kept), "the list of yesterday");
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(outDir_), std::filesystem::directory_iterator()), 1);
  // A file that cannot be made at all is the command's own message, in English.
  transcript_.clear();
  run(L"PLLIST\n" + pick(line) + L"\n\n" + out(L"missing/list.xls") + L"\nY\n4\nY\n");
  EXPECT_TRUE(said("\n[vtcad] Create file <" + encodeUtf8(out(L"missing/list.html")) + "> fail."))
      << transcript_;
  EXPECT_FALSE(said("是否绘制标记和编号")) << "the command ended before its questions";
}

TEST_F(CurveListCommandTest, TheWrittenListIsOpened) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {1, 0, 0});
  // A relative name without extension: ".xls" is added, then rewritten; the path is made full.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(outDir_);
  run(L"PLLIST\n" + pick(line) + L"\n\nrelative\nN\nY\n");
  std::filesystem::current_path(before);
  EXPECT_TRUE(said("\nopen: " + encodeUtf8(out(L"relative.html")))) << transcript_;
  EXPECT_NE(readList(out(L"relative.html")).find(L"<title>" + out(L"relative.html") + L"</title>"),
            std::wstring::npos);
  // A name in capitals is written as chosen.
  run(L"PLLIST\n" + pick(line) + L"\n\n" + out(L"CAPS.XLS") + L"\nN\nY\n");
  EXPECT_TRUE(said("\nopen: " + encodeUtf8(out(L"CAPS.XLS")))) << transcript_;
}

TEST_F(CurveListCommandTest, GoldenEnglishList) {
  auto* outline = new ZcDbPolyline;
  outline->addVertexAt(0, ZcGePoint2d(0, 0));
  outline->addVertexAt(1, ZcGePoint2d(4, 0));
  outline->addVertexAt(2, ZcGePoint2d(4, 3));
  outline->setClosed(true);
  pllist({addLine({10, 0, 0}, {0, 0, 0}), addToModelSpace(outline)}, L"N\nY\n", L"golden.xls");
  expectGolden(out(L"golden.html"), "pllist-english.html");
}

}  // namespace
}  // namespace veltrace::testing
