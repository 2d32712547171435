// PLYH on the command line: the selection, the scale, the tolerance prompt and the summary in
// both languages, and a drawing optimised, saved and loaded again.
#include <filesystem>
#include <string>

#include "VertexOptimisationTestSupport.h"
#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbLine.h"

namespace veltrace::testing {
namespace {

class PlyhCommandTest : public VertexToolTest {
 protected:
  // Runs PLYH with `answer` at the tolerance prompt on a fresh set of probes: a frame whose box
  // has a diagonal of exactly 1000 (so the threshold is t itself) and four three-vertex
  // polylines whose middle vertex lies 1, 3, 6 and 9.7 from the line of the first: it stays
  // when that is above t. 14 vertices in all.
  void plyh(const std::wstring& answer) {
    for (const ZcDbObjectId id : entitiesOf()) {
      ZcDbEntity* entity = nullptr;
      ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
      entity->erase();
      entity->close();
    }
    addLightweight({{0, 0}, {600, 800}});
    double y = 100;
    for (const double height : {1.0, 3.0, 6.0, 9.7}) {
      addLightweight({{100, y + height}, {200, y}, {300, y}});
      y += 150;
    }
    transcript_.clear();
    run(L"PLYH\nALL\n\n" + answer + L"\n");
  }
  bool summarised(int after, int percent) const {
    return said("\nVertexs befor optimization : 14， nVertexs now: " + std::to_string(after) +
                "，optimization efficiency is " + std::to_string(percent) + " percent.");
  }
};

TEST_F(PlyhCommandTest, ToleranceIsClampedAndEnterOrEscTakeOne) {
  plyh(L"1");
  EXPECT_TRUE(summarised(14, 0)) << transcript_;
  EXPECT_TRUE(said("Please select polyline >\n") && said("\nPlease input the tolerance[1--10](1):"))
      << transcript_;
  plyh(L"3");
  EXPECT_TRUE(summarised(13, 7)) << transcript_;
  for (const wchar_t* large : {L"10", L"11", L"32767"}) {
    plyh(large);
    EXPECT_TRUE(summarised(11, 21)) << transcript_;
  }
  plyh(L"0\n-3\n5");  // refused and asked again
  EXPECT_TRUE(said("Value must be positive and nonzero.") && summarised(12, 14)) << transcript_;
  plyh(L"");
  EXPECT_TRUE(summarised(14, 0)) << transcript_;
  plyh(L"^C");
  EXPECT_TRUE(summarised(14, 0)) << transcript_;
  EXPECT_EQ(entitiesOf().size(), 5u);

  chineseVersion = true;
  plyh(L"3");
  for (const char* text : {"请选择待优化的多段线>\n", "\n请输入误差[1--10](1):",
                           "\n优化前顶点数: 14， 优化后顶点数: 13，优化效率7％。 "}) {
    EXPECT_TRUE(said(text)) << text << transcript_;
  }
  run(L"PLYH\n\n");
  EXPECT_TRUE(said("未选中多段线。\n")) << transcript_;
}

TEST_F(PlyhCommandTest, WhatEndsTheCommandEarly) {
  const ZcDbObjectId line = addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0)));
  run(L"PLYH\nALL\n\n");  // nothing passes the filter
  EXPECT_TRUE(said("No polyline selected.\n")) << transcript_;
  transcript_.clear();
  run(L"PLYH\n^C\n");
  EXPECT_TRUE(said("No polyline selected.\n")) << transcript_;
  // A selection whose box has a diagonal of 0.0005.
  const ZcDbObjectId small = addLightweight({{0, 0}, {0.0001, 0.0002}, {0.0003, 0.0004}});
  run(L"PLYH\nALL\n\n");
  EXPECT_TRUE(said("The height of the polyline bounding box is too low.\n")) << transcript_;
  EXPECT_FALSE(said("tolerance")) << transcript_;
  EXPECT_EQ(entitiesOf(), (std::vector<ZcDbObjectId>{line, small}));

  // Two polylines too short to keep, far apart: the box of both is large enough, they are
  // erased without a word, and with nothing counted there is no summary.
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, small, ZcDb::kForWrite), Zcad::eOk);
  entity->erase();
  entity->close();
  addLightweight({{50, 50}, {50.000001, 50}});
  addLightweight({{-50, -50}, {-50, -50.000001}});
  transcript_.clear();
  run(L"PLYH\nALL\n\n\n");
  EXPECT_FALSE(said("too low") || said("Vertexs")) << transcript_;
  EXPECT_EQ(entitiesOf(), std::vector<ZcDbObjectId>{line});
}

// PLYH on the three kinds, saved and loaded again: straight lightweight polylines and a closed
// 3-D one, with the vertices they had before saving.
TEST_F(PlyhCommandTest, OptimisedDrawingSurvivesSavingAndLoading) {
  addToModelSpace(lightweight({{0, 0}, {10, 0.001}, {20, 0}, {30, 10}, {40, 0}}, false, {0, 0, 0.4, 0, 0}));
  add2d({{0, 20, 0}, {20, 20, 0}, {40, 20, 0}, {40, 40, 0}});
  add3d({{0, 50, 0}, {10, 50, 1}, {20, 50, 2}, {20, 60, 5}}, /*closed=*/true);
  run(L"PLYH\nALL\n\n2\n");
  EXPECT_TRUE(said("Vertexs befor optimization : 13， nVertexs now: 10")) << transcript_;
  std::vector<std::vector<ZcGePoint3d>> drawn;
  for (const ZcDbObjectId id : entitiesOf()) drawn.push_back(pointsOf(id));
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].size(), 4u);  // the 0.001 bump went
  EXPECT_EQ(drawn[1].size(), 3u);  // so did the middle of the straight run

  const std::filesystem::path file = settingsDir_ / "optimised.dxf";
  std::filesystem::create_directories(settingsDir_);
  ASSERT_TRUE(vtcad::dxf::saveDxfFile(*db_, file).ok);
  vtcad::dxf::LoadResult loaded = vtcad::dxf::loadDxfFile(file);
  ASSERT_TRUE(loaded.ok()) << loaded.refusal;
  std::vector<ZcDbObjectId> ids;
  for (const ZcDbObjectId id : Opened<ZcDbBlockTableRecord>(loaded.database->modelSpaceId())->entityIds()) {
    if (!id.isErased()) ids.push_back(id);
  }
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_FALSE(Opened<ZcDbPolyline>(ids[0])->hasBulges());
  EXPECT_TRUE(Opened<ZcDbPolyline>(ids[1]));
  EXPECT_TRUE(Opened<ZcDb3dPolyline>(ids[2])->isClosed());
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const std::vector<ZcGePoint3d> points = pointsOf(ids[k]);
    ASSERT_EQ(points.size(), drawn[k].size()) << k;
    for (std::size_t i = 0; i < points.size(); ++i) EXPECT_TRUE(closeTo(points[i], drawn[k][i])) << k;
  }
}

}  // namespace
}  // namespace veltrace::testing
