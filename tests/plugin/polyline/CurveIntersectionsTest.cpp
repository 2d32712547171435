// PLJD and PLJD1 on the command line: the points found, their order, and the four outputs.
#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "frame/SystemVariables.h"
#include "plugin/export/ExportTestSupport.h"
#include "polyline/CurveIntersections.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

class CurveIntersectionsTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    zcedRegCmds()->addCommand(kGroup, L"PLJD", L"PLJD", 0, &pljdCommand);
    zcedRegCmds()->addCommand(kGroup, L"PLJD1", L"PLJD1", 0, &pljd1Command);
  }

  ZcDbObjectId line(ZcGePoint3d a, ZcGePoint3d b) { return addToModelSpace(new ZcDbLine(a, b)); }

  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
  // The entities of one kind a command added after the first `before`.
  template <typename T>
  std::vector<ZcDbObjectId> added(size_t before) const {
    std::vector<ZcDbObjectId> ids = modelSpace();
    std::vector<ZcDbObjectId> result;
    for (size_t i = before; i < ids.size(); ++i)
      if (Opened<T>(ids[i])) result.push_back(ids[i]);
    return result;
  }
  std::vector<ZcGePoint3d> markedPoints(size_t before) const {
    std::vector<ZcGePoint3d> points;
    for (ZcDbObjectId id : added<ZcDbPoint>(before)) points.push_back(Opened<ZcDbPoint>(id)->position());
    return points;
  }
  std::wstring picks(const std::vector<ZcDbObjectId>& ids) const {
    std::wstring s;
    for (ZcDbObjectId id : ids) s += (s.empty() ? L"" : L" ") + pick(id);
    return s;
  }
};

TEST_F(CurveIntersectionsTest, ATriangleGivesItsThreeCornersNumberedAtHalfTheHeight) {
  const std::vector<ZcDbObjectId> sides = {line({0, 0, 0}, {10, 0, 0}), line({10, 0, 0}, {0, 10, 0}),
                                           line({0, 10, 0}, {0, 0, 0})};
  const size_t before = modelSpace().size();
  run(L"PLJD\n" + picks(sides) + L"\n\n\n4\n");                                   // Enter: option 2; height 4
  const std::vector<ZcGePoint3d> expected = {{10, 0, 0}, {0, 0, 0}, {0, 10, 0}};  // pairs (0,1), (0,2), (1,2)
  ASSERT_EQ(markedPoints(before), expected) << transcript_;
  const std::vector<ZcDbObjectId> texts = added<ZcDbText>(before);
  ASSERT_EQ(texts.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    Opened<ZcDbText> text(texts[i]);
    EXPECT_EQ(std::wstring(text->textStringConst()), std::to_wstring(i + 1));
    EXPECT_TRUE(samePoint(text->position(), expected[i] + ZcGeVector3d(2, 2, 0)));
    EXPECT_EQ(text->height(), 2.0);
  }
  EXPECT_EQ(getSysVarIntOr(L"PDMODE"), 35);
}

TEST_F(CurveIntersectionsTest, APointWhereThreeCurvesMeetIsListedOnceAndOneCurveMeetsNothing) {
  const std::vector<ZcDbObjectId> curves = {
      line({-5, 0, 0}, {10, 0, 0}), line({0, -5, 0}, {0, 5, 0}),
      addToModelSpace(new ZcDbCircle({5, 0, 0}, ZcGeVector3d::kZAxis, 5))};
  size_t before = modelSpace().size();
  run(L"PLJD\n" + picks(curves) + L"\n\n1\n");
  // (0,0) from all three pairs (the second line touches the circle there), (10,0) where the
  // first line ends on the circle.
  const std::vector<ZcGePoint3d> points = markedPoints(before);
  ASSERT_EQ(points.size(), 2u) << transcript_;
  EXPECT_TRUE(samePoint(points[0], {0, 0, 0}));
  EXPECT_TRUE(samePoint(points[1], {10, 0, 0}));
  EXPECT_TRUE(added<ZcDbText>(before).empty());  // option 1: no numbers

  before = modelSpace().size();
  run(L"PLJD\n" + pick(curves[0]) + L"\n\n\n");
  EXPECT_TRUE(said("\nNo intersection found.")) << transcript_;
  EXPECT_EQ(modelSpace().size(), before);
}

TEST_F(CurveIntersectionsTest, OptionsOutsideOneToFourMeanNumberedMarks) {
  const std::vector<ZcDbObjectId> cross = {line({-1, 0, 0}, {1, 0, 0}), line({0, -1, 0}, {0, 1, 0})};
  // 0 and negatives are refused by the prompt itself and asked again; 5 is out of range.
  for (const wchar_t* answer : {L"\n", L"5\n", L"0\n\n", L"-3\n5\n"}) {
    const size_t before = modelSpace().size();
    run(L"PLJD\n" + picks(cross) + L"\n" + answer + L"\n");
    EXPECT_EQ(added<ZcDbText>(before).size(), 1u) << transcript_;
    EXPECT_EQ(markedPoints(before).size(), 1u);
  }
}

TEST_F(CurveIntersectionsTest, Pljd1NumbersAlongThePickedCurveFromTheEndNearerThePick) {
  const ZcDbObjectId base = line({0, 0, 0}, {10, 0, 0});
  for (double x : {7.0, 2.0, 5.0}) line({x, -1, 0}, {x, 1, 0});
  line({20, -1, 0}, {20, 1, 0});  // outside the base's extents
  size_t before = modelSpace().size();
  run(L"PLJD1\n9.5,0\n1\n");
  std::vector<ZcGePoint3d> expected = {{7, 0, 0}, {5, 0, 0}, {2, 0, 0}};
  EXPECT_EQ(markedPoints(before), expected) << transcript_;
  before = modelSpace().size();
  run(L"PLJD1\n" + pick(base) + L"\n1\n");  // a pick by handle picks the middle: nearer neither end
  std::reverse(expected.begin(), expected.end());
  EXPECT_EQ(markedPoints(before), expected) << transcript_;

  run(L"PLJD1\n\n");
  EXPECT_TRUE(said("\nNothing selected"));
  const ZcDbObjectId dot = addToModelSpace(new ZcDbPoint({50, 50, 0}));
  run(L"PLJD1\n" + pick(dot) + L"\n");
  EXPECT_TRUE(said("\nError: not a curve selected."));
  line({30, 30, 0}, {31, 31, 0});
  run(L"PLJD1\n30.5,30.5\n\n");
  EXPECT_TRUE(said("\nNo intersection found.")) << transcript_;
}

TEST_F(CurveIntersectionsTest, OptionThreeWritesTheListAndStillMarks) {
  const std::vector<ZcDbObjectId> curves = {line({0, 0, 0}, {10, 0, 0}),
                                            addToModelSpace(new ZcDbArc({5, 0, 0}, 3, 0, 3.141592653589793)),
                                            line({5, -1, 0}, {5, 4, 0})};
  const size_t before = modelSpace().size();
  run(L"PLJD\n" + picks(curves) + L"\n\n3\n" + out(L"points.xls") + L"\n2\n");
  const std::wstring path = out(L"points.html");
  ASSERT_TRUE(std::filesystem::exists(fsPath(path))) << transcript_;
  expectGolden(path, "pljd-english.html");
  EXPECT_EQ(markedPoints(before).size(), 4u);
  EXPECT_EQ(added<ZcDbText>(before).size(), 4u);

  // No name: nothing written, the marks drawn all the same.
  const size_t again = modelSpace().size();
  run(L"PLJD\n" + picks(curves) + L"\n\n3\n\n\n");
  EXPECT_EQ(added<ZcDbText>(again).size(), 4u) << transcript_;
}

TEST_F(CurveIntersectionsTest, OptionFourInsertsAKnownBlockAndRefusesAnUnknownOne) {
  const std::vector<ZcDbObjectId> cross = {line({-1, 0, 0}, {1, 0, 0}), line({0, -1, 0}, {0, 1, 0})};
  size_t before = modelSpace().size();
  run(L"PLJD\n" + picks(cross) + L"\n\n4\nNOSUCH\n");
  EXPECT_TRUE(said("\nBlock name error！")) << transcript_;
  EXPECT_EQ(modelSpace().size(), before);
  run(L"PLJD\n" + picks(cross) + L"\n\n4\n*Model_Space\n");  // a layout cannot go into itself
  EXPECT_EQ(modelSpace().size(), before);

  const ZcDbObjectId block = addBlock(L"MARK");
  before = modelSpace().size();
  run(L"PLJD\n" + picks(cross) + L"\n\n4\nMARK\n");
  const std::vector<ZcDbObjectId> refs = added<ZcDbBlockReference>(before);
  ASSERT_EQ(refs.size(), 1u) << transcript_;
  EXPECT_EQ(Opened<ZcDbBlockReference>(refs[0])->blockTableRecord(), block);
  EXPECT_TRUE(samePoint(Opened<ZcDbBlockReference>(refs[0])->position(), {0, 0, 0}));
}

// The grid keeps what the rule "0.0001 or more from every point kept so far" keeps.
TEST(RemoveRepeatedPoints, KeepsWhatTheQuadraticRuleKeeps) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0.0, 0.002);
  for (int trial = 0; trial < 50; ++trial) {
    IntersectionPoints points;
    for (int i = 0; i < 300; ++i) points.emplace_back(u(rng), u(rng), trial % 2 ? u(rng) : 0.0);
    IntersectionPoints expected;
    for (const ZcGePoint3d& p : points)
      if (std::all_of(expected.begin(), expected.end(),
                      [&](const ZcGePoint3d& q) { return q.distanceTo(p) >= 0.0001; }))
        expected.push_back(p);
    EXPECT_EQ(removeRepeatedPoints(points), expected) << trial;
  }
}

}  // namespace
}  // namespace veltrace::testing
