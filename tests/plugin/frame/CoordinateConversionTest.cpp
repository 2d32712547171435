// Points between the user and the world systems (vtcad's user system is the world).
#include <cmath>
#include <limits>

#include "frame/CoordinateConversion.h"
#include "plugin/frame/FrameTestSupport.h"

namespace veltrace::testing {
namespace {

using CoordinateConversionTest = FrameTest;

TEST_F(CoordinateConversionTest, PointsConvertInPlaceAndBadOnesStayUntouched) {
  ZcGePoint3d point(12.5, -3.0, 7.25);
  ASSERT_EQ(ucsToWcs(point), RTNORM);
  ASSERT_EQ(wcsToUcs(point), RTNORM);
  EXPECT_LT(point.distanceTo(ZcGePoint3d(12.5, -3.0, 7.25)), 1e-12);
  ZcGePoint3d bad(1.0, std::numeric_limits<double>::quiet_NaN(), 2.0);
  EXPECT_EQ(ucsToWcs(bad), RTERROR);
  EXPECT_EQ(wcsToUcs(bad), RTERROR);
  EXPECT_EQ(bad.x, 1.0);
  EXPECT_TRUE(std::isnan(bad.y));
}

}  // namespace
}  // namespace veltrace::testing
