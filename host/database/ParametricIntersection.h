#pragma once
// ParametricIntersection: the common points of two curve pieces by subdivision and Newton
// refinement, for the pairs without a closed form here (ellipses, splines, helices, and any
// pair seen projected onto a plane).
//
// Each curve is cut into chunks (per knot span of a spline, per eighth of a turn of an
// ellipse or arc) whose boxes hold the chunk: the box of five samples widened by twice their
// largest deviation from the chords between them. Chunk pairs whose boxes meet are halved
// (the larger one) while they still meet, a few levels deep, and Gauss-Newton on the
// distance between the two curves starts from the middle of each pair left. A pair of
// parameters where the curves come within tol is a common point; starts that end at the
// same point are told once, so a tangent point is reported once.
//
// Overlapping stretches have no closed form here: a spline lying along another curve gives
// the points the starts converge to, not the ends of the stretch.
#include <functional>
#include <vector>

#include "database/PieceIntersection.h"

namespace vtcad::db {

struct ParamCurve {
  std::function<ZcGePoint3d(double)> point;
  std::function<ZcGeVector3d(double)> deriv;
  double lo = 0.0;
  double hi = 1.0;
  std::vector<double> breaks;  // inside (lo, hi): chunks start afresh there
  int chunksPerSpan = 1;
};

struct ParamHit {
  double s = 0.0;  // on the first curve
  double t = 0.0;  // on the second
};

// Parameter pairs where the two curves meet within tol.
std::vector<ParamHit> solveParametric(const ParamCurve& first, const ParamCurve& second, double tol);

// A piece as a parametric curve; an extended straight piece is cut to the part that can
// reach `reach` (the other piece's box).
ParamCurve paramCurveOf(const CurvePiece& piece, const Box3d& reach);

// intersectPieces for pairs with an elliptical or parametric piece.
void intersectParametric(const CurvePiece& first, const CurvePiece& second, double tol, PiecePairResult& out);

}  // namespace vtcad::db
