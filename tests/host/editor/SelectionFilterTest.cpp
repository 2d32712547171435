#include <gtest/gtest.h>

#include <memory>

#include "SelectionTestSupport.h"
#include "editor/SelectionFilter.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

namespace vtcad::editor {
namespace {

struct ChainDeleter {
  void operator()(resbuf* rb) const { zcutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

class SelectionFilterTest : public testing::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    addLayer(L"Wall-Ext");
    addLayer(L"DOOR");
    addLayer(L"WINDOW");
    line_ = append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)));
    putOnLayer(line_, L"Wall-Ext");
    auto* pline = new ZcDbPolyline();
    pline->addVertexAt(0, ZcGePoint2d(0, 0));
    pline->addVertexAt(1, ZcGePoint2d(1, 1));
    polyline_ = append(pline);
    putOnLayer(polyline_, L"DOOR");
    circle_ = append(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/1.0));
    putOnLayer(circle_, L"WINDOW");
  }

  static FilterResult evaluate(const Chain& filter, ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    EXPECT_EQ(zcdbOpenObject(entity, id, ZcDb::kForRead), Zcad::eOk);
    if (!entity) return FilterResult::kMalformed;
    const FilterResult result = evaluateFilter(filter.get(), *entity);
    entity->close();
    return result;
  }
  // Which of line, polyline, circle pass.
  std::vector<bool> passing(const Chain& filter) const {
    std::vector<bool> result;
    for (const ZcDbObjectId id : {line_, polyline_, circle_})
      result.push_back(evaluate(filter, id) == FilterResult::kMatch);
    return result;
  }

  ZcDbObjectId line_, polyline_, circle_;
};

using Passing = std::vector<bool>;

TEST_F(SelectionFilterTest, EntityTypesByDxfNameAlternativesAndOr) {
  EXPECT_EQ(passing(Chain(zcutBuildList(RTDXF0, L"LINE", 0))), (Passing{true, false, false}));
  EXPECT_EQ(passing(Chain(zcutBuildList(RTDXF0, L"line,circle", 0))), (Passing{true, false, true}));
  EXPECT_EQ(passing(Chain(zcutBuildList(-4, L"<or", RTDXF0, L"LWPOLYLINE", RTDXF0, L"LINE", -4, L"or>", 0))),
            (Passing{true, true, false}));
  // Group 0 as a drawing file writes it (zcutBuildList ends its list at 0, so built by hand).
  Chain zero(zcutNewRb(0));
  zero->resval.rstring = zcutNewString(L"CIRCLE");
  EXPECT_EQ(passing(zero), (Passing{false, false, true}));
}

TEST_F(SelectionFilterTest, EntityTypeNameComesFromTheRuntimeClass) {
  ZcGePoint3dArray points{{0, 0, 0}, {1, 0, 0}};
  const ZcDbObjectId flat = append(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  const ZcDbObjectId spatial = append(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, points));
  const ZcDbObjectId helix = append(new ZcDbHelix());
  const Chain polylines(zcutBuildList(RTDXF0, L"POLYLINE", 0));
  EXPECT_EQ(evaluate(polylines, flat), FilterResult::kMatch);
  EXPECT_EQ(evaluate(polylines, spatial), FilterResult::kMatch);
  EXPECT_EQ(evaluate(Chain(zcutBuildList(RTDXF0, L"HELIX", 0)), helix), FilterResult::kMatch);
  EXPECT_EQ(evaluate(Chain(zcutBuildList(RTDXF0, L"SPLINE", 0)), helix), FilterResult::kNoMatch)
      << "a helix is a spline underneath but not by name";
}

TEST_F(SelectionFilterTest, LayerPatternsCompareWithoutCase) {
  EXPECT_EQ(passing(Chain(zcutBuildList(8, L"WALL*,DOOR", 0))), (Passing{true, true, false}));
  EXPECT_EQ(passing(Chain(zcutBuildList(8, L"wall-ext", 0))), (Passing{true, false, false}));
  EXPECT_EQ(passing(Chain(zcutBuildList(-4, L"<not", 8, L"WALL*,DOOR", -4, L"not>", 0))),
            (Passing{false, false, true}));
  // Items of the chain must all pass.
  EXPECT_EQ(passing(Chain(zcutBuildList(8, L"WALL*,DOOR", RTDXF0, L"LWPOLYLINE", 0))),
            (Passing{false, true, false}));
}

TEST_F(SelectionFilterTest, GroupingsNestAndCountTheirOperands) {
  // Exactly one of: a line, on layer DOOR or WINDOW.
  const Chain xorFilter(zcutBuildList(-4, L"<XOR", RTDXF0, L"LINE", -4, L"<Or", 8, L"DOOR", 8, L"WINDOW", -4,
                                      L"OR>", -4, L"xor>", 0));
  EXPECT_EQ(passing(xorFilter), (Passing{true, true, true}));
  const Chain andNot(
      zcutBuildList(-4, L"<and", -4, L"<not", RTDXF0, L"CIRCLE", -4, L"not>", 8, L"*O*", -4, L"and>", 0));
  EXPECT_EQ(passing(andNot), (Passing{false, true, false}));
}

TEST_F(SelectionFilterTest, ColourLinetypeAndSpace) {
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, line_, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(entity->setColorIndex(1), Zcad::eOk);
  entity->close();
  const ZcDbObjectId paper =
      append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), db_.paperSpaceId());

  EXPECT_EQ(passing(Chain(zcutBuildList(62, 1, 0))), (Passing{true, false, false}));
  EXPECT_EQ(passing(Chain(zcutBuildList(62, 256, 0))), (Passing{false, true, true})) << "ByLayer is 256";
  EXPECT_EQ(passing(Chain(zcutBuildList(-4, L">=", 62, 100, 0))), (Passing{false, true, true}));
  EXPECT_EQ(passing(Chain(zcutBuildList(-4, L"!=", 8, L"DOOR", 0))), (Passing{true, false, true}));
  EXPECT_EQ(passing(Chain(zcutBuildList(6, L"BYLAYER", 0))), (Passing{true, true, true}));
  EXPECT_EQ(passing(Chain(zcutBuildList(67, 0, 0))), (Passing{true, true, true}));
  EXPECT_EQ(evaluate(Chain(zcutBuildList(67, 1, 0)), paper), FilterResult::kMatch);
  EXPECT_EQ(evaluate(Chain(zcutBuildList(67, 0, 0)), paper), FilterResult::kNoMatch);
}

TEST_F(SelectionFilterTest, GroupsThisHostDoesNotFilterOnTakeNothing) {
  const double origin[3] = {0, 0, 0};
  EXPECT_EQ(passing(Chain(zcutBuildList(10, origin, 0))), (Passing{false, false, false}));
  EXPECT_EQ(passing(Chain(zcutBuildList(-4, L"<or", 10, origin, RTDXF0, L"CIRCLE", -4, L"or>", 0))),
            (Passing{false, false, true}))
      << "another operand of an OR can still pass";
  EXPECT_EQ(checkFilter(Chain(zcutBuildList(10, origin, 0)).get()), FilterShape::kWellFormed);
}

TEST_F(SelectionFilterTest, MalformedChainsAreReportedNotMatched) {
  const std::vector<Chain> malformed = [] {
    std::vector<Chain> chains;
    chains.emplace_back(zcutBuildList(-4, L"<or", RTDXF0, L"LINE", 0));
    chains.emplace_back(zcutBuildList(RTDXF0, L"LINE", -4, L"or>", 0));
    chains.emplace_back(zcutBuildList(-4, L"<and", RTDXF0, L"LINE", -4, L"or>", 0));
    chains.emplace_back(zcutBuildList(-4, L"<not", RTDXF0, L"LINE", 8, L"0", -4, L"not>", 0));
    chains.emplace_back(zcutBuildList(-4, L"<xor", RTDXF0, L"LINE", -4, L"xor>", 0));
    chains.emplace_back(zcutBuildList(-4, L"<or", -4, L"or>", 0));
    chains.emplace_back(zcutBuildList(-4, L"<maybe", RTDXF0, L"LINE", -4, L"maybe>", 0));
    chains.emplace_back(zcutBuildList(RTDXF0, L"LINE", -4, L"=", 0));
    chains.emplace_back(zcutBuildList(-4, L"=", -4, L"<or", RTDXF0, L"LINE", -4, L"or>", 0));
    return chains;
  }();
  for (size_t i = 0; i < malformed.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(malformed[i], nullptr);
    EXPECT_EQ(checkFilter(malformed[i].get()), FilterShape::kMalformed);
    EXPECT_EQ(evaluate(malformed[i], line_), FilterResult::kMalformed);
  }
  EXPECT_EQ(checkFilter(nullptr), FilterShape::kWellFormed);
  EXPECT_EQ(evaluate(Chain(), line_), FilterResult::kMatch) << "no filter passes everything";
}

TEST_F(SelectionFilterTest, HostileNestingIsMalformedNotAStackOverflow) {
  resbuf* head = nullptr;
  for (int i = 0; i < 100000; ++i) {
    resbuf* open = zcutBuildList(-4, L"<not", 0);
    open->rbnext = head;
    head = open;
  }
  const Chain chain(head);
  EXPECT_EQ(checkFilter(chain.get()), FilterShape::kMalformed);
}

}  // namespace
}  // namespace vtcad::editor
