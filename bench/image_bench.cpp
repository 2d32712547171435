// The image commands' work. The vectorizer's own route (colour regions, their outlines,
// polylines optimised into a block) on a two-megapixel black-and-white picture, beside Debian's
// potrace program tracing the same picture (a BMP file) into a DXF file: the program is started
// and waited for in every iteration, as a tracer process is (left out when /usr/bin/potrace is
// missing). Rates are pixels per second. And the hole net of a 1024-pixel-wide picture at 200
// rows: cells, sums and circles placed in a drawing.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "editor/Session.h"
#include "image/HoleNet.h"
#include "image/InternalVectorize.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/platform/zcimage.h"

namespace {

constexpr int kWidth = 2000;
constexpr int kHeight = 1000;

// Black discs and rings of random sizes on white, as a thresholded scan of a sketch gives.
const CImage& sketch() {
  static CImage p;
  if (!p.IsNull()) return p;
  p.Create(kWidth, kHeight, 24);
  std::memset(p.GetBits(), 255, static_cast<std::size_t>(p.GetPitch()) * kHeight);
  std::mt19937 random(9);
  std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), r(4, 70);
  for (int shape = 0; shape < 400; ++shape) {
    const double cx = x(random), cy = y(random), radius = r(random);
    const bool ring = shape % 3 == 0;
    for (int py = std::max(0, int(cy - radius)); py < std::min(kHeight, int(cy + radius) + 1); ++py) {
      for (int px = std::max(0, int(cx - radius)); px < std::min(kWidth, int(cx + radius) + 1); ++px) {
        const double d = std::hypot(px - cx, py - cy);
        if (d <= radius && (!ring || d >= radius * 0.7)) {
          auto* pixel = static_cast<BYTE*>(p.GetPixelAddress(px, py));
          pixel[0] = pixel[1] = pixel[2] = 0;
        }
      }
    }
  }
  return p;
}

void BM_VectorizeInternalRoute(benchmark::State& state) {
  const CImage& picture = sketch();
  vtcad::editor::Session::instance().setOutput([](std::string_view) {});
  int polylines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto db = std::make_unique<ZcDbDatabase>();
    zcdbHostApplicationServices()->setWorkingDatabase(db.get());
    state.ResumeTiming();
    polylines = veltrace::traceColourRegionsIntoBlock(picture, /*clutter=*/10, /*optimisation=*/10).polylines;
    state.PauseTiming();
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    state.ResumeTiming();
  }
  state.counters["polylines"] = polylines;
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
// Wall time: the potrace program runs in a process of its own, which CPU time would not count.
BENCHMARK(BM_VectorizeInternalRoute)->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs argv and waits for it; its exit status.
int runProgram(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_PotraceProgram(benchmark::State& state) {
  const std::string potrace = "/usr/bin/potrace";
  if (!std::filesystem::exists(potrace)) {
    state.SkipWithError("potrace is not installed (Debian potrace)");
    return;
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::string in = (folder / ("vtcad-bench-sketch-" + std::to_string(::getpid()) + ".bmp")).string();
  const std::string out = (folder / ("vtcad-bench-sketch-" + std::to_string(::getpid()) + ".dxf")).string();
  sketch().Save(std::wstring(in.begin(), in.end()).c_str());
  for (auto _ : state) {
    if (runProgram({potrace, "-b", "dxf", in, "-o", out}) != 0) {
      state.SkipWithError("potrace failed");
      break;
    }
  }
  std::filesystem::remove(in);
  std::filesystem::remove(out);
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PotraceProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

// A photograph-like picture 1024 × 768: smooth shading with some texture.
const CImage& photo() {
  static CImage p;
  if (!p.IsNull()) return p;
  p.Create(1024, 768, 24);
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) {
      const double v = 127.5 + 127.5 * std::sin(x / 97.0) * std::cos(y / 61.0);
      const BYTE c = static_cast<BYTE>(v);
      auto* pixel = static_cast<BYTE*>(p.GetPixelAddress(x, y));
      pixel[0] = c;
      pixel[1] = static_cast<BYTE>(255 - c);
      pixel[2] = static_cast<BYTE>((x ^ y) & 0xFF);
    }
  }
  return p;
}

void BM_HoleNet(benchmark::State& state) {
  const CImage& picture = photo();
  int holes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto db = std::make_unique<ZcDbDatabase>();
    zcdbHostApplicationServices()->setWorkingDatabase(db.get());
    state.ResumeTiming();
    const veltrace::HoleNetCells net = veltrace::computeHoleNet(picture, /*rows=*/200, /*invert=*/false);
    holes = veltrace::placeHoleNet(net, veltrace::PicturePlacement{ZcGePoint3d(0, 0, 0), 100.0},
                                   veltrace::HoleNetStyle{});
    state.PauseTiming();
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    state.ResumeTiming();
  }
  state.counters["holes"] = holes;
}
BENCHMARK(BM_HoleNet)->Unit(benchmark::kMillisecond);

}  // namespace
