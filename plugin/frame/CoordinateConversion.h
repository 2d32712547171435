#pragma once
// Points between the user coordinate system and the world system, in place; each answers the
// host's result code (RTNORM on success, the point untouched otherwise).
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

int ucsToWcs(ZcGePoint3d& point);
int wcsToUcs(ZcGePoint3d& point);

}  // namespace veltrace
