// The region engine's labelling of a view picture (1920 × 1080, about two megapixels) against
// OpenCV's connected components on the same picture. OpenCV labels a binary mask, so its run
// includes making the mask from the colours (inRange): what it takes either way to go from the
// picture to labelled background regions. Two pictures: a floor plan of rooms drawn as
// antialiased lines (what the outline commands see), and noise (every fourth pixel drawn at
// random: hundreds of thousands of regions). Rates are pixels per second.
#include <benchmark/benchmark.h>

#include <random>

#include "outline/BackgroundRegions.h"
#include "zcad/platform/zcimage.h"

#ifdef VTCAD_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

enum class Scene { kFloorPlan, kNoise };

// A 24-bit picture, black background.
const CImage& picture(Scene scene) {
  static CImage plan, noise;
  CImage& p = scene == Scene::kFloorPlan ? plan : noise;
  if (!p.IsNull()) return p;
  p.Create(kWidth, kHeight, 24);
  if (scene == Scene::kFloorPlan) {
    // 12 × 8 rooms; each wall two pixels, the second half-bright as antialiasing leaves it.
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int wx = (x - 40) % 150, wy = (y - 40) % 125;
        const bool inside = x >= 40 && y >= 40 && x < 40 + 12 * 150 + 2 && y < 40 + 8 * 125 + 2;
        if (!inside) continue;
        if (wx == 0 || wy == 0) p.SetPixel(x, y, RGB(255, 255, 255));
        if (wx == 1 || wy == 1) p.SetPixel(x, y, RGB(128, 128, 128));
      }
    }
  } else {
    std::mt19937 random(3);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (random() % 4 == 0) p.SetPixel(x, y, RGB(255, 255, 255));
  }
  return p;
}

void BM_LabelBackgroundRegions(benchmark::State& state) {
  const CImage& p = picture(static_cast<Scene>(state.range(0)));
  veltrace::LabelGrid grid;
  int regions = 0;
  for (auto _ : state) {
    regions = veltrace::labelBackgroundRegions(veltrace::Rgb{0, 0, 0}, p, grid);
    benchmark::DoNotOptimize(grid.at(1, 1));
  }
  state.counters["regions"] = regions - 1;
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LabelBackgroundRegions)->Arg(0)->Arg(1)->ArgName("noise")->Unit(benchmark::kMillisecond);

#ifdef VTCAD_BENCH_OPENCV
void BM_OpenCvConnectedComponents(benchmark::State& state) {
  const CImage& p = picture(static_cast<Scene>(state.range(0)));
  const cv::Mat image(kHeight, kWidth, CV_8UC3, const_cast<void*>(p.GetBits()),
                      static_cast<std::size_t>(p.GetPitch()));
  cv::Mat mask, labels;
  int regions = 0;
  for (auto _ : state) {
    cv::inRange(image, cv::Scalar(0, 0, 0), cv::Scalar(32, 32, 32), mask);
    regions = cv::connectedComponents(mask, labels, /*connectivity=*/8, CV_32S);
    benchmark::DoNotOptimize(labels.data);
  }
  state.counters["regions"] = regions - 1;
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_OpenCvConnectedComponents)->Arg(0)->Arg(1)->ArgName("noise")->Unit(benchmark::kMillisecond);
#endif

}  // namespace
