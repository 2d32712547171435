// Hatches: a solid fill fills its loops but not their islands; pattern lines stay inside.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "host/editor/WorkingDrawingFixture.h"
#include "render/HatchPainter.h"
#include "zcad/db/ZcDbHatch.h"

namespace {

using vtcad::render::Rgb;
using HatchPainterTest = WorkingDrawingFixture;

constexpr Rgb kBlack{0, 0, 0};

ZcGePoint2dArray square(double x0, double y0, double size) {
  ZcGePoint2dArray points;
  points.append(ZcGePoint2d(x0, y0));
  points.append(ZcGePoint2d(x0 + size, y0));
  points.append(ZcGePoint2d(x0 + size, y0 + size));
  points.append(ZcGePoint2d(x0, y0 + size));
  return points;
}

ZcDbHatch* squareWithIsland() {
  auto* hatch = new ZcDbHatch;
  ZcGeDoubleArray bulges;
  for (int i = 0; i < 4; ++i) bulges.append(0.0);
  hatch->appendLoop(ZcDbHatch::kExternal | ZcDbHatch::kPolyline, square(10, 10, 80), bulges);
  hatch->appendLoop(ZcDbHatch::kPolyline, square(40, 40, 20), bulges);
  return hatch;
}

TEST_F(HatchPainterTest, SolidFillsLeaveIslandsAndPatternLinesStayInside) {
  // One unit a pixel: world (x, y) is pixel (x, 100 - y).
  const vtcad::editor::ViewTransform view(ZcGePoint2d(50, 50), 100, {100, 100});
  ZcDbHatch* solid = squareWithIsland();
  solid->setPattern(ZcDbHatch::kPreDefined, L"SOLID");
  const ZcDbObjectId solidId = render_test::addEntity(db, solid);
  render_test::Image image = render_test::renderImage(&db, view);
  EXPECT_NE(image.at(20, 80), kBlack) << "inside the loop";
  EXPECT_EQ(image.at(50, 50), kBlack) << "the island";
  EXPECT_EQ(image.at(5, 5), kBlack) << "outside";

  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, solidId, ZcDb::kForWrite), Zcad::eOk);
  entity->erase();
  entity->close();
  ZcDbHatch* lines = squareWithIsland();
  lines->setPattern(ZcDbHatch::kUserDefined, L"_USER");
  lines->setPatternSpace(5);
  render_test::addEntity(db, lines);
  image = render_test::renderImage(&db, view);
  int inside = 0, outside = 0, island = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (image.at(x, y) == kBlack) continue;
      const bool inLoop = x >= 9 && x <= 91 && y >= 9 && y <= 91;
      const bool inIsland = x >= 42 && x <= 58 && y >= 42 && y <= 58;
      inside += inLoop && !inIsland;
      island += inIsland;
      outside += !inLoop;
    }
  }
  EXPECT_GT(inside, 800) << "16 lines of 80 pixels, less the island";
  EXPECT_EQ(island, 0);
  EXPECT_EQ(outside, 0);
}

}  // namespace
