#pragma once
// Array types of the geometry interface, all ZcArray<T>.
#include "zcad/ZcArray.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector2d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGeCurve3d;

using ZcGePoint2dArray = ZcArray<ZcGePoint2d>;
using ZcGePoint3dArray = ZcArray<ZcGePoint3d>;
using ZcGeVector2dArray = ZcArray<ZcGeVector2d>;
using ZcGeVector3dArray = ZcArray<ZcGeVector3d>;
using ZcGeDoubleArray = ZcArray<double>;
using ZcGeIntArray = ZcArray<int>;
// Non-owning: whoever fills it owns the curves.
using ZcGeCurve3dPtrArray = ZcArray<ZcGeCurve3d*>;
