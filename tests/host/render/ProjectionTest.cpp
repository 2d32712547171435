// The projection is the view's own pixel mapping, at any view, through any matrix or shift, and
// for the boxes the renderer culls with.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "render/Projection.h"

namespace {

using vtcad::editor::ViewTransform;
using vtcad::render::Projection;

TEST(ProjectionTest, AgreesWithTheViewsPixelMappingAtRandomViewsAndThroughMatrices) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> coord(-1e4, 1e4);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> height(1e-3, 1e5);
  std::uniform_int_distribution<int> side(1, 4000);
  for (int round = 0; round < 500; ++round) {
    ZcGeVector3d direction(unit(rng), unit(rng), unit(rng));
    if (direction.length() < 1e-3) direction = ZcGeVector3d::kZAxis;
    const ZcGeMatrix3d displayToWorld =
        ZcGeMatrix3d::translation(ZcGeVector3d(coord(rng), coord(rng), coord(rng))) *
        ZcGeMatrix3d::planeToWorld(direction.normal()) *
        ZcGeMatrix3d::rotation(unit(rng) * 3, ZcGeVector3d::kZAxis);
    const ViewTransform view(ZcGePoint2d(coord(rng), coord(rng)), height(rng), {side(rng), side(rng)},
                             round % 3 == 0 ? ZcGeMatrix3d::kIdentity : displayToWorld);
    const Projection toPixel(view);
    const ZcGeMatrix3d block = ZcGeMatrix3d::translation(ZcGeVector3d(coord(rng), coord(rng), 0)) *
                               ZcGeMatrix3d::rotation(unit(rng) * 3, ZcGeVector3d::kZAxis) *
                               ZcGeMatrix3d::scaling(1.0 + unit(rng) * 0.9);
    const Projection inBlock = toPixel.after(block);
    const ZcGeVector3d shift(coord(rng), coord(rng), coord(rng));
    const Projection shifted = toPixel.shiftedBy(shift);
    // A box's pixel box spans exactly its eight corners' images.
    const ZcGePoint3d lo(coord(rng), coord(rng), coord(rng));
    const ZcGePoint3d hi(lo.x + std::fabs(coord(rng)), lo.y + std::fabs(coord(rng)),
                         lo.z + std::fabs(coord(rng)));
    const vtcad::db::Box2d box = inBlock.boxOf(lo, hi);
    vtcad::db::Box2d corners{1e300, 1e300, -1e300, -1e300};
    for (int corner = 0; corner < 8; ++corner)
      corners.add(
          inBlock(ZcGePoint3d(corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z)));
    const double boxTolerance = 1e-9 * (1.0 + std::fabs(corners.xmin) + std::fabs(corners.xmax) +
                                        std::fabs(corners.ymin) + std::fabs(corners.ymax));
    EXPECT_NEAR(box.xmin, corners.xmin, boxTolerance);
    EXPECT_NEAR(box.ymin, corners.ymin, boxTolerance);
    EXPECT_NEAR(box.xmax, corners.xmax, boxTolerance);
    EXPECT_NEAR(box.ymax, corners.ymax, boxTolerance);
    for (int k = 0; k < 4; ++k) {
      const ZcGePoint3d p(coord(rng), coord(rng), coord(rng));
      const ZcGePoint2d expected = view.pixelOf(p);
      const ZcGePoint2d got = toPixel(p);
      const double tolerance = 1e-9 * (1.0 + std::fabs(expected.x) + std::fabs(expected.y));
      EXPECT_NEAR(got.x, expected.x, tolerance);
      EXPECT_NEAR(got.y, expected.y, tolerance);
      const ZcGePoint2d throughBlock = view.pixelOf(block * p);
      const ZcGePoint2d gotBlock = inBlock(p);
      EXPECT_NEAR(gotBlock.x, throughBlock.x, 1e-9 * (1.0 + std::fabs(throughBlock.x)));
      EXPECT_NEAR(gotBlock.y, throughBlock.y, 1e-9 * (1.0 + std::fabs(throughBlock.y)));
      const ZcGePoint2d moved = view.pixelOf(p + shift);
      const ZcGePoint2d gotMoved = shifted(p);
      EXPECT_NEAR(gotMoved.x, moved.x, 1e-9 * (1.0 + std::fabs(moved.x)));
      EXPECT_NEAR(gotMoved.y, moved.y, 1e-9 * (1.0 + std::fabs(moved.y)));
    }
  }
}

}  // namespace
