// The vectorizer's own route end to end: colour regions of a picture, their outlines as closed
// polylines in an anonymous block, and the block's reference placed by origin and height.
#include <random>

#include "image/ColorRegions.h"
#include "image/InternalVectorize.h"
#include "plugin/frame/FrameTestSupport.h"
#include "plugin/image/ImageTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

class InternalVectorizeTest : public FrameTest {
 protected:
  std::vector<ZcDbObjectId> entitiesOf(ZcDbObjectId block) const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> record(block);
    for (ZcDbObjectId id : record->entityIds()) ids.push_back(id);
    return ids;
  }
  std::vector<unsigned> vertexCounts(ZcDbObjectId block) const {
    std::vector<unsigned> counts;
    for (ZcDbObjectId id : entitiesOf(block)) {
      Opened<ZcDbEntity> entity(id);
      if (!entity) continue;  // a traced polyline the optimiser replaced
      const auto* polyline = ZcDbPolyline::cast(entity.get());
      EXPECT_TRUE(polyline && polyline->isClosed());
      if (polyline) counts.push_back(polyline->numVerts());
    }
    return counts;
  }
};

TEST_F(InternalVectorizeTest, ABlackRectangleOnWhiteGivesOneOutlinePerRegionVertexForVertex) {
  CImage picture = blackRectangleOnWhite(40, 30, 10, 8, 30, 20);
  LabelGrid grid;
  ASSERT_EQ(makeColorRegion(picture, grid), 3);  // the outer ring, the white, the black
  EXPECT_EQ(grid.pixel(0, 0), 0);
  EXPECT_EQ(grid.pixel(1, 1), 1);
  EXPECT_EQ(grid.pixel(10, 8), 2);

  std::vector<std::size_t> painted;
  VectorizeObserver observer;
  observer.outline = [&painted](const std::vector<PixelPoint>& outline) {
    painted.push_back(outline.size());
  };
  const TracedBlock traced =
      traceColourRegionsIntoBlock(picture, /*clutter=*/10, /*optimisation=*/0, observer);
  ASSERT_FALSE(traced.block.isNull());
  EXPECT_EQ(traced.polylines, 2);
  // The white region's border runs round the picture inside its ring; the black one's round
  // the rectangle: one vertex per outline pixel.
  const std::vector<unsigned> counts = vertexCounts(traced.block);
  ASSERT_EQ(counts.size(), 2u);
  EXPECT_EQ(counts[0], painted[0]);
  EXPECT_EQ(counts[1], 2u * (20 + 12) - 4);
}

TEST_F(InternalVectorizeTest, OutlinesShorterThanTheClutterValueAreDroppedAndOptimisationSimplifies) {
  // Specks of 1 pixel (8 outline points at most) and one larger square.
  CImage picture = drawnPicture(60, 60, [](int x, int y) {
    if (x >= 20 && x < 40 && y >= 20 && y < 40) return RGB(0, 0, 0);
    return (x % 10 == 5 && y % 10 == 5) ? RGB(0, 0, 0) : RGB(255, 255, 255);
  });
  const TracedBlock traced = traceColourRegionsIntoBlock(picture, /*clutter=*/10, /*optimisation=*/10);
  // The white region and the square; the specks are gone and each outline is a few vertices.
  EXPECT_EQ(traced.polylines, 2);
  for (unsigned count : vertexCounts(traced.block)) EXPECT_LE(count, 12u);
}

TEST_F(InternalVectorizeTest, APictureFourHundredHighPlacedAtHeightOneHundredIsScaledByAQuarter) {
  CImage picture = blackRectangleOnWhite(20, 400, 5, 5, 15, 395);
  const TracedBlock traced = traceColourRegionsIntoBlock(picture, 10, 0);
  const ZcDbObjectId reference =
      insertTracedBlock(traced.block, PicturePlacement{ZcGePoint3d(10, 20, 0), 100.0}, picture.GetHeight());
  ASSERT_FALSE(reference.isNull());
  Opened<ZcDbEntity> entity(reference);
  const auto* insert = ZcDbBlockReference::cast(entity.get());
  ASSERT_NE(insert, nullptr);
  EXPECT_TRUE(closeTo(insert->position(), ZcGePoint3d(10, 120, 0)));
  EXPECT_DOUBLE_EQ(insert->scaleFactors().sx, 0.25);
  EXPECT_DOUBLE_EQ(insert->scaleFactors().sy, -0.25);
  EXPECT_EQ(ownerOf(reference), db_->modelSpaceId());
}

// Over random pictures of few colours: every region the labelling finds is connected by
// similar colours, and two neighbours of similar colour share a region.
TEST_F(InternalVectorizeTest, RegionsJoinExactlyTheNeighboursOfSimilarColour) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    std::uniform_int_distribution<int> size(3, 24);
    const int w = size(random), h = size(random);
    std::uniform_int_distribution<int> level(0, 2);
    std::vector<int> levels(static_cast<std::size_t>(w * h));
    for (int& l : levels) l = level(random);
    CImage picture = drawnPicture(w, h, [&](int x, int y) {
      const BYTE v = static_cast<BYTE>(levels[static_cast<std::size_t>(y * w + x)] * 100);
      return RGB(v, v, v);
    });
    LabelGrid grid;
    makeColorRegion(picture, grid);
    for (int y = 1; y + 1 < h; ++y) {
      for (int x = 1; x + 1 < w; ++x) {
        ASSERT_GT(grid.pixel(x, y), 0);
        const int here = levels[static_cast<std::size_t>(y * w + x)];
        if (x + 2 < w) {
          const bool same = here == levels[static_cast<std::size_t>(y * w + x + 1)];
          EXPECT_EQ(same, grid.pixel(x, y) == grid.pixel(x + 1, y)) << round << " " << x << " " << y;
        }
        if (y + 2 < h && here == levels[static_cast<std::size_t>((y + 1) * w + x)]) {
          EXPECT_EQ(grid.pixel(x, y), grid.pixel(x, y + 1));
        }
      }
    }
  }
}

}  // namespace
}  // namespace veltrace::testing
