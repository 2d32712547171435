// Texts are drawn inside the box their extents give, at any rotation, oblique angle and width,
// Latin and Chinese alike.
#include <gtest/gtest.h>

#include <random>

#include "RenderTestSupport.h"
#include "host/editor/WorkingDrawingFixture.h"
#include "render/Projection.h"
#include "render/TextPainter.h"
#include "zcad/db/ZcDbText.h"

namespace {

using vtcad::render::Rgb;

using TextPainterTest = WorkingDrawingFixture;

TEST_F(TextPainterTest, InkStaysInsideTheExtentsAndFillsThem) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> angle(-3.0, 3.0), slant(-0.8, 0.8), widthFactor(0.5, 2.0);
  const wchar_t* strings[] = {L"Hello, world", L"gyp|Q", L"中文字体 mixed", L"%%c50 %%d"};
  const vtcad::editor::ViewTransform view(ZcGePoint2d(0, 0), 200, {300, 300});
  for (int round = 0; round < 24; ++round) {
    auto* text =
        new ZcDbText(ZcGePoint3d(-40, -10, 0), strings[round % 4], ZcDbObjectId::kNull, 12, angle(rng));
    text->setOblique(slant(rng));
    text->setWidthFactor(widthFactor(rng));
    const ZcDbObjectId id = render_test::addEntity(db, text);
    ZcDbText* opened = nullptr;
    ASSERT_EQ(zcdbOpenObject(opened, id, ZcDb::kForRead), Zcad::eOk);
    ZcGePoint3dArray corners;
    ASSERT_EQ(opened->getBoundingPoints(corners), Zcad::eOk);
    opened->close();
    const render_test::Image image = render_test::renderImage(&db, view);
    // The box in pixels: inside when on the inner side of all four edges, 1.5 pixels spare.
    const vtcad::render::Projection toPixel(view);
    const ZcGePoint2d quad[4] = {toPixel(corners[0]), toPixel(corners[1]), toPixel(corners[3]),
                                 toPixel(corners[2])};
    double area = 0.0;
    for (int i = 0; i < 4; ++i) area += quad[i].x * quad[(i + 1) % 4].y - quad[(i + 1) % 4].x * quad[i].y;
    int ink = 0, outside = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (image.at(x, y) == Rgb{0, 0, 0}) continue;
        ++ink;
        for (int i = 0; i < 4; ++i) {
          const ZcGePoint2d& a = quad[i];
          const ZcGePoint2d& b = quad[(i + 1) % 4];
          const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
          if ((area > 0 ? cross : -cross) < -1.5 * std::hypot(b.x - a.x, b.y - a.y)) {
            ++outside;
            break;
          }
        }
      }
    }
    EXPECT_GT(ink, std::fabs(area) / 2 * 0.1) << "round " << round << ": the glyphs cover part of their box";
    EXPECT_EQ(outside, 0) << "round " << round;
    ZcDbEntity* erased = nullptr;
    ASSERT_EQ(zcdbOpenObject(erased, id, ZcDb::kForWrite), Zcad::eOk);
    erased->erase();
    erased->close();
  }
}

}  // namespace
