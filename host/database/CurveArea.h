#pragma once
// CurveArea: the area a curve entity encloses, closed by the straight chord from its end back
// to its start when it is open (getArea of splines and helices).
//
// Computed as the vector area 1/2 * integral of (P - P0) x dP with P0 the start point: the
// closing chord runs through P0 and adds nothing. For a planar curve the length of the vector
// is the enclosed area (a figure eight gives the difference of its two loops); for a curve
// that is not planar it is the largest area of its projections onto a plane.
//
// Integrated between consecutive `breakParams` (the knots: the integrand is smooth between
// them) with adaptive Gauss-Legendre quadrature, 16 points against 8, to about 1e-13 of the
// square of the curve's size. Polynomial pieces up to degree 8 are exact on the first pass.
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGeCurve3d;

namespace vtcad::db {

ZcGeVector3d chordClosedVectorArea(const ZcGeCurve3d& curve, const ZcGeDoubleArray& breakParams);

}  // namespace vtcad::db
