#pragma once
// Internal: the plane through a point set, for isPlanar(). Not part of the public interface.
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGePlane.h"

namespace zcge {

// true, with a plane containing all points within tol, when there is one. Collinear (or
// coincident) points lie in many planes: `plane` is then one of them.
bool fitPlane(const ZcGePoint3dArray& points, ZcGePlane& plane, const ZcGeTol& tol);

}  // namespace zcge
