#pragma once
// PLMAP4: curves drawn inside an axis-parallel box carried onto a curved four-sided fence (top,
// bottom, left and right curves) by a Coons patch: each sample's place in the box, as fractions
// u across and v up, is blended from the four fence curves, and a new curve is drawn through
// the mapped samples.
#include <optional>

#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// The four fence curves, top and bottom running from the left side to the right side, left
// and right from the bottom side to the top side.
struct Fence {
  const ZcDbCurve* top = nullptr;
  const ZcDbCurve* bottom = nullptr;
  const ZcDbCurve* left = nullptr;
  const ZcDbCurve* right = nullptr;
};

// The point of `curve` (of length `length`) at the fraction f of its length. Outside 0..1 the
// curve is extended along the tangent at its nearer end (a straight line), so samples outside
// the box map beyond the fence instead of failing. nullopt when the curve cannot answer.
std::optional<ZcGePoint3d> fencePointAt(const ZcDbCurve& curve, double length, double f);

// The box (corner A top-left, corner B bottom-right) point `p` carried onto the fence;
// nullopt when the box or a fence curve is degenerate (below 0.0001) or a point cannot be had.
std::optional<ZcGePoint3d> mapPointToFence(const ZcGePoint3d& p, const ZcGePoint3d& cornerA,
                                           const ZcGePoint3d& cornerB, const Fence& fence);

// `curve` sampled into `count` points, mapped, and drawn through them (ByLayer); nullopt with
// nothing made when the box or the fence is degenerate, the curve cannot be sampled, or a
// point cannot be mapped.
std::optional<ZcDbObjectId> mapCurveToFence(int count, const ZcGePoint3d& cornerA, const ZcGePoint3d& cornerB,
                                            const ZcDbCurve& curve, const Fence& fence);

// The samples a curve of length `length` gets in a fence of size `fenceSize` (its largest
// chord) at precision p: trunc(100 length / size) clamped to 6..36, times p; 36 p when the
// size is zero.
int fenceSampleCount(double length, double fenceSize, int precision);

void plmap4Command();

}  // namespace veltrace
