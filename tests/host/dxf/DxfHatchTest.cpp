#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "DxfTestDrawing.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/ge/ZcGe.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

constexpr double kTol = 1e-12;

Groups groupsOf(const std::string& text) {
  Groups groups;
  std::istringstream in(text);
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value)) {
    if (!value.empty()) value.pop_back();  // the '\r' of the line end
    groups.emplace_back(std::stoi(code), value);
  }
  return groups;
}

bool contains(const Groups& groups, const Groups& run) {
  return std::search(groups.begin(), groups.end(), run.begin(), run.end()) != groups.end();
}

// A LINE (handle 40) that the hatch names as the source of its polyline loop, then the
// hatch with the given boundary groups between "91" and "75".
Groups lineAndHatch(const Groups& boundary, const Groups& tail = {}) {
  Groups all{{0, "LINE"},        {5, "40"},           {100, "AcDbEntity"},
             {8, "0"},           {100, "AcDbLine"},   {10, "0"},
             {20, "0"},          {30, "0"},           {11, "4"},
             {21, "0"},          {31, "0"},           {0, "HATCH"},
             {5, "41"},          {100, "AcDbEntity"}, {8, "0"},
             {100, "AcDbHatch"}, {10, "0"},           {20, "0"},
             {30, "2.5"},        {210, "0"},          {220, "0"},
             {230, "1"},         {2, "ANSI31"},       {70, "0"},
             {71, "1"}};
  all.insert(all.end(), boundary.begin(), boundary.end());
  const Groups pattern{{75, "1"}, {76, "1"}, {52, "45"}, {41, "2"}, {77, "0"}};
  all.insert(all.end(), pattern.begin(), pattern.end());
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

const Groups kPolylineLoop{{92, "7"}, {72, "1"}, {73, "1"}, {93, "4"},   {10, "0"}, {20, "0"},
                           {42, "0"}, {10, "4"}, {20, "0"}, {42, "0.5"}, {10, "4"}, {20, "4"},
                           {42, "0"}, {10, "0"}, {20, "4"}, {42, "0"},   {97, "1"}, {330, "40"}};
// Line, clockwise arc, elliptical arc, rational spline with fit data.
const Groups kEdgeLoop{{92, "1"},   {93, "4"},   {72, "1"}, {10, "0"},   {20, "0"},   {11, "4"},   {21, "0"},
                       {72, "2"},   {10, "4"},   {20, "1"}, {40, "1"},   {50, "90"},  {51, "180"}, {73, "0"},
                       {72, "3"},   {10, "1.5"}, {20, "1"}, {11, "1.5"}, {21, "0"},   {40, "0.5"}, {50, "0"},
                       {51, "180"}, {73, "1"},   {72, "4"}, {94, "2"},   {73, "1"},   {74, "0"},   {95, "6"},
                       {96, "3"},   {40, "0"},   {40, "0"}, {40, "0"},   {40, "1"},   {40, "1"},   {40, "1"},
                       {10, "0"},   {20, "1"},   {42, "1"}, {10, "-1"},  {20, "0.5"}, {42, "0.5"}, {10, "0"},
                       {20, "0"},   {42, "1"},   {97, "2"}, {11, "0"},   {21, "1"},   {11, "0"},   {21, "0"},
                       {12, "-1"},  {22, "0"},   {13, "1"}, {23, "0"},   {97, "0"}};
const Groups kTail{{78, "1"},    {53, "45"},   {43, "0"},  {44, "0"},    {45, "-2.2"}, {46, "2.2"},
                   {79, "0"},    {98, "1"},    {10, "1"},  {20, "1"},    {450, "0"},   {451, "0"},
                   {460, "0.0"}, {461, "0.0"}, {452, "0"}, {462, "1.0"}, {453, "0"},   {470, "LINEAR"}};

ZcDbHatchEdgeArray expectedEdges() {
  constexpr double d = ZcGe::kPi / 180.0;
  ZcDbHatchEdgeArray edges;
  edges.append(ZcDbHatchEdge::line(ZcGePoint2d(0, 0), ZcGePoint2d(4, 0)));
  edges.append(ZcDbHatchEdge::circularArc(ZcGePoint2d(4, 1), /*radius=*/1.0, 90 * d, 180 * d,
                                          /*isCounterClockwise=*/false));
  edges.append(ZcDbHatchEdge::ellipticalArc(ZcGePoint2d(1.5, 1), ZcGeVector2d(1.5, 0),
                                            /*minorMajorRatio=*/0.5, 0.0, 180 * d,
                                            /*isCounterClockwise=*/true));
  edges.append(ZcDbHatchEdge::spline(
      /*degree=*/2, /*isRational=*/true, /*isPeriodic=*/false, ZcGeDoubleArray{0, 0, 0, 1, 1, 1},
      ZcGePoint2dArray{ZcGePoint2d(0, 1), ZcGePoint2d(-1, 0.5), ZcGePoint2d(0, 0)},
      ZcGeDoubleArray{1, 0.5, 1}, ZcGePoint2dArray{ZcGePoint2d(0, 1), ZcGePoint2d(0, 0)}, ZcGeVector2d(-1, 0),
      ZcGeVector2d(1, 0)));
  return edges;
}

// Equal edges, angles within a rounding of their degrees.
void expectEdgesNear(const ZcDbHatchEdgeArray& actual, const ZcDbHatchEdgeArray& expected) {
  ASSERT_EQ(actual.length(), expected.length());
  for (int k = 0; k < actual.length(); ++k) {
    const ZcDbHatchEdge& a = actual[k];
    const ZcDbHatchEdge& e = expected[k];
    ASSERT_EQ(a.type(), e.type()) << k;
    if (a.type() == ZcDbHatchEdge::kCirArc || a.type() == ZcDbHatchEdge::kEllArc) {
      EXPECT_TRUE(a.center().isEqualTo(e.center())) << k;
      EXPECT_NEAR(a.startAngle(), e.startAngle(), kTol) << k;
      EXPECT_NEAR(a.endAngle(), e.endAngle(), kTol) << k;
      EXPECT_EQ(a.isCounterClockwise(), e.isCounterClockwise()) << k;
      EXPECT_DOUBLE_EQ(a.radius(), e.radius()) << k;
      EXPECT_TRUE(a.majorAxis().isEqualTo(e.majorAxis())) << k;
      EXPECT_DOUBLE_EQ(a.minorMajorRatio(), e.minorMajorRatio()) << k;
    } else {
      EXPECT_TRUE(a == e) << k;  // points, knots and weights are bit-identical
    }
  }
}

void expectHatch(ZcDbDatabase& db, size_t index) {
  auto* hatch = openModelSpaceEntity<ZcDbHatch>(db, index);
  ASSERT_NE(hatch, nullptr);
  EXPECT_DOUBLE_EQ(hatch->elevation(), 2.5);
  EXPECT_EQ(std::wstring(hatch->patternName().kwszPtr()), L"ANSI31");
  EXPECT_EQ(hatch->patternType(), ZcDbHatch::kPreDefined);
  EXPECT_NEAR(hatch->patternAngle(), ZcGe::kPi / 4, kTol);
  EXPECT_DOUBLE_EQ(hatch->patternScale(), 2.0);
  EXPECT_EQ(hatch->hatchStyle(), ZcDbHatch::kOuter);
  EXPECT_TRUE(hatch->associative());
  EXPECT_FALSE(hatch->isSolidFill());
  ASSERT_EQ(hatch->numLoops(), 2);
  Zdesk::Int32 type = 0;
  ZcGePoint2dArray vertices;
  ZcGeDoubleArray bulges;
  ASSERT_EQ(hatch->getLoopAt(0, type, vertices, bulges), Zcad::eOk);
  EXPECT_EQ(type, 7);
  EXPECT_EQ(vertices.length(), 4);
  EXPECT_EQ(bulges, (ZcGeDoubleArray{0, 0.5, 0, 0}));
  ZcDbHatchEdgeArray edges;
  ASSERT_EQ(hatch->getLoopAt(1, type, edges), Zcad::eOk);
  EXPECT_EQ(type, ZcDbHatch::kExternal);
  expectEdgesNear(edges, expectedEdges());
  hatch->close();
}

TEST(DxfHatch, BoundaryEdgesSourcesAndPatternSurviveTwoSaves) {
  Groups boundary{{91, "2"}};
  boundary.insert(boundary.end(), kPolylineLoop.begin(), kPolylineLoop.end());
  boundary.insert(boundary.end(), kEdgeLoop.begin(), kEdgeLoop.end());
  LoadResult loaded = mustLoad(entitiesOnly(lineAndHatch(boundary, kTail)));
  ASSERT_TRUE(loaded.ok());
  EXPECT_TRUE(loaded.messages.empty()) << formatLoadMessage(loaded.messages.front());
  expectHatch(*loaded.database, 1);

  std::string previous;
  for (int pass = 0; pass < 2; ++pass) {
    const std::string saved = writeDxf(*loaded.database);
    const std::string entities = saved.substr(saved.find("ENTITIES"));
    if (pass > 0) {
      EXPECT_EQ(entities.substr(0, entities.find("ENDSEC")), previous);
    }
    previous = entities.substr(0, entities.find("ENDSEC"));
    const Groups groups = groupsOf(saved);
    // The source reference stays inside its loop; the kept tail follows the pattern groups.
    EXPECT_TRUE(contains(groups, {{42, "0.0"}, {97, "1"}, {330, "40"}, {92, "1"}})) << pass;
    EXPECT_TRUE(contains(groups, {{77, "0"}, {78, "1"}, {53, "45"}})) << pass;
    EXPECT_TRUE(contains(groups, kTail)) << pass;
    loaded = mustLoad(saved);
    ASSERT_TRUE(loaded.ok());
    expectHatch(*loaded.database, 1);
  }
}

TEST(DxfHatch, SplineEdgeWithoutFitDataBeforeTheLoopSources) {
  // Files before R2010 have no fit data on spline edges: the 97 after the control points of
  // the last edge is the loop's count of source objects.
  LoadResult loaded = mustLoad(entitiesOnly(
      lineAndHatch({{91, "1"}, {92, "0"},   {93, "3"}, {72, "4"},  {94, "1"}, {73, "0"}, {74, "0"}, {95, "4"},
                    {96, "2"}, {40, "0"},   {40, "0"}, {40, "1"},  {40, "1"}, {10, "0"}, {20, "0"}, {10, "4"},
                    {20, "4"}, {72, "1"},   {10, "4"}, {20, "4"},  {11, "0"}, {21, "0"}, {72, "4"}, {94, "1"},
                    {95, "4"}, {96, "2"},   {40, "0"}, {40, "0"},  {40, "1"}, {40, "1"}, {10, "0"}, {20, "0"},
                    {10, "0"}, {20, "0.5"}, {97, "1"}, {330, "40"}})));
  ASSERT_TRUE(loaded.ok());
  auto* hatch = openModelSpaceEntity<ZcDbHatch>(*loaded.database, 1);
  ASSERT_NE(hatch, nullptr);
  EXPECT_EQ(hatch->numLoops(), 1);
  hatch->close();
  const Groups groups = groupsOf(writeDxf(*loaded.database));
  EXPECT_TRUE(contains(groups, {{97, "0"}, {97, "1"}, {330, "40"}, {75, "1"}}));
}

TEST(DxfHatch, DamagedBoundariesNeverCrash) {
  const Groups goodLoop{{92, "2"}, {72, "0"}, {73, "1"}, {93, "3"}, {10, "0"},
                        {20, "0"}, {10, "1"}, {20, "0"}, {10, "1"}, {20, "1"}};
  struct Case {
    const char* what;
    Groups boundary;
    int loops;  // -1: the hatch is left out
  };
  const Case cases[] = {
      {"counts more edges than there are",
       {{91, "1"}, {92, "0"}, {93, "1000000000"}, {72, "1"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}},
       -1},
      {"an unknown edge type", {{91, "1"}, {92, "0"}, {93, "1"}, {72, "9"}, {10, "0"}, {20, "0"}}, -1},
      {"a negative path count", {{91, "-1"}}, -1},
      {"a group out of place",
       {{91, "1"}, {92, "0"}, {93, "1"}, {72, "2"}, {10, "0"}, {20, "0"}, {50, "0"}},
       -1},
      {"an unreadable radius",
       {{91, "2"},
        {92, "0"},
        {93, "1"},
        {72, "2"},
        {10, "0"},
        {20, "0"},
        {40, "x"},
        {50, "0"},
        {51, "90"},
        {73, "1"}},
       1},
      {"a zero radius",
       {{91, "2"},
        {92, "0"},
        {93, "1"},
        {72, "2"},
        {10, "0"},
        {20, "0"},
        {40, "0"},
        {50, "0"},
        {51, "90"},
        {73, "1"}},
       1},
  };
  for (const Case& c : cases) {
    Groups boundary = c.boundary;
    if (c.loops == 1) boundary.insert(boundary.end(), goodLoop.begin(), goodLoop.end());
    LoadResult loaded = mustRecover(entitiesOnly(lineAndHatch(boundary)));
    ASSERT_TRUE(loaded.ok()) << c.what;
    EXPECT_FALSE(loaded.messages.empty()) << c.what;
    std::vector<ZcDbObjectId> ids = modelSpaceEntities(*loaded.database);
    if (c.loops < 0) {
      EXPECT_EQ(ids.size(), 1u) << c.what;
      continue;
    }
    auto* hatch = openModelSpaceEntity<ZcDbHatch>(*loaded.database, 1);
    ASSERT_NE(hatch, nullptr) << c.what;
    EXPECT_EQ(hatch->numLoops(), c.loops) << c.what;
    hatch->close();
    LoadResult again = saveAndLoad(*loaded.database);
    ASSERT_TRUE(again.ok()) << c.what;
  }
}

}  // namespace
