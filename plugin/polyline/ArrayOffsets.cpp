#include "polyline/ArrayOffsets.h"

#include <cassert>
#include <cmath>

namespace veltrace {

namespace {

constexpr double kPi = 3.141592653589793;

// The increment of one position as a multiple of the distance, per axis, before the
// direction's cosine (x) and sine (y) are applied. The wave modes give the two axes different
// factors; the others the same one.
struct StepFactors {
  double x = 0.0;
  double y = 0.0;
};

StepFactors waveFactors(ArrayMode mode, int k, int groupSize) {
  const double phase = static_cast<double>(k) / groupSize;
  switch (mode) {
    case ArrayMode::kHalfWave: {
      const double u = phase * kPi * 0.5;
      return {std::cos(u), std::sin(u)};
    }
    case ArrayMode::kFullWave: {
      const double u = phase * kPi;
      return {std::abs(std::cos(u)), std::abs(std::sin(u))};
    }
    case ArrayMode::kExponential: {
      // k = 0 is e^(-infinity): the position repeats the one before it. Taken as 0 here
      // rather than through a division by zero.
      const double factor = k == 0 ? 0.0 : std::exp((k - 1) * 3.0 / k);
      return {factor, factor};
    }
    case ArrayMode::kLogarithmic: {
      const double factor = std::log10(k + 1.0);
      return {factor, factor};
    }
    case ArrayMode::kRandom:
      break;
  }
  assert(false && "the random mode draws its factor");
  return {};
}

}  // namespace

double randomStepFactor(unsigned draw) { return ((draw % 100u) + 50u) / 150.0; }

std::vector<ZcGeVector3d> arrayOffsets(const ArrayLayout& layout, const RandomSource& random) {
  std::vector<ZcGeVector3d> offsets;
  if (layout.count < 1) return offsets;
  assert(layout.groupSize >= 1);
  assert(layout.mode != ArrayMode::kRandom || random);
  const double theta = layout.angleDegrees * kPi / 180.0;
  const double alongX = std::cos(theta) * layout.distance;
  const double alongY = std::sin(theta) * layout.distance;

  offsets.reserve(static_cast<std::size_t>(layout.count));
  ZcGeVector3d offset(0.0, 0.0, 0.0);
  offsets.push_back(offset);
  for (int i = 1; i < layout.count; ++i) {
    StepFactors factors;
    if (layout.mode == ArrayMode::kRandom) {
      const double f = randomStepFactor(random());
      factors = {f, f};
    } else {
      factors = waveFactors(layout.mode, i % layout.groupSize, layout.groupSize);
    }
    offset += ZcGeVector3d(factors.x * alongX, factors.y * alongY, 0.0);
    offsets.push_back(offset);
  }
  return offsets;
}

}  // namespace veltrace
