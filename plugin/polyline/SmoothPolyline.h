#pragma once
// A polyline turned into a smooth one (PLYH3): resampled evenly along its length, optimised,
// and made a cubic spline-fit 2-D polyline.
#include "zcad/db/ZcDbObjectId.h"

class ZcDbBlockTableRecord;
class ZcDbEntity;

namespace veltrace {

// Replaces `source` (a polyline of any kind with at least 3 vertices, open for write) by a
// cubic spline-fit 2-D polyline: as many points as the source has vertices are taken evenly
// along its length (the first once more at the end when it is closed), optimised as
// optimizePolyline does with the same thresholds, and fitted; the result is closed when the
// source is, has the source's width as its widths, its layer and its colour. It goes into
// `block` (open for write) when given, else into the block that holds the source, and its
// id is answered; the source is erased.
//
// The null id, and the source unchanged, for anything else (not a polyline, fewer than 3
// vertices, a length too short to sample, an optimisation that made nothing). A polyline
// shorter than kShortestPolyline, or whose length cannot be measured, is erased.
ZcDbObjectId smoothPolyline(ZcDbEntity* source, ZcDbBlockTableRecord* block, double extentsDiagonal,
                            double toleranceFactor);

}  // namespace veltrace
