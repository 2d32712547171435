// The current view: VIEWCTR / VIEWSIZE from the "*Active" record, and pixels <-> world through
// the zced calls at several views.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "WorkingDrawingFixture.h"
#include "editor/ViewTransform.h"
#include "zcad/zced.h"

namespace editor = vtcad::editor;

namespace {

using ViewTransformTest = WorkingDrawingFixture;

struct View {
  ZcGePoint2d center;
  double height;
  editor::ScreenSize screen;
};

TEST_F(ViewTransformTest, NewDrawingShowsTheA3SheetCentredOnTheScreen) {
  // The middle of the 1600 x 1000 screen shows the centre; up the screen is up the drawing.
  CPoint middle;
  ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/0, ZcGePoint3d(210, 148.5, 0), middle));
  EXPECT_EQ(middle.x, 800);
  EXPECT_EQ(middle.y, 500);
  ZcGePoint3d topLeft;
  ASSERT_TRUE(zcedCoordFromPixelToWorld(CPoint{0, 0}, topLeft));
  EXPECT_NEAR(topLeft.y, 148.5 + 297.0 / 2, 1e-9) << "the top row shows the top of the view";
  ZcGePoint3d bottomRight;
  ASSERT_TRUE(zcedCoordFromPixelToWorld(/*windnum=*/0, CPoint{1600, 1000}, bottomRight));
  EXPECT_NEAR(bottomRight.y, 148.5 - 297.0 / 2, 1e-9);
  EXPECT_NEAR(bottomRight.x - topLeft.x, 297.0 * 1600 / 1000, 1e-9) << "square pixels";
}

TEST_F(ViewTransformTest, WorldToPixelToWorldStaysWithinAPixelAtSeveralViews) {
  const View views[] = {
      {{210, 148.5}, 297, {1600, 1000}},
      {{-1000, 5000}, 0.5, {1920, 1080}},
      {{1e6, -2e6}, 1e5, {640, 480}},
      {{0, 0}, 3, {1, 1}},  // a one-pixel screen
  };
  std::mt19937 random(7);
  for (const View& v : views) {
    changeActiveView([&](ZcDbViewportTableRecord& record) {
      record.setCenterPoint(v.center);
      record.setHeight(v.height);
      record.setWidth(v.height * v.screen.width / v.screen.height);
    });
    ASSERT_TRUE(editor::setScreenSize(v.screen));
    const double unitsPerPixel = v.height / v.screen.height;
    std::uniform_real_distribution<double> across(-0.5, 0.5);
    for (int i = 0; i < 200; ++i) {
      ZcGePoint3d world(v.center.x + across(random) * v.height * v.screen.width / v.screen.height,
                        v.center.y + across(random) * v.height, 0.0);
      CPoint pixel;
      ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/1, world, pixel));
      EXPECT_GE(pixel.x, 0);
      EXPECT_LE(pixel.x, v.screen.width);
      ZcGePoint3d back;
      ASSERT_TRUE(zcedCoordFromPixelToWorld(pixel, back));
      // Rounding to the nearest pixel moves a point at most half a pixel each way.
      EXPECT_LE(std::fabs(back.x - world.x), unitsPerPixel * (0.5 + 1e-9)) << "view height " << v.height;
      EXPECT_LE(std::fabs(back.y - world.y), unitsPerPixel * (0.5 + 1e-9)) << "view height " << v.height;
      EXPECT_EQ(back.z, 0.0);
    }
    // Whole pixels survive the way back exactly.
    for (CPoint pixel : {CPoint{0, 0}, CPoint{v.screen.width, 0}, CPoint{3, v.screen.height}}) {
      ZcGePoint3d world;
      ASSERT_TRUE(zcedCoordFromPixelToWorld(pixel, world));
      CPoint again;
      ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/0, world, again));
      EXPECT_EQ(again.x, pixel.x);
      EXPECT_EQ(again.y, pixel.y);
    }
    // VIEWCTR and VIEWSIZE follow the record.
    resbuf rb{};
    ASSERT_EQ(zcedGetVar(L"VIEWSIZE", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, v.height);
    ASSERT_EQ(zcedGetVar(L"VIEWCTR", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[0], v.center.x);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], v.center.y);
  }
}

TEST_F(ViewTransformTest, TwistedAndTiltedViewsMapPixelsToTheViewPlaneAndBack) {
  // Twisted a quarter turn counter-clockwise: the drawing's x axis points up the screen.
  changeActiveView([](ZcDbViewportTableRecord& record) {
    record.setTarget(ZcGePoint3d(10, 20, 0));
    record.setCenterPoint(ZcGePoint2d(0, 0));
    record.setViewTwist(std::numbers::pi / 2);
  });
  CPoint middle, east;
  ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/0, ZcGePoint3d(10, 20, 0), middle));
  ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/0, ZcGePoint3d(110, 20, 0), east));
  EXPECT_EQ(middle.x, 800);
  EXPECT_EQ(middle.y, 500);
  EXPECT_EQ(east.x, 800);
  EXPECT_LT(east.y, 500);

  // Looking down a diagonal: pixels name points of the plane through the target across the
  // view direction, and come back to themselves.
  changeActiveView([](ZcDbViewportTableRecord& record) {
    record.setViewDirection(ZcGeVector3d(1, 1, 1));
    record.setViewTwist(0.3);
  });
  const ZcGeVector3d direction = ZcGeVector3d(1, 1, 1).normal();
  for (CPoint pixel : {CPoint{0, 0}, CPoint{1600, 1000}, CPoint{123, 877}, CPoint{800, 500}}) {
    ZcGePoint3d world;
    ASSERT_TRUE(zcedCoordFromPixelToWorld(pixel, world));
    EXPECT_NEAR((world - ZcGePoint3d(10, 20, 0)).dotProduct(direction), 0.0, 1e-9);
    CPoint again;
    ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/0, world, again));
    EXPECT_EQ(again.x, pixel.x);
    EXPECT_EQ(again.y, pixel.y);
    // A point anywhere on the line of sight shows at the same pixel.
    ASSERT_TRUE(zcedCoordFromWorldToPixel(/*windnum=*/0, world + direction * 40.0, again));
    EXPECT_EQ(again.x, pixel.x);
    EXPECT_EQ(again.y, pixel.y);
  }
}

TEST_F(ViewTransformTest, DegenerateCasesShowTheNewDrawingsViewOrAnswerFalse) {
  // A drawing without a viewport table, and no drawing at all.
  ZcDbDatabase empty(/*buildDefaultDrawing=*/false);
  const editor::ScreenSize screen{.width = 1600, .height = 1000};
  const ZcDbDatabase* drawings[] = {&empty, nullptr};
  for (const ZcDbDatabase* drawing : drawings) {
    editor::ViewTransform view = editor::ViewTransform::of(drawing, screen);
    EXPECT_TRUE(view.center().isEqualTo(ZcGePoint3d(210, 148.5, 0)));
    EXPECT_EQ(view.height(), 297.0);
  }
  // Views that would divide by zero.
  editor::ViewTransform flat(ZcGePoint2d(0, 0), /*height=*/0.0, {.width = 0, .height = 0});
  EXPECT_EQ(flat.height(), 297.0);
  EXPECT_EQ(flat.screen().height, 1);

  CPoint pixel{-7, -7};
  EXPECT_FALSE(zcedCoordFromWorldToPixel(/*windnum=*/0, ZcGePoint3d(std::nan(""), 0, 0), pixel));
  EXPECT_FALSE(zcedCoordFromWorldToPixel(/*windnum=*/0, ZcGePoint3d(1e300, 0, 0), pixel));
  EXPECT_EQ(pixel.x, -7) << "left as it was";
}

}  // namespace
