#pragma once
// A new lightweight polyline through a list of points: the one way the plug-in's tools build
// one from their vertex tables.
#include <span>

#include "zcad/ge/ZcGePoint3d.h"

class ZcDbPolyline;

namespace veltrace {

// A polyline not yet in a database, with a vertex at the x and y of every point (their z is
// not read: the polyline lies at `elevation`), no widths, and the given bulges (an empty span:
// straight segments; otherwise one bulge per point). The caller places it or deletes it.
ZcDbPolyline* newLightweightPolyline(std::span<const ZcGePoint3d> points, std::span<const double> bulges,
                                     double elevation, bool closed);

}  // namespace veltrace
