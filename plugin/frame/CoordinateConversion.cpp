#include "frame/CoordinateConversion.h"

#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// zcedTrans's codes for the two systems.
constexpr short kWorld = 0;
constexpr short kUser = 1;

int transform(ZcGePoint3d& point, short fromSystem, short toSystem) {
  resbuf from{};
  from.restype = RTSHORT;
  from.resval.rint = fromSystem;
  resbuf to{};
  to.restype = RTSHORT;
  to.resval.rint = toSystem;
  const zds_point in = {point.x, point.y, point.z};
  zds_point out = {0.0, 0.0, 0.0};
  const int status = zcedTrans(in, &from, &to, /*disp=*/0, out);
  if (status == RTNORM) point.set(out[0], out[1], out[2]);
  return status;
}

}  // namespace

int ucsToWcs(ZcGePoint3d& point) { return transform(point, kUser, kWorld); }

int wcsToUcs(ZcGePoint3d& point) { return transform(point, kWorld, kUser); }

}  // namespace veltrace
