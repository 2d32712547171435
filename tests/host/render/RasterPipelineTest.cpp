// The pipeline's band workers write what one raster called directly writes: the same strokes
// in the same order, but for where long shapes are cut.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "render/HairlineRaster.h"
#include "render/RasterPipeline.h"

namespace {

using vtcad::render::HairlineRaster;
using vtcad::render::RasterPipeline;
using vtcad::render::Rgb;

TEST(RasterPipeline, BandWorkersWriteWhatOneRasterWrites) {
  constexpr int kWidth = 320, kHeight = 240, kStride = 4 * kWidth;
  constexpr double kHalfWidth = 0.75;
  std::vector<unsigned char> direct(static_cast<std::size_t>(kStride) * kHeight, 0);
  std::vector<unsigned char> piped = direct;
  HairlineRaster raster(direct.data(), kStride, kWidth, kHeight, kHalfWidth);
  {
    RasterPipeline pipeline(piped.data(), kStride, kWidth, kHeight, kHalfWidth);
    // Enough short strokes and rings, some across the bands' seam, for several batches.
    std::mt19937 random(21);
    std::uniform_real_distribution<double> x(-20.0, kWidth + 20.0), y(-20.0, kHeight + 20.0),
        step(-12.0, 12.0);
    for (int i = 0; i < 60'000; ++i) {
      if (i % 500 == 0) {
        const Rgb color{static_cast<unsigned char>(random()), static_cast<unsigned char>(random()),
                        static_cast<unsigned char>(random())};
        raster.beginRun(color);
        pipeline.beginRun(color);
      }
      const ZcGePoint2d a(x(random), i % 7 == 0 ? kHeight / 2.0 + step(random) : y(random));
      if (i % 5 == 0) {
        const double radius = 0.5 + std::abs(step(random)) / 3.0;
        raster.ring(a, radius);
        pipeline.ring(a, radius);
        raster.newShape();
        pipeline.newShape();
      } else {
        const ZcGePoint2d b(a.x + step(random), a.y + step(random));
        raster.segment(a, b);
        pipeline.segment(a, b);
      }
    }
    pipeline.finish();
  }
  long differing = 0, drawn = 0;
  int worst = 0;
  for (std::size_t i = 0; i < direct.size(); i += 4) {
    drawn += direct[i] || direct[i + 1] || direct[i + 2];
    int most = 0;
    for (std::size_t c = 0; c < 3; ++c) most = std::max(most, std::abs(direct[i + c] - piped[i + c]));
    differing += most > 0;
    worst = std::max(worst, most);
  }
  EXPECT_GT(drawn, kWidth * kHeight / 2);
  // Pixels differ only where a long shape is cut elsewhere in one band than in the whole.
  EXPECT_LT(differing, drawn / 100) << "worst difference " << worst;
}

}  // namespace
