// The projection is the view's own pixel mapping, at any view and through any matrix.
#include <gtest/gtest.h>

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
    }
  }
}

}  // namespace
