#pragma once
// CurveChordSampler: the parameters of a polygon inscribed in a curve whose chords stay within
// a distance of the curve (the vertices of the polyline a spline converts to).
//
// Each piece between consecutive `breakParams` (knots) is first cut into `piecesPerSpan`
// equal parameter pieces; then the piece whose chord deviates most from the curve is halved,
// again and again, until every chord is within `tolerance` or there are `maxSegments` pieces.
// Refining the worst piece first keeps the result the best polygon of its size, and a
// smaller tolerance only continues the same sequence of halvings, so the number of segments
// never drops as the tolerance shrinks. A chord's deviation is measured at the quarter, half
// and three-quarter parameters of its piece (enough for the smooth pieces of a knot span).
//
// When there are more knot spans than maxSegments, maxSegments + 1 of the break parameters,
// evenly spread, are returned. The first and last break parameters are always included.
#include "zcad/ge/ZcGeArrays.h"

class ZcGeCurve3d;

namespace vtcad::db {

ZcGeDoubleArray chordSampleParams(const ZcGeCurve3d& curve, const ZcGeDoubleArray& breakParams,
                                  double tolerance, int maxSegments, int piecesPerSpan);

// Distance from `point` to the segment [a, b] (to `a` when the segment has no length).
double distanceToSegment(const ZcGePoint3d& point, const ZcGePoint3d& a, const ZcGePoint3d& b);

}  // namespace vtcad::db
