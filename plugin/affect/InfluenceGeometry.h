#pragma once
// The measures the influence commands share: where an entity is (the centre of its extents),
// where an influence curve crosses a line through a point, and the push law.
#include <optional>

#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// The midpoint of the entity's geometric extents; nullopt when it has none.
std::optional<ZcGePoint3d> extentsCentre(const ZcDbEntity& entity);

// The first point (in the host's order) where `curve` meets the segment from `from` to `to`,
// both taken within their ends; nullopt when they do not meet or the host cannot tell.
std::optional<ZcGePoint3d> firstCrossing(const ZcDbCurve& curve, const ZcGePoint3d& from,
                                         const ZcGePoint3d& to);

// The crossing of `curve` with the line along X through `point`, reaching `reach` either side.
std::optional<ZcGePoint3d> crossingAlongX(const ZcDbCurve& curve, const ZcGePoint3d& point, double reach);

// How far an entity at distance d (0 <= d <= reach) from the curve is pushed:
// reach / 2 * ((reach - d) / reach)^1.5 * strength.
double pushAmplitude(double d, double reach, double strength);

// The sample count of a curve bent or blended: 6 * SURFTAB1; 36 (as with the usual SURFTAB1
// of 6) when the variable cannot be read or is below 2.
int influenceSampleCount();

}  // namespace veltrace
