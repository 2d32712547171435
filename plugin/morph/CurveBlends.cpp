#include "morph/CurveBlends.h"

#include <cstddef>
#include <memory>
#include <vector>

#include "affect/EvenSampling.h"
#include "affect/InfluenceGeometry.h"
#include "frame/CurveLength.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "morph/BlendColours.h"
#include "morph/MorphPrompts.h"
#include "morph/SpacingLaw.h"
#include "morph/SplineThroughPoints.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// Shorter reference curves are not used: the steps could not spread along them.
constexpr double kMinReferenceLength = 0.0001;

struct Pick {
  ZcDbObjectId id;
  ZcGePoint3d point;
};

std::optional<Pick> pickEntity(const wchar_t* chinese, const wchar_t* english) {
  zds_name entity = {0, 0};
  zds_point picked = {0, 0, 0};
  if (entSelBilingual(chinese, english, entity, picked) != RTNORM) return std::nullopt;
  Pick pick;
  if (zcdbGetObjectId(pick.id, entity) != Zcad::eOk) return std::nullopt;
  pick.point = ZcGePoint3d(picked[0], picked[1], picked[2]);
  return pick;
}

// A working copy not in the drawing: the curve's spline, or a plain copy when it has none.
std::unique_ptr<ZcDbCurve> workingCopy(const ZcDbCurve& curve) {
  ZcDbSpline* spline = nullptr;
  if (curve.getSpline(spline) == Zcad::eOk && spline) return std::unique_ptr<ZcDbCurve>(spline);
  return std::unique_ptr<ZcDbCurve>(ZcDbCurve::cast(curve.clone()));
}

struct Ends {
  ZcGePoint3d start, end;
};

Ends endsOf(const ZcDbCurve& curve) {
  Ends ends;
  (void)curve.getStartPoint(ends.start);
  (void)curve.getEndPoint(ends.end);
  return ends;
}

void reverseWhen(bool condition, ZcDbCurve& curve) {
  if (condition) (void)curve.reverseCurve();
}

// A reference curve the user gave, its length once known to be usable.
struct Reference {
  ZcDbObjectId id;
  double length = 0.0;
};

std::optional<Reference> usableReference(const std::optional<Pick>& pick) {
  if (!pick) return std::nullopt;
  ReadOpen<ZcDbObject> opened(pick->id);
  const ZcDbCurve* curve = ZcDbCurve::cast(opened.get());
  if (!curve) return std::nullopt;
  const double length = curveLength(*curve).value_or(0.0);
  if (!(length >= kMinReferenceLength)) return std::nullopt;
  return Reference{pick->id, length};
}

// Whether the reference starts or ends strictly nearer to the first curve's start than the
// first curve's end and the second curve's ends are.
bool isStartReference(const Reference& reference, const Ends& first, const Ends& second) {
  ReadOpen<ZcDbCurve> curve(reference.id);
  if (!curve.get()) return false;
  const Ends ends = endsOf(*curve.get());
  for (const ZcGePoint3d& p : {ends.start, ends.end}) {
    const double d = p.distanceTo(first.start);
    if (d < p.distanceTo(first.end) && d < p.distanceTo(second.start) && d < p.distanceTo(second.end))
      return true;
  }
  return false;
}

// The reference made to run from the side of `from` (reversed in the drawing when it runs the
// other way; left as it is when it cannot be opened for write), then the points at the
// fractions' arc lengths. Empty when a point cannot be had.
std::vector<ZcGePoint3d> referencePoints(const Reference& reference, const ZcGePoint3d& from,
                                         const std::vector<double>& fractions) {
  ZcDbCurve* curve = nullptr;
  if (zcdbOpenObject(curve, reference.id, ZcDb::kForRead) != Zcad::eOk) return {};
  const Ends ends = endsOf(*curve);
  if (from.distanceTo(ends.start) > from.distanceTo(ends.end) && curve->upgradeOpen() == Zcad::eOk) {
    (void)curve->reverseCurve();
    (void)curve->downgradeOpen();
  }
  std::vector<ZcGePoint3d> points(fractions.size());
  for (std::size_t j = 0; j < fractions.size(); ++j) {
    if (curve->getPointAtDist(fractions[j] * reference.length, points[j]) != Zcad::eOk) {
      curve->close();
      return {};
    }
  }
  curve->close();
  return points;
}

}  // namespace

PointList blendedPoints(const BlendSources& sources, double t, const ZcGeVector3d& startOffset,
                        const ZcGeVector3d& endOffset) {
  const std::size_t n = sources.first.size();
  PointList points(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double w = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
    const ZcGePoint3d& a = sources.first[i];
    const ZcGePoint3d& b = sources.second[i];
    points[i] = a + (b - a) * t + startOffset * (1.0 - w) + endOffset * w;
  }
  return points;
}

std::optional<ZcDbObjectId> blendCurveStep(const BlendSources& sources, double t,
                                           const ZcGeVector3d& startOffset, const ZcGeVector3d& endOffset,
                                           int count, int j) {
  const ZcGeVector3d none(0.0, 0.0, 0.0);
  return buildSplineThroughPoints(blendedPoints(sources, t, startOffset, endOffset),
                                  gradientColor(sources.firstColour, sources.secondColour, count, j),
                                  SplineRoute::kFitPoints, /*startTangent=*/none, /*endTangent=*/none);
}

void plblendsCommand() {
  const std::optional<Pick> first =
      pickEntity(L"\n请选择第一根曲线： ", L"\nPlease select the first curve: ");
  if (!first) {
    printBilingual(L"\n未选中。", L"\nSelected nothing.");
    return;
  }
  const std::optional<Pick> second =
      pickEntity(L"\n请选择第二根曲线： ", L"\nPlease select the second curve: ");
  if (!second) {
    printBilingual(L"\n未选中。", L"\nSelected nothing.");
    return;
  }
  const std::optional<Pick> firstReference =
      pickEntity(L"\n请选择一条端部参考曲线(可回车不选)： ",
                 L"\nPlease select a refrence curve on end: (return = ignore): ");
  std::optional<Pick> secondReference;
  if (firstReference) {
    secondReference = pickEntity(L"\n请选择第2条端部参考曲线(可回车不选)： ",
                                 L"\nPlease select second refrence curve on end: (return = ignore): ");
  }
  const int count = askCountOfSteps();
  const double acceleration = askStepAcceleration();

  BlendSources sources;
  std::unique_ptr<ZcDbCurve> w1;
  std::unique_ptr<ZcDbCurve> w2;
  {
    ReadOpen<ZcDbObject> a(first->id);
    if (!a.get()) return;
    ReadOpen<ZcDbObject> b(second->id);
    if (!b.get()) return;
    const ZcDbCurve* curveA = ZcDbCurve::cast(a.get());
    const ZcDbCurve* curveB = ZcDbCurve::cast(b.get());
    if (!curveA || !curveB) {
      printBilingual(L"\n错误：选中的不是曲线。", L"\nError: not a curve selected.");
      return;
    }
    effectiveColor(*curveA, sources.firstColour);
    effectiveColor(*curveB, sources.secondColour);
    w1 = workingCopy(*curveA);
    w2 = workingCopy(*curveB);
  }
  if (!w1 || !w2) return;
  const std::optional<Reference> refA = usableReference(firstReference);
  const std::optional<Reference> refB = usableReference(secondReference);

  // Orientation of the working copies and the roles of the references.
  std::optional<Reference> startRef;
  std::optional<Reference> endRef;
  if (!refA && !refB) {
    // Each curve starts at the end nearer to where it was picked.
    Ends e1 = endsOf(*w1);
    reverseWhen(first->point.distanceTo(e1.start) > first->point.distanceTo(e1.end), *w1);
    Ends e2 = endsOf(*w2);
    reverseWhen(second->point.distanceTo(e2.start) > second->point.distanceTo(e2.end), *w2);
  } else if (refA) {
    // Both curves run towards +X; the first reference starts the steps when it lies at the
    // first curve's start, else ends them.
    Ends e1 = endsOf(*w1);
    reverseWhen(e1.start.x > e1.end.x, *w1);
    Ends e2 = endsOf(*w2);
    reverseWhen(e2.start.x > e2.end.x, *w2);
    if (isStartReference(*refA, endsOf(*w1), endsOf(*w2))) {
      startRef = refA;
      endRef = refB;
    } else {
      startRef = refB;
      endRef = refA;
    }
  } else {
    endRef = refB;  // the first reference was not usable: no orientation change
  }

  std::vector<double> fractions(static_cast<std::size_t>(count));
  for (int j = 0; j < count; ++j)
    fractions[static_cast<std::size_t>(j)] = densityFraction(j, count, acceleration);
  const Ends e1 = endsOf(*w1);
  const Ends e2 = endsOf(*w2);
  std::vector<ZcGeVector3d> startOffsets(fractions.size(), ZcGeVector3d(0.0, 0.0, 0.0));
  std::vector<ZcGeVector3d> endOffsets(fractions.size(), ZcGeVector3d(0.0, 0.0, 0.0));
  if (startRef) {
    const std::vector<ZcGePoint3d> points = referencePoints(*startRef, e1.start, fractions);
    for (std::size_t j = 0; j < points.size(); ++j) {
      startOffsets[j] = points[j] - (e1.start + (e2.start - e1.start) * fractions[j]);
    }
  }
  if (endRef) {
    const std::vector<ZcGePoint3d> points = referencePoints(*endRef, e1.end, fractions);
    for (std::size_t j = 0; j < points.size(); ++j) {
      endOffsets[j] = points[j] - (e1.end + (e2.end - e1.end) * fractions[j]);
    }
  }

  const int samples = influenceSampleCount();
  std::optional<PointList> a = sampleCurveEvenly(*w1, samples);
  std::optional<PointList> b = sampleCurveEvenly(*w2, samples);
  if (!a || !b || a->size() != b->size()) return;
  sources.first = std::move(*a);
  sources.second = std::move(*b);
  for (int j = 0; j < count; ++j) {
    const auto k = static_cast<std::size_t>(j);
    blendCurveStep(sources, fractions[k], startOffsets[k], endOffsets[k], count, j);
  }
}

}  // namespace veltrace
