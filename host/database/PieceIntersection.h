#pragma once
// PieceIntersection: the common points of two curve pieces (CurvePieces.h), in world
// coordinates. Straight and circular pieces are solved in closed form: in their common plane
// in 2-D (BulgeSegmentIntersection) when they are coplanar within tol, else where one crosses
// the other's plane (two straight pieces: where they come within tol in 3-D). Pairs with an
// elliptical or parametric piece go to the numeric solver (ParametricIntersection.h).
#include <vector>

#include "database/CurvePieces.h"

namespace vtcad::db {

struct PieceHit {
  ZcGePoint3d point;
  double tFirst = 0.0;   // parameter on the first piece
  double tSecond = 0.0;  // parameter on the second piece
};

struct PiecePairResult {
  std::vector<PieceHit> crossings;
  // Common stretches: the two ends of each, ordered along the first piece.
  std::vector<PieceHit> overlapEnds;
};

// Appends the common points of the two pieces to `out`.
void intersectPieces(const CurvePiece& first, const CurvePiece& second, double tol, PiecePairResult& out);

// The parameter on a straight or circular piece of a point within tol of it (extensions
// included), or false.
bool paramOnSegmentPiece(const CurvePiece& piece, const ZcGePoint3d& point, double tol, double& t);

}  // namespace vtcad::db
