#pragma once
// PlanarTransform: how a matrix acts on the plane of a planar entity (text, MText, hatch,
// block reference).
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace vtcad::db {

// Every entry finite, and the last row (0, 0, 0, 1): a transform an entity can take.
bool isFiniteAffine(const ZcGeMatrix3d& matrix);
// Determinant of the 3x3 linear part (negative for a mirror).
double linearDeterminant(const ZcGeMatrix3d& matrix);
// Unit normal of the image of the plane whose unit normal is `normal`: the direction of
// M^-T n, which lies on the side of M n, so a mirror in the plane keeps the normal and a
// mirror through it flips the normal. Zero when the linear part flattens the plane.
ZcGeVector3d transformedPlaneNormal(const ZcGeMatrix3d& matrix, const ZcGeVector3d& normal);

// A mirroring matrix followed by a second reflection that keeps texts readable: through the
// image of the text box's `center`, across the image of whichever of the text's unit axes
// (reading direction, up, normal) the mirror turned round the most. The result has no mirror,
// maps the box onto the mirrored box (exactly for rotations and uniform scales), and leaves
// a text mirrored through its own plane as it was.
ZcGeMatrix3d readableMirror(const ZcGeMatrix3d& mirror, const ZcGePoint3d& center, const ZcGeVector3d& along,
                            const ZcGeVector3d& up, const ZcGeVector3d& normal);

}  // namespace vtcad::db
