// Selecting curves or any entities at the host's "Select objects:" prompt, answered by scripts.
#include <string>

#include "frame/Selection.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

class SelectionTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    line = addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0)));
    text = addToModelSpace(new ZcDbText(ZcGePoint3d(0, 5, 0), L"label"));
    circle = addToModelSpace(new ZcDbCircle(ZcGePoint3d(20, 0, 0), ZcGeVector3d::kZAxis, 2.0));
    insert = addToModelSpace(new ZcDbBlockReference(ZcGePoint3d(30, 0, 0), addBlock(L"Bracket")));
    auto* outline = new ZcDbPolyline;
    outline->addVertexAt(0, ZcGePoint2d(0, 10));
    outline->addVertexAt(1, ZcGePoint2d(5, 12));
    polyline = addToModelSpace(outline);
  }
  // Runs one selection in the test command; the script gives `answers` after the command name.
  ObjectIdList select(bool curves, const std::wstring& answers, const wchar_t* chinese = nullptr,
                      const wchar_t* english = nullptr) {
    ObjectIdList ids;
    body() = [&] { ids = curves ? selectCurves(chinese, english) : selectEntities(chinese, english); };
    run(L"T " + answers);
    return ids;
  }

  ZcDbObjectId line, text, circle, insert, polyline;
};

TEST_F(SelectionTest, CurvesOnlyInTheOrderSelected) {
  EXPECT_EQ(select(/*curves=*/true, L"ALL\n\n"), (ObjectIdList{line, circle, polyline}));
  EXPECT_TRUE(said("Please select Curves >\n")) << transcript_;
  EXPECT_EQ(select(/*curves=*/true, pick(polyline) + L" " + pick(text) + L" " + pick(line) + L"\n\n"),
            (ObjectIdList{polyline, line}));
  EXPECT_FALSE(said("No Curve selected.")) << transcript_;
  EXPECT_EQ(select(/*curves=*/false, L"ALL\n\n", L"\n选择>", L"Pick things >\n"),
            (ObjectIdList{line, text, circle, insert, polyline}));
  EXPECT_TRUE(said("Pick things >\n")) << transcript_;
}

TEST_F(SelectionTest, NothingUsableIsSaidOnceAndAnswersAnEmptyList) {
  EXPECT_TRUE(select(/*curves=*/true, pick(text) + L" " + pick(insert) + L"\n\n").empty());
  EXPECT_TRUE(said("No Curve selected.\n")) << transcript_;
  transcript_.clear();
  EXPECT_TRUE(select(/*curves=*/false, L"^C\n", L"", L"").empty());  // cancelled
  EXPECT_TRUE(said("Please select Entities >\n")) << transcript_;    // empty prompts take the default
  EXPECT_EQ(transcript_.find("No Entity selected.\n"), transcript_.rfind("No Entity selected.\n"));
  EXPECT_NE(transcript_.find("No Entity selected.\n"), std::string::npos) << transcript_;
  chineseVersion = true;
  EXPECT_TRUE(select(/*curves=*/true, pick(text) + L"\n\n").empty());
  EXPECT_TRUE(select(/*curves=*/false, L"\n").empty());  // Enter at once
  for (const char* chinese : {"\n请选择多根曲线>", "未选中曲线。\n", "\n请选择物体>", "未选中物体。\n"}) {
    EXPECT_TRUE(said(chinese)) << chinese << transcript_;
  }
}

}  // namespace
}  // namespace veltrace::testing
