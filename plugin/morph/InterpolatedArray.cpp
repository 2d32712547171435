#include "morph/InterpolatedArray.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "frame/Messages.h"
#include "frame/WorkProgress.h"
#include "morph/LwPolylineBuilder.h"
#include "morph/LwPolylinePick.h"
#include "morph/MorphPrompts.h"
#include "morph/SpacingLaw.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// Rows or columns: clamped to 2..kMaxArraySide, never asked again; Enter or Esc take the
// default.
int askArraySide(const wchar_t* chinese, const wchar_t* english, int defaultValue) {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/L"");
  int value = defaultValue;
  if (getIntBilingual(chinese, english, &value) != RTNORM) return defaultValue;
  return std::clamp(value, 2, kMaxArraySide);
}

}  // namespace

void arrayCellShape(const PolylinePair& pair, double fc, double fr, VertexTable& shape) {
  const std::size_t n = pair.first.points.size();
  shape.points.resize(n);
  shape.bulges.resize(n);
  const double mean = (fc + fr) * 0.5;
  for (std::size_t i = 0; i < n; ++i) {
    const ZcGePoint3d& a = pair.first.points[i];
    const ZcGePoint3d& b = pair.second.points[i];
    shape.points[i].set(a.x + (b.x - a.x) * fc, a.y + (b.y - a.y) * fr, a.z + (b.z - a.z) * mean);
    shape.bulges[i] = pair.first.bulges[i] + (pair.second.bulges[i] - pair.first.bulges[i]) * mean;
  }
}

void plarrCommand() {
  const std::optional<LwPolylinePicks> picks = pickFirstAndSecondLwPolyline();
  if (!picks) return;
  const int rows =
      askArraySide(L"\n请阵列行数[2--1000](9):", L"\nPlease input the array rows[2--1000](9):", 9);
  const int columns =
      askArraySide(L"\n请阵列列数[2--1000](12):", L"\nPlease input the array columns[2--1000](12):", 12);
  const std::optional<PolylinePair> pair = readPolylinePair(picks->first, picks->second);
  if (!pair) return;
  const double acceleration = askDensityAcceleration();

  // The fractions of every row and column, shaped once: the cell loop only mixes them.
  std::vector<double> rowFractions(static_cast<std::size_t>(rows));
  std::vector<double> columnFractions(static_cast<std::size_t>(columns));
  for (int r = 0; r < rows; ++r) {
    rowFractions[static_cast<std::size_t>(r)] =
        shapedFraction(static_cast<double>(r) / (rows - 1), acceleration);
  }
  for (int k = 0; k < columns; ++k) {
    columnFractions[static_cast<std::size_t>(k)] =
        shapedFraction(static_cast<double>(k) / (columns - 1), acceleration);
  }

  VertexTable shape;
  WorkProgress progress(L"PLARR", static_cast<std::size_t>(columns));
  for (int k = 0; k < columns; ++k) {
    // A column at a time: up to a thousand polylines between two looks.
    if (!progress.advance(static_cast<std::size_t>(k))) return;
    for (int r = 0; r < rows; ++r) {
      // The first and the second polyline themselves.
      if ((k == 0 && r == 0) || (k == columns - 1 && r == rows - 1)) continue;
      arrayCellShape(*pair, columnFractions[static_cast<std::size_t>(k)],
                     rowFractions[static_cast<std::size_t>(r)], shape);
      makeLwPolyline(shape.points, shape.bulges, pair->firstClosed, /*reference=*/ZcDbObjectId());
    }
  }
}

}  // namespace veltrace
