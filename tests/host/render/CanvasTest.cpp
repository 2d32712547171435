// The canvas: closed strokes separate inside from outside for 8-connected flood fills, and
// points far outside the picture or not finite never disturb what is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "RenderTestSupport.h"
#include "render/Canvas.h"
#include "render/CurvePainter.h"

namespace {

using render_test::Image;
using vtcad::render::Canvas;
using vtcad::render::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr int kSize = 96;

// A random star-shaped polygon around the picture's middle: simple, with the middle inside
// and at least `inner` pixels from every edge.
std::vector<ZcGePoint2d> randomStar(std::mt19937& rng, double inner) {
  std::uniform_int_distribution<int> count(3, 24);
  std::uniform_real_distribution<double> radius(inner * 1.5, kSize * 0.45);
  std::uniform_real_distribution<double> jitter(0.1, 0.9);
  const int n = count(rng);
  std::vector<ZcGePoint2d> points;
  const double phase = jitter(rng);
  for (int i = 0; i < n; ++i) {
    const double angle = 2.0 * M_PI * (i + phase) / n;
    const double r = radius(rng);
    points.emplace_back(kSize / 2.0 + r * std::cos(angle), kSize / 2.0 + r * std::sin(angle));
  }
  return points;
}

void expectSealed(const Image& image, Rgb background, const std::string& what) {
  const std::vector<bool> outside = render_test::backgroundRegion(image, background, 0, 0);
  const int middle = kSize / 2;
  ASSERT_TRUE(render_test::isBackground(image.at(middle, middle), background)) << what;
  EXPECT_FALSE(outside[static_cast<std::size_t>(middle) * kSize + middle])
      << what << ": the outside reaches the middle through the stroke";
}

TEST(CanvasTest, ClosedStrokesSealTheirInsideFromEightConnectedFills) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 300; ++round) {
    const std::vector<ZcGePoint2d> star = randomStar(rng, /*inner=*/6.0);
    // Only a star whose edges all stay clear of the middle can be checked this way.
    bool clear = true;
    for (std::size_t i = 0; i < star.size(); ++i) {
      const ZcGePoint2d& a = star[i];
      const ZcGePoint2d& b = star[(i + 1) % star.size()];
      const double cross = (b.x - a.x) * (kSize / 2.0 - a.y) - (b.y - a.y) * (kSize / 2.0 - a.x);
      if (std::fabs(cross) / std::hypot(b.x - a.x, b.y - a.y) < 4.0) clear = false;
    }
    if (!clear) continue;
    const bool dark = round % 2 == 0;
    const Rgb background = dark ? kBlack : kWhite;
    const Image image = render_test::paintImage(kSize, kSize, [&](Canvas& canvas) {
      canvas.clear(background);
      canvas.setPen({dark ? kWhite : kBlack, /*width=*/0.1});
      canvas.moveTo(star[0]);
      for (std::size_t i = 1; i < star.size(); ++i) canvas.lineTo(star[i]);
      canvas.closePath();
    });
    expectSealed(image, background, "polygon " + std::to_string(round));
  }
}

TEST(CanvasTest, CirclesOfAnySizeAndPlaceSealTheirInside) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> radius(4.0, kSize * 0.45);
  std::uniform_real_distribution<double> offset(-3.0, 3.0);
  for (int round = 0; round < 200; ++round) {
    const double r = radius(rng);
    const ZcGePoint2d center(kSize / 2.0 + offset(rng), kSize / 2.0 + offset(rng));
    const vtcad::editor::ViewTransform view(ZcGePoint2d(kSize / 2.0, kSize / 2.0), kSize, {kSize, kSize});
    const Image image = render_test::paintImage(kSize, kSize, [&](Canvas& canvas) {
      canvas.clear(kBlack);
      canvas.setPen({kWhite, Canvas::kThinWidth});
      // Pixel coordinates straight through a view one unit per pixel, y up.
      const vtcad::render::Projection toPixel(view);
      vtcad::render::strokeArc(canvas, toPixel, ZcGePoint2d(center.x, kSize - center.y), r, 0.0, 2.0 * M_PI);
      canvas.closePath();
    });
    if (r > 4.0 + 3.0 * std::sqrt(2.0)) expectSealed(image, kBlack, "circle " + std::to_string(round));
  }
}

// Small circles are written as rings; they must look like the chords they replace.
TEST(CanvasTest, RingsOfSmallCirclesMatchTheirChords) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> radius(0.2, 4.0), at(6.0, 14.0);
  const vtcad::editor::ViewTransform view(ZcGePoint2d(10.0, 10.0), 20, {20, 20});
  const vtcad::render::Projection toPixel(view);
  long inked = 0, differing = 0;
  for (int round = 0; round < 300; ++round) {
    const double r = radius(rng);
    const ZcGePoint2d center(at(rng), at(rng));
    const auto draw = [&](bool ring) {
      return render_test::paintImage(20, 20, [&](Canvas& canvas) {
        canvas.clear(kBlack);
        canvas.setPen({kWhite, Canvas::kThinWidth});
        const ZcGePoint2d pixel = toPixel(center.x, center.y);
        if (ring) {
          ASSERT_TRUE(canvas.ring(pixel, r));
          return;
        }
        vtcad::render::strokeArc(canvas, toPixel, center, r, 0.0, 2.0 * M_PI);
        canvas.closePath();
      });
    };
    const Image rings = draw(true), chords = draw(false);
    for (std::size_t i = 0; i < rings.pixels.size(); ++i) {
      const int a = static_cast<int>(rings.pixels[i] & 0xFF), b = static_cast<int>(chords.pixels[i] & 0xFF);
      inked += b > 0 ? 1 : 0;
      EXPECT_LE(std::abs(a - b), 64) << "round " << round << " pixel " << i;
      differing += std::abs(a - b) > 40 ? 1 : 0;
    }
  }
  EXPECT_LT(differing, inked / 50) << "rings and chords agree within 40 levels on most pixels";
}

TEST(CanvasTest, FarAndNonFinitePointsLiftThePenAndDrawTheVisiblePartOnly) {
  const double far = 1e15;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Image image = render_test::paintImage(kSize, kSize, [&](Canvas& canvas) {
    canvas.clear(kBlack);
    canvas.setPen({kWhite, Canvas::kThinWidth});
    // A horizontal line through the middle from far away on both sides.
    canvas.moveTo({-far, 48});
    canvas.lineTo({far, 48});
    // Not finite: nothing of it is drawn, and the next run starts afresh.
    canvas.moveTo({10, 10});
    canvas.lineTo({nan, 20});
    canvas.lineTo({20, 10});
    std::vector<ZcGePoint2d> huge{{-far, -far}, {far, -far}, {far, 0}};
    canvas.fillPolygon(huge, kWhite);  // wholly above the picture: nothing shows
  });
  for (int x = 0; x < kSize; ++x) EXPECT_EQ(image.at(x, 48), kWhite) << x;
  EXPECT_EQ(image.at(15, 10), kBlack) << "a run through a non-finite point is cut there";
  EXPECT_EQ(image.at(kSize - 1, kSize - 1), kBlack);
}

}  // namespace
