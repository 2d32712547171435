// The hole net end to end: a picture's cells, their holes of each shape placed in the drawing
// by origin and height, and the preview's dots.
#include <cmath>

#include "image/HoleNet.h"
#include "plugin/frame/FrameTestSupport.h"
#include "plugin/image/ImageTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

class HoleNetTest : public FrameTest {
 protected:
  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
};

TEST_F(HoleNetTest, AWidePictureOfSeventyTwoRowsHasTwiceAsManyColumns) {
  CImage picture = blackRectangleOnWhite(1024, 512, 0, 0, 512, 512);
  const HoleNetCells net = computeHoleNet(picture, kDefaultHoleRows, /*invert=*/false);
  EXPECT_EQ(net.rows, 72);
  EXPECT_EQ(net.columns, 144);
  EXPECT_NEAR(net.cellSize, 512.0 / 72, 1e-12);
  // Black cells get the largest hole, white ones (more samples than c² when c is not whole)
  // slightly less than none.
  EXPECT_DOUBLE_EQ(net.cells.front().measure, net.cellSize);
  EXPECT_LT(net.cells.back().measure, 0.0);
  EXPECT_GT(net.cells.back().measure, -net.cellSize);
  const HoleNetCells inverted = computeHoleNet(picture, kDefaultHoleRows, /*invert=*/true);
  EXPECT_DOUBLE_EQ(inverted.cells.front().measure, 0.0);
  EXPECT_GT(inverted.cells.back().measure, net.cellSize * 0.99);
}

TEST_F(HoleNetTest, RowsOutsideTheEditsRangeAreSeventyTwoAndRowsAboveTheHeightAreTheHeight) {
  EXPECT_EQ(committedHoleRows(23), 72);
  EXPECT_EQ(committedHoleRows(1025), 72);
  EXPECT_EQ(committedHoleRows(24), 24);
  CImage small = blackRectangleOnWhite(40, 30, 0, 0, 40, 30);
  EXPECT_EQ(computeHoleNet(small, 100, false).rows, 30);
}

TEST_F(HoleNetTest, CirclesLandBelowTheOriginPlusHeightAndGrowWithTheHoleSize) {
  // 48 × 24 pixels, 24 rows: cells of one pixel; only the top-left pixel is black.
  CImage picture = blackRectangleOnWhite(48, 24, 0, 0, 1, 1);
  const HoleNetCells net = computeHoleNet(picture, 24, false);
  const PicturePlacement placement{ZcGePoint3d(100, 200, 5), 48.0};  // 2 drawing units a pixel
  HoleNetStyle style;
  style.size = 45;
  ASSERT_EQ(placeHoleNet(net, placement, style), 1);  // white cells have no hole
  const auto ids = modelSpace();
  ASSERT_EQ(ids.size(), 1u);
  Opened<ZcDbEntity> entity(ids[0]);
  const auto* circle = ZcDbCircle::cast(entity.get());
  ASSERT_NE(circle, nullptr);
  EXPECT_TRUE(closeTo(circle->center(), ZcGePoint3d(101, 247, 5)));
  EXPECT_NEAR(circle->radius(), 1.0 * 50 / 100 * 2, 1e-12);
}

TEST_F(HoleNetTest, SquaresAndDiamondsAreClosedFourVertexPolylines) {
  CImage picture = blackRectangleOnWhite(24, 24, 0, 0, 1, 1);
  const HoleNetCells net = computeHoleNet(picture, 24, false);
  const PicturePlacement placement{ZcGePoint3d(0, 0, 0), 24.0};
  for (HoleShape shape : {HoleShape::kSquare, HoleShape::kDiamond}) {
    HoleNetStyle style;
    style.size = 95;  // r = 1 · 100 / 100 · 1 = 1
    style.shape = shape;
    ASSERT_EQ(placeHoleNet(net, placement, style), 1);
  }
  const auto ids = modelSpace();
  ASSERT_EQ(ids.size(), 2u);
  Opened<ZcDbEntity> square(ids[0]);
  Opened<ZcDbEntity> diamond(ids[1]);
  const auto* s = ZcDbPolyline::cast(square.get());
  const auto* d = ZcDbPolyline::cast(diamond.get());
  ASSERT_TRUE(s && d);
  EXPECT_TRUE(s->isClosed() && d->isClosed());
  EXPECT_EQ(s->numVerts(), 4u);
  EXPECT_EQ(d->numVerts(), 4u);
  ZcGePoint3d first;
  // The centre is (0.5, 23.5): the square starts at its lower right, the diamond at its bottom.
  s->getPointAt(0, first);
  EXPECT_TRUE(closeTo(first, ZcGePoint3d(1.5, 22.5, 0)));
  d->getPointAt(0, first);
  EXPECT_TRUE(closeTo(first, ZcGePoint3d(0.5, 22.5, 0)));
}

TEST_F(HoleNetTest, APickedEntityIsCopiedCentredAndScaledToEachHole) {
  // A 4 × 2 rectangle: a = (4 + 2) / 4 = 1.5.
  auto* rectangle = new ZcDbPolyline();
  const double xs[4] = {10, 14, 14, 10};
  const double ys[4] = {10, 10, 12, 12};
  for (unsigned int i = 0; i < 4; ++i) rectangle->addVertexAt(i, ZcGePoint2d(xs[i], ys[i]));
  rectangle->setClosed(true);
  const ZcDbObjectId picked = addToModelSpace(rectangle);

  CImage picture = blackRectangleOnWhite(24, 24, 0, 0, 1, 1);
  const HoleNetCells net = computeHoleNet(picture, 24, false);
  HoleNetStyle style;
  style.size = 295;  // r = 3
  style.shape = HoleShape::kPickedEntity;
  style.holeEntity = picked;
  ASSERT_EQ(placeHoleNet(net, PicturePlacement{ZcGePoint3d(0, 0, 0), 24.0}, style), 1);
  const auto ids = modelSpace();
  ASSERT_EQ(ids.size(), 2u);
  Opened<ZcDbEntity> copy(ids[1]);
  ZcDbExtents box;
  ASSERT_EQ(copy->getGeomExtents(box), Zcad::eOk);
  // Twice the size (3 / 1.5) about the hole's centre (0.5, 23.5).
  EXPECT_TRUE(closeTo(box.minPoint(), ZcGePoint3d(0.5 - 4, 23.5 - 2, 0), 1e-9));
  EXPECT_TRUE(closeTo(box.maxPoint(), ZcGePoint3d(0.5 + 4, 23.5 + 2, 0), 1e-9));
  // The picked entity itself is unchanged.
  Opened<ZcDbEntity> original(picked);
  ASSERT_EQ(original->getGeomExtents(box), Zcad::eOk);
  EXPECT_TRUE(closeTo(box.minPoint(), ZcGePoint3d(10, 10, 0)));
}

TEST_F(HoleNetTest, HoleSizeZeroStillPlacesHolesButThePreviewDotsVanish) {
  CImage picture = blackRectangleOnWhite(24, 24, 0, 0, 24, 24);
  const HoleNetCells net = computeHoleNet(picture, 24, false);
  HoleNetStyle style;
  style.size = 0;
  EXPECT_EQ(placeHoleNet(net, PicturePlacement{ZcGePoint3d(0, 0, 0), 24.0}, style), 24 * 24);
  const PreviewDot dot = previewDot(net.cells[0], 0, 1.0);
  EXPECT_EQ(dot.left, dot.right);
  const PreviewDot scaled = previewDot(net.cells[25], 100, 0.5);
  // Centre (1.5, 1.5) cut to (1, 1), radius 1.5, box halved.
  EXPECT_DOUBLE_EQ(scaled.left, -0.25);
  EXPECT_DOUBLE_EQ(scaled.bottom, 1.25);
}

}  // namespace
}  // namespace veltrace::testing
