#include "polyline/DivideCurves.h"

#include <cmath>
#include <functional>
#include <optional>
#include <utility>

#include "frame/CurveLength.h"
#include "frame/Messages.h"
#include "frame/PolylineFromPoints.h"
#include "polyline/VertexCommandSelection.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"请选择各种线条>\n", L"Please select Curves >\n"};
constexpr MessagePair kNothingSelected{L"未选中任何线条。\n", L"No Curve selected.\n"};
constexpr MessagePair kProcessed{L"\n处理了< %d >根曲线。 ", L"\nProcessed <%d > curve(s) OK."};
constexpr MessagePair kCountPrompt{
    L"\n请输入等分点数，允许值4--100，默认值16:",
    L"\nPlease enter the number of divide points, allowable 4--100, default 16:"};
constexpr MessagePair kSpacingPrompt{L"\n请输入等分距离:", L"\nPlease enter the equal distance:"};
constexpr MessagePair kSpacingTooLong{
    L"\n线条长度小于4倍设定的等分距离，本曲线不处理。",
    L"The line length is less than 4 times of the bisection distance, this curve will not be processed."};
constexpr MessagePair kSpacingTooShort{
    L"\n线条长度超过等分距离的%d倍，本曲线不处理。",
    L"\nThe line length is more than %d times the bisection distance, this curve will not be processed."};

constexpr int kMinCount = 4;
constexpr int kMaxCount = 100;
constexpr int kDefaultCount = 16;
// Shorter curves, and shorter spacings, are not divided.
constexpr double kMinLength = 0.0001;
// A length that is a whole number of spacings often divides to just under that number in
// floating point (0.3 / 0.1); this much is taken as exact.
constexpr double kRatioTolerance = 1e-9;

// The points of one curve, given the curve and its length; nullopt leaves the curve alone.
using DivisionPlan = std::function<std::optional<PointList>(const ZcDbCurve& curve, double length)>;

std::optional<double> lengthOf(const ZcDbCurve& curve) {
  const std::optional<double> length = curveLength(curve);
  if (!length || !std::isfinite(*length) || *length < kMinLength) return std::nullopt;
  return length;
}

// `count` points `step` apart from the start, the last one moved to the curve's end point so
// that the rest of the length goes to the last segment (and rounding never loses the end).
std::optional<PointList> pointsAlong(const ZcDbCurve& curve, double step, int count) {
  PointList points;
  points.reserve(static_cast<PointList::size_type>(count));
  for (int i = 0; i + 1 < count; ++i) {
    ZcGePoint3d point;
    // A missing point would leave the spacing uneven: the curve is not divided at all.
    if (curve.getPointAtDist(i * step, point) != Zcad::eOk) return std::nullopt;
    points.push_back(point);
  }
  ZcGePoint3d end;
  if (curve.getEndPoint(end) != Zcad::eOk) return std::nullopt;
  points.push_back(end);
  return points;
}

// Lays a polyline over every curve the plan divides; answers how many were placed.
int divideEach(const ObjectIdList& ids, const DivisionPlan& plan) {
  int processed = 0;
  for (const ZcDbObjectId& id : ids) {
    ZcDbCurve* curve = nullptr;
    if (zcdbOpenObject(curve, id, ZcDb::kForRead) != Zcad::eOk) continue;
    const bool closed = curve->isClosed();
    if (const std::optional<double> length = lengthOf(*curve)) {
      const std::optional<PointList> points = plan(*curve, *length);
      if (points && polylineFromPoints(*points, closed, curve)) ++processed;
    }
    curve->close();
  }
  return processed;
}

// The selected curves, or an empty list after the message.
ObjectIdList selectCurvesToDivide() {
  TypedSelection selection = selectOfKinds(kSelectPrompt, SelectableKinds::kCurves);
  if (selection.outcome != SelectionOutcome::kSelected) {
    printBilingual(kNothingSelected.chinese, kNothingSelected.english);
  }
  return std::move(selection.ids);
}

// Asked again while out of range; Enter, Esc or anything but a number takes the default.
int askDivisionCount() {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
  for (;;) {
    int count = 0;
    if (getIntBilingual(kCountPrompt.chinese, kCountPrompt.english, &count) != RTNORM) return kDefaultCount;
    if (count >= kMinCount && count <= kMaxCount) return count;
  }
}

}  // namespace

void pldfCommand() {
  const ObjectIdList ids = selectCurvesToDivide();
  if (ids.empty()) return;
  const int count = askDivisionCount();
  const int processed = divideEach(ids, [count](const ZcDbCurve& curve, double length) {
    return pointsAlong(curve, length / (count - 1), count);
  });
  printfBilingual(kProcessed, processed);
}

void pldjdfCommand() {
  const ObjectIdList ids = selectCurvesToDivide();
  if (ids.empty()) return;
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
  double spacing = 0.0;
  if (getDistBilingual(/*base=*/nullptr, kSpacingPrompt.chinese, kSpacingPrompt.english, &spacing) !=
          RTNORM ||
      !std::isfinite(spacing) || spacing < kMinLength) {
    return;
  }
  const int processed =
      divideEach(ids, [spacing](const ZcDbCurve& curve, double length) -> std::optional<PointList> {
        const double spacings = length / spacing * (1.0 + kRatioTolerance);
        if (spacings < 4.0) {
          printBilingual(kSpacingTooLong.chinese, kSpacingTooLong.english);
          return std::nullopt;
        }
        // Checked before the count is made an int, which it might not fit.
        if (spacings > kMaxSpacingsPerCurve) {
          printfBilingual(kSpacingTooShort, kMaxSpacingsPerCurve);
          return std::nullopt;
        }
        return pointsAlong(curve, spacing, static_cast<int>(spacings + 1.0));
      });
  printfBilingual(kProcessed, processed);
}

}  // namespace veltrace
